#pragma once
// The display values the cable protocol writes and the recording file
// reads: sampling rate, resolution, speed and gain, with the plot's
// transformation from them (pixels per sample, pixels per sample step).
// The live plot shares this object; the screen's millimetres per pixel come
// from the window that draws.

#include <cstdint>

class CECGSettings {
 public:
  CECGSettings() { Recompute(); }

  void SetSpeed(double mm_per_s);
  // Gain in millimetres per microvolt (0.01 = 10 mm/mV).
  void SetGain(double mm_per_uv);
  void SetSamplingRate(double hz);
  // Microvolts per sample step.
  void SetResolution(double uv_per_step);
  // Millimetres per pixel of the display device, horizontal and vertical.
  void SetDevice(double mm_per_pixel_x, double mm_per_pixel_y);

  // Pixels per sample (horizontal) and per sample step (vertical).
  void GetTransformationValues(double* pixels_per_sample, double* pixels_per_step) const;

  double GetSpeed() const { return m_speed; }
  double GetGain() const { return m_gain; }
  double GetSamplingRate() const { return m_rate; }
  double GetResolution() const { return m_resolution; }

  double m_pixelsPerStep = 0;         // at the chosen gain
  double m_pixelsPerStep10 = 0;       // at 10 mm/mV
  double m_pixelsPerSample = 0;       // at the chosen speed
  double m_pixelsPerSample25 = 0;     // at 25 mm/s
  double m_pixelsPerSample500 = 0;    // chosen speed, nominal 500 Hz
  double m_mmPerPixelY = 0.25;
  double m_mmPerPixelX = 0.25;

 private:
  void Recompute();

  double m_speed = 25.0;
  double m_gain = 0.01;
  double m_resolution = 3.0;
  double m_rate = 500.0;
};

// The display facts the recording file keeps: how many leads a displayed
// group holds and which group is shown.
class CDisplaySettings {
 public:
  // 3, 6 or 12 (anything else is taken as 12); the group index is kept in
  // range.
  void SetLeadsPerGroup(int leads);
  // Keeps g when g < 12 / leads per group, else the last group.
  void SetLeadGroup(int g);
  int LeadsPerGroup() const { return m_leadsPerGroup; }
  int LeadGroup() const { return m_group; }

 private:
  int m_leadsPerGroup = 12;
  int m_group = 0;
};
