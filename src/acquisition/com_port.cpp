#include "acquisition/com_port.h"

#include <cctype>
#include <cstdlib>
#include <strings.h>

namespace ecg::acquisition {

int ComPortNumber(const std::string& name) {
  std::string rest = name;
  if (rest.rfind("\\\\.\\", 0) == 0) rest = rest.substr(4);
  if (rest.size() < 4 || strncasecmp(rest.c_str(), "COM", 3) != 0) return 0;
  int n = 0;
  for (size_t i = 3; i < rest.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(rest[i]))) return 0;
    n = n * 10 + (rest[i] - '0');
    if (n > 99999) return 0;
  }
  return n;
}

std::string ComPortDevice(int n) {
  if (n < 1) return {};
  const char* dir = std::getenv("ECG_COM_DIR");
  if (dir != nullptr && *dir != '\0') return std::string(dir) + "/COM" + std::to_string(n);
  return "/dev/ttyS" + std::to_string(n - 1);
}

std::string ResolveComPort(const std::string& name) { return ComPortDevice(ComPortNumber(name)); }

}  // namespace ecg::acquisition
