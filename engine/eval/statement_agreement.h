#pragma once
// Agreement of the engine's statements with the diagnoses of annotated
// records (the LUDB diagnosis texts): per class, how many records the
// reference and the engine call, sensitivity, positive predictivity and F1.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ecg::engine::eval {

struct StatementClass {
  const char* name;
  // The class is present in the reference when a diagnosis starts with
  // one of these texts (empty entries end the list).
  std::vector<std::string> reference;
  // ... and in the engine's output when it makes one of these codes.
  std::vector<uint16_t> engine;
  // Axis classes count only on records whose reference states an axis.
  bool axis = false;
  // Records whose reference diagnosis starts with one of these texts do not
  // count for the class: their label covers both the class and its absence
  // in the engine's convention (see StatementClasses()).
  std::vector<std::string> unclear = {};
};

// The classes compared, in the order printed.
//
// Rhythm: "sinus rhythm" of the reference includes its "sinus arrhythmia"
// (a sinus rhythm whose rate varies with breathing; the engine states it
// as a sinus rhythm, plus 013 in the extended set). "Sinus (any rate)"
// compares the origin alone, whatever the rate class.
//
// Axis: the reference follows the convention of Russian clinical practice:
// normal +30..+69 degrees, vertical +70..+90, horizontal 0..+29, left axis
// deviation below 0, right axis deviation above +90. The engine follows
// the AHA: normal -30..+90, left below -30, right above +90. The
// reference's normal, vertical and horizontal axes are normal in both; its
// right axis deviation is the AHA's; its left axis deviation spans the
// AHA's left axis deviation and the AHA-normal stretch 0..-30, and the
// label alone does not say which. Those records therefore count for "Left
// axis deviation" (a call there is right; a miss may be an axis of 0..-30
// and no fault), and not for "Axis normal" (unclear).
const std::vector<StatementClass>& StatementClasses();

struct ClassCounts {
  size_t records = 0, tp = 0, fn = 0, fp = 0;
  double Sensitivity() const;          // % (0 with nothing to find)
  double PositivePredictivity() const; // %
  double F1() const;                   // 0-1
};

bool ReferenceHas(const StatementClass& c, const std::vector<std::string>& diagnoses);
bool EngineHas(const StatementClass& c, const std::vector<uint16_t>& statements);
// Whether the record's reference label leaves the class open (`unclear`).
bool IsUnclear(const StatementClass& c, const std::vector<std::string>& diagnoses);
// Whether the reference states an axis at all.
bool ReferenceStatesAxis(const std::vector<std::string>& diagnoses);

class StatementAgreement {
 public:
  StatementAgreement();
  // One record: its reference diagnoses and the engine's statements (empty
  // when the engine refused the record: every class then counts as not
  // called).
  void Add(const std::vector<std::string>& diagnoses, const std::vector<uint16_t>& statements);
  const std::vector<ClassCounts>& counts() const { return counts_; }
  // The table, one line per class.
  std::string Table() const;

 private:
  std::vector<ClassCounts> counts_;
};

}  // namespace ecg::engine::eval
