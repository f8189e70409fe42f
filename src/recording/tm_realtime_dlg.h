#pragma once
// CTM_RealTimeDlg: the modal recording window. It runs the cable thread,
// keeps every received frame in the recording ring, filters and draws each
// frame in the live plot, counts the heart rate and sounds the beeps, shows
// cable status and lead indications, freezes the recording into the strip
// window for scrolling and printing, and saves ten seconds of it as the
// recording file ("rt-ecg.tmp") that the interface turns into a record.
//
// End codes (QDialog::result() after done()): 1 save, 2 cancel,
// 3 initialisation failure, 102 save and review, 103 save and print,
// 104 save and print with PDF creation.
//
// Threads: the batch, status and fault handlers run on the cable thread and
// never touch widgets; they paint into the live plot's image under its
// display lock and post everything else to the window's thread.

#include <QDialog>
#include <QString>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <semaphore>
#include <string>

#include "acquisition/cable_settings.h"
#include "acquisition/cable_thread.h"
#include "acquisition/circular_buffer.h"
#include "acquisition/ecg_settings.h"
#include "dsp/filter_settings.h"
#include "dsp/qrs_detect.h"
#include "platform/clock.h"
#include "recording/plot_display_settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class QTimer;
class QToolButton;
class CBeepThread;
class CPlotWnd;
class CSavePlotWnd;
class CCalibrationPulseWnd;

namespace ecg::dsp {
class WaveSounds;
class WavePlayer;
}  // namespace ecg::dsp

class CTM_RealTimeDlg : public QDialog {
  Q_OBJECT

 public:
  enum EndCode : int {
    kEndSave = 1,
    kEndCancel = 2,
    kEndInitFailed = 3,
    kEndSaveReview = 102,
    kEndSavePrint = 103,
    kEndSavePrintPdf = 104,
  };
  enum ExitAction : int { kExitNone = 0, kExitReconnect = 1, kExitClose = 2, kExitFinished = 3 };
  // Ten seconds of frames: what Save needs, and what it writes.
  static constexpr uint32_t kTenSecondFrames = 5000;
  static constexpr uint32_t kRequiredBytes = kTenSecondFrames * 13;  // 65000

  explicit CTM_RealTimeDlg(QWidget* parent = nullptr);
  ~CTM_RealTimeDlg() override;

  // ---- configuration, called before the window runs ----
  void SetLanguage(int code) { m_language = code; }
  // The recording file; also derives the numbered name (the name part with
  // "%d" appended).
  void SetOutputFile(const std::string& path);
  void SetDemoOutputFile(const std::string& path) { m_demoOutputFile = path; }
  // Language strings relative to the component's module path; the window's
  // texts are its own English texts unless a translation is installed.
  void LoadLanguageStrings(const std::string& module_path) { m_languagePath = module_path; }
  // Seconds clamped to 10..900: 10 gives 5000 frames (custom size off), any
  // other value seconds x 500 frames (custom size on).
  void SetECGBufferSize(int seconds);
  void SetMuscleFilter(bool on) { m_filters.SetMuscle(on); }
  void SetBaselineFilter(bool on) { m_filters.SetBaseline(on); }
  void SetPowerFilter(bool on) { m_filters.SetPower(on); }
  // 50 or 60 (anything but 60 is 50).
  void SetMainsFrequency(int hz) { m_filters.SetMainsFrequency(static_cast<uint8_t>(hz == 60 ? 60 : 50)); }
  // As the options store them: 0 no grid, 2 solid lines, anything else
  // dotted lines. The plot style is kept for the painter (0, 1 or 2).
  void SetGridStyle(int style) { m_display.SetGridStyle(style); }
  void SetPlotStyle(int style) { m_display.m_plotStyle = style; }
  void SetQRSBeep(bool on) { m_beatSoundOn = on; }
  void SetLeadsOffBeep(bool on) { m_leadOffSoundOn = on; }
  void SetMIDISound(bool on) { m_midiOn = on; }
  void SetQRSDetect(bool on) { m_heartRateOn = on; }
  // "COM%d" or "\\.\COM%d" (see CCableSettings::PortName).
  void SetPortName(const std::string& name) { m_cable.m_portName = name; }
  // Replays a demo file instead of the cable (connection type 1).
  void SetDemoFile(const std::string& path, bool loop = true);
  void SetPatientName(const std::string& name) { m_patientName = name; }
  // The custom 3-lead group: up to three lead indices of the display order
  // numbering (0 I, 1 II, 2..7 V1..V6, 8 III, 9 aVR, 10 aVL, 11 aVF).
  void SetCustomLeadGroup(const int16_t* leads, int count);
  // Display row i shows acquisition channel `channel` (the facade's lead ids).
  void SetDisplayChannel(int i, int channel);
  void SetDisplayChannels(const std::array<int16_t, 12>& channels);
  void SetRhythmStripLead(int channel) { m_display.m_rhythmLead = channel; }
  void SetCreatePDF(bool on) { m_createPdf = on; }
  // Gain in mm per microvolt (0.005, 0.01, 0.02) and speed in mm/s.
  void SetGain(double mm_per_uv) { m_ecg.SetGain(mm_per_uv); }
  void SetSpeed(double mm_per_s) { m_ecg.SetSpeed(mm_per_s); }
  // The lead list entry 0..8 ("I, II, III" ... "3x4 View").
  void LeadGroup(int entry);
  // Window title (the report title of the strip printout).
  void SetTitle(const QString& title) { m_title = title; }

  // ---- state, for the facade and for tests ----
  int EndCode() const { return m_endCode; }
  bool IsLive() const { return m_live; }
  bool IsDataFlowing() const { return m_dataFlowing.load(); }
  bool IsCableRunning() const { return m_cableRunning.load(); }
  uint32_t BufferFrames() const { return m_bufferFrames; }
  bool CustomBufferSize() const { return m_customSize; }
  const std::string& OutputFile() const { return m_outputFile; }
  const std::string& NumberedOutputFile() const { return m_numberedFile; }
  // Bytes now in the recording ring (takes the data lock).
  uint32_t RingBytes();
  double HeartRate() const;
  QString IndicationsText() const;
  QString StatusText() const;
  CECGSettings& EcgSettings() { return m_ecg; }
  CPlotDisplaySettings& DisplaySettings() { return m_display; }
  CFilterSettings& FilterSettings() { return m_filters; }
  CCableSettings& CableSettings() { return m_cable; }

  // ---- widgets, for tests and the command line ----
  QPushButton* RecordButton() const { return m_recordBtn; }
  QPushButton* SaveButton() const { return m_saveBtn; }
  QPushButton* ReviewButton() const { return m_reviewBtn; }
  QPushButton* SavePrintButton() const { return m_savePrintBtn; }
  QPushButton* PrintButton() const { return m_printBtn; }
  QPushButton* FullDisclosureButton() const { return m_fullDisclosureBtn; }
  QPushButton* CancelButton() const { return m_cancelBtn; }
  QComboBox* SensitivityList() const { return m_sensitivity; }
  QComboBox* SpeedList() const { return m_speed; }
  QComboBox* LeadList() const { return m_leadList; }
  QToolButton* GroupUpArrow() const { return m_groupUp; }
  QToolButton* GroupDownArrow() const { return m_groupDown; }
  QCheckBox* MuscleBox() const { return m_muscleBox; }
  QCheckBox* BaselineBox() const { return m_baselineBox; }
  QCheckBox* PowerBox() const { return m_powerBox; }
  QCheckBox* SoundBox() const { return m_soundBox; }
  QScrollBar* StripScrollBar() const { return m_scroll; }
  QProgressBar* ProgressBar() const { return m_progress; }
  QLabel* HeartRateLabel() const { return m_heartRateLabel; }
  QLabel* ClockLabel() const { return m_clockLabel; }
  CPlotWnd* PlotWnd() const { return m_plot; }
  CSavePlotWnd* SavePlotWnd() const { return m_strip; }

  // Saves `number` (0 = the plain recording file) from `offset` bytes into
  // the ring; the status line tells the outcome.
  bool SaveRecordingBuffer(uint32_t offset, int number);

  // Callbacks given to the cable thread.
  static void OnCableNotify(void* window, int event);
  static void OnStatusNotify(void* window, int kind, int code);
  static bool OnErrNotify(void* context, int source, int code, uint32_t detail);

 public slots:
  void OnRecordBtn();
  void OnSaveBtn();
  void OnReviewBtn();
  void OnSavePrintBtn();
  void OnPrintBtn();
  void OnFullDisclosureBtn();
  void OnPrintRhythmStripBtn();
  void OnPrint60SecondsBtn();
  void OnReconnect();
  void OnClose();
  void reject() override;  // Cancel: clean-up, end code 2

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private slots:
  void OnTimer();
  void OnSensitivityChanged(int index);
  void OnSpeedChanged(int index);
  void OnLeadListChanged(int index);
  void OnGroupUp();
  void OnGroupDown();
  void OnFilterBox();
  void OnSoundBox();
  void OnScroll(int position);

 private:
  // Window building (tm_realtime_layout.cpp).
  void CreateControls();
  void SelectListEntries();
  void UpdateArrows();
  void SetSaveButtonsEnabled(bool on);
  void ShowStatus(const QString& text);
  void RepaintIndicators();

  // Opening and closing (tm_realtime_dlg.cpp).
  bool OnInitDialog();
  void InitSounds();
  void CleanUp();
  void EndWindow(int code);

  // The cable (tm_realtime_cable.cpp).
  bool InitialiseCable();
  void StopCable();
  void CableNotifyReady();
  void CableNotifyUpdate();
  void CableNotifyExit();
  void CableStatus(int kind, int code);
  void OnCableExited(int action);
  void PlayBeat();

  // Faults of the transport (tm_realtime_faults.cpp).
  bool OutputFault(int code, uint32_t detail);
  bool InputFault(int source, int code, uint32_t detail);
  bool ReportLineErrors(uint32_t flags);
  void StopCableThread();
  void PostMessage(const QString& text);
  void PostPrompt(const QString& text);
  void PostStatus(const QString& text);
  void Log(const std::string& text);

  // Freezing and saving (tm_realtime_save.cpp).
  void Freeze();
  void GoLive();
  void RedrawDisplay();
  void ApplyLeadEntry(int entry);
  void UpdateCalibrationPulse();

  // settings
  CCableSettings m_cable;
  CPlotDisplaySettings m_display;
  CECGSettings m_ecg;
  CFilterSettings m_filters;

  // threads
  std::unique_ptr<CCableThread> m_cableThread;
  std::unique_ptr<CBeepThread> m_beepThread;
  bool m_beepThreadStarted = false;
  std::unique_ptr<ecg::dsp::WaveSounds> m_waves;
  std::unique_ptr<ecg::dsp::WavePlayer> m_wavePlayer;

  // the recording ring and its locks
  CCircularBuffer m_ring{false, true};
  std::timed_mutex m_dataLock;
  std::mutex m_errorLock;
  mutable std::mutex m_indicatorLock;

  // windows and controls
  CPlotWnd* m_plot = nullptr;
  CSavePlotWnd* m_strip = nullptr;
  CCalibrationPulseWnd* m_calibration = nullptr;
  QStackedWidget* m_plotStack = nullptr;
  QScrollBar* m_scroll = nullptr;
  QProgressBar* m_progress = nullptr;
  QLabel* m_heartRateLabel = nullptr;
  QLabel* m_clockLabel = nullptr;
  QLabel* m_statusLine = nullptr;
  QLabel* m_indicationsLine = nullptr;
  QLabel* m_patientLabel = nullptr;
  QPushButton* m_recordBtn = nullptr;
  QPushButton* m_saveBtn = nullptr;
  QPushButton* m_reviewBtn = nullptr;
  QPushButton* m_savePrintBtn = nullptr;
  QPushButton* m_printBtn = nullptr;
  QPushButton* m_fullDisclosureBtn = nullptr;
  QPushButton* m_rhythmStripBtn = nullptr;
  QPushButton* m_sixtySecondsBtn = nullptr;
  QPushButton* m_cancelBtn = nullptr;
  QComboBox* m_sensitivity = nullptr;
  QComboBox* m_speed = nullptr;
  QComboBox* m_leadList = nullptr;
  QToolButton* m_groupUp = nullptr;
  QToolButton* m_groupDown = nullptr;
  QCheckBox* m_muscleBox = nullptr;
  QCheckBox* m_baselineBox = nullptr;
  QCheckBox* m_powerBox = nullptr;
  QCheckBox* m_soundBox = nullptr;
  QTimer* m_timer = nullptr;

  // flags
  bool m_live = true;
  std::atomic<bool> m_cableRunning{false};
  std::atomic<bool> m_dataFlowing{false};
  std::atomic<bool> m_waitingForTen{true};
  bool m_beatSoundOn = false;
  bool m_leadOffSoundOn = false;
  bool m_heartRateOn = true;
  bool m_midiOn = false;
  std::atomic<bool> m_muted{false};
  std::atomic<bool> m_closing{false};
  std::atomic<bool> m_stopping{false};  // the window itself is stopping the cable
  bool m_initialised = false;
  bool m_createPdf = false;
  std::atomic<int> m_exitAction{kExitNone};
  int m_endCode = kEndCancel;

  // the recording's size
  uint32_t m_bufferFrames = kTenSecondFrames;
  bool m_customSize = false;
  uint32_t m_requiredSize = 0;

  // indications (indicator lock)
  std::array<uint32_t, 12> m_status{};
  std::array<uint32_t, 12> m_statusShown{};
  bool m_indicationsChanged = false;
  uint32_t m_limbCounter = 0;
  uint32_t m_chestCounter = 0;
  uint32_t m_receivedCounter = 0;
  double m_heartRate = 0.0;
  QString m_pendingPrompt;  // a continue/stop question raised on the cable thread

  // heart rate detection (cable thread)
  CQRSDetect m_detector;
  double m_detectorPhase = 0.0;
  static constexpr double kDetectorStep = 250.0;

  // files and texts
  int m_language = 0;
  std::string m_outputFile;
  std::string m_numberedFile;
  std::string m_demoOutputFile;
  std::string m_languagePath;
  std::string m_patientName;
  QString m_title;
  ecg::platform::SystemTime m_endTime{};
};
