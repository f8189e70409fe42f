#include "platform/temp_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/last_error.h"

namespace ecg::platform {

bool MakeTempFile(const std::string& folder, const std::string& prefix, std::string& path) {
  if (folder.empty()) return Fail(kErrorInvalidParameter);
  std::string pattern = folder;
  if (pattern.back() != '/') pattern += '/';
  pattern += prefix + "XXXXXX.tmp";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkstemps(name.data(), 4);
  if (fd < 0) return Fail(ErrorFromErrno(errno));
  ::close(fd);
  path.assign(name.data());
  return true;
}

}  // namespace ecg::platform
