// The leads a working copy gets before the analysis library sees it. The
// library analyses the eight acquired leads I, II and V1-V6; a record with
// fewer leads gets the missing ones added to its working copy (never to the
// record itself):
// - lead II, when the record lacks I or II, from lead I and a limb lead that
//   fixes it (III, aVF, aVL or aVR, the first one present);
// - each missing precordial lead V1-V6 as a flat lead (all samples 0). No
//   precordial signal can be calculated from the limb leads, so the added
//   lead carries no signal the library could mistake for a measurement; it
//   only keeps the library's eight-lead layout. Lead-problem markers of the
//   lead it is formed from still propagate, as in every derived lead.

#include "analysis/analysis.h"
#include "analysis/section_bits.h"
#include "platform/last_error.h"
#include "scp/lead_model.h"

using namespace ecg::platform;
using namespace ecg::analysis;
using namespace ecg::scp;

namespace {

// Lead II from lead I and a partner lead: II = a x I + b x partner.
struct LeadIIFormula {
  uint16_t partner;
  double from_i;
  double from_partner;
};
constexpr LeadIIFormula kLeadIIFormulas[] = {
    {kLeadIII, 1.0, 1.0},    // III = II - I
    {kLeadAVF, 0.5, 1.0},    // aVF = II - I / 2
    {kLeadAVL, 2.0, -2.0},   // aVL = I - II / 2
    {kLeadAVR, -1.0, -2.0},  // aVR = -(I + II) / 2
};

// The count-simultaneous argument of CalculateLead: whether the Section 3
// flags count no more simultaneously recorded leads than there are.
bool CountSimultaneous(const SLeadDefinitions& leads) {
  return leads.SimultaneousCount() <= leads.m_count;
}

bool AddExpectedLeads(CReader& reader) {
  const SLeadDefinitions* leads = reader.GetLeadDefinitionsPtr();
  if (leads == nullptr || leads->m_count == 0) return Fail(kErrorNoData);
  const int16_t limb_set[] = {kLeadI, kLeadII};
  if (!reader.GetLeadSet(2, limb_set)) {
    if (GetLastError() != kErrorSuccess) return false;
    const LeadIIFormula* formula = &kLeadIIFormulas[0];
    for (const LeadIIFormula& f : kLeadIIFormulas) {
      if (leads->GetLeadFromId(static_cast<uint8_t>(f.partner)) != nullptr) {
        formula = &f;
        break;
      }
    }
    const double coefficients[] = {formula->from_i, formula->from_partner};
    const uint16_t sources[] = {kLeadI, formula->partner};
    if (!reader.CalculateLead(kLeadII, 2, coefficients, sources, CountSimultaneous(*leads))) {
      return false;
    }
  }
  for (uint8_t code = kLeadV1; code <= kLeadV6; ++code) {
    leads = reader.GetLeadDefinitionsPtr();
    if (leads->GetLeadFromId(code) != nullptr) continue;
    const double flat = 0.0;
    const uint16_t source = leads->m_leads[0].m_leadId;
    if (!reader.CalculateLead(code, 1, &flat, &source, CountSimultaneous(*leads))) return false;
  }
  return true;
}

}  // namespace

bool CAnalysis::CreateVLeads(const char* path) {
  bool has_median = false;
  bool ok = BeginUpdate(path) && ReadModelSection(3, true, nullptr) &&
            ReadModelSection(5, false, &has_median) && ReadModelSection(6, true, nullptr) &&
            AddExpectedLeads(*this) && CreateLeadErrorCodes() && ReserveForIndex();
  if (ok) {
    m_updateMode = true;
    ok = CreateSec1() && CreateSec3_6(true) && (!has_median || CreateSec5()) &&
         StoreListedSections(SectionBits({0, 1, 3, 5, 6})) && WriteSections(path);
  }
  LastErrorKeeper keep;
  Close();
  return ok;
}
