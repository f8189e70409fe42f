#pragma once
// Runs the recording window CTM_RealTimeDlg prepared from a RecordingSetup,
// modally, and returns its end code. Needs a running QApplication.

#include "interface/facade/recording_setup.h"

namespace ecg::facade {

int RunRecordingDialog(const RecordingSetup& setup);

}  // namespace ecg::facade
