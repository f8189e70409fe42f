#pragma once
// ALSA prints its own diagnostics to standard error (for example when the
// machine has no sound devices at all). Our callers report failures in their
// own words, so those lines are dropped.

namespace ecg::dsp {

// Installs the quiet error handler once per process.
void QuietAlsaErrors();

}  // namespace ecg::dsp
