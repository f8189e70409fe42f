#pragma once
// The output type PrintToFile takes from a path: ".jpg" or ".JPG" anywhere
// in it → 1 (JPEG); else ".tif" or ".TIF" → 2 (TIFF); else -1 (the type
// stays as it was, e.g. for ".pdf").

#include <string_view>

namespace ecg::facade {

inline int PrintTypeOfPath(std::string_view path) {
  if (path.find(".jpg") != std::string_view::npos || path.find(".JPG") != std::string_view::npos) return 1;
  if (path.find(".tif") != std::string_view::npos || path.find(".TIF") != std::string_view::npos) return 2;
  return -1;
}

}  // namespace ecg::facade
