// Arbitrary bytes as an options file. Whatever the read keeps must be
// writable, and writing it and reading that back must give the same record:
// the reader may stop early, but never stores what the writer cannot carry.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "interface/ecg_options.h"
#include "interface/options_fields.h"
#include "interface/options_listing.h"
#include "interface/options_xml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace ecg::interface;
  static const CECGDefaultSettings kDefaults;  // reads the settings store once
  CECGDefaultSettings options = kDefaults;
  OptionsReadResult result = ReadOptionsXml(std::span<const uint8_t>(data, size), options);
  if (!result.ok && result.message.empty()) __builtin_trap();
  (void)FormatOptionsListing(options, &result.fields_read);

  std::string xml;
  std::string message;
  if (!WriteOptionsXml(options, xml, message)) __builtin_trap();
  CECGDefaultSettings back = kDefaults;
  OptionsReadResult again = ReadOptionsXml(
      std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(xml.data()), xml.size()), back);
  if (!again.ok) __builtin_trap();
  // The file holds only the custom-group entries in use.
  const auto* group = FindOptionField("CustomLeadGroup");
  int written = ListItemsWritten(options, std::get<LeadListMember>(group->member));
  for (int i = written; i < CLeadTables::kLeadCount; ++i) {
    back.CustomLeadGroup[static_cast<size_t>(i)] = options.CustomLeadGroup[static_cast<size_t>(i)];
  }
  if (!(back == options)) __builtin_trap();
  return 0;
}
