#include "report/pdf_output.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cctype>
#include <mutex>
#include <span>

#include "platform/byte_stream.h"
#include "platform/last_error.h"
#include "report/ecg_print.h"

namespace ecg::report {

namespace {

struct OutputState {
  std::mutex mutex;
  std::string file_name;
  bool last_ok = false;
  std::vector<std::string> last_files;
};

OutputState& State() {
  static OutputState state;
  return state;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool WriteBytes(const std::string& path, const QByteArray& bytes, std::string* error) {
  const std::span<const uint8_t> span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                      static_cast<size_t>(bytes.size()));
  if (platform::ReplaceFileContents(path, span)) return true;
  *error = "cannot write " + path + " (error " + std::to_string(platform::GetLastError()) + ")";
  return false;
}

bool PrintPdf(CECGPrint& engine, const std::string& path, std::vector<std::string>* files,
              std::string* error) {
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(static_cast<int>(PdfOutput::kPdfDpi));
    writer.setCreator(QStringLiteral("Tidemark ECG"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    const PageDevice page = PdfOutput::FilePage(writer.resolution());
    QPainter painter;
    if (!painter.begin(&writer)) {
      *error = "cannot start the PDF document";
      return false;
    }
    const bool drawn = engine.RenderAll(painter, page, [&] { return writer.newPage(); });
    painter.end();
    if (!drawn) {
      *error = "no page to print";
      return false;
    }
  }
  if (!WriteBytes(path, bytes, error)) return false;
  files->push_back(path);
  return true;
}

bool PrintImages(CECGPrint& engine, const std::string& path, OutputFormat format,
                 std::vector<std::string>* files, std::string* error) {
  const PageDevice page = PdfOutput::FilePage(PdfOutput::kImageDpi);
  const QSize size(static_cast<int>(page.X(page.page_width)), static_cast<int>(page.Y(page.page_height)));
  const int dots_per_metre = static_cast<int>(PdfOutput::kImageDpi / 0.0254 + 0.5);
  const char* kind = format == OutputFormat::kJpeg ? "JPEG" : "TIFF";
  std::vector<QByteArray> encoded;
  QImage image;
  QPainter painter;
  auto start_page = [&] {
    image = QImage(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(dots_per_metre);
    image.setDotsPerMeterY(dots_per_metre);
    image.fill(Qt::white);
    return painter.begin(&image);
  };
  auto finish_page = [&] {
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, kind);
    if (format == OutputFormat::kJpeg) writer.setQuality(90);
    if (format == OutputFormat::kTiff) writer.setCompression(1);  // LZW
    if (!writer.write(image)) {
      *error = std::string("cannot encode ") + kind + ": " + writer.errorString().toStdString();
      return false;
    }
    encoded.push_back(std::move(bytes));
    return true;
  };
  if (!start_page()) {
    *error = "cannot draw the page";
    return false;
  }
  bool ok = true;
  const bool drawn = engine.RenderAll(painter, page, [&] {
    ok = finish_page() && start_page();
    return ok;
  });
  if (painter.isActive()) ok = finish_page() && ok;
  if (!drawn || !ok) {
    if (error->empty()) *error = "no page to print";
    return false;
  }
  for (size_t i = 0; i < encoded.size(); ++i) {
    const std::string target = ImagePagePath(path, static_cast<int>(i));
    if (!WriteBytes(target, encoded[i], error)) return false;
    files->push_back(target);
  }
  return true;
}

}  // namespace

OutputFormat OutputFormatOf(const std::string& file_name) {
  const std::string name = Lower(file_name);
  auto ends = [&](const char* suffix) {
    const std::string s(suffix);
    return name.size() > s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0;
  };
  if (ends(".pdf")) return OutputFormat::kPdf;
  if (ends(".jpg") || ends(".jpeg")) return OutputFormat::kJpeg;
  if (ends(".tif") || ends(".tiff")) return OutputFormat::kTiff;
  return OutputFormat::kNone;
}

std::string ImagePagePath(const std::string& file_name, int index) {
  if (index == 0) return file_name;
  const size_t slash = file_name.find_last_of('/');
  const size_t dot = file_name.find_last_of('.');
  const bool has_ext = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = has_ext ? file_name.substr(0, dot) : file_name;
  const std::string ext = has_ext ? file_name.substr(dot) : std::string();
  return stem + "-" + std::to_string(index + 1) + ext;
}

bool PdfOutput::SetFileName(const std::string& file_name) {
  if (OutputFormatOf(file_name) == OutputFormat::kNone) return false;
  std::lock_guard lock(State().mutex);
  State().file_name = file_name;
  return true;
}

std::string PdfOutput::PrinterName() { return "Tidemark PDF Output"; }

bool PdfOutput::WaitToComplete(int milliseconds) {
  (void)milliseconds;  // jobs finish before Print returns
  std::lock_guard lock(State().mutex);
  return State().last_ok;
}

std::vector<std::string> PdfOutput::LastFiles() {
  std::lock_guard lock(State().mutex);
  return State().last_files;
}

PageDevice PdfOutput::FilePage(double dpi) {
  PageDevice page;
  page.dpi_x = page.dpi_y = dpi;
  page.page_width = 1100;
  page.page_height = 850;
  page.margin_left = page.margin_top = page.margin_right = page.margin_bottom = 25;
  return page;
}

bool PdfOutput::PrintJob(CECGPrint& engine, std::string* error) {
  std::string path;
  {
    std::lock_guard lock(State().mutex);
    path = State().file_name;
    State().last_ok = false;
    State().last_files.clear();
  }
  std::vector<std::string> files;
  error->clear();
  bool ok = false;
  switch (OutputFormatOf(path)) {
    case OutputFormat::kPdf: ok = PrintPdf(engine, path, &files, error); break;
    case OutputFormat::kJpeg: ok = PrintImages(engine, path, OutputFormat::kJpeg, &files, error); break;
    case OutputFormat::kTiff: ok = PrintImages(engine, path, OutputFormat::kTiff, &files, error); break;
    case OutputFormat::kNone: *error = "no output file named"; break;
  }
  std::lock_guard lock(State().mutex);
  State().last_ok = ok;
  State().last_files = files;
  return ok;
}

}  // namespace ecg::report
