#pragma once
// A recording without a window: the cable thread (serial cable or replay
// file, exactly as the recording window starts it) fills the recording ring;
// once the ring holds the requested seconds the newest of them are written
// to the setup's output file in the handheld recorder format, the way the
// window's Save button writes them. Used where no display exists (the demo,
// unattended runs); returns the end code the window would have closed with.

#include <chrono>

#include "interface/facade/recording_setup.h"

namespace ecg::facade {

struct UnattendedOptions {
  int seconds = 10;                                // how much to save (at 500 frames/s)
  std::chrono::milliseconds timeout{60'000};       // give up when the data does not come
};

// End codes: 1 saved; 3 the cable or file could not be started, the data did
// not arrive in time or the file could not be written (the output file is
// then not written).
int RunUnattendedRecording(const RecordingSetup& setup, const UnattendedOptions& options);

}  // namespace ecg::facade
