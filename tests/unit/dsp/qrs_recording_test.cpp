// The detector on real beat-annotated recordings (QT database, 250 Hz, the
// detector's own rate), scored against the reference beat annotations.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "dsp/indications.h"
#include "dsp/qrs_detect.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

struct Recording {
  double rate = 0.0;
  std::vector<std::string> channels;
  std::vector<int16_t> microvolts;  // interleaved
  std::vector<size_t> beats;
};

// Just enough of the annotation file: "fs", "channels" and "beats".
bool ReadAnnotations(const std::string& text, Recording& rec) {
  auto key = [&](const char* name) { return text.find(std::string("\"") + name + "\""); };
  size_t p = key("fs");
  if (p == std::string::npos) return false;
  rec.rate = std::stod(text.substr(text.find(':', p) + 1));
  p = key("channels");
  if (p == std::string::npos) return false;
  const size_t end = text.find(']', p);
  for (size_t q = text.find('"', text.find('[', p)); q < end; q = text.find('"', q + 1)) {
    const size_t close = text.find('"', q + 1);
    rec.channels.push_back(text.substr(q + 1, close - q - 1));
    q = close;
  }
  p = key("beats");
  if (p == std::string::npos) return false;
  p = text.find('[', p) + 1;
  while ((p = text.find('[', p)) != std::string::npos) {
    rec.beats.push_back(std::stoul(text.substr(p + 1)));
    p = text.find(']', p);
  }
  return !rec.beats.empty();
}

struct Score {
  size_t true_positive = 0, false_negative = 0, false_positive = 0;
  double sensitivity() const {
    return static_cast<double>(true_positive) / static_cast<double>(true_positive + false_negative);
  }
  double predictivity() const {
    return static_cast<double>(true_positive) / static_cast<double>(true_positive + false_positive);
  }
};

// Beats are reported at the end of a complex; each detection is matched to
// the annotation it follows by the median delay, within 150 ms either side.
Score Compare(const std::vector<size_t>& reference, const std::vector<size_t>& detected,
              size_t from, size_t to) {
  std::vector<long> delays;
  for (size_t d : detected) {
    auto it = std::upper_bound(reference.begin(), reference.end(), d);
    if (it != reference.begin()) delays.push_back(static_cast<long>(d - *std::prev(it)));
  }
  std::nth_element(delays.begin(), delays.begin() + static_cast<long>(delays.size() / 2),
                   delays.end());
  const long delay = delays.empty() ? 0 : delays[delays.size() / 2];
  const long tolerance = 37;  // samples at 250 Hz

  Score score;
  size_t j = 0;
  std::vector<bool> used(detected.size(), false);
  for (size_t a : reference) {
    if (a < from || a > to) continue;
    const long want = static_cast<long>(a) + delay;
    while (j < detected.size() && static_cast<long>(detected[j]) < want - tolerance) ++j;
    if (j < detected.size() && static_cast<long>(detected[j]) <= want + tolerance) {
      used[j] = true;
      ++score.true_positive;
      ++j;
    } else {
      ++score.false_negative;
    }
  }
  for (size_t i = 0; i < detected.size(); ++i) {
    const long shifted = static_cast<long>(detected[i]) - delay;
    if (!used[i] && shifted >= static_cast<long>(from) && shifted <= static_cast<long>(to)) {
      ++score.false_positive;
    }
  }
  return score;
}

TEST(QrsRecordings, QtDatabaseLeadIIBeatsAreFound) {
  const std::string shared = ecg::test::SharedDataFolder();
  const fs::path folder = fs::path(shared) / "qtdb-beats";
  if (shared.empty() || !fs::is_directory(folder)) {
    GTEST_SKIP() << "the shared QT database beats (../shared/data/qtdb-beats) are not present";
  }
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".json") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());

  Score total;
  int records = 0;
  for (const auto& json : files) {
    const auto text_bytes = ecg::test::ReadFile(json.string());
    Recording rec;
    if (!ReadAnnotations(std::string(text_bytes.begin(), text_bytes.end()), rec)) continue;
    const auto lead = std::find(rec.channels.begin(), rec.channels.end(), "MLII");
    if (lead == rec.channels.end() || rec.rate != 250.0) continue;  // lead II only
    const size_t channel = static_cast<size_t>(lead - rec.channels.begin());
    const size_t count = rec.channels.size();
    fs::path bin = json;
    bin.replace_extension(".bin");
    const auto raw = ecg::test::ReadFile(bin.string());
    ASSERT_EQ(raw.size() % (2 * count), 0u) << bin;

    // Microvolts to the cable's 3 µV steps around 2048. The recordings keep
    // the electrodes' offset, which the cable's input stage removes: the
    // record's mean is taken off first. Values are clipped to 12 bits as the
    // cable clips them.
    const size_t frames = raw.size() / (2 * count);
    auto microvolts = [&](size_t i) {
      const size_t at = 2 * (i * count + channel);
      return static_cast<int16_t>(raw[at] | (raw[at + 1] << 8));
    };
    double mean = 0.0;
    for (size_t i = 0; i < frames; ++i) mean += microvolts(i);
    mean /= static_cast<double>(frames);
    CQRSDetect detector;
    std::vector<size_t> detected;
    double rate = 0.0;
    for (size_t i = 0; i < frames; ++i) {
      const long step = std::clamp(2048L + std::lround((microvolts(i) - mean) / 3.0), 0L, 4095L);
      if (detector.QrsDetect(ecg::dsp::DetectorSample(static_cast<uint16_t>(step)), rate)) {
        detected.push_back(i);
      }
    }
    // Scored from ten seconds in (the threshold settles) over the annotated span.
    const size_t from = std::max<size_t>(rec.beats.front(), 2500);
    const Score score = Compare(rec.beats, detected, from, rec.beats.back());
    std::printf("%-10s beats %5zu  Se %6.2f %%  +P %6.2f %%\n", json.stem().c_str(),
                score.true_positive + score.false_negative, 100 * score.sensitivity(),
                100 * score.predictivity());
    total.true_positive += score.true_positive;
    total.false_negative += score.false_negative;
    total.false_positive += score.false_positive;
    ++records;
  }
  if (records == 0) GTEST_SKIP() << "no lead II recording at 250 Hz in " << folder;
  std::printf("all %d records: beats %zu  Se %6.2f %%  +P %6.2f %%\n", records,
              total.true_positive + total.false_negative, 100 * total.sensitivity(),
              100 * total.predictivity());
  // The detector insists on complexes at least 36 ms wide at half its peak
  // slope, so some narrow beats pass unseen; what it reports is a beat.
  EXPECT_GE(total.sensitivity(), 0.80);
  EXPECT_GE(total.predictivity(), 0.99);
}

}  // namespace
