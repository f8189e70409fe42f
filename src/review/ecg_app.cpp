#include "review/ecg_app.h"

#include <QEventLoop>

#include "platform/last_error.h"
#include "platform/prompt.h"
#include "review/child_frame.h"
#include "review/main_frame.h"
#include "review/oskscp_doc.h"
#include "review/oskscp_view.h"

using ecg::platform::PromptButtons;
using ecg::platform::PromptIcon;

CECGApp::CECGApp(QObject* parent) : QObject(parent) {
  if (const CECGDefaultSettings* active = ecg::interface::ApplicationOptions()) m_options = *active;
}

CECGApp::~CECGApp() { delete m_pMainFrame; }

void CECGApp::SetOptions(const CECGDefaultSettings& options) { m_options = options; }

bool CECGApp::InitInstance() {
  if (m_pMainFrame == nullptr) {
    m_pMainFrame = new CMainFrame;
    connect(m_pMainFrame, &CMainFrame::frameClosed, this, &CECGApp::OnFrameClosed);
  }
  m_pMainFrame->setWindowTitle(tr("Review ECG"));
  m_pMainFrame->showMaximized();
  m_frameOpen = true;
  return true;
}

QString CECGApp::ReasonOfReadError(uint32_t code) {
  switch (code) {
    case ecg::platform::kErrorFileNotFound:
    case ecg::platform::kErrorPathNotFound: return tr("The file does not exist.");
    case ecg::platform::kErrorAccessDenied: return tr("Access to the file was denied.");
    case ecg::platform::kErrorBadFormat: return tr("The file is not an SCP-ECG record.");
    case ecg::platform::kErrorInvalidData: return tr("The file is not a readable SCP-ECG record, or the record is damaged.");
    case ecg::platform::kErrorOutOfMemory:
    case ecg::platform::kErrorOutOfStructures: return tr("The record is larger than this program accepts.");
    case ecg::platform::kErrorNoData: return tr("The record holds no ECG samples.");
    default: return {};
  }
}

COskScpView* CECGApp::OpenDocument(const std::string& file, const ReviewStartParameters& params,
                                   IReviewHost* host) {
  if (!InitInstance()) return nullptr;
  auto* doc = new COskScpDoc;
  if (!doc->OnOpenDocument(file)) {
    const uint32_t code = ecg::platform::GetLastError();
    delete doc;
    QString text = tr("The record %1 cannot be read (error %2).").arg(QString::fromStdString(file)).arg(code);
    const QString reason = ReasonOfReadError(code);
    if (!reason.isEmpty()) text += QLatin1Char(' ') + reason;
    ecg::platform::ShowMessage(
        text.toStdString(),
        tr("Error").toStdString(), PromptButtons::kOk, PromptIcon::kError);
    return nullptr;
  }
  auto* view = new COskScpView(doc, m_options);
  view->ApplyStartParameters(params, host);
  auto* child = new CChildFrame(doc, view);
  m_pMainFrame->AddChild(child);
  if (params.remove_help_menu) m_pMainFrame->RemoveHelpMenu();
  return view;
}

int CECGApp::ReviewWindowCount() const { return m_pMainFrame != nullptr ? m_pMainFrame->ChildCount() : 0; }

bool CECGApp::IsFrameOpen() const { return m_frameOpen; }

void CECGApp::WaitForClose() {
  if (!m_frameOpen) return;
  QEventLoop loop;
  connect(this, &CECGApp::FrameClosed, &loop, &QEventLoop::quit);
  loop.exec();
}

void CECGApp::OnFrameClosed() {
  m_frameOpen = false;
  emit FrameClosed();
}
