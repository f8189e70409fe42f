// The display filter chain as the recording window uses it: measured
// frequency and step responses at both design rates, the offset handling,
// switching, the label and the settings file.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <thread>
#include <utility>

#include "dsp/filter_settings.h"
#include "platform/last_error.h"
#include "support/test_files.h"

using namespace std::string_literals;

namespace {

constexpr double kRate0 = 496.55172413795;
constexpr double kRate1 = 499.4219653179;
constexpr double kPi = 3.14159265358979323846;

// Gain in dB of the chain for a sine of `hz` sampled at `rate` on all eight
// channels (each with its own phase): after three seconds or three periods,
// whichever is longer, measured over one second or one period.
double MeasureGainDb(CFilterSettings& chain, double rate, double hz) {
  const double amplitude = 1000.0;
  const double settle_s = std::max(3.0, 3.0 / hz);
  const double measure_s = std::max(1.0, 1.0 / hz);
  const int measured_from = static_cast<int>(settle_s * rate);
  const int total = measured_from + static_cast<int>(measure_s * rate);
  double in_power = 0.0, out_power = 0.0;
  for (int n = 0; n < total; ++n) {
    auto& v = chain.SampleVector();
    double in[kFilterChannels];
    for (unsigned c = 0; c < kFilterChannels; ++c) {
      in[c] = amplitude * std::sin(2 * kPi * hz * n / rate + 0.7 * c);
      v[c] = static_cast<int16_t>(2048 + std::lround(in[c]));
    }
    chain.Filter();
    if (n >= measured_from) {
      for (unsigned c = 0; c < kFilterChannels; ++c) {
        in_power += in[c] * in[c];
        const double out = v[c] - 2048.0;
        out_power += out * out;
      }
    }
  }
  return 10.0 * std::log10(out_power / in_power);
}

struct Case {
  double rate;
  size_t design;
};

class FilterResponse : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override { chain_.SetUp(GetParam().rate); }
  CFilterSettings chain_;
};

TEST_P(FilterResponse, NotchesRemoveTheirMainsFrequencyAndPassTheEcgBand) {
  ASSERT_EQ(chain_.Design(), GetParam().design);
  for (uint8_t mains : {uint8_t{50}, uint8_t{60}}) {
    SCOPED_TRACE(static_cast<int>(mains));
    chain_.SwitchFilters(false, false, true, mains);
    EXPECT_LE(MeasureGainDb(chain_, GetParam().rate, mains), -30.0);
    chain_.Reset();
    EXPECT_NEAR(MeasureGainDb(chain_, GetParam().rate, 10.0), 0.0, 0.5);
    chain_.Reset();
    // The other country's mains frequency is left alone.
    EXPECT_NEAR(MeasureGainDb(chain_, GetParam().rate, mains == 50 ? 60.0 : 50.0), 0.0, 0.5);
  }
}

TEST_P(FilterResponse, MuscleFilterIsDownThreeDecibelsAt35Hz) {
  chain_.SwitchFilters(true, false, false, 50);
  EXPECT_NEAR(MeasureGainDb(chain_, GetParam().rate, 35.0), -3.0, 0.5);
  chain_.Reset();
  EXPECT_NEAR(MeasureGainDb(chain_, GetParam().rate, 10.0), 0.0, 0.5);
  chain_.Reset();
  EXPECT_LE(MeasureGainDb(chain_, GetParam().rate, 100.0), -20.0);
}

TEST_P(FilterResponse, BaselineFilterRemovesWanderAndKeepsTheQrsBand) {
  chain_.SwitchFilters(false, true, false, 50);
  // A first-order slope below the corner: about -17 dB at 0.05 Hz.
  EXPECT_LE(MeasureGainDb(chain_, GetParam().rate, 0.05), -15.0);
  chain_.Reset();
  EXPECT_NEAR(MeasureGainDb(chain_, GetParam().rate, 0.25), -3.0, 1.0);
  chain_.Reset();
  // Subtracting a second-order low-pass lifts the band just above its
  // corner a little (about +1.5 dB near 1 Hz); it never cuts it.
  const double one_hz = MeasureGainDb(chain_, GetParam().rate, 1.0);
  EXPECT_GT(one_hz, -0.5);
  EXPECT_LT(one_hz, 2.0);
  chain_.Reset();
  EXPECT_NEAR(MeasureGainDb(chain_, GetParam().rate, 5.0), 0.0, 0.5);
  chain_.Reset();
  EXPECT_NEAR(MeasureGainDb(chain_, GetParam().rate, 10.0), 0.0, 0.5);
}

INSTANTIATE_TEST_SUITE_P(BothDesigns, FilterResponse,
                         ::testing::Values(Case{kRate0, 0}, Case{kRate1, 1}, Case{500.0, 1}));

// Output of the chain for a step of +100 (from the zero line) after `n` samples.
int StepOutput(CFilterSettings& chain, int n) {
  int out = 0;
  for (int i = 0; i < n; ++i) {
    chain.SampleVector().fill(2048 + 100);
    chain.Filter();
    out = chain.SampleVector()[3] - 2048;
  }
  return out;
}

TEST(FilterSteps, BaselineStepDecaysTowardZeroMuscleStepSettlesAtTheStep) {
  CFilterSettings baseline;
  baseline.SwitchFilters(false, true, false, 50);
  EXPECT_GE(StepOutput(baseline, 1), 99);  // the edge passes
  const int after_one_second = StepOutput(baseline, 500);
  EXPECT_LT(after_one_second, 60);
  EXPECT_LE(std::abs(StepOutput(baseline, 2500)), 1);

  CFilterSettings muscle;
  muscle.SwitchFilters(true, false, false, 50);
  EXPECT_LT(StepOutput(muscle, 1), 10);  // a low-pass rises gradually
  EXPECT_NEAR(StepOutput(muscle, 500), 100, 1);
}

TEST(FilterChain, NoFilterLeavesTheVectorUntouched) {
  CFilterSettings chain;
  const std::array<int16_t, 8> values = {0, 4095, 123, 2048, -5, 30000, 2047, 4080};
  for (int n = 0; n < 20; ++n) {
    chain.SampleVector() = values;
    chain.Filter();
    ASSERT_EQ(chain.SampleVector(), values);
  }
  EXPECT_FALSE(chain.AnyFilter());
}

TEST(FilterChain, StartsWithTheZeroLineAndTheFallbackDesign) {
  CFilterSettings chain;
  for (int16_t v : chain.SampleVector()) EXPECT_EQ(v, 2048);
  EXPECT_EQ(chain.Design(), 0u);
  EXPECT_EQ(chain.MainsFrequency(), 50);
  EXPECT_FALSE(chain.StoreFiltered());
}

TEST(FilterChain, DesignIsTheNearestRateWithTiesToTheFirst) {
  CFilterSettings chain;
  chain.SetUp(500.0);
  EXPECT_EQ(chain.Design(), 1u);
  chain.SetUp(kRate0);
  EXPECT_EQ(chain.Design(), 0u);
  const double middle = (kRate0 + kRate1) / 2;
  chain.SetUp(middle - 1e-6);
  EXPECT_EQ(chain.Design(), 0u);
  chain.SetUp(middle + 1e-6);
  EXPECT_EQ(chain.Design(), 1u);
  // A rate exactly as far from both designs takes the first.
  for (double r = middle - 1e-9; r < middle + 1e-9; r = std::nextafter(r, 1e9)) {
    if (std::fabs(r - kRate0) == std::fabs(r - kRate1)) {
      chain.SetUp(r);
      EXPECT_EQ(chain.Design(), 0u) << r;
    }
  }
  chain.SetUp(250.0);
  EXPECT_EQ(chain.Design(), 0u);
  chain.SetUp(1000.0);
  EXPECT_EQ(chain.Design(), 1u);
}

TEST(FilterChain, SwitchingStartsFromCleanDelayLines) {
  CFilterSettings used, fresh;
  used.SwitchFilters(true, true, true, 50);
  for (int n = 0; n < 333; ++n) {
    used.SampleVector().fill(static_cast<int16_t>(2048 + (n % 50) * 20));
    used.Filter();
  }
  used.SwitchFilters(true, true, true, 60);
  fresh.SwitchFilters(true, true, true, 60);
  for (int n = 0; n < 300; ++n) {
    const int16_t x = static_cast<int16_t>(2048 + 700 * std::sin(n * 0.1));
    used.SampleVector().fill(x);
    fresh.SampleVector().fill(x);
    used.Filter();
    fresh.Filter();
    ASSERT_EQ(used.SampleVector(), fresh.SampleVector()) << "sample " << n;
  }
}

TEST(FilterChain, LabelNamesTheActiveFilters) {
  CFilterSettings chain;
  EXPECT_EQ(chain.FilterLabel(), "Filters: 0.05 - 150 Hz");
  chain.SwitchFilters(true, false, false, 50);
  EXPECT_EQ(chain.FilterLabel(), "Filters: 0.05 - 35 Hz");
  chain.SwitchFilters(false, true, true, 60);
  EXPECT_EQ(chain.FilterLabel(), "Filters: 60Hz; 0.05 - 150 Hz Baseline");
  chain.SwitchFilters(true, true, true, 50);
  EXPECT_EQ(chain.FilterLabel(), "Filters: 50Hz; 0.05 - 35 Hz Baseline");
}

TEST(FilterChain, AnyFilterFollowsTheFlagsOnlyWhenAsked) {
  CFilterSettings chain;
  chain.SetPower(true);
  EXPECT_FALSE(chain.AnyFilter());
  chain.SetAnyFilter();
  EXPECT_TRUE(chain.AnyFilter());
  chain.SetPower(false);
  chain.Reset();
  EXPECT_FALSE(chain.AnyFilter());
}

TEST(FilterChain, SwitchingWaitsForTheFilterLock) {
  CFilterSettings chain;
  chain.Lock();
  std::atomic<bool> switched{false};
  std::thread button([&] {
    chain.SwitchFilters(true, false, false, 50);
    switched = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(switched.load());
  EXPECT_FALSE(chain.Muscle());
  chain.Unlock();
  button.join();
  EXPECT_TRUE(switched.load());
  EXPECT_TRUE(chain.Muscle());
}

class FilterSettingsFile : public ::testing::Test {
 protected:
  std::string Write(const std::string& text) {
    const std::string path = folder_.File("filters.ini");
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  ecg::test::TempFolder folder_;
};

TEST_F(FilterSettingsFile, ReadsMusclePowerAndPowerTypeButNotBaseline) {
  CFilterSettings chain;
  ASSERT_TRUE(chain.LoadSettings(
      Write("[Other]\nMuscle=0\n[filters]\r\nmuscle = 2\r\nPower=1\r\nPowerType=60\r\n"
            "Baseline=1\r\n")));
  EXPECT_TRUE(chain.Muscle());
  EXPECT_TRUE(chain.Power());
  EXPECT_EQ(chain.MainsFrequency(), 60);
  EXPECT_FALSE(chain.Baseline());
  EXPECT_TRUE(chain.AnyFilter());
}

TEST_F(FilterSettingsFile, AnyPowerTypeButSixtyMeansFifty) {
  CFilterSettings chain;
  const std::pair<const char*, int> cases[] = {
      {"55", 50}, {"abc", 50}, {"-60", 50}, {"", 50}, {"600", 50}, {"060", 60}, {"60Hz", 60}};
  for (const auto& [type, mains] : cases) {
    SCOPED_TRACE(type);
    chain.SetMainsFrequency(mains == 60 ? 50 : 60);
    ASSERT_TRUE(chain.LoadSettings(Write(std::string("[Filters]\nPowerType=") + type + "\n")));
    EXPECT_EQ(chain.MainsFrequency(), mains);
  }
}

TEST_F(FilterSettingsFile, UnreadableFilesLeaveTheDefaults) {
  CFilterSettings chain;
  chain.SetMuscle(true);
  ecg::platform::SetLastError(0);
  EXPECT_TRUE(chain.LoadSettings(folder_.File("missing.ini")));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorFileNotFound);
  EXPECT_FALSE(chain.Muscle());
  EXPECT_FALSE(chain.AnyFilter());

  EXPECT_TRUE(chain.LoadSettings(Write("[Filters]\nMuscle=1\n\0"s)));
  EXPECT_EQ(ecg::platform::GetLastError(), ecg::platform::kErrorInvalidData);
  EXPECT_FALSE(chain.Muscle());
}

}  // namespace
