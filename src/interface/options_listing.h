#pragma once
// A listing of an options record for people: one line per field in the
// options file's order, with the value as the file holds it and what it means.

#include <string>
#include <string_view>
#include <vector>

#include "interface/ecg_default_settings.h"

namespace ecg::interface {

// What a field's value means, in the settings sheet's words where it has them
// ("Blue on Grey", "60 Hz", lead labels); empty when the number speaks for
// itself; "unknown" for a code outside its list.
std::string DescribeOptionValue(const CECGDefaultSettings& options, std::string_view field);

// The listing. With `fields_read`, fields not named there are marked
// "(not in the file)".
std::string FormatOptionsListing(const CECGDefaultSettings& options,
                                 const std::vector<std::string_view>* fields_read = nullptr);

}  // namespace ecg::interface
