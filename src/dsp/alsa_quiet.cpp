#include "dsp/alsa_quiet.h"

#include <alsa/asoundlib.h>

#include <mutex>

namespace ecg::dsp {

namespace {

void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void QuietAlsaErrors() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(&DropAlsaMessage); });
}

}  // namespace ecg::dsp
