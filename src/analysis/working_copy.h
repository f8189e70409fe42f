#pragma once
// The working copy the analysis library works on: a new file named like a
// Windows temporary file ("~QR" and a unique part, ".tmp") in the user's
// documents folder, filled with a copy of the record. The library may leave
// a side file named "<working copy>temp.tmp". Both are deleted when the
// object goes, whatever happened in between.

#include <string>

namespace ecg::analysis {

class WorkingCopy {
 public:
  static constexpr const char* kPrefix = "~QR";
  static constexpr const char* kSideFileSuffix = "temp.tmp";

  WorkingCopy() = default;
  ~WorkingCopy() { Remove(); }
  WorkingCopy(const WorkingCopy&) = delete;
  WorkingCopy& operator=(const WorkingCopy&) = delete;

  // Makes the new empty file in the documents folder (created when
  // missing). False with the last-error code.
  bool Create();
  // Replaces the working copy's contents with the record's bytes.
  bool CopyFrom(const std::string& record);
  // Deletes the working copy and the side file.
  void Remove();

  const std::string& path() const { return path_; }
  std::string SideFile() const { return path_ + kSideFileSuffix; }

 private:
  std::string path_;
};

}  // namespace ecg::analysis
