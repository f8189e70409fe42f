#pragma once
// Helpers of the recording window tests: demo recordings made from the
// synthetic ECG, frames with status codes, and pictures for a person.

#include <QImage>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "acquisition/cable_frame.h"

namespace ecg::test {

// `frames` synthetic 12-lead frames (seed 3); `edit` may change each one's
// samples (e.g. put a status code on a channel).
std::vector<ecg::acquisition::FrameSamples> SyntheticFrames(
    uint32_t frames, const std::function<void(uint32_t, ecg::acquisition::FrameSamples&)>& edit = {});

// A demo recording of those frames whose handshake claims `rate` frames per
// second: replay runs at that pace, so a high rate makes ten seconds of
// frames arrive quickly.
bool WriteDemoRecording(const std::string& path, const std::vector<ecg::acquisition::FrameSamples>& frames,
                        double rate);

// Pixels of `image` in the rows [y0, y1) darker than mid grey.
int DarkPixels(const QImage& image, int y0, int y1, int x0 = 0, int x1 = -1);

// Saves a picture under the test output folder; returns its path.
std::string SavePicture(const QImage& image, const std::string& name);

}  // namespace ecg::test
