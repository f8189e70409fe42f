// Statement agreement per class.

#include "engine/eval/statement_agreement.h"

#include <algorithm>
#include <cstdio>

#include "engine/statement_codes.h"

namespace ecg::engine::eval {

namespace {

// A literal, not a std::string: the class table may be built while other
// translation units are still being initialised.
constexpr const char* kAxisPrefix = "Electric axis of the heart:";

std::string Axis(const char* what) { return std::string(kAxisPrefix) + " " + what; }

}  // namespace

const std::vector<StatementClass>& StatementClasses() {
  static const std::vector<StatementClass> classes = {
      {"Sinus rhythm", {"Rhythm: Sinus rhythm", "Rhythm: Sinus arrhythmia"}, {kSinusRhythm}, false},
      {"Sinus bradycardia", {"Rhythm: Sinus bradycardia"}, {kSinusBradycardia}, false},
      {"Sinus tachycardia", {"Rhythm: Sinus tachycardia"}, {kSinusTachycardia}, false},
      {"Atrial fibrillation", {"Rhythm: Atrial fibrillation"}, {kAtrialFibrillation}, false},
      {"Atrial flutter", {"Rhythm: Atrial flutter"}, {kAtrialFlutter}, false},
      {"Axis normal",
       {Axis("normal"), Axis("vertical"), Axis("horizontal")},
       {},
       true,
       {Axis("left axis deviation")}},
      {"Left axis deviation", {Axis("left axis deviation")}, {kLeftAxisDeviation}, true},
      {"Right axis deviation", {Axis("right axis deviation")}, {kRightAxisDeviation}, true},
      {"First-degree AV block", {"I degree AV block"}, {kFirstDegreeAvBlock}, false},
      {"Complete RBBB", {"Complete right bundle branch block"}, {kRightBundleBranchBlock}, false},
      {"Incomplete RBBB", {"Incomplete right bundle branch block"}, {kIncompleteRightBundleBranchBlock}, false},
      {"Complete LBBB", {"Complete left bundle branch block"}, {kLeftBundleBranchBlock}, false},
      {"Incomplete LBBB", {"Incomplete left bundle branch block"}, {kIncompleteLeftBundleBranchBlock}, false},
      {"LAFB", {"Left anterior hemiblock"}, {kLeftAnteriorFascicularBlock}, false},
      {"LVH", {"Left ventricular hypertrophy"}, {kLvhVoltage, kLvhWithRepolarisation}, false},
      {"RVH", {"Right ventricular hypertrophy"}, {kRightVentricularHypertrophy}, false},
      {"Left atrial abnormality", {"Left atrial hypertrophy", "Left atrial overload"}, {kLeftAtrialAbnormality}, false},
      {"Premature ventricular complexes", {"Ventricular extrasystole"}, {kPrematureVentricularComplexes}, false},
      {"Sinus (any rate)",
       {"Rhythm: Sinus rhythm", "Rhythm: Sinus arrhythmia", "Rhythm: Sinus bradycardia", "Rhythm: Sinus tachycardia"},
       {kSinusRhythm, kSinusBradycardia, kSinusTachycardia},
       false},
  };
  return classes;
}

double ClassCounts::Sensitivity() const { return tp + fn ? 100.0 * static_cast<double>(tp) / static_cast<double>(tp + fn) : 0; }
double ClassCounts::PositivePredictivity() const {
  return tp + fp ? 100.0 * static_cast<double>(tp) / static_cast<double>(tp + fp) : 0;
}
double ClassCounts::F1() const {
  const double d = static_cast<double>(2 * tp + fn + fp);
  return d > 0 ? 2.0 * static_cast<double>(tp) / d : 0;
}

bool ReferenceHas(const StatementClass& c, const std::vector<std::string>& diagnoses) {
  for (const std::string& d : diagnoses) {
    for (const std::string& r : c.reference) {
      if (d.rfind(r, 0) == 0) return true;
    }
  }
  return false;
}

bool IsUnclear(const StatementClass& c, const std::vector<std::string>& diagnoses) {
  for (const std::string& d : diagnoses) {
    for (const std::string& u : c.unclear) {
      if (d.rfind(u, 0) == 0) return true;
    }
  }
  return false;
}

bool ReferenceStatesAxis(const std::vector<std::string>& diagnoses) {
  return std::any_of(diagnoses.begin(), diagnoses.end(),
                     [](const std::string& d) { return d.rfind(kAxisPrefix, 0) == 0; });
}

bool EngineHas(const StatementClass& c, const std::vector<uint16_t>& statements) {
  if (c.axis && c.engine.empty()) {
    // A normal axis: an interpreted record without an axis statement.
    if (statements.empty()) return false;
    return std::none_of(statements.begin(), statements.end(), [](uint16_t s) {
      const StatementInfo* info = FindStatement(s);
      return info != nullptr && info->group == StatementGroup::kAxis;
    });
  }
  return std::any_of(c.engine.begin(), c.engine.end(), [&](uint16_t code) {
    return std::find(statements.begin(), statements.end(), code) != statements.end();
  });
}

StatementAgreement::StatementAgreement() : counts_(StatementClasses().size()) {}

void StatementAgreement::Add(const std::vector<std::string>& diagnoses, const std::vector<uint16_t>& statements) {
  const auto& classes = StatementClasses();
  const bool axis_known = ReferenceStatesAxis(diagnoses);
  for (size_t i = 0; i < classes.size(); ++i) {
    if (classes[i].axis && !axis_known) continue;
    if (IsUnclear(classes[i], diagnoses)) continue;
    ClassCounts& n = counts_[i];
    ++n.records;
    const bool ref = ReferenceHas(classes[i], diagnoses);
    const bool eng = EngineHas(classes[i], statements);
    if (ref && eng) ++n.tp;
    if (ref && !eng) ++n.fn;
    if (!ref && eng) ++n.fp;
  }
}

std::string StatementAgreement::Table() const {
  std::string out;
  char line[200];
  std::snprintf(line, sizeof line, "| %-32s | %7s | %7s | %3s | %3s | %3s | %6s | %6s | %5s |\n", "Class", "records",
                "present", "TP", "FN", "FP", "Se %", "PPV %", "F1");
  out += line;
  out += "|---|---|---|---|---|---|---|---|---|\n";
  const auto& classes = StatementClasses();
  for (size_t i = 0; i < classes.size(); ++i) {
    const ClassCounts& n = counts_[i];
    std::snprintf(line, sizeof line, "| %-32s | %7zu | %7zu | %3zu | %3zu | %3zu | %6.1f | %6.1f | %5.2f |\n",
                  classes[i].name, n.records, n.tp + n.fn, n.tp, n.fn, n.fp, n.Sensitivity(),
                  n.PositivePredictivity(), n.F1());
    out += line;
  }
  return out;
}

}  // namespace ecg::engine::eval
