#pragma once
// COskScpDoc: one open record of the review window. It holds the file's
// path, what was read from it (patient, recording, measurements, traces)
// and the modified flag that the view's edits set and a save clears.

#include <QObject>
#include <memory>
#include <string>

#include "render/trace_set.h"
#include "report/report_record.h"

class COskScpDoc : public QObject {
  Q_OBJECT

 public:
  explicit COskScpDoc(QObject* parent = nullptr);
  ~COskScpDoc() override;

  // Reads the record; false with the last-error code when it cannot be read
  // (the document then holds nothing).
  bool OnOpenDocument(const std::string& path);
  // Reads the same file again (after a save, re-analysis or removal).
  bool Reload();

  const std::string& GetPathName() const { return m_path; }
  const ecg::report::ReportRecord& Record() const { return *m_record; }
  std::shared_ptr<const ecg::render::RecordTraces> Traces() const { return m_traces; }

  bool IsModified() const { return m_modified; }
  void SetModifiedFlag(bool modified);

 signals:
  void modifiedChanged(bool modified);
  void reloaded();

 private:
  std::string m_path;
  std::unique_ptr<ecg::report::ReportRecord> m_record;
  std::shared_ptr<const ecg::render::RecordTraces> m_traces;
  bool m_modified = false;
};
