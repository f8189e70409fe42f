// Renders layouts to images at a known resolution and measures them: the
// calibration pulse, the grid and the distance between known signal edges
// must come out at the paper scale asked for.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <string>

#include "image_probe.h"
#include "qt_test_app.h"
#include "render/trace_painter.h"
#include "scp/reader.h"
#include "spike_record.h"
#include "support/section_builders.h"

namespace ecg::render {
namespace {

constexpr double kDpi = 300.0;
constexpr double kToleranceMm = 0.1;

struct Canvas {
  QImage image;
  PaperScale scale;
  QRectF rect;  // the layout rect
};

Canvas MakeCanvas(double width_mm, double height_mm) {
  Canvas c;
  c.scale = PaperScale::FromDpi(kDpi, kDpi);
  c.image = QImage(static_cast<int>(c.scale.X(width_mm + 10)), static_cast<int>(c.scale.Y(height_mm + 10)),
                   QImage::Format_RGB32);
  c.image.setDotsPerMeterX(static_cast<int>(std::lround(kDpi / 0.0254)));
  c.image.setDotsPerMeterY(static_cast<int>(std::lround(kDpi / 0.0254)));
  c.image.fill(Qt::white);
  c.rect = QRectF(c.scale.X(5), c.scale.Y(5), c.scale.X(width_mm), c.scale.Y(height_mm));
  return c;
}

RecordTraces LoadTraces(const test::Bytes& bytes) {
  CReader reader;
  int16_t loaded = 0;
  RecordTraces traces;
  EXPECT_TRUE(reader.Load(RecordSource::Memory(bytes), loaded, -1));
  EXPECT_TRUE(LoadRecordTraces(reader, &traces));
  return traces;
}

const std::vector<uint8_t> kOrder = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};

struct ScaleCase {
  double speed;
  double gain;
};

class PaperScaleImage : public ::testing::TestWithParam<ScaleCase> {
 protected:
  void SetUp() override { test::EnsureQtApplication(); }
};

TEST_P(PaperScaleImage, PulseGridAndSignalMeasureInMillimetres) {
  const ScaleCase param = GetParam();
  const RecordTraces traces = LoadTraces(test::SquarePulseRecord(test::TwelveLeadCodes()));
  Canvas c = MakeCanvas(265.0, 120.0);
  {
    QPainter painter(&c.image);
    TraceStyle style;
    style.speed_mm_s = param.speed;
    style.gain_mm_mv = param.gain;
    style.grid.minor_style = MinorGrid::kLines;
    TracePainter(painter, c.scale, style).DrawLayout(c.rect, kLayout3x4Sequential, traces, kOrder, 0, 0);
  }
  const std::string name = "render_3x4_" + std::to_string(static_cast<int>(param.speed * 10)) +
                           "_" + std::to_string(static_cast<int>(param.gain)) + ".png";
  test::SaveTestPng(c.image, name);

  const PaperScale& s = c.scale;
  const double left = c.rect.left(), top = c.rect.top();
  const double baseline = top + s.Y(40.0 * 0.55);  // first row
  const double pulse = CalibrationPulseWidthMm(param.speed);

  // Calibration pulse: its two edges half-way up, then its top and base.
  const auto edges = test::RunCentresInRow(c.image, static_cast<int>(baseline - s.Y(param.gain / 2)),
                                           static_cast<int>(left),
                                           static_cast<int>(left + s.X(CalibrationAreaMm(param.speed))),
                                           test::IsInk);
  ASSERT_EQ(edges.size(), 2u) << name;
  EXPECT_NEAR(s.MmX(edges[1] - edges[0]), pulse, kToleranceMm) << name;
  EXPECT_NEAR(s.MmX(edges[0] - left), 2.5, kToleranceMm);
  // The pulse's top (half-way along it) against the baseline before it.
  const int y_from = static_cast<int>(baseline - s.Y(param.gain + 3));
  const int y_to = static_cast<int>(baseline + s.Y(3));
  const auto top_level = test::RunCentresInColumn(c.image, static_cast<int>((edges[0] + edges[1]) / 2),
                                                  y_from, y_to, test::IsInk);
  const auto base_level = test::RunCentresInColumn(c.image, static_cast<int>(left + s.X(1.75)), y_from,
                                                   y_to, test::IsInk);
  ASSERT_EQ(top_level.size(), 1u) << name;
  ASSERT_EQ(base_level.size(), 1u) << name;
  EXPECT_NEAR(s.MmY(base_level[0] - top_level[0]), param.gain, kToleranceMm) << name << ": 1 mV";
  EXPECT_NEAR(base_level[0], baseline, 1.0);

  // Lead I's signal: 1 mV plateau and rising edges one second apart.
  const double x0 = left + s.X(CalibrationAreaMm(param.speed));
  const double col_mm = (265.0 - CalibrationAreaMm(param.speed)) / 4;
  const auto signal = test::RunCentresInRow(c.image, static_cast<int>(baseline - s.Y(param.gain / 2)),
                                            static_cast<int>(x0 + s.X(2.0)),
                                            static_cast<int>(x0 + s.X(col_mm - 1.0)), test::IsInk);
  std::vector<double> rises;
  for (size_t k = 0; k < signal.size(); k += 2) rises.push_back(signal[k]);
  ASSERT_FALSE(rises.empty()) << name;
  EXPECT_NEAR(s.MmX(rises[0] - x0), 0.5 * param.speed, kToleranceMm) << name << ": first edge at 0.5 s";
  for (size_t k = 1; k < rises.size(); ++k) {
    EXPECT_NEAR(s.MmX(rises[k] - rises[k - 1]), param.speed, kToleranceMm) << name << ": 1 s";
  }
  if (signal.size() >= 2) {
    EXPECT_NEAR(s.MmX(signal[1] - signal[0]), 0.2 * param.speed, kToleranceMm) << name << ": 0.2 s";
  }

  // Major grid: 5 mm both ways, measured where no trace crosses.
  const auto vertical = test::RunCentresInRow(c.image, static_cast<int>(top + s.Y(32.5)),
                                              static_cast<int>(left), static_cast<int>(c.rect.right()),
                                              test::IsMajorGrid);
  ASSERT_GE(vertical.size(), 50u);
  for (size_t k = 1; k < vertical.size(); ++k) {
    EXPECT_NEAR(s.MmX(vertical[k] - vertical[k - 1]), 5.0, kToleranceMm) << k;
  }
  EXPECT_NEAR(s.MmX(vertical.back() - vertical.front()) / static_cast<double>(vertical.size() - 1), 5.0,
              0.01);
  const auto horizontal = test::RunCentresInColumn(c.image, static_cast<int>(left + s.X(CalibrationAreaMm(param.speed) - 0.6)),
                                                   static_cast<int>(top), static_cast<int>(c.rect.bottom()),
                                                   test::IsMajorGrid);
  ASSERT_GE(horizontal.size(), 22u);
  for (size_t k = 1; k < horizontal.size(); ++k) {
    EXPECT_NEAR(s.MmY(horizontal[k] - horizontal[k - 1]), 5.0, kToleranceMm) << k;
  }
}

INSTANTIATE_TEST_SUITE_P(SpeedsAndGains, PaperScaleImage,
                         ::testing::Values(ScaleCase{25.0, 10.0}, ScaleCase{12.5, 5.0},
                                           ScaleCase{50.0, 20.0}, ScaleCase{25.0, 20.0}));

TEST(PaperScaleImageGaps, LeadErrorSamplesLeaveAGap) {
  test::EnsureQtApplication();
  // Lead I carries markers from 2.0 s to 2.4 s.
  const RecordTraces traces = LoadTraces(test::SquarePulseRecord({1, 2}, {{1000, 1200}}));
  Canvas c = MakeCanvas(265.0, 40.0);
  {
    QPainter painter(&c.image);
    TraceStyle style;
    style.draw_grid = false;
    TracePainter(painter, c.scale, style).DrawStrip(c.rect, traces, 1, 0);
  }
  test::SaveTestPng(c.image, "render_strip_lead_error_gap.png");
  const PaperScale& s = c.scale;
  const double x0 = c.rect.left() + s.X(10.0);
  const double baseline = c.rect.top() + s.Y(40.0 * 0.55);
  auto ink_at = [&](double seconds) {
    return test::RunCentresInColumn(c.image, static_cast<int>(x0 + s.X(seconds * 25.0)),
                                    static_cast<int>(baseline - s.Y(12)),
                                    static_cast<int>(baseline + s.Y(2)), test::IsInk)
        .size();
  };
  EXPECT_EQ(ink_at(2.2), 0u);
  EXPECT_EQ(ink_at(1.2), 1u);
  EXPECT_EQ(ink_at(3.2), 1u);
}

TEST(PaperScaleImageGaps, LeadsTheRecordLacksStayEmpty) {
  test::EnsureQtApplication();
  const RecordTraces traces = LoadTraces(test::SquarePulseRecord({1, 2}));  // I and II only, III derived
  Canvas c = MakeCanvas(265.0, 120.0);
  {
    QPainter painter(&c.image);
    TraceStyle style;
    style.draw_grid = false;
    style.draw_calibration = false;
    TracePainter(painter, c.scale, style).DrawLayout(c.rect, kLayout3x4Sequential, traces, kOrder, 0, 0);
  }
  const PaperScale& s = c.scale;
  // Column 3 (V1..V3) has labels but no trace at the baseline; column 1
  // holds the derived III (II - I = 0: a flat line).
  const double col_mm = 255.0 / 4;
  auto baseline_ink = [&](int col, int row) {
    const double y = c.rect.top() + s.Y(row * 40.0 + 22.0);
    return test::RunCentresInRow(c.image, static_cast<int>(y),
                                 static_cast<int>(c.rect.left() + s.X(10.0 + col * col_mm + 2)),
                                 static_cast<int>(c.rect.left() + s.X(10.0 + col * col_mm + 10)),
                                 test::IsInk)
        .size();
  };
  EXPECT_GT(baseline_ink(0, 2), 0u);   // III
  EXPECT_EQ(baseline_ink(2, 0), 0u);   // V1 absent
}

}  // namespace
}  // namespace ecg::render

namespace ecg::render {
namespace {

// Grid, pulses and traces without text (fonts differ between machines)
// against the checked-in picture, within a small tolerance. Set
// ECG_UPDATE_GOLDEN=1 to write a new golden picture after a deliberate
// change, and look at it before checking it in.
TEST(PaperScaleGolden, SequentialLayoutMatchesTheGoldenPicture) {
  test::EnsureQtApplication();
  const RecordTraces traces = LoadTraces(test::SyntheticEcgRecord());
  const PaperScale scale = PaperScale::FromDpi(100, 100);
  QImage image(static_cast<int>(scale.X(265)), static_cast<int>(scale.Y(160)), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    TraceStyle style;
    style.draw_labels = false;
    style.grid.minor_style = MinorGrid::kDotted;
    TracePainter tp(painter, scale, style);
    tp.DrawLayout(QRectF(0, 0, scale.X(265), scale.Y(120)), kLayout3x4Sequential, traces, kOrder, 0, 0);
    tp.DrawStrip(QRectF(0, scale.Y(120), scale.X(265), scale.Y(40)), traces, 2, 0);
  }
  test::SaveTestPng(image, "render_golden_actual.png");
  const QString golden_path = QStringLiteral(ECG_RENDER_GOLDEN_DIR "/sequential_3x4_100dpi.png");
  if (std::getenv("ECG_UPDATE_GOLDEN") != nullptr) {
    ASSERT_TRUE(image.save(golden_path, "PNG"));
  }
  QImage golden(golden_path);
  ASSERT_FALSE(golden.isNull()) << golden_path.toStdString();
  golden = golden.convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(golden.size(), image.size());
  int different = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb a = image.pixel(x, y), b = golden.pixel(x, y);
      if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) > 60) {
        ++different;
      }
    }
  }
  EXPECT_LE(different, image.width() * image.height() / 500) << "pixels differing from the golden picture";
}

}  // namespace
}  // namespace ecg::render
