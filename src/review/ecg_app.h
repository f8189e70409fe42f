#pragma once
// CECGApp: the review window's application object. It creates the main
// frame once, opens one document (child frame + view) per record, counts the
// open review windows and tells a waiting caller when the frame has closed.
// The component's facade owns one.

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

#include "interface/ecg_default_settings.h"
#include "review/review_host.h"

class CMainFrame;
class COskScpView;

class CECGApp : public QObject {
  Q_OBJECT

 public:
  explicit CECGApp(QObject* parent = nullptr);
  ~CECGApp() override;

  // The options the windows use (copied; the defaults until set).
  void SetOptions(const CECGDefaultSettings& options);
  const CECGDefaultSettings& Options() const { return m_options; }

  // Creates the main frame when there is none and shows it maximized with
  // the title "Review ECG". False after "No m_pMainFrame or LoadFrame Failed"
  // was shown.
  bool InitInstance();

  // Opens `file` as one more document in the frame and applies `params` to
  // its view; `host` (not owned, may be null) serves printing, analysis and
  // export. Null when the record cannot be read (the reason was shown).
  COskScpView* OpenDocument(const std::string& file, const ReviewStartParameters& params,
                            IReviewHost* host);
  // The sentence after "cannot be read" that says why, for a last-error
  // code of the record reader; empty for codes without one.
  static QString ReasonOfReadError(uint32_t code);

  // Documents open in the frame.
  int ReviewWindowCount() const;

  // Runs the event loop until the frame has closed (returns at once when no
  // frame is open).
  void WaitForClose();
  bool IsFrameOpen() const;

  CMainFrame* MainFrame() const { return m_pMainFrame; }

 signals:
  // The frame closed: a waiting Review returns.
  void FrameClosed();

 private:
  void OnFrameClosed();

  CECGDefaultSettings m_options;
  CMainFrame* m_pMainFrame = nullptr;  // owned; lives as long as this object
  bool m_frameOpen = false;
};
