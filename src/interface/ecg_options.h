#pragma once
// The options record that lives in an XML options file. The facade keeps one
// next to its active options and moves it to and from the file the host names.

#include "interface/ecg_default_settings.h"

class CECGOptions : public CECGDefaultSettings {
 public:
  CECGOptions() = default;
  explicit CECGOptions(const CECGDefaultSettings& other) : CECGDefaultSettings(other) {}
  CECGOptions(const CECGOptions& other) = default;
  CECGOptions& operator=(const CECGOptions& other) = default;
  CECGOptions& operator=(const CECGDefaultSettings& other) {
    CECGDefaultSettings::operator=(other);
    return *this;
  }

  // Reads the options file into this record (see ecg::interface::ReadOptionsXml).
  // False, with the last-error code, when the file cannot be opened or the read
  // stopped at bad content; fields read before the failure keep their new
  // values. Either way this record becomes the application's options record.
  bool ReadOptions(const char* path);

  // Writes this record as the options file, replacing the file whole or not at
  // all. A failure shows its reason under the caption "Write XML Error" through
  // the current prompt and returns false with the last-error code. On success
  // this record becomes the application's options record.
  bool SaveOptions(const char* path);
};
