// Where the engine's pages go: a printer chosen through Qt's print dialogs
// (CUPS through Qt PrintSupport), the print preview, or a file through
// PdfOutput.

#include <QApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <algorithm>
#include <memory>

#include "platform/prompt.h"
#include "report/ecg_print.h"
#include "report/pdf_output.h"
#include "report/report_text.h"

using namespace ecg::report;

namespace {

const char* const kNoReportSelected =
    QT_TRANSLATE_NOOP("CECGPrint", "At least one report type must be selected in order to print.");
const char* const kFailedToPrint = QT_TRANSLATE_NOOP(
    "CECGPrint",
    "Failed to print.  The error reported by the printer is:\n\n%1.\n\nPlease select a working "
    "printer and try again.");

void ShowError(const QString& text) {
  ecg::platform::ShowMessage(text.toStdString(), Tr("Error").toStdString(), ecg::platform::PromptButtons::kOk,
                             ecg::platform::PromptIcon::kError);
}

// The page of a printer: its resolution, its paper and its hard margins
// (what it cannot print on), all measured from the device.
PageDevice GetHardMargins(QPrinter& printer) {
  QPageLayout layout = printer.pageLayout();
  layout.setUnits(QPageLayout::Inch);
  const QRectF paper = layout.fullRect(QPageLayout::Inch);
  const QMarginsF margins = layout.minimumMargins();
  PageDevice page;
  page.dpi_x = printer.logicalDpiX();
  page.dpi_y = printer.logicalDpiY();
  page.page_width = static_cast<int>(paper.width() * 100.0 + 0.5);
  page.page_height = static_cast<int>(paper.height() * 100.0 + 0.5);
  page.margin_left = static_cast<int>(margins.left() * 100.0 + 0.5);
  page.margin_top = static_cast<int>(margins.top() * 100.0 + 0.5);
  page.margin_right = static_cast<int>(margins.right() * 100.0 + 0.5);
  page.margin_bottom = static_cast<int>(margins.bottom() * 100.0 + 0.5);
  return page;
}

void PreparePrinter(QPrinter& printer, const QPrinter* setup, const QString& name) {
  if (setup != nullptr) printer.setPrinterName(setup->printerName());
  if (!name.isEmpty()) printer.setPrinterName(name);
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setFullPage(true);  // the painter's origin is the paper's corner
}

// Whether windows can be shown: a widget application on a real display (an
// offscreen or headless run prints without the progress window).
bool CanShowWindows() {
  return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr &&
         QGuiApplication::platformName() != QStringLiteral("offscreen") &&
         QGuiApplication::platformName() != QStringLiteral("minimal");
}

// Printing to a printer shows which page goes out and lets the user stop
// the job between pages; a stopped job is aborted, so the printer drops
// what it had.
enum class PrintOutcome { kPrinted, kFailed, kCancelled };

PrintOutcome RenderToPrinter(CECGPrint& engine, QPrinter& printer, bool antialias,
                             bool show_progress) {
  QPainter painter;
  if (!painter.begin(&printer)) return PrintOutcome::kFailed;
  if (antialias) painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  const PageDevice page = GetHardMargins(printer);
  std::unique_ptr<QProgressDialog> progress;
  if (show_progress && CanShowWindows()) {
    const int pages = std::max(1, engine.PageCount());
    progress = std::make_unique<QProgressDialog>(Tr("Printing page %1 of %2").arg(1).arg(pages),
                                                 Tr("Cancel"), 0, pages);
    progress->setWindowTitle(Tr("Printing"));
    progress->setWindowModality(Qt::ApplicationModal);
    progress->setMinimumDuration(0);
    progress->setValue(0);
  }
  int printed = 0;
  bool cancelled = false;
  const bool drawn = engine.RenderAll(painter, page, [&] {
    ++printed;
    if (progress) {
      progress->setValue(printed);
      progress->setLabelText(
          Tr("Printing page %1 of %2").arg(printed + 1).arg(progress->maximum()));
      QCoreApplication::processEvents();
      if (progress->wasCanceled()) {
        cancelled = true;
        return false;
      }
    }
    return printer.newPage();
  });
  if (cancelled) {
    printer.abort();
    painter.end();
    return PrintOutcome::kCancelled;
  }
  painter.end();
  return drawn ? PrintOutcome::kPrinted : PrintOutcome::kFailed;
}

void ConfigureDialog(QPrintDialog& dialog) {
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
}

}  // namespace

bool CECGPrint::ChoosePrinter() {
  if (!m_showPrintDialog) return true;
  return ChoosePrinterNoCheck();
}

bool CECGPrint::ChoosePrinterNoCheck() {
  if (!m_printerSetup) m_printerSetup = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!m_printerName.isEmpty() && m_printerName != QString::fromStdString(PdfOutput::PrinterName())) {
    m_printerSetup->setPrinterName(m_printerName);
  }
  QPrintDialog dialog(m_printerSetup.get());
  ConfigureDialog(dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  m_printerName = m_printerSetup->printerName();
  return true;
}

bool CECGPrint::SetPdfPrinter(const std::string& file_name) {
  if (!PdfOutput::SetFileName(file_name)) {
    ShowError(Tr("Cannot write the report to \"%1\": the file name must end in .pdf, .jpg, .jpeg, .tif "
                 "or .tiff.")
                  .arg(QString::fromStdString(file_name)));
    return false;
  }
  m_printerName = QString::fromStdString(PdfOutput::PrinterName());
  return true;
}

bool CECGPrint::Print() {
  if (!SetupReports()) {
    ShowError(Tr(kNoReportSelected));
    return false;
  }
  if (m_printerName == QString::fromStdString(PdfOutput::PrinterName())) {
    std::string error;
    if (!PdfOutput::PrintJob(*this, &error)) {
      ShowError(Tr(kFailedToPrint).arg(QString::fromStdString(error)));
      return false;
    }
    return true;
  }
  QPrinter printer(QPrinter::HighResolution);
  PreparePrinter(printer, m_printerSetup.get(), m_printerName);
  if (!printer.isValid()) {
    ShowError(Tr(kFailedToPrint).arg(Tr("no such printer: %1").arg(m_printerName)));
    return false;
  }
  switch (RenderToPrinter(*this, printer, false, true)) {
    case PrintOutcome::kPrinted:
      return true;
    case PrintOutcome::kCancelled:
      return false;  // the user's choice: no error to report
    case PrintOutcome::kFailed:
      break;
  }
  ShowError(Tr(kFailedToPrint).arg(Tr("the printer could not start the job")));
  return false;
}

bool CECGPrint::Preview() {
  if (!SetupReports()) {
    ShowError(Tr(kNoReportSelected));
    return false;
  }
  QPrinter printer(QPrinter::HighResolution);
  PreparePrinter(printer, m_printerSetup.get(),
                 m_printerName == QString::fromStdString(PdfOutput::PrinterName()) ? QString() : m_printerName);
  bool failed = false;
  QPrintPreviewDialog dialog(&printer);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter* target) {
    if (RenderToPrinter(*this, *target, true, false) != PrintOutcome::kPrinted) failed = true;
  });
  dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
  dialog.exec();
  if (failed) {
    ShowError(Tr(kFailedToPrint).arg(Tr("the preview could not draw the pages")));
    return false;
  }
  return true;
}

bool CECGPrint::ToFile(const std::string& file_name) {
  if (!SetupReports()) {
    ShowError(Tr(kNoReportSelected));
    return false;
  }
  if (!SetPdfPrinter(file_name)) return false;
  std::string error;
  const bool ok = PdfOutput::PrintJob(*this, &error);
  PdfOutput::WaitToComplete(60000);
  if (!ok) {
    // A file that could not be written is reported, not passed over.
    ShowError(Tr(kFailedToPrint).arg(QString::fromStdString(error)));
    return false;
  }
  return true;
}
