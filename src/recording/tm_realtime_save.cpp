// CTM_RealTimeDlg: freezing and resuming, scrolling the frozen strip,
// saving the recording file, the full-disclosure demo file and printing.

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>

#include "acquisition/demo_file.h"
#include "acquisition/ecg_file.h"
#include "platform/last_error.h"
#include "platform/prompt.h"
#include "recording/plot_wnd.h"
#include "recording/report_title_dlg.h"
#include "recording/save_plot_wnd.h"
#include "recording/tm_realtime_dlg.h"

namespace {
constexpr const char* kCaption = "Tidemark ECG";
}

void CTM_RealTimeDlg::OnRecordBtn() {
  if (m_live) {
    Freeze();
  } else {
    GoLive();
  }
}

void CTM_RealTimeDlg::Freeze() {
  m_recordBtn->setText(tr("Live"));
  StopCable();
  m_endTime = ecg::platform::LocalTimeNow();
  m_strip->SetRawPrintoutTime(m_endTime);
  bool ok = false;
  uint32_t frames = 0;
  {
    std::lock_guard<std::timed_mutex> lock(m_dataLock);
    ok = m_strip->SetData(m_ring, 8, m_filters);
    frames = m_ring.Size() / 13;
  }
  if (ok) ok = m_strip->InitPlotWnd() || m_strip->width() <= 0;
  if (!ok) {
    const int answer = ecg::platform::ShowMessage("Select window initialisation failed.", kCaption,
                                                  ecg::platform::PromptButtons::kRetryCancel,
                                                  ecg::platform::PromptIcon::kWarning);
    m_recordBtn->setText(tr("Record"));
    if (answer == ecg::platform::kAnswerRetry) {
      OnReconnect();
    } else {
      OnClose();
    }
    return;
  }
  // The newest ten seconds, or everything from 0 when there is less.
  const uint32_t page = std::min(kTenSecondFrames, frames);
  m_scroll->blockSignals(true);
  m_scroll->setRange(0, static_cast<int>(frames - page));
  m_scroll->setPageStep(static_cast<int>(kTenSecondFrames));
  m_scroll->setSingleStep(1);
  m_scroll->setValue(static_cast<int>(frames - page));
  m_scroll->blockSignals(false);
  m_strip->ScrollToOffset(frames - page);
  m_live = false;
  m_sensitivity->setEnabled(false);
  m_speed->setEnabled(false);
  m_plotStack->setCurrentWidget(m_strip);
  m_scroll->show();
  m_statusLine->hide();
  m_printBtn->setEnabled(true);
  UpdateCalibrationPulse();
  RepaintIndicators();
}

void CTM_RealTimeDlg::GoLive() {
  m_recordBtn->setText(tr("Record"));
  m_plotStack->setCurrentWidget(m_plot);
  m_scroll->hide();
  m_statusLine->show();
  m_printBtn->setEnabled(false);
  m_strip->KillData();
  m_sensitivity->setEnabled(true);
  m_speed->setEnabled(true);
  m_live = true;
  UpdateCalibrationPulse();
  OnReconnect();
}

void CTM_RealTimeDlg::OnScroll(int position) {
  if (!m_live) m_strip->ScrollToOffset(static_cast<uint32_t>(std::max(position, 0)));
}

void CTM_RealTimeDlg::OnSaveBtn() {
  bool saved = false;
  if (!m_live && m_customSize) {
    std::lock_guard<std::timed_mutex> lock(m_dataLock);
    saved = SaveRecordingBuffer(static_cast<uint32_t>(m_scroll->value()) * 13, 0);
  } else {
    if (m_live) m_endTime = ecg::platform::LocalTimeNow();
    std::lock_guard<std::timed_mutex> lock(m_dataLock);
    const uint32_t bytes = m_ring.Size();
    saved = bytes >= kRequiredBytes && SaveRecordingBuffer(bytes - kRequiredBytes, 0);
    if (bytes < kRequiredBytes) ShowStatus(tr("Data fault when saving to file:") + ' ' + QString::fromStdString(m_outputFile));
  }
  if (!saved) return;
  if (m_endCode != kEndSaveReview && m_endCode != kEndSavePrint && m_endCode != kEndSavePrintPdf) {
    m_endCode = kEndSave;
  }
  OnClose();
}

void CTM_RealTimeDlg::OnReviewBtn() {
  m_endCode = kEndSaveReview;
  OnSaveBtn();
}

void CTM_RealTimeDlg::OnSavePrintBtn() {
  m_endCode = m_createPdf ? kEndSavePrintPdf : kEndSavePrint;
  OnSaveBtn();
}

bool CTM_RealTimeDlg::SaveRecordingBuffer(uint32_t offset, int number) {
  std::string name = m_outputFile;
  if (number != 0) {
    const size_t at = m_numberedFile.find("%d");
    name = at == std::string::npos ? m_numberedFile
                                   : m_numberedFile.substr(0, at) + std::to_string(number) +
                                         m_numberedFile.substr(at + 2);
  }
  const QString qname = QString::fromStdString(name);
  if (name.empty()) {
    ShowStatus(tr("Unable to save file:") + ' ' + qname);
    return false;
  }
  CECGFile file;
  m_filters.Lock();
  file.SetOffset(offset);
  file.SetEndBufferTime(m_endTime);
  const bool ok = file.WriteFile(name, m_ring, m_cable, m_ecg, m_display, m_filters);
  m_filters.Unlock();
  if (ok) {
    ShowStatus(tr("Recorded ECG data saved."));
    return true;
  }
  QString reason;
  switch (ecg::platform::GetLastError()) {
    case ecg::platform::kErrorFileNotFound:
    case ecg::platform::kErrorPathNotFound: reason = tr("Unable to save file:"); break;
    case ecg::platform::kErrorAccessDenied: reason = tr("Access is denied to save to file:"); break;
    case ecg::platform::kErrorDiskFull: reason = tr("Disk full saving to file:"); break;
    case ecg::platform::kErrorInvalidData:
    case ecg::platform::kErrorInvalidParameter: reason = tr("Data fault when saving to file:"); break;
    case ecg::platform::kErrorGeneralFailure: reason = tr("Hardware error saving file:"); break;
    default: reason = tr("General error saving to file:"); break;
  }
  ShowStatus(reason + ' ' + qname);
  return false;
}

void CTM_RealTimeDlg::OnFullDisclosureBtn() {
  const QString path = QFileDialog::getSaveFileName(this, tr("Save"), QString::fromStdString(m_demoOutputFile),
                                                    tr("*.ecg"));
  if (path.isEmpty()) return;
  QString name = path;
  if (!name.endsWith(QStringLiteral(".ecg"), Qt::CaseInsensitive)) name += QStringLiteral(".ecg");
  bool ok = false;
  {
    std::lock_guard<std::timed_mutex> lock(m_dataLock);
    ok = CDemoFile::WriteFile(name.toStdString(), m_ring, m_cable, m_ecg);
  }
  if (ok) return;
  QString reason;
  switch (ecg::platform::GetLastError()) {
    case ecg::platform::kErrorFileNotFound:
    case ecg::platform::kErrorPathNotFound: reason = tr("Unable to save demo file:"); break;
    case ecg::platform::kErrorAccessDenied: reason = tr("Access is denied to save to demo file:"); break;
    case ecg::platform::kErrorDiskFull: reason = tr("Disk full saving to demo file:"); break;
    case ecg::platform::kErrorGeneralFailure: reason = tr("Hardware error saving demo file:"); break;
    default: reason = tr("General error saving to demo file:"); break;
  }
  ShowStatus(reason + ' ' + name);
}

void CTM_RealTimeDlg::OnPrintBtn() {
  if (m_live) return;
  CReportTitleDlg title(m_title, this);
  if (title.exec() != QDialog::Accepted) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintDialog dialog(&printer, this);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  if (dialog.exec() != QDialog::Accepted) return;
  ecg::recording::StripPrintRange range;
  switch (printer.printRange()) {
    case QPrinter::Selection: range.kind = ecg::recording::StripPrintRange::kSelection; break;
    case QPrinter::PageRange:
      range.kind = ecg::recording::StripPrintRange::kPages;
      range.from_page = printer.fromPage();
      range.to_page = printer.toPage();
      break;
    default: range.kind = ecg::recording::StripPrintRange::kAll; break;
  }
  if (!m_strip->PrintPages(printer, range, m_title, title.AdditionalText(),
                           QString::fromStdString(m_filters.FilterLabel()))) {
    ecg::platform::ShowMessage("Printing Error", kCaption);
  }
}

void CTM_RealTimeDlg::OnPrintRhythmStripBtn() {
  ecg::platform::ShowMessage("Print Rhythm Strip is currently UNDER CONSTRUCTION", kCaption);
}

void CTM_RealTimeDlg::OnPrint60SecondsBtn() {
  ecg::platform::ShowMessage("Print 60 Seconds is currently UNDER CONSTRUCTION", kCaption);
}
