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
};

// The classes compared, in the order printed.
const std::vector<StatementClass>& StatementClasses();

struct ClassCounts {
  size_t records = 0, tp = 0, fn = 0, fp = 0;
  double Sensitivity() const;          // % (0 with nothing to find)
  double PositivePredictivity() const; // %
  double F1() const;                   // 0-1
};

bool ReferenceHas(const StatementClass& c, const std::vector<std::string>& diagnoses);
bool EngineHas(const StatementClass& c, const std::vector<uint16_t>& statements);
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
