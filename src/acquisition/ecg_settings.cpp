#include "acquisition/ecg_settings.h"

void CECGSettings::SetSpeed(double mm_per_s) {
  m_speed = mm_per_s;
  Recompute();
}

void CECGSettings::SetGain(double mm_per_uv) {
  m_gain = mm_per_uv;
  Recompute();
}

void CECGSettings::SetSamplingRate(double hz) {
  m_rate = hz;
  Recompute();
}

void CECGSettings::SetResolution(double uv_per_step) {
  m_resolution = uv_per_step;
  Recompute();
}

void CECGSettings::SetDevice(double mm_per_pixel_x, double mm_per_pixel_y) {
  if (mm_per_pixel_x > 0) m_mmPerPixelX = mm_per_pixel_x;
  if (mm_per_pixel_y > 0) m_mmPerPixelY = mm_per_pixel_y;
  Recompute();
}

void CECGSettings::GetTransformationValues(double* pixels_per_sample,
                                           double* pixels_per_step) const {
  if (pixels_per_sample) *pixels_per_sample = m_pixelsPerSample;
  if (pixels_per_step) *pixels_per_step = m_pixelsPerStep;
}

void CECGSettings::Recompute() {
  // A step of `resolution` microvolts is resolution * gain millimetres high;
  // a sample is speed / rate millimetres wide.
  const double rate = m_rate > 0 ? m_rate : 500.0;
  m_pixelsPerStep = m_resolution * m_gain / m_mmPerPixelY;
  m_pixelsPerStep10 = m_resolution * 0.01 / m_mmPerPixelY;
  m_pixelsPerSample = m_speed / rate / m_mmPerPixelX;
  m_pixelsPerSample25 = 25.0 / rate / m_mmPerPixelX;
  m_pixelsPerSample500 = m_speed / 500.0 / m_mmPerPixelX;
}

void CDisplaySettings::SetLeadsPerGroup(int leads) {
  m_leadsPerGroup = (leads == 3 || leads == 6) ? leads : 12;
  SetLeadGroup(m_group);
}

void CDisplaySettings::SetLeadGroup(int g) {
  const int groups = 12 / m_leadsPerGroup;
  m_group = (g >= 0 && g < groups) ? g : groups - 1;
}
