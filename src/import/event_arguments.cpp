#include "import/event_arguments.h"

#include <cmath>

#include "platform/last_error.h"

namespace ecg::import {

using namespace ecg::platform;

bool ResolutionArgument(double nanovolts, uint16_t* out) {
  if (!(nanovolts >= 0.0 && nanovolts < 65536.0)) return Fail(kErrorInvalidParameter);
  *out = static_cast<uint16_t>(nanovolts);
  return true;
}

bool SampleIntervalArgument(double rate, uint16_t* out) {
  if (!(rate >= 0.0) || std::isinf(rate)) return Fail(kErrorInvalidParameter);
  if (rate == 0.0) {
    *out = 0;
    return true;
  }
  const double interval = 1000000.0 / rate;
  if (!(interval < 65536.0)) return Fail(kErrorInvalidParameter);
  *out = static_cast<uint16_t>(interval);
  return true;
}

}  // namespace ecg::import
