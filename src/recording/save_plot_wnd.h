#pragma once
// CSavePlotWnd: the frozen recording. It keeps a filtered copy of the whole
// recording ring (same 13-byte frame format as the cable stream, with the
// display filters applied), shows ten seconds of it at paper scale over a
// 5 mm grid from the scroll offset on, and prints it as pages of whole
// seconds with header lines, scale line, filter label and second ticks.

#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <mutex>
#include <vector>

#include "acquisition/circular_buffer.h"
#include "platform/clock.h"
#include "recording/strip_pages.h"

class CECGSettings;
class CFilterSettings;
class CPlotDisplaySettings;
class QPrinter;

class CSavePlotWnd : public QWidget {
  Q_OBJECT

 public:
  static constexpr uint32_t kChannels = 8;
  static constexpr uint32_t kScreenFrames = 5000;

  explicit CSavePlotWnd(QWidget* parent = nullptr);
  ~CSavePlotWnd() override;

  void SetSettings(CECGSettings* ecg, CPlotDisplaySettings* display);
  void SetLanguage(int code) { m_language = code; }
  // Local time of the recording's newest frame.
  void SetRawPrintoutTime(const ecg::platform::SystemTime& time) { m_endTime = time; }
  // Channel count := 8; a copy ring of the source's bytes in whole frames;
  // then ResetData. The caller holds the source ring's data lock.
  bool SetData(CCircularBuffer& ring, int channels, CFilterSettings& filters);
  // Rebuilds the filtered copy (after a filter switch while frozen).
  bool ResetData(CCircularBuffer& ring, CFilterSettings& filters);
  // Frees the copy.
  void KillData();
  // Scale from the ECG settings (as the live plot) instead of 10 s per width.
  void UseExternalTransformation() { m_external = true; }
  bool InitPlotWnd();
  void KillPlotWnd();

  void ScrollToOffset(uint32_t frame);
  uint32_t GetScrollOffset() const { return m_offset; }
  uint32_t Frames();
  void Update() { update(); }
  void LockData() { m_dataLock.lock(); }
  void UnlockData() { m_dataLock.unlock(); }

  // Up to `count` filtered frames from `first` (13 bytes each).
  std::vector<uint8_t> ReadFrames(uint32_t first, uint32_t count);
  // The screen scale in use.
  double PixelsPerSample() const;
  double PixelsPerStep() const;

  // Prints the range on `printer` (landscape). `title` is the report title,
  // `additional` the text from the title dialog ("%s: %s" when not empty).
  bool PrintPages(QPrinter& printer, const ecg::recording::StripPrintRange& range,
                  const QString& title, const QString& additional, const QString& filter_label);
  // Pages the last PrintPages printed, and its seconds per page.
  uint32_t PrintedPages() const { return m_printedPages; }
  int SecondsPerPage() const { return m_secondsPerPage; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Scale(double* pixels_per_sample, double* pixels_per_step) const;

  CECGSettings* m_ecg = nullptr;
  CPlotDisplaySettings* m_display = nullptr;
  w32CircularBuffer<unsigned char> m_copy{false, false};
  uint32_t m_channels = kChannels;
  uint32_t m_offset = 0;
  ecg::platform::SystemTime m_endTime{};
  int m_language = 0;
  QImage m_grid;
  bool m_external = false;
  mutable std::recursive_mutex m_dataLock;
  uint32_t m_printedPages = 0;
  int m_secondsPerPage = 0;
};
