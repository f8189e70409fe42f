#include "interface/options_fields.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/last_error.h"

namespace ecg::interface {

namespace {

using S = CECGDefaultSettings;

constexpr std::array<OptionField, 29> kFields = {{
    {"AmplitudeUnits", &S::AmplitudeUnits},
    {"PowerFilter", &S::PowerFilter},
    {"MuscleFilter", &S::MuscleFilter},
    {"MeasurementSystem", &S::MeasurementSystem},
    {"AllowReanalyse", &S::AllowReanalyse},
    {"IncludeInterpretation", &S::IncludeInterpretation},
    {"SuppressPatientDetailsWarning", &S::SuppressPatientDetailsWarning},
    {"Port", &S::Port},
    {"PlotStyle", &S::PlotStyle},
    {"GridStyle", &S::GridStyle},
    {"QRSBeep", &S::QRSBeep},
    {"LeadsOffBeep", &S::LeadsOffBeep},
    {"MIDISound", &S::MIDISound},
    {"ReportTitle", &S::ReportTitle},
    {"CustomLeadGroup", LeadListMember{&S::CustomLeadGroup, &S::CustomLeadGroupSize}},
    {"CustomLeadGroupSize", &S::CustomLeadGroupSize},
    {"LeadOrder", LeadListMember{&S::LeadOrder, nullptr}},
    {"RhythmStripLead", &S::RhythmStripLead},
    {"CreatePDF", &S::CreatePDF},
    {"Speed", &S::Speed},
    {"Sensitivity", &S::Sensitivity},
    {"AllowXMLExport", &S::AllowXMLExport},
    {"PowerFilterChoice", &S::PowerFilterChoice},
    {"ReviewGridStyle", &S::ReviewGridStyle},
    {"ReviewColor", &S::ReviewColor},
    {"ShowDetails", &S::ShowDetails},
    {"IncludeInterpretationCodes", &S::IncludeInterpretationCodes},
    {"LeadGroup", &S::LeadGroup},
    {"QTCMethod", &S::QTCMethod},
}};

constexpr std::string_view kAcquisition[] = {"PlotStyle", "GridStyle", "QRSBeep",
                                             "LeadsOffBeep", "CreatePDF", "MIDISound"};
constexpr std::string_view kGeneral[] = {
    "AmplitudeUnits", "MuscleFilter",      "PowerFilter",         "PowerFilterChoice",
    "Speed",          "Sensitivity",       "MeasurementSystem",   "CustomLeadGroupSize",
    "CustomLeadGroup", "LeadOrder"};
constexpr std::string_view kRhythmStripLead[] = {"RhythmStripLead"};
constexpr std::string_view kAnalysis[] = {"AllowReanalyse", "IncludeInterpretation",
                                          "SuppressPatientDetailsWarning",
                                          "IncludeInterpretationCodes", "ReportTitle"};
constexpr std::string_view kReview[] = {"ReviewGridStyle", "ReviewColor", "ShowDetails",
                                        "AllowXMLExport", "LeadGroup"};
constexpr std::string_view kConnection[] = {"Port"};
constexpr std::string_view kQTCMethod[] = {"QTCMethod"};

constexpr std::array<OptionsFileGroup, 7> kLayout = {{
    {"Acquisition", kAcquisition},
    {"General", kGeneral},
    {"", kRhythmStripLead},
    {"Analysis", kAnalysis},
    {"Review", kReview},
    {"Connection", kConnection},
    {"", kQTCMethod},
}};

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimXmlSpace(std::string_view s) {
  while (!s.empty() && IsXmlSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsXmlSpace(s.back())) s.remove_suffix(1);
  return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

enum class Number { kOk, kNotNumber, kOutOfRange };

// Accumulates decimal digits into a magnitude that saturates once it is far
// outside every range asked for here.
void AddDigit(int64_t& magnitude, char digit) {
  constexpr int64_t kSaturated = int64_t{1} << 40;
  if (magnitude < kSaturated) magnitude = magnitude * 10 + (digit - '0');
}

// [sign] digits, with white space around.
Number ParseInteger(std::string_view text, int64_t min, int64_t max, int64_t& value) {
  text = TrimXmlSpace(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return Number::kNotNumber;
  int64_t magnitude = 0;
  for (char c : text) {
    if (!IsDigit(c)) return Number::kNotNumber;
    AddDigit(magnitude, c);
  }
  int64_t v = negative ? -magnitude : magnitude;
  if (v < min || v > max) return Number::kOutOfRange;
  value = v;
  return Number::kOk;
}

// [sign] digits [. digits] (at least one digit), with white space around,
// truncated toward zero.
Number ParseTruncatedDecimal(std::string_view text, int64_t min, int64_t max, int64_t& value) {
  text = TrimXmlSpace(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int64_t magnitude = 0;
  bool any_digit = false;
  bool in_fraction = false;
  for (char c : text) {
    if (c == '.' && !in_fraction) {
      in_fraction = true;
    } else if (IsDigit(c)) {
      any_digit = true;
      if (!in_fraction) AddDigit(magnitude, c);
    } else {
      return Number::kNotNumber;
    }
  }
  if (!any_digit) return Number::kNotNumber;
  int64_t v = negative ? -magnitude : magnitude;
  if (v < min || v > max) return Number::kOutOfRange;
  value = v;
  return Number::kOk;
}

// The text as a short quotation for messages.
std::string Quote(std::string_view text) {
  constexpr size_t kMax = 40;
  bool cut = text.size() > kMax;
  if (cut) {
    size_t n = kMax;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    text = text.substr(0, n);
  }
  std::string out = "\"";
  for (char c : text) out += (static_cast<unsigned char>(c) < 0x20) ? '?' : c;
  out += cut ? "...\"" : "\"";
  return out;
}

bool Reject(Number result, std::string_view field, std::string_view text, std::string_view kind,
            std::string& why) {
  why = std::string(field) + ": " + Quote(text) +
        (result == Number::kNotNumber ? " is not " + std::string(kind)
                                      : " is out of range");
  return platform::Fail(platform::kErrorInvalidData);
}

template <typename T>
bool StoreInteger(T& target, std::string_view field, std::string_view text, std::string& why) {
  int64_t v = 0;
  Number r = ParseInteger(text, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), v);
  if (r != Number::kOk) return Reject(r, field, text, "an integer", why);
  target = static_cast<T>(v);
  return true;
}

bool StoreList(CECGDefaultSettings::LeadList& items, std::string_view field, std::string_view text,
               std::string& why) {
  size_t entry = 0;
  size_t start = 0;
  for (size_t comma = text.find(','); comma != std::string_view::npos;
       start = comma + 1, comma = text.find(',', start)) {
    if (entry == items.size()) {
      why = std::string(field) + ": more than " + std::to_string(items.size()) + " items";
      return platform::Fail(platform::kErrorOutOfStructures);
    }
    std::string_view item = text.substr(start, comma - start);
    int64_t v = 0;
    Number r = ParseTruncatedDecimal(item, std::numeric_limits<int16_t>::min(),
                                     std::numeric_limits<int16_t>::max(), v);
    if (r != Number::kOk) {
      return Reject(r, std::string(field) + " item " + std::to_string(entry + 1), item,
                    "a number", why);
    }
    items[entry++] = static_cast<int16_t>(v);
  }
  return true;
}

}  // namespace

std::span<const OptionField> OptionFields() { return kFields; }

const OptionField* FindOptionField(std::string_view name) {
  for (const auto& field : kFields) {
    if (field.name == name) return &field;
  }
  return nullptr;
}

std::span<const OptionsFileGroup> OptionsFileLayout() { return kLayout; }

int ListItemsWritten(const CECGDefaultSettings& options, const LeadListMember& list) {
  constexpr int kAll = CLeadTables::kLeadCount;
  if (list.count == nullptr) return kAll;
  return std::clamp<int>(options.*(list.count), 0, kAll);
}

std::string FormatOptionValue(const CECGDefaultSettings& options, const OptionField& field) {
  return std::visit(
      Overloaded{
          [&](int32_t S::*m) { return std::to_string(options.*m); },
          [&](int16_t S::*m) { return std::to_string(options.*m); },
          [&](bool S::*m) { return std::string(options.*m ? "1" : "0"); },
          [&](std::string S::*m) { return options.*m; },
          [&](const LeadListMember& list) {
            std::string text;
            const auto& items = options.*(list.items);
            int n = ListItemsWritten(options, list);
            for (int i = 0; i < n; ++i) text += std::to_string(items[static_cast<size_t>(i)]) + ",";
            return text;
          },
      },
      field.member);
}

bool StoreOptionValue(CECGDefaultSettings& options, const OptionField& field,
                      std::string_view text, std::string& why) {
  return std::visit(
      Overloaded{
          [&](int32_t S::*m) { return StoreInteger(options.*m, field.name, text, why); },
          [&](int16_t S::*m) { return StoreInteger(options.*m, field.name, text, why); },
          [&](bool S::*m) {
            int32_t v = 0;
            if (!StoreInteger(v, field.name, text, why)) return false;
            options.*m = v != 0;
            return true;
          },
          [&](std::string S::*m) {
            options.*m = std::string(text);
            return true;
          },
          [&](const LeadListMember& list) {
            return StoreList(options.*(list.items), field.name, text, why);
          },
      },
      field.member);
}

}  // namespace ecg::interface
