// Fuzz target: the decoder of SCP-ECG records from other systems. Any bytes
// must end in a decoded record or a refusal with a reason, within the
// decoder's limits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "scp/scp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ecg::scp::DecodedRecord record;
  ecg::scp::DecodeReport report;
  const bool ok = ecg::scp::DecodeScpRecord(std::span<const uint8_t>(data, size), record, report);
  if (ok != (report.status == ecg::scp::DecodeStatus::kOk)) std::abort();
  if (!ok && report.message.empty()) std::abort();
  if (!ok) return 0;
  size_t total = 0;
  for (const auto* signal : {&record.rhythm, &record.median}) {
    if (signal->leads.size() > record.leads.size()) std::abort();
    for (const auto& lead : signal->leads) {
      if (lead.size() > ecg::scp::kMaxSamplesPerLead) std::abort();
      total += lead.size();
    }
  }
  if (total > ecg::scp::kMaxTotalSamples) std::abort();
  (void)record.EncodingSummary();
  return 0;
}
