#pragma once
// The options file: its XML text from an options record, and an options
// record from its XML text. CECGOptions reads and writes files through these;
// the fuzz target and the `ecg options` command use them directly.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "interface/ecg_default_settings.h"

namespace ecg::interface {

// Options files are small; a larger file is refused rather than loaded.
inline constexpr uint64_t kMaxOptionsFileSize = uint64_t{1} << 20;

struct OptionsReadResult {
  bool ok = true;
  uint32_t error = 0;    // last-error code when !ok
  int line = 0;          // line of the failure in the file; 0 when not known
  std::string message;   // why the read stopped, for people
  // The fields stored, in the order the file gave them (names from the field
  // table; a field named twice appears twice).
  std::vector<std::string_view> fields_read;
};

// Walks every node of the document; every element whose name is exactly a
// field name, at any depth, has its content stored in that field (see
// StoreOptionValue). The content is the element's text; an element inside a
// field's element is bad format. The first failure ends the read: fields
// stored before it keep their new values, all others keep theirs.
// Codes: 11 malformed XML or an element inside a field; 13 a value that is not
// a number or out of range; 84 a list of more than 12 items.
OptionsReadResult ReadOptionsXml(std::span<const uint8_t> xml, CECGDefaultSettings& options);

// The same over a file. Also: 2/3 missing file or folder, 5 a directory or no
// read permission, 14 a file larger than kMaxOptionsFileSize.
OptionsReadResult ReadOptionsFile(const std::string& path, CECGDefaultSettings& options);

// The options file's whole text: no XML declaration, tab-indented, the
// comment "ECG acquisition and review default options.", then
// root/ECGOptions with the groups of OptionsFileLayout(). False, with a
// message for people and the last-error code, when the XML cannot be made
// (the report title holds text an XML file cannot carry: error 13).
bool WriteOptionsXml(const CECGDefaultSettings& options, std::string& xml, std::string& message);

}  // namespace ecg::interface
