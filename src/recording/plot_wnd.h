#pragma once
// CPlotWnd: the live ECG display of the recording window. Each frame is
// drawn at paper scale (speed in mm/s and gain in mm/mV on the screen's
// physical millimetres) as a sweeping trace over a 5 mm grid: 3, 6 or 12
// rows, or 3 x 4 with a rhythm strip; the four limb leads the cable does not
// send are derived from I and II; calibration steps are drawn as 1 mV steps
// and a lead with a problem leaves a gap.
//
// Drawing runs on the cable thread into an off-screen image under the
// display lock; only the column statistics change per frame, and a column
// is drawn once per pixel (each column's minimum-to-maximum range, so a
// spike inside a column is never lost). The window's thread repaints the
// image and draws the lead labels over it.

#include <QImage>
#include <QWidget>
#include <array>
#include <climits>
#include <cstdint>
#include <mutex>

class CECGSettings;
class CPlotDisplaySettings;

class CPlotWnd : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMinEraseBar = 15;
  static constexpr int kNoY = INT_MIN;

  explicit CPlotWnd(QWidget* parent = nullptr);
  ~CPlotWnd() override;

  // Borrowed; both must outlive the window.
  void SetSettings(CECGSettings* ecg, CPlotDisplaySettings* display);
  // Creates the grid and drawing images for the client area.
  bool InitPlotWnd();
  // Fills the grid image: background, then the 5 mm grid unless the grid
  // style is none.
  void SetUpGrid();
  // Copies the grid over the drawing and forgets every column and last y.
  void Clean();
  // Sweep to 0, rows and spacing from the display settings, scale from the
  // ECG settings.
  void ResetDisplay();
  void LockDisplay() { m_displayLock.lock(); }
  void UnlockDisplay() { m_displayLock.unlock(); }
  // One frame: `channels` raw samples (0..4095) with their status words;
  // `leads` is the number of leads the display may show (12).
  void AddLeadData(const uint16_t* samples, const uint32_t* status, int channels, int leads);
  // The status words (12 channels) the labels are crossed by.
  void SetLabelStatus(const std::array<uint32_t, 12>& status);
  // Asks for a repaint of what was drawn since the last request, at most
  // 25 times a second (what is drawn meanwhile waits for the next one); any
  // thread.
  void PostUpdate();
  static constexpr uint64_t kRepaintIntervalMs = 40;

  // A copy of the drawing (labels not included), under the display lock.
  QImage Snapshot();
  // State, for tests and the calibration indicator.
  int SweepX();
  int Rows();
  int RowSpacing();
  int EraseBarWidth();
  double PixelsPerSample();
  double PixelsPerStep();

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  struct Column {
    int min;
    int max;
    uint32_t status;
  };
  void SetUpGridLocked();
  void CleanLocked();
  void ResetDisplayLocked();
  void RestoreEraseBar(int x);
  void DrawColumn(int step);
  void DrawLead(int x, int step, int y0, int channel, int* last_y, bool visible);
  void Plot(int x, int y, QRgb colour);
  void VLine(int x, int y0, int y1, QRgb colour);
  void Line(int x0, int y0, int x1, int y1, QRgb colour);
  void MarkDirty(int x0, int x1);

  CECGSettings* m_ecg = nullptr;
  CPlotDisplaySettings* m_display = nullptr;
  QImage m_grid;
  QImage m_image;
  std::mutex m_displayLock;
  double m_accumulator = 0.0;
  double m_samplesPerPixel = 1.0;
  double m_pixelsPerSample = 1.0;
  double m_pixelsPerStep = 1.0;
  std::array<Column, 8> m_columns{};
  std::array<int, 12> m_lastY{};
  int m_rhythmLastY = kNoY;
  int m_rows = 12;
  int m_rowSpacing = 1;
  int m_eraseBar = kMinEraseBar;
  int m_width = 0;
  int m_height = 0;
  int m_sweepX = 0;
  int m_rhythmX = 0;
  QRgb m_traceColour = 0;
  // What was drawn since the last repaint request.
  int m_dirtyMin = INT_MAX;
  int m_dirtyMax = INT_MIN;
  std::array<uint32_t, 12> m_labelStatus{};
  uint64_t m_lastRepaintMs = 0;
};
