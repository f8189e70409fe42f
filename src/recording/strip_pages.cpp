#include "recording/strip_pages.h"

#include <algorithm>

namespace ecg::recording {

StripPagePlan PlanStripPages(uint32_t total, uint32_t per_page, uint32_t scroll,
                             const StripPrintRange& range) {
  StripPagePlan plan;
  if (total == 0 || per_page == 0) return plan;
  const uint64_t page = per_page;
  uint64_t first = 0;
  uint64_t end = total;
  switch (range.kind) {
    case StripPrintRange::kAll: {
      const uint64_t pages = (total + page - 1) / page;
      if (pages > kMaxStripPages) first = total - kMaxStripPages * page;
      break;
    }
    case StripPrintRange::kSelection:
      first = std::min<uint64_t>(scroll, total);
      if (first + page > total) first = total >= page ? total - page : 0;
      end = std::min<uint64_t>(first + page, total);
      break;
    case StripPrintRange::kPages: {
      const uint64_t from = static_cast<uint64_t>(std::max(range.from_page, 1));
      const uint64_t to = static_cast<uint64_t>(std::max(range.to_page, range.from_page));
      first = (from - 1) * page;
      end = std::min<uint64_t>(to * page, total);
      break;
    }
  }
  if (first >= end) return plan;
  uint64_t pages = (end - first + page - 1) / page;
  if (pages > kMaxStripPages) {
    pages = kMaxStripPages;
    end = first + pages * page;
  }
  plan.first_frame = static_cast<uint32_t>(first);
  plan.end_frame = static_cast<uint32_t>(end);
  plan.pages = static_cast<uint32_t>(pages);
  return plan;
}

}  // namespace ecg::recording
