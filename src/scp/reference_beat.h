#pragma once
// Section 4 (reference beat type 0 and QRS locations), the undoing of
// bimodal compression and the adding back of the reference beat.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "scp/scp_decoder.h"

namespace ecg::scp {

struct ReferenceBeatInfo {
  uint16_t lengthMs = 0;
  uint16_t fiducial = 0;  // fcM, 1-based sample of the reference beat
  std::vector<QrsLocation> qrs;
  bool protectedZonesStored = true;  // false: v1.0/1.1 layout, SB/SE stand in
};

// Reads Section 4's data part. False with a reason when the QRS table is
// cut off. Protected zones missing from the end (old layout) are taken from
// the subtraction ranges.
bool ParseSection4(std::span<const uint8_t> data, ReferenceBeatInfo& info, std::string& why);

// A lead of `samples` full-rate samples stored bimodally with factor F: each
// run outside the protected zones holds one value per F samples (the last
// group may be shorter), each protected zone all its samples.
struct BimodalLayout {
  struct Run {
    uint32_t start = 0;      // 0-based first full-rate sample
    uint32_t length = 0;
    bool protectedZone = false;
  };
  std::vector<Run> runs;     // in time order, covering [0, samples)
  size_t storedValues = 0;   // values the lead holds

  // Builds the runs from the protected zones (1-based, inclusive; clamped to
  // the lead, overlaps merged). False when factor < 2 or samples is 0.
  bool Build(const std::vector<QrsLocation>& qrs, uint32_t samples, uint32_t factor);
};

// Rebuilds the full-rate lead from the stored values: protected samples as
// stored; each decimated value stands for the mean of its group and is placed
// at the group's centre, with straight lines between centres within a run
// and flat ends at the run's edges. `stored` may be shorter than the layout
// says (a truncated lead): the output then stops where the values do.
std::vector<float> UndoBimodal(const BimodalLayout& layout, uint32_t factor,
                               std::span<const float> stored);

// Adds the reference beat to the residual in every type-0 subtraction range
// [SB, SE]: out[s] += median[fcM - 1 + (s - fc)], within both signals' bounds.
// False, with nothing added, when the ranges overlap so much that they cover
// more than twice the rhythm (a record no writer makes).
bool AddReferenceBeat(const ReferenceBeatInfo& info, std::span<const float> median,
                      std::vector<float>& residual);

}  // namespace ecg::scp
