#include "recording/lead_values.h"

#include "acquisition/cable_frame.h"

namespace ecg::recording {

int DerivedLead(int channel, int lead_i, int lead_ii) {
  switch (channel) {
    case 8: return lead_ii - lead_i;
    case 9: return -(lead_i + lead_ii) / 2;
    case 10: return lead_i - lead_ii / 2;
    case 11: return lead_ii - lead_i / 2;
    default: return 0;
  }
}

FrameLeads DecodeFrameLeads(const uint8_t* frame) {
  FrameLeads out;
  const auto raw = ecg::acquisition::UnpackFrame(frame);
  for (size_t c = 0; c < ecg::acquisition::kFrameChannels; ++c) {
    const auto v = ecg::acquisition::DecodeChannel(raw[c]);
    out.value[c] = static_cast<int>(v.sample) - ecg::acquisition::kSampleZero;
    out.status[c] = v.status;
  }
  for (int c = 8; c < 12; ++c) {
    out.value[static_cast<size_t>(c)] = DerivedLead(c, out.value[0], out.value[1]);
    out.status[static_cast<size_t>(c)] = out.status[0] | out.status[1];
  }
  return out;
}

}  // namespace ecg::recording
