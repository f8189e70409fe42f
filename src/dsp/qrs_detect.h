#pragma once
// Real-time QRS detection on one lead at about 250 samples per second: an
// integer smoothed-derivative (slope) filter, an adaptive slope threshold, a
// small state machine that follows a candidate complex through its slope
// reversals, and a five-interval RR history that gives the heart rate.
// All times are in detector samples (about 4 ms each).

#include <cstdint>

class CQRSDetect {
 public:
  static constexpr int32_t kMinThreshold = 653;
  static constexpr int32_t kMaxThreshold = 10 * kMinThreshold;
  static constexpr int32_t kEndDelay = 30;
  static constexpr int32_t kLongEndDelay = 40;
  static constexpr int32_t kMinQrsWidth = 9;
  static constexpr int32_t kMaxQrsWidth = 100;
  static constexpr int32_t kRefractory = 68;
  static constexpr int32_t kTimeout = 518;
  static constexpr int32_t kInitialThreshold = kMinThreshold + kMaxThreshold / 8;
  static constexpr int32_t kInvalid = 9999;
  static constexpr int kHistoryLength = 5;
  static constexpr int kInputLength = 11;
  static constexpr double kRateConstant = 15000.0;

  CQRSDetect() { Reset(); }

  // Processes one sample (offset binary, 2048 = zero). True when a beat is
  // accepted on this sample. `heart_rate` (beats per minute, 0 = unknown) is
  // written whenever the RR history may have changed.
  bool QrsDetect(int16_t sample, double& heart_rate);

  // The newest RR interval in milliseconds (entry × 4), or 9999.
  int32_t GetLastRRms() const;

  void Reset();

  // State for tests and the display.
  int32_t Threshold() const { return m_threshold; }
  int32_t RRHistory(int i) const { return m_rrHistory[i]; }
  double HeartRate() const { return m_heartRate; }
  // The smoothed derivative of the last sample.
  int32_t LastSlope() const { return m_lastSlope; }

 private:
  int32_t SlopeFilter(int16_t sample);
  void StartCandidate(int32_t y);
  // Judges the finished candidate; true when it is accepted as a beat.
  bool Judge();
  void PushRR(int32_t rr);
  void AdaptThreshold();
  void UpdateHeartRate();

  int32_t m_state = 0;
  int32_t m_slopeSign = 1;
  int32_t m_firstSign = 1;
  int32_t m_lastBeatSign = 1;
  int32_t m_counter = 0;
  int32_t m_start = 0;
  int32_t m_duration = 0;
  int32_t m_input[kInputLength] = {};
  int32_t m_peak = 0;
  int32_t m_countdown = 0;
  int32_t m_threshold = kInitialThreshold;
  int32_t m_rrCounter = kInvalid;
  int32_t m_rrHistory[kHistoryLength] = {};
  double m_heartRate = 0.0;
  int32_t m_lastSlope = 0;
};
