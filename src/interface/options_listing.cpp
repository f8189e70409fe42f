#include "interface/options_listing.h"

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <variant>

#include "interface/options_fields.h"

namespace ecg::interface {

namespace {

const char* Pick(int32_t value, std::initializer_list<std::pair<int32_t, const char*>> names) {
  for (const auto& [code, name] : names) {
    if (code == value) return name;
  }
  return "unknown";
}

std::string Colours(int32_t v) {
  return Pick(v, {{0, "Black on Red"}, {1, "Green on Black"}, {2, "Blue on Grey"}});
}

std::string Grid(int32_t v) {
  if (v == 0) return "Solid Lines";
  if (v == 2) return "Dotted Lines";
  if (v == 5) return "No Grid";
  return "unknown, shown as No Grid";
}

std::string OnOff(bool on) { return on ? "on" : "off"; }

// Labels of lead identifiers ("?" for a number that is not one), comma separated.
template <typename Label>
std::string Labels(const CECGDefaultSettings::LeadList& items, int count, Label label) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    const char* name = label(items[static_cast<size_t>(i)]);
    if (!text.empty()) text += ", ";
    text += name != nullptr ? name : "?";
  }
  return text;
}

}  // namespace

std::string DescribeOptionValue(const CECGDefaultSettings& o, std::string_view field) {
  if (field == "AmplitudeUnits") {
    return Pick(o.AmplitudeUnits, {{0, "Microvolts (µV)"}, {1, "Millimeters (mm)"}});
  }
  if (field == "MeasurementSystem") {
    return Pick(o.MeasurementSystem, {{0, "Metric (kg, cm)"}, {1, "Imperial (lb, in)"}});
  }
  if (field == "Speed") return Pick(o.Speed, {{0, "12.5 mm/s"}, {1, "25 mm/s"}, {2, "50 mm/s"}});
  if (field == "Sensitivity") {
    return Pick(o.Sensitivity, {{0, "5 mm/mV"}, {1, "10 mm/mV"}, {2, "20 mm/mV"}});
  }
  if (field == "PowerFilterChoice") return Pick(o.PowerFilterChoice, {{0, "50 Hz"}, {1, "60 Hz"}});
  if (field == "QTCMethod") return Pick(o.QTCMethod, {{0, "Bazett"}, {1, "Fridericia"}});
  if (field == "PlotStyle") return Colours(o.PlotStyle);
  if (field == "ReviewColor") return Colours(o.ReviewColor);
  if (field == "GridStyle") return Grid(o.GridStyle);
  if (field == "ReviewGridStyle") return Grid(o.ReviewGridStyle);
  if (field == "LeadGroup") {
    const char* name = CLeadTables::LeadGroupName(o.LeadGroup);
    return name != nullptr ? name : "unknown";
  }
  if (field == "Port") return "COM" + std::to_string(o.Port);
  if (field == "RhythmStripLead") {
    const char* name = CLeadTables::LabelOfLeadId(o.RhythmStripLead);
    return name != nullptr ? name : "unknown";
  }
  if (field == "CustomLeadGroup") {
    int count = std::clamp<int>(o.CustomLeadGroupSize, 0, CLeadTables::kLeadCount);
    return Labels(o.CustomLeadGroup, count, CLeadTables::LabelOfLeadId);
  }
  if (field == "LeadOrder") {
    return Labels(o.LeadOrder, CLeadTables::kLeadCount, CLeadTables::LabelAtPosition);
  }
  if (field == "PowerFilter") return OnOff(o.PowerFilter != 0);
  if (field == "CreatePDF") return OnOff(o.CreatePDF != 0);
  if (field == "AllowXMLExport") return OnOff(o.AllowXMLExport != 0);
  if (field == "ShowDetails") return OnOff(o.ShowDetails != 0);
  if (field == "IncludeInterpretationCodes") return OnOff(o.IncludeInterpretationCodes != 0);
  const OptionField* f = FindOptionField(field);
  if (f != nullptr && std::holds_alternative<bool CECGDefaultSettings::*>(f->member)) {
    return OnOff(o.*std::get<bool CECGDefaultSettings::*>(f->member));
  }
  return "";
}

std::string FormatOptionsListing(const CECGDefaultSettings& options,
                                 const std::vector<std::string_view>* fields_read) {
  std::string out;
  auto line = [&](std::string_view name, int indent) {
    const OptionField* field = FindOptionField(name);
    if (field == nullptr) return;
    std::string value = FormatOptionValue(options, *field);
    if (std::holds_alternative<std::string CECGDefaultSettings::*>(field->member)) {
      value = "\"" + value + "\"";
    }
    std::string meaning = DescribeOptionValue(options, name);
    bool absent = fields_read != nullptr &&
                  std::find(fields_read->begin(), fields_read->end(), name) == fields_read->end();
    std::string text = std::string(static_cast<size_t>(indent), ' ') + std::string(name);
    text.resize(std::max<size_t>(text.size() + 1, 34), ' ');
    text += value;
    if (!meaning.empty()) {
      text.resize(std::max<size_t>(text.size() + 2, 50), ' ');
      text += meaning;
    }
    if (absent) text += "  (not in the file)";
    out += text + "\n";
  };
  for (const auto& group : OptionsFileLayout()) {
    if (group.name.empty()) {
      for (auto name : group.fields) line(name, 0);
      continue;
    }
    out += std::string(group.name) + "\n";
    for (auto name : group.fields) line(name, 2);
  }
  return out;
}

}  // namespace ecg::interface
