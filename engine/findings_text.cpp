// Findings as text.

#include "engine/findings_text.h"

#include <cstdio>
#include <string>
#include <vector>

#include "engine/analysis.h"
#include "engine/axes.h"
#include "engine/lead_measurements.h"
#include "engine/statement_codes.h"

namespace ecg::engine {

namespace {

std::string Format(const char* format, int a, int b = 0, int c = 0) {
  char text[128];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

std::string Plural(size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string FindingsText(const AnalysisResult& result) {
  const GlobalValues& g = result.global;
  const Delineation& d = result.delineation;
  std::vector<std::string> lines;
  // The statements first, then the measurements behind them.
  for (uint16_t code : result.interpretation.statements) {
    const StatementInfo* s = FindStatement(code);
    if (s != nullptr) lines.emplace_back(s->english);
  }
  if (g.heart_rate > 0) lines.push_back(Format("Ventricular rate %d bpm", g.heart_rate));
  if (d.p_present) {
    lines.push_back(Format("PR interval %d ms, P duration %d ms", g.qrs_on_ms - g.p_on_ms,
                           g.p_off_ms - g.p_on_ms));
  } else {
    lines.push_back("No P waves found");
  }
  lines.push_back(Format("QRS duration %d ms", g.qrs_off_ms - g.qrs_on_ms));
  if (d.t_found && g.qtc_ms != kNotComputed) {
    lines.push_back(Format("QT/QTc %d/%d ms", g.t_off_ms - g.qrs_on_ms, g.qtc_ms));
  }
  auto axis = [](int v) { return v == kAxisUndefined ? std::string("-") : std::to_string(v); };
  lines.push_back("P/QRS/T axes " + axis(g.p_axis) + "/" + axis(g.qrs_axis) + "/" + axis(g.t_axis) +
                  " degrees");

  size_t premature = 0, ectopic = 0, noise = 0;
  for (const Beat& b : result.beats.beats) {
    if (b.type == kBeatPremature) ++premature;
    if (b.type == kBeatEctopic) ++ectopic;
    if (b.type == kBeatNoise) ++noise;
  }
  if (premature > 0) lines.push_back(Plural(premature, "premature beat", "premature beats"));
  if (ectopic > 0) {
    lines.push_back(Plural(ectopic, "beat of another QRS form", "beats of other QRS forms"));
  }
  if (noise > 0) lines.push_back(Plural(noise, "complex too noisy to classify", "complexes too noisy to classify"));

  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  return text;
}

}  // namespace ecg::engine
