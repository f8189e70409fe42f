#pragma once
// CECGScpToXml: one stored record as one XML document: patient, encounter,
// test with interpretation, confirmation and comment, every lead's rhythm
// samples and median beat in Base64, per-lead and global measurements.
//
// Choices where the record leaves room:
//  - "gender" for sex codes other than 0, 1, 2 and 9 is "Unknown": the
//    record says nothing a reader could use.
//  - A channel without its own per-lead measurement entry (for example a
//    derived lead of an 8-lead record analysed without derived leads) gets
//    an empty "measurements" element, as when there are no measurements.
//  - With an average RR interval of 0 (or the "not available" value 29999)
//    "HeartRate" and "QTcInterval" are left out rather than written as a
//    number a reader could take for a measurement.
//  - The document is UTF-8 (the declaration names no encoding, so that is
//    what a reader assumes); record texts are converted from the record code
//    page, so non-ASCII names come out right. Carriage returns in the Base64
//    lines are written as character references (&#13;) so that a parser gives
//    back exactly CR LF; a raw CR would be folded into LF.

#include <cstdint>
#include <string>

#include "scp/reader.h"

struct _xmlNode;
class XmlTree;

class CECGScpToXml : public CReader {
 public:
  explicit CECGScpToXml(const RecordSource& scp);

  // Builds and saves the document to `xml_path` (replacing the file whole).
  // False when the record cannot be read (the file then holds only the
  // declaration and the comment "Unable to process SCP file.") or when the
  // document cannot be built or saved (nothing written; last-error code).
  bool Export(const char* xml_path);
  // The same into memory.
  bool ExportToString(std::string& document);

 private:
  bool ReadRecord();
  bool Build(std::string& document, bool& record_readable);
  // The channels of the stored leads (and the derived limb leads of an
  // 8-lead record), appended to "test".
  void AppendChannels(class XmlTree& tree, _xmlNode* test);
  _xmlNode* MeasurementsElement(class XmlTree& tree);
  _xmlNode* GlobalElement(class XmlTree& tree);

  RecordSource m_scp;
  std::string m_xmlPath;
  CPatientInfo m_patient;
  CGeneralInfo m_general;
  CRecordInfo m_recording;
  CAnalysisInfo m_analysis;
  SLeadDefinitions m_definitions;
  SLeadMeasurements m_measurements;
  SEncodedData m_rhythm;
  SEncodedData m_median;
  int32_t m_channel = 0;
  bool m_analysisPresent = false;
  bool m_measurementsPresent = false;
};

// The facade's entry: exports one record; see CECGScpToXml::Export.
bool ExportScpToXml(const char* scp_path, const char* xml_path);
