#pragma once
// The fields of the options record as the options file names, orders and
// spells them: one table that the file writer, the file reader and the
// listing share.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "interface/ecg_default_settings.h"

namespace ecg::interface {

// A list field: 12 entries, of which the file holds the first `count` entries
// (all 12 when there is no count field).
struct LeadListMember {
  CECGDefaultSettings::LeadList CECGDefaultSettings::*items;
  int16_t CECGDefaultSettings::*count;
};

using OptionMember =
    std::variant<int32_t CECGDefaultSettings::*, int16_t CECGDefaultSettings::*,
                 bool CECGDefaultSettings::*, std::string CECGDefaultSettings::*, LeadListMember>;

struct OptionField {
  std::string_view name;  // the field and its element name
  OptionMember member;
};

// Every field, in declaration order.
std::span<const OptionField> OptionFields();

// The field with exactly this name (case matters); null when none.
const OptionField* FindOptionField(std::string_view name);

// One child of the file's ECGOptions element: a group element holding the
// fields, or (empty group name) one field standing directly under ECGOptions.
struct OptionsFileGroup {
  std::string_view name;
  std::span<const std::string_view> fields;
};

// The children of ECGOptions in file order.
std::span<const OptionsFileGroup> OptionsFileLayout();

// How many entries of a list field the file holds: the count field clamped to
// 0..12, or 12.
int ListItemsWritten(const CECGDefaultSettings& options, const LeadListMember& list);

// The element text of a field: numbers in decimal, bools as 0 or 1, lists as
// "%d," per entry written (every item ends with a comma), the title as is.
std::string FormatOptionValue(const CECGDefaultSettings& options, const OptionField& field);

// Stores an element's text in a field:
//  - integer fields: optional white space, an optional sign, decimal digits,
//    optional white space, within the field's range;
//  - bool fields: such an integer within 32 bits; non-zero stores 1;
//  - the title: the text as it is;
//  - lists: each text before a comma is a decimal number (sign, digits, an
//    optional fraction) truncated toward zero into the next entry from entry
//    0; text after the last comma is ignored; the count field is not touched.
// On failure returns false with the last-error code set and a reason in `why`:
// 13 (invalid data) for text that is not a number or is out of range, 84 when
// a list has more than 12 items. Entries a list stored before the failing item
// keep their new values (as do the first 12 of a longer list).
bool StoreOptionValue(CECGDefaultSettings& options, const OptionField& field,
                      std::string_view text, std::string& why);

}  // namespace ecg::interface
