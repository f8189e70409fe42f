#include "review/oskscp_doc.h"

COskScpDoc::COskScpDoc(QObject* parent)
    : QObject(parent), m_record(std::make_unique<ecg::report::ReportRecord>()),
      m_traces(std::make_shared<ecg::render::RecordTraces>()) {}

COskScpDoc::~COskScpDoc() = default;

bool COskScpDoc::OnOpenDocument(const std::string& path) {
  auto record = std::make_unique<ecg::report::ReportRecord>();
  if (!ecg::report::LoadReportRecord(path, record.get())) return false;
  m_path = path;
  m_traces = std::make_shared<const ecg::render::RecordTraces>(record->traces);
  m_record = std::move(record);
  emit reloaded();
  return true;
}

bool COskScpDoc::Reload() { return !m_path.empty() && OnOpenDocument(m_path); }

void COskScpDoc::SetModifiedFlag(bool modified) {
  if (m_modified == modified) return;
  m_modified = modified;
  emit modifiedChanged(modified);
}
