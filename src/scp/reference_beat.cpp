#include "scp/reference_beat.h"

#include <algorithm>

#include "scp/little_endian.h"

namespace ecg::scp {

namespace {
constexpr size_t kQrsEntrySize = 14;
constexpr size_t kZoneEntrySize = 8;
}  // namespace

bool ParseSection4(std::span<const uint8_t> data, ReferenceBeatInfo& info, std::string& why) {
  info = ReferenceBeatInfo{};
  if (data.size() < 6) {
    why = "Section 4 is shorter than its 6-byte header";
    return false;
  }
  info.lengthMs = LoadU16(data.data());
  info.fiducial = LoadU16(data.data() + 2);
  const uint16_t count = LoadU16(data.data() + 4);
  const size_t qrs_end = 6 + static_cast<size_t>(count) * kQrsEntrySize;
  if (qrs_end > data.size()) {
    why = "Section 4 announces " + std::to_string(count) + " QRS complexes but holds " +
          std::to_string((data.size() - 6) / kQrsEntrySize);
    return false;
  }
  info.qrs.resize(count);
  for (uint16_t i = 0; i < count; ++i) {
    const uint8_t* p = data.data() + 6 + i * kQrsEntrySize;
    auto& q = info.qrs[i];
    q.type = LoadU16(p);
    q.subtractionStart = LoadU32(p + 2);
    q.fiducial = LoadU32(p + 6);
    q.subtractionEnd = LoadU32(p + 10);
  }
  info.protectedZonesStored = qrs_end + count * kZoneEntrySize <= data.size();
  for (uint16_t i = 0; i < count; ++i) {
    auto& q = info.qrs[i];
    if (info.protectedZonesStored) {
      const uint8_t* p = data.data() + qrs_end + i * kZoneEntrySize;
      q.protectedStart = LoadU32(p);
      q.protectedEnd = LoadU32(p + 4);
    } else {
      q.protectedStart = q.subtractionStart;
      q.protectedEnd = q.subtractionEnd;
    }
  }
  return true;
}

bool BimodalLayout::Build(const std::vector<QrsLocation>& qrs, uint32_t samples,
                          uint32_t factor) {
  runs.clear();
  storedValues = 0;
  if (factor < 2 || samples == 0) return false;
  // Zones as 0-based half-open ranges, sorted and merged.
  std::vector<std::pair<uint32_t, uint32_t>> zones;
  for (const auto& q : qrs) {
    if (q.protectedStart == 0 || q.protectedEnd < q.protectedStart) continue;
    const uint32_t begin = q.protectedStart - 1;
    if (begin >= samples) continue;
    const uint32_t end = q.protectedEnd >= samples ? samples : q.protectedEnd;
    zones.emplace_back(begin, end);
  }
  std::sort(zones.begin(), zones.end());
  uint32_t at = 0;
  auto add_run = [this, factor](uint32_t start, uint32_t length, bool is_protected) {
    if (length == 0) return;
    runs.push_back({start, length, is_protected});
    storedValues += is_protected ? length : (length + factor - 1) / factor;
  };
  for (const auto& [begin, end] : zones) {
    if (end <= at) continue;  // inside a zone already covered
    const uint32_t from = begin > at ? begin : at;
    add_run(at, from - at, false);
    add_run(from, end - from, true);
    at = end;
  }
  add_run(at, samples - at, false);
  return true;
}

std::vector<float> UndoBimodal(const BimodalLayout& layout, uint32_t factor,
                               std::span<const float> stored) {
  std::vector<float> out;
  if (layout.runs.empty()) return out;
  const auto& last = layout.runs.back();
  out.reserve(last.start + last.length);
  size_t next = 0;  // next stored value
  for (const auto& run : layout.runs) {
    if (run.protectedZone) {
      for (uint32_t i = 0; i < run.length; ++i) {
        if (next >= stored.size()) return out;
        out.push_back(stored[next++]);
      }
      continue;
    }
    const uint32_t groups = (run.length + factor - 1) / factor;
    if (stored.size() - next < groups) return out;
    const float* v = stored.data() + next;
    next += groups;
    // Centre of group g, relative to the run start.
    auto centre = [&](uint32_t g) {
      const uint32_t first = g * factor;
      const uint32_t size = run.length - first < factor ? run.length - first : factor;
      return first + (size - 1) / 2.0;
    };
    uint32_t g = 0;
    for (uint32_t t = 0; t < run.length; ++t) {
      while (g + 1 < groups && centre(g + 1) <= t) ++g;
      const double c0 = centre(g);
      if (t <= c0 || g + 1 >= groups) {
        out.push_back(v[g]);  // flat before the first and after the last centre
        continue;
      }
      const double c1 = centre(g + 1);
      const double w = (t - c0) / (c1 - c0);
      out.push_back(static_cast<float>(v[g] + (v[g + 1] - v[g]) * w));
    }
  }
  return out;
}

bool AddReferenceBeat(const ReferenceBeatInfo& info, std::span<const float> median,
                      std::vector<float>& residual) {
  if (info.fiducial == 0 || median.empty() || residual.empty()) return true;
  // Each range is cut to the samples where both the rhythm and the median
  // beat exist, so the work per complex is at most the median's length.
  struct Range {
    int64_t first, last, shift;  // 0-based rhythm samples; median index = s + shift
  };
  std::vector<Range> ranges;
  uint64_t work = 0;
  const auto rhythm_last = static_cast<int64_t>(residual.size()) - 1;
  for (const auto& q : info.qrs) {
    if (q.type != 0 || q.subtractionStart == 0 || q.subtractionEnd < q.subtractionStart) continue;
    const int64_t shift = static_cast<int64_t>(info.fiducial) - 1 - static_cast<int64_t>(q.fiducial);
    // Median index m = (s + 1) + shift for the 0-based sample s.
    const int64_t first = std::max<int64_t>({static_cast<int64_t>(q.subtractionStart) - 1, 0,
                                              -shift - 1});
    const int64_t last = std::min<int64_t>({static_cast<int64_t>(q.subtractionEnd) - 1,
                                             rhythm_last,
                                             static_cast<int64_t>(median.size()) - 2 - shift});
    if (first > last) continue;
    work += static_cast<uint64_t>(last - first + 1);
    ranges.push_back({first, last, shift + 1});
  }
  // Subtraction ranges do not overlap in a sound record.
  if (work > 2 * residual.size() + median.size()) return false;
  for (const auto& r : ranges) {
    for (int64_t s = r.first; s <= r.last; ++s) {
      residual[static_cast<size_t>(s)] += median[static_cast<size_t>(s + r.shift)];
    }
  }
  return true;
}

}  // namespace ecg::scp
