// File output: PDF, JPEG and TIFF open with their readers and have the
// right number of pages; the PDF, rendered back with poppler's pdftoppm, is
// at the exact paper scale; bad names and unwritable places fail cleanly.

#include "report/pdf_output.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <QImageReader>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "image_probe.h"
#include "platform/prompt.h"
#include "qt_test_app.h"
#include "render/paper_scale.h"
#include "report/ecg_print.h"
#include "report_test_records.h"

namespace ecg::report {
namespace {

namespace fs = std::filesystem;

bool HaveTool(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string RunAndRead(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
  pclose(pipe);
  return out;
}

int PdfPages(const std::string& path) {
  const std::string info = RunAndRead("pdfinfo '" + path + "' 2>/dev/null");
  const size_t at = info.find("Pages:");
  if (at == std::string::npos) return -1;
  return std::atoi(info.c_str() + at + 6);
}

TEST(OutputNames, FormatsAndPageFiles) {
  const struct { const char* name; OutputFormat format; } formats[] = {
      {"a.pdf", OutputFormat::kPdf},  {"A.PDF", OutputFormat::kPdf},   {"x/y.jpg", OutputFormat::kJpeg},
      {"b.JPEG", OutputFormat::kJpeg}, {"c.tif", OutputFormat::kTiff}, {"c.TIFF", OutputFormat::kTiff},
      {"d.png", OutputFormat::kNone}, {".pdf", OutputFormat::kNone},   {"pdf", OutputFormat::kNone},
      {"", OutputFormat::kNone}};
  for (const auto& c : formats) EXPECT_EQ(OutputFormatOf(c.name), c.format) << c.name;
  EXPECT_EQ(ImagePagePath("/o/r.jpg", 0), "/o/r.jpg");
  EXPECT_EQ(ImagePagePath("/o/r.jpg", 1), "/o/r-2.jpg");
  EXPECT_EQ(ImagePagePath("/o.d/r.tiff", 8), "/o.d/r-9.tiff");
  EXPECT_EQ(ImagePagePath("/o.d/r", 2), "/o.d/r-3");
  EXPECT_FALSE(PdfOutput::SetFileName("out.png"));
  EXPECT_TRUE(PdfOutput::SetFileName("out.pdf"));
  EXPECT_FALSE(PdfOutput::PrinterName().empty());
}

class FileOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApplication();
    previous_ = platform::SetPrompt(&prompt_);
    record_ = test::WriteRecord(folder_, "twelve.scp");
  }
  void TearDown() override { platform::SetPrompt(previous_); }
  test::TempFolder folder_;
  platform::ScriptedPrompt prompt_;
  platform::Prompt* previous_ = nullptr;
  std::string record_;
};

TEST_F(FileOutput, PdfOfAllTypesHasNinePagesAtExactScale) {
  if (!HaveTool("pdfinfo") || !HaveTool("pdftoppm")) GTEST_SKIP() << "poppler-utils (pdfinfo, pdftoppm) not installed";
  CECGPrint engine;
  engine.m_reportMask = 1 | 2 | 4 | 8 | 16 | 32 | 4096 | 8192;
  engine.AddReport(record_);
  const std::string pdf = folder_.File("all.pdf");
  ASSERT_TRUE(engine.ToFile(pdf));
  EXPECT_EQ(PdfPages(pdf), 9);
  EXPECT_EQ(PdfOutput::LastFiles(), std::vector<std::string>{pdf});
  EXPECT_TRUE(prompt_.shown().empty());

  // Page 1 back at 300 dpi: the page's origin is the image's origin.
  const std::string stem = folder_.File("page");
  ASSERT_EQ(std::system(("pdftoppm -r 300 -f 1 -l 1 -png '" + pdf + "' '" + stem + "'").c_str()), 0);
  QImage image;
  for (const auto& entry : fs::directory_iterator(folder_.path())) {
    if (entry.path().filename().string().rfind("page", 0) == 0) image.load(QString::fromStdString(entry.path().string()));
  }
  ASSERT_FALSE(image.isNull());
  test::SaveTestPng(image, "pdf_page1_300dpi.png");
  EXPECT_EQ(image.width(), 3300);
  EXPECT_EQ(image.height(), 2550);

  const render::PaperScale s = render::PaperScale::FromDpi(300, 300);
  const double left = s.X(engine.m_ecgLeft * 10.0), top = s.Y(engine.m_ecgTop * 10.0);
  const double baseline = top + s.Y(22.0);  // first row: 40 mm high, baseline at 55 %
  const auto edges = test::RunCentresInRow(image, static_cast<int>(baseline - s.Y(5.0)), static_cast<int>(left),
                                           static_cast<int>(left + s.X(10.0)), test::IsInk);
  ASSERT_EQ(edges.size(), 2u);
  EXPECT_NEAR(s.MmX(edges[1] - edges[0]), 5.0, 0.1) << "0.2 s at 25 mm/s";
  const auto top_level = test::RunCentresInColumn(image, static_cast<int>((edges[0] + edges[1]) / 2),
                                                  static_cast<int>(baseline - s.Y(13)),
                                                  static_cast<int>(baseline + s.Y(3)), test::IsInk);
  const auto base_level = test::RunCentresInColumn(image, static_cast<int>(left + s.X(1.75)),
                                                   static_cast<int>(baseline - s.Y(13)),
                                                   static_cast<int>(baseline + s.Y(3)), test::IsInk);
  ASSERT_EQ(top_level.size(), 1u);
  ASSERT_EQ(base_level.size(), 1u);
  EXPECT_NEAR(s.MmY(base_level[0] - top_level[0]), 10.0, 0.1) << "1 mV at 10 mm/mV";
  // Major grid lines 5 mm apart along the bottom of the first row.
  const auto grid = test::RunCentresInRow(image, static_cast<int>(top + s.Y(37.5)), static_cast<int>(left),
                                          static_cast<int>(left + s.X(265.0)), test::IsMajorGrid);
  ASSERT_GE(grid.size(), 50u);
  for (size_t k = 1; k < grid.size(); ++k) EXPECT_NEAR(s.MmX(grid[k] - grid[k - 1]), 5.0, 0.1) << k;
}

TEST_F(FileOutput, JpegAndTiffWriteOnePictureFilePerPage) {
  for (const char* name : {"pages.jpg", "pages.tif"}) {
    CECGPrint engine;
    engine.m_reportMask = 1 | 8;  // 3 pages
    engine.AddReport(record_);
    const std::string out = folder_.File(name);
    ASSERT_TRUE(engine.ToFile(out)) << name;
    const std::vector<std::string> files = PdfOutput::LastFiles();
    ASSERT_EQ(files.size(), 3u) << name;
    EXPECT_EQ(files[0], out);
    EXPECT_EQ(files[2], ImagePagePath(out, 2));
    for (const std::string& f : files) {
      QImageReader reader(QString::fromStdString(f));
      const QImage image = reader.read();
      ASSERT_FALSE(image.isNull()) << f << ": " << reader.errorString().toStdString();
      EXPECT_EQ(image.width(), 2200) << f;
      EXPECT_EQ(image.height(), 1700) << f;
      // Told apart by their bytes, not by their names.
      EXPECT_EQ(QImageReader::imageFormat(QString::fromStdString(f)),
                QByteArray(OutputFormatOf(f) == OutputFormat::kJpeg ? "jpeg" : "tiff"));
    }
    EXPECT_FALSE(fs::exists(ImagePagePath(out, 3)));
  }
}

TEST_F(FileOutput, FailuresAreReportedAndWriteNothing) {
  CECGPrint engine;
  engine.AddReport(record_);
  EXPECT_FALSE(engine.ToFile(folder_.File("report.png")));
  EXPECT_FALSE(fs::exists(folder_.File("report.png")));
  ASSERT_EQ(prompt_.shown().size(), 1u);
  EXPECT_EQ(prompt_.shown()[0].caption, "Error");

  prompt_.Clear();
  EXPECT_FALSE(engine.ToFile(folder_.File("no/such/folder/report.pdf")));
  ASSERT_EQ(prompt_.shown().size(), 1u);
  EXPECT_EQ(prompt_.shown()[0].text.rfind("Failed to print.", 0), 0u);

  // A good file stays as it was when a later job cannot be written over it.
  const std::string pdf = folder_.File("keep.pdf");
  ASSERT_TRUE(engine.ToFile(pdf));
  const auto size = fs::file_size(pdf);
  prompt_.Clear();
  CECGPrint nothing;
  nothing.AddReport(folder_.Write("junk.scp", {1, 2, 3}));
  EXPECT_FALSE(nothing.ToFile(pdf));
  ASSERT_EQ(prompt_.shown().size(), 1u);
  EXPECT_EQ(prompt_.shown()[0].text, "At least one report type must be selected in order to print.");
  EXPECT_EQ(fs::file_size(pdf), size);
}

TEST_F(FileOutput, PrintGoesToTheChosenPrinter) {
  CECGPrint engine;
  engine.AddReport(record_);
  // A printer that cannot start the job: reported, false.
  engine.m_printerName = "no-such-printer-for-tidemark-tests";
  EXPECT_FALSE(engine.Print());
  ASSERT_EQ(prompt_.shown().size(), 1u);
  EXPECT_EQ(prompt_.shown()[0].text.rfind("Failed to print.  The error reported by the printer is:", 0), 0u);
  // The file printer, once chosen, takes the job without any dialog.
  const std::string pdf = folder_.File("printed.pdf");
  ASSERT_TRUE(engine.SetPdfPrinter(pdf));
  EXPECT_EQ(engine.m_printerName.toStdString(), PdfOutput::PrinterName());
  EXPECT_TRUE(engine.ChoosePrinter());  // ShowPrintDialog is off: no dialog
  EXPECT_TRUE(engine.Print());
  EXPECT_TRUE(fs::exists(pdf));
  EXPECT_TRUE(PdfOutput::WaitToComplete(60000));
}

TEST_F(FileOutput, PreviewDrawsThePagesIntoItsWindow) {
  CECGPrint engine;
  engine.m_reportMask = 1 | 2;
  engine.AddReport(record_);
  QTimer::singleShot(300, [] {
    if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
  });
  EXPECT_TRUE(engine.Preview());
  EXPECT_EQ(engine.m_pageCount, 2);  // the preview ran the job
  EXPECT_TRUE(prompt_.shown().empty());
}

}  // namespace
}  // namespace ecg::report
