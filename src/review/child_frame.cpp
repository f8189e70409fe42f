#include "review/child_frame.h"

#include <QCloseEvent>
#include <QFileInfo>

#include "platform/prompt.h"
#include "review/oskscp_doc.h"
#include "review/oskscp_view.h"

using ecg::platform::PromptButtons;
using ecg::platform::PromptIcon;

CChildFrame::CChildFrame(COskScpDoc* doc, COskScpView* view, QWidget* parent)
    : QMdiSubWindow(parent), m_doc(doc), m_view(view) {
  m_doc->setParent(this);
  setWidget(m_view);
  setAttribute(Qt::WA_DeleteOnClose);
  connect(m_doc, &COskScpDoc::modifiedChanged, this, &CChildFrame::UpdateTitle);
  connect(m_doc, &COskScpDoc::reloaded, this, &CChildFrame::UpdateTitle);
  UpdateTitle();
}

CChildFrame::~CChildFrame() = default;

void CChildFrame::UpdateTitle() {
  setWindowTitle(m_view->Title() + (m_doc->IsModified() ? QStringLiteral(" *") : QString()));
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (m_doc->IsModified() && !m_view->IsReadOnly()) {
    const QString name = QFileInfo(QString::fromStdString(m_doc->GetPathName())).fileName();
    const int answer = ecg::platform::ShowMessage(tr("Save changes to %1?").arg(name).toStdString(),
                                                  tr("Review ECG").toStdString(), PromptButtons::kYesNoCancel,
                                                  PromptIcon::kQuestion);
    if (answer == ecg::platform::kAnswerCancel) {
      event->ignore();
      return;
    }
    if (answer == ecg::platform::kAnswerYes) m_view->SaveEdits();
  }
  event->accept();
}
