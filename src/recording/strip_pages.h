#pragma once
// Which frames a strip printout covers: all pages (the newest 150 pages'
// worth when there are more), the selection (one page from the scroll
// position, moved back so a full page fits), or a page range; always cut at
// the last frame and at most 150 pages.

#include <cstdint>

namespace ecg::recording {

inline constexpr uint32_t kMaxStripPages = 150;

struct StripPrintRange {
  enum Kind { kAll, kSelection, kPages };
  Kind kind = kAll;
  int from_page = 1;  // 1-based, kPages only
  int to_page = 1;
};

struct StripPagePlan {
  uint32_t first_frame = 0;
  uint32_t end_frame = 0;  // one past the last frame printed
  uint32_t pages = 0;      // 0: nothing to print
};

StripPagePlan PlanStripPages(uint32_t total_frames, uint32_t frames_per_page,
                             uint32_t scroll_offset, const StripPrintRange& range);

}  // namespace ecg::recording
