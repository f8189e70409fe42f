// The beat stress test of engine/eval --beats.

#include "engine/eval/beat_records.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "engine/analysis.h"
#include "engine/atrial_flutter.h"
#include "engine/beat_typing.h"
#include "engine/eval/json_value.h"
#include "engine/filters.h"
#include "engine/interpretation.h"
#include "engine/lead_quality.h"
#include "engine/qrs_detection.h"

namespace fs = std::filesystem;

namespace ecg::engine::eval {

namespace {

constexpr double kStretchSeconds = 10.0;
constexpr double kMatchSeconds = 0.075;
constexpr uint64_t kMaxRecordBytes = 256u << 20;

bool ReadText(const std::string& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return text.size() <= kMaxJsonBytes;
}

bool IsBeatSymbol(char c) { return std::string("NLRBAaJSVrFejnE/fQ?").find(c) != std::string::npos; }

// Ventricular forms, and the supraventricular premature ones.
bool IsVentricular(char c) { return c == 'V' || c == 'E' || c == 'F'; }

}  // namespace

bool ReadBeatRecord(const std::string& json_path, const std::string& bin_path, BeatRecord& out,
                    std::string& error) {
  out = BeatRecord();
  std::string text;
  if (!ReadText(json_path, text)) {
    error = "cannot read " + json_path;
    return false;
  }
  JsonValue root;
  if (!ParseJson(text, root, error)) return false;
  const JsonValue* rate = root.Find("fs");
  const JsonValue* channels = root.Find("channels");
  const JsonValue* beats = root.Find("beats");
  if (rate == nullptr || !rate->IsNumber() || !(rate->number() > 0 && rate->number() < 1e5) ||
      channels == nullptr || !channels->IsArray() || channels->items().empty() ||
      channels->items().size() > 16 || beats == nullptr || !beats->IsArray()) {
    error = "missing fs, channels or beats";
    return false;
  }
  out.rate = rate->number();
  for (const JsonValue& c : channels->items()) out.channels.push_back(c.IsString() ? c.text() : "?");
  for (const JsonValue& b : beats->items()) {
    if (!b.IsArray() || b.items().size() != 2 || !b.items()[0].IsNumber() || !b.items()[1].IsString() ||
        b.items()[1].text().size() != 1 || !(std::fabs(b.items()[0].number()) < 1e12)) {
      error = "a beat is not [sample, symbol]";
      return false;
    }
    out.beats.push_back({static_cast<long>(b.items()[0].number()), b.items()[1].text()[0]});
  }
  std::error_code ec;
  const uint64_t bytes = fs::file_size(bin_path, ec);
  const size_t nc = out.channels.size();
  if (ec || bytes > kMaxRecordBytes || bytes % (2 * nc) != 0) {
    error = "cannot use " + bin_path;
    return false;
  }
  std::ifstream file(bin_path, std::ios::binary);
  std::vector<char> raw(bytes);
  if (!file.read(raw.data(), static_cast<std::streamsize>(bytes))) {
    error = "cannot read " + bin_path;
    return false;
  }
  const size_t n = bytes / (2 * nc);
  out.samples.assign(nc, std::vector<float>(n));
  for (size_t i = 0; i < n; ++i) {
    for (size_t c = 0; c < nc; ++c) {
      const size_t at = 2 * (i * nc + c);
      const auto v = static_cast<int16_t>(static_cast<uint8_t>(raw[at]) | (static_cast<uint8_t>(raw[at + 1]) << 8));
      out.samples[c][i] = static_cast<float>(v);
    }
  }
  return true;
}

double BeatStress::Sensitivity() const {
  return tp + fn ? 100.0 * static_cast<double>(tp) / static_cast<double>(tp + fn) : 0.0;
}

double BeatStress::PositivePredictivity() const {
  return tp + fp ? 100.0 * static_cast<double>(tp) / static_cast<double>(tp + fp) : 0.0;
}

bool MeasureBeatStress(const std::string& folder, bool verbose, BeatStress& out) {
  out = BeatStress();
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (entry.path().extension() == ".json") names.push_back(entry.path().stem().string());
  }
  if (ec || names.empty()) return false;
  std::sort(names.begin(), names.end());
  size_t& tp = out.tp;
  size_t& fn = out.fn;
  size_t& fp = out.fp;
  size_t& stretches = out.stretches;
  auto& typing = out.typing;
  for (const std::string& name : names) {
    BeatRecord record;
    std::string error;
    if (!ReadBeatRecord(folder + "/" + name + ".json", folder + "/" + name + ".bin", record, error)) {
      std::fprintf(stderr, "eval: %s skipped: %s\n", name.c_str(), error.c_str());
      continue;
    }
    ++out.records;
    const size_t total = record.samples[0].size();
    const bool second_is_v1 = record.channels.size() > 1 && record.samples.size() > 1 && record.channels[1] == "V1";
    const auto stretch = static_cast<size_t>(kStretchSeconds * record.rate);
    const auto window = static_cast<long>(std::lround(kMatchSeconds * record.rate));
    size_t r_tp = 0, r_fn = 0, r_fp = 0;
    for (size_t start = 0; start + stretch <= total; start += stretch) {
      EcgSignal signal;
      signal.rate = record.rate;
      signal.samples = stretch;
      for (size_t c = 0; c < record.samples.size(); ++c) {
        Lead lead;
        lead.code = static_cast<uint8_t>(c == 0 ? 2 : 7);  // shown as II and V5
        lead.uv.assign(record.samples[c].begin() + static_cast<std::ptrdiff_t>(start),
                       record.samples[c].begin() + static_cast<std::ptrdiff_t>(start + stretch));
        signal.leads.push_back(std::move(lead));
      }
      const std::vector<LeadQuality> quality = AssessLeads(signal);
      std::vector<size_t> used;
      for (size_t c = 0; c < signal.leads.size(); ++c) {
        if (quality[c].usable()) used.push_back(c);
      }
      std::vector<std::vector<float>> morph;
      for (size_t c : used) {
        morph.push_back(signal.leads[c].uv);
        FilterZeroPhase(morph.back(), {ButterworthHighPass(1.0, signal.rate), ButterworthLowPass(30.0, signal.rate)});
      }
      const TypedBeats typed = TypeBeats(signal, morph, DetectQrs(signal, used));
      ++stretches;
      // The whole analysis and the rhythm statements of the stretch, the
      // channels taken as II and V5.
      {
        EcgSignal whole = signal;
        whole.slot[kSlotII] = 0;
        if (whole.leads.size() > 1) whole.slot[kSlotV5] = 1;
        AnalysisResult analysis;
        if (Analyse(whole, analysis).ok()) {
          ++out.analysed;
          for (uint16_t code : Interpret(whole, analysis, InterpretationOptions()).statements) {
            const StatementInfo* info = FindStatement(code);
            if (info != nullptr && info->group == StatementGroup::kRhythm) ++out.rhythm[info->english];
          }
          // The flutter measure's correlation limits alone on the records
          // whose second channel is V1 (the statement itself needs two
          // inferior leads besides, which these recordings do not have).
          if (second_is_v1) {
            EcgSignal with_v1 = whole;
            with_v1.slot[kSlotV5] = -1;
            with_v1.slot[kSlotV1] = 1;
            const FlutterAnalysis f = AnalyseAtrialFlutter(with_v1, analysis);
            ++out.with_v1;
            if (f.cycle_ms > 0 && f.at_cycle >= kFlutterMinCorrelation && f.at_two_cycles >= kFlutterMinCorrelation &&
                f.v1_at_cycle >= kFlutterMinCorrelation && f.v1_at_two_cycles >= kFlutterMinCorrelation) {
              ++out.flutter_limits_met;
              if (verbose) {
                std::printf("%-8s %6.1f s: flutter limits met in II and V1 (cycle %.0f ms)\n", name.c_str(),
                            static_cast<double>(start) / record.rate, f.cycle_ms);
              }
            }
          }
        }
      }
      // Labels in the stretch, away from its edges by the match window.
      std::vector<BeatLabel> labels;
      for (const BeatLabel& b : record.beats) {
        if (!IsBeatSymbol(b.symbol)) continue;
        const long at = b.sample - static_cast<long>(start);
        if (at >= window && at < static_cast<long>(stretch) - window) labels.push_back({at, b.symbol});
      }
      std::vector<bool> used_label(labels.size(), false);
      for (const Beat& beat : typed.beats) {
        const long at = static_cast<long>(beat.fiducial);
        if (at < window || at >= static_cast<long>(stretch) - window) continue;
        long best = window + 1;
        int best_i = -1;
        for (size_t i = 0; i < labels.size(); ++i) {
          if (used_label[i]) continue;
          const long d = std::labs(labels[i].sample - at);
          if (d < best) {
            best = d;
            best_i = static_cast<int>(i);
          }
        }
        if (best_i < 0) {
          ++r_fp;
          continue;
        }
        used_label[static_cast<size_t>(best_i)] = true;
        ++r_tp;
        const char symbol = labels[static_cast<size_t>(best_i)].symbol;
        const std::string cls = IsVentricular(symbol) ? "ventricular" : (symbol == 'N' ? "normal" : std::string("other '") + symbol + "'");
        typing[cls][beat.type & 3]++;
      }
      for (size_t i = 0; i < labels.size(); ++i) {
        if (used_label[i]) continue;
        ++r_fn;
        const char symbol = labels[i].symbol;
        const std::string cls = IsVentricular(symbol) ? "ventricular" : (symbol == 'N' ? "normal" : std::string("other '") + symbol + "'");
        typing[cls][4]++;
      }
    }
    if (verbose) std::printf("%-8s TP %5zu FN %4zu FP %4zu\n", name.c_str(), r_tp, r_fn, r_fp);
    tp += r_tp;
    fn += r_fn;
    fp += r_fp;
  }
  return out.records > 0;
}

int RunBeatStress(const std::string& folder, bool verbose) {
  BeatStress stress;
  if (!MeasureBeatStress(folder, verbose, stress)) {
    std::fprintf(stderr, "eval: no beat records in %s\n", folder.c_str());
    return 2;
  }
  std::printf("Beat stress: %zu stretches of 10 s, TP %zu, FN %zu, FP %zu, sensitivity %.2f %%, positive predictivity %.2f %%\n",
              stress.stretches, stress.tp, stress.fn, stress.fp, stress.Sensitivity(), stress.PositivePredictivity());
  std::printf("Rhythm statements over the %zu analysed stretches:", stress.analysed);
  for (const auto& [text, count] : stress.rhythm) std::printf(" [%s] %zu", text.c_str(), count);
  std::printf("\n");
  std::printf("Atrial flutter correlation limits met in II and V1 (stretches of records with a V1 channel): %zu of %zu\n",
              stress.flutter_limits_met, stress.with_v1);
  std::printf("Typing (labelled class: dominant / premature / other form / noise / missed):\n");
  for (const auto& [cls, c] : stress.typing) {
    std::printf("  %-12s %6zu %6zu %6zu %6zu %6zu\n", cls.c_str(), c[0], c[1], c[2], c[3], c[4]);
  }
  return 0;
}

}  // namespace ecg::engine::eval
