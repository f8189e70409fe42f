#include "dsp/qrs_detect.h"

#include <cstdlib>

void CQRSDetect::Reset() {
  m_state = 0;
  m_slopeSign = 1;
  m_firstSign = 1;
  m_lastBeatSign = 1;
  m_counter = 0;
  m_start = 0;
  m_duration = 0;
  for (auto& v : m_input) v = 0;
  m_peak = 0;
  m_countdown = 0;
  m_threshold = kInitialThreshold;
  m_rrCounter = kInvalid;
  for (auto& v : m_rrHistory) v = kInvalid;
  m_heartRate = 0.0;
  m_lastSlope = 0;
}

int32_t CQRSDetect::SlopeFilter(int16_t sample) {
  int32_t* x = m_input;
  x[0] = sample;
  const int32_t recent = x[0] + 4 * x[1] + 6 * x[2] + 4 * x[3] + x[4];
  const int32_t older = x[5] + 4 * x[6] + 6 * x[7] + 4 * x[8] + x[9];
  for (int i = kInputLength - 1; i > 0; --i) x[i] = x[i - 1];
  return recent - older;
}

void CQRSDetect::StartCandidate(int32_t y) {
  m_state = 1;
  m_countdown = kEndDelay;
  m_start = m_counter;
  m_duration = 0;
  m_slopeSign = y >= 1 ? 1 : -1;
  m_firstSign = m_slopeSign;
  m_peak = 0;
}

void CQRSDetect::PushRR(int32_t rr) {
  for (int i = kHistoryLength - 1; i > 0; --i) m_rrHistory[i] = m_rrHistory[i - 1];
  m_rrHistory[0] = rr;
}

void CQRSDetect::AdaptThreshold() {
  m_threshold += ((m_peak >> 1) - m_threshold) >> 3;
}

void CQRSDetect::UpdateHeartRate() {
  int32_t sum = 0;
  int32_t count = 0;
  for (int i = 0; i < 4; ++i) {
    if (m_rrHistory[i] != kInvalid) {
      sum += m_rrHistory[i];
      ++count;
    }
  }
  if (count == 0) {
    m_heartRate = 0.0;
    return;
  }
  const int32_t average = (sum + count / 2) / count;
  m_heartRate = average > 0 ? kRateConstant / average : 0.0;
}

bool CQRSDetect::Judge() {
  bool accepted = false;
  if (m_duration > kMaxQrsWidth) {
    // Too wide for a QRS complex: the interval around it is not trusted.
    m_rrCounter = kInvalid;
    PushRR(kInvalid);
    m_counter = 0;
  } else if (m_counter < kRefractory && m_rrCounter != kInvalid) {
    // Too early after the last beat. With the same polarity it is taken as
    // a disturbance that spoils the interval.
    if (m_firstSign == m_lastBeatSign) {
      AdaptThreshold();
      PushRR(kInvalid);
      m_rrCounter = kInvalid;
      m_counter = 0;
    } else {
      AdaptThreshold();
    }
  } else {
    accepted = true;
    if (m_counter > kTimeout) m_rrCounter = kInvalid;
    PushRR(m_rrCounter);
    m_rrCounter = 0;
    m_counter = 0;
    m_lastBeatSign = m_firstSign;
    AdaptThreshold();
    if (m_threshold < kMinThreshold) m_threshold = kMinThreshold;
    if (m_threshold > kMaxThreshold) m_threshold = kMaxThreshold;
  }
  UpdateHeartRate();
  return accepted;
}

bool CQRSDetect::QrsDetect(int16_t sample, double& heart_rate) {
  bool accepted = false;
  const int32_t y = SlopeFilter(sample);
  m_lastSlope = y;
  const int32_t magnitude = std::abs(y);

  if (m_counter % kTimeout == 0) {
    m_rrCounter = kInvalid;
    PushRR(kInvalid);
    m_state = 0;
    m_counter = 0;
    UpdateHeartRate();
    heart_rate = m_heartRate;
    m_threshold -= m_threshold >> 3;
    if (m_threshold < kMinThreshold) m_threshold = kMinThreshold;
  }

  if (m_state == 0 && magnitude > m_threshold) StartCandidate(y);

  if (m_state >= 1) {
    // The products stay well inside 32 bits: |y| <= 16 * 65535 * 2.
    if (y * m_slopeSign < -m_threshold) {
      ++m_state;
      m_slopeSign = -m_slopeSign;
      if (magnitude > m_peak) {
        m_peak = magnitude;
        m_countdown = m_state < 5 ? kEndDelay : kLongEndDelay;
      }
      m_duration = m_counter - m_start;
      if (int64_t{m_peak} > int64_t{m_threshold} * 1024 && m_duration < kMinQrsWidth) {
        StartCandidate(y);
      }
    } else if (y * m_slopeSign > m_threshold) {
      if (magnitude > m_peak) m_peak = magnitude;
      m_duration = m_counter - m_start;
    } else if (int64_t{m_peak} > int64_t{m_threshold} * 1024 && m_duration < kMinQrsWidth) {
      m_state = 0;
    }

    if (m_state >= 1) {
      if (m_countdown >= 1) {
        --m_countdown;
      } else {
        --m_countdown;
        if (m_duration >= kMinQrsWidth) {
          accepted = Judge();
          heart_rate = m_heartRate;
        }
        m_state = 0;
      }
    }
  }

  ++m_counter;
  if (m_rrCounter != kInvalid) ++m_rrCounter;
  return accepted;
}

int32_t CQRSDetect::GetLastRRms() const {
  return m_rrHistory[0] == kInvalid ? kInvalid : m_rrHistory[0] * 4;
}
