// Reading LUDB-style reference files and grouping their marks into beats.

#include "engine/eval/ludb_reference.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

namespace ecg::engine::eval {

namespace {

constexpr double kMaxMarkValue = 1e9;

bool ToInt(const JsonValue& v, int& out) {
  if (!v.IsNumber() || !(std::fabs(v.number()) < kMaxMarkValue)) return false;
  out = static_cast<int>(std::lround(v.number()));
  return true;
}

bool Marks(const JsonValue* list, std::vector<WaveMark>& out, std::string& error) {
  out.clear();
  if (list == nullptr) return true;
  if (!list->IsArray()) {
    error = "a wave list is not an array";
    return false;
  }
  for (const JsonValue& item : list->items()) {
    WaveMark m;
    if (!item.IsArray() || item.items().size() != 3 || !ToInt(item.items()[0], m.onset) ||
        !ToInt(item.items()[1], m.peak) || !ToInt(item.items()[2], m.offset)) {
      error = "a wave mark is not [onset, peak, offset]";
      return false;
    }
    out.push_back(m);
  }
  return true;
}

std::optional<double> OptionalNumber(const JsonValue* v) {
  if (v == nullptr || !v->IsNumber()) return std::nullopt;
  return v->number();
}

}  // namespace

bool LudbReferenceFromJson(const JsonValue& root, LudbReference& out, std::string& error) {
  out = LudbReference();
  if (!root.IsObject()) {
    error = "the document is not an object";
    return false;
  }
  const JsonValue* fs = root.Find("fs");
  if (fs == nullptr || !fs->IsNumber() || !(fs->number() > 0 && fs->number() < 1e6)) {
    error = "no sampling rate (fs)";
    return false;
  }
  out.rate = fs->number();
  if (const JsonValue* diagnoses = root.Find("diagnoses"); diagnoses != nullptr && diagnoses->IsArray()) {
    for (const JsonValue& d : diagnoses->items()) {
      if (d.IsString()) out.diagnoses.push_back(d.text());
    }
  }
  const JsonValue* annotations = root.Find("annotations");
  if (annotations != nullptr) {
    if (!annotations->IsObject()) {
      error = "annotations is not an object";
      return false;
    }
    for (const auto& [lead, waves] : annotations->members()) {
      if (!waves.IsObject()) {
        error = "the annotations of a lead are not an object";
        return false;
      }
      LeadMarks marks;
      marks.lead = lead;
      if (!Marks(waves.Find("P"), marks.p, error) || !Marks(waves.Find("QRS"), marks.qrs, error) ||
          !Marks(waves.Find("T"), marks.t, error)) {
        return false;
      }
      out.leads.push_back(std::move(marks));
    }
  }
  const JsonValue* reference = root.Find("reference");
  if (reference == nullptr || !reference->IsObject()) {
    error = "no reference values";
    return false;
  }
  if (const JsonValue* peaks = reference->Find("qrs_peaks"); peaks != nullptr && peaks->IsArray()) {
    for (const JsonValue& p : peaks->items()) {
      int v = 0;
      if (!ToInt(p, v)) {
        error = "a QRS peak is not a number";
        return false;
      }
      out.qrs_peaks.push_back(v);
    }
  }
  std::sort(out.qrs_peaks.begin(), out.qrs_peaks.end());
  out.p_duration_ms = OptionalNumber(reference->Find("P_duration_ms"));
  out.pr_ms = OptionalNumber(reference->Find("PR_ms"));
  out.qrs_ms = OptionalNumber(reference->Find("QRS_duration_ms"));
  out.qt_ms = OptionalNumber(reference->Find("QT_ms"));
  out.rr_ms = OptionalNumber(reference->Find("RR_ms"));
  return true;
}

bool ReadLudbReference(const std::string& path, LudbReference& out, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot open " + path;
    return false;
  }
  std::string text;
  char buffer[65536];
  while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
    text.append(buffer, static_cast<size_t>(file.gcount()));
    if (text.size() > kMaxJsonBytes) {
      error = path + " is larger than a reference file can be";
      return false;
    }
  }
  JsonValue root;
  if (!ParseJson(text, root, error)) {
    error = path + ": " + error;
    return false;
  }
  if (!LudbReferenceFromJson(root, out, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

std::vector<ReferenceBeat> ReferenceBeats(const LudbReference& reference) {
  std::vector<ReferenceBeat> beats;
  const int qrs_join = static_cast<int>(std::lround(0.1 * reference.rate));
  const int p_reach = static_cast<int>(std::lround(0.45 * reference.rate));
  const int t_reach = static_cast<int>(std::lround(0.8 * reference.rate));
  for (int peak : reference.qrs_peaks) {
    ReferenceBeat b;
    b.peak = peak;
    b.qrs_on = std::numeric_limits<int>::max();
    b.qrs_off = std::numeric_limits<int>::min();
    beats.push_back(b);
  }
  if (beats.empty()) return beats;
  auto nearest = [&](int at) -> ReferenceBeat* {
    ReferenceBeat* best = nullptr;
    for (ReferenceBeat& b : beats) {
      if (best == nullptr || std::abs(b.peak - at) < std::abs(best->peak - at)) best = &b;
    }
    return best;
  };
  for (const LeadMarks& lead : reference.leads) {
    for (const WaveMark& m : lead.qrs) {
      ReferenceBeat* b = nearest(m.peak);
      if (b == nullptr || std::abs(b->peak - m.peak) > qrs_join) continue;
      b->qrs_on = std::min(b->qrs_on, m.onset);
      b->qrs_off = std::max(b->qrs_off, m.offset);
    }
  }
  for (const LeadMarks& lead : reference.leads) {
    for (const WaveMark& m : lead.p) {
      ReferenceBeat* next = nullptr;
      for (ReferenceBeat& b : beats) {
        if (b.peak > m.peak) {
          next = &b;
          break;
        }
      }
      if (next == nullptr || next->peak - m.peak > p_reach) continue;
      next->p_on = next->p_on ? std::min(*next->p_on, m.onset) : m.onset;
      next->p_off = next->p_off ? std::max(*next->p_off, m.offset) : m.offset;
    }
    for (const WaveMark& m : lead.t) {
      ReferenceBeat* before = nullptr;
      for (ReferenceBeat& b : beats) {
        if (b.peak < m.peak) before = &b;
      }
      if (before == nullptr || m.peak - before->peak > t_reach) continue;
      before->t_off = before->t_off ? std::max(*before->t_off, m.offset) : m.offset;
    }
  }
  // A peak no lead marked a complex for keeps its own position.
  for (ReferenceBeat& b : beats) {
    if (b.qrs_on > b.qrs_off) b.qrs_on = b.qrs_off = b.peak;
  }
  return beats;
}

bool AnnotatedSpan(const LudbReference& reference, int margin, int& first, int& last) {
  if (reference.qrs_peaks.empty()) return false;
  first = reference.qrs_peaks.front() - margin;
  last = reference.qrs_peaks.back() + margin;
  return true;
}

}  // namespace ecg::engine::eval
