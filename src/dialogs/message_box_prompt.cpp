#include "dialogs/message_box_prompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace ecg::dialogs {

using ecg::platform::PromptButtons;
using ecg::platform::PromptIcon;

namespace {

QMessageBox::StandardButtons ButtonsOf(PromptButtons buttons) {
  switch (buttons) {
    case PromptButtons::kOk: return QMessageBox::Ok;
    case PromptButtons::kOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::kRetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case PromptButtons::kYesNo: return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::kYesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(PromptIcon icon) {
  switch (icon) {
    case PromptIcon::kInformation: return QMessageBox::Information;
    case PromptIcon::kWarning: return QMessageBox::Warning;
    case PromptIcon::kError: return QMessageBox::Critical;
    case PromptIcon::kQuestion: return QMessageBox::Question;
    case PromptIcon::kNone: break;
  }
  return QMessageBox::NoIcon;
}

int AnswerOf(int button, PromptButtons buttons) {
  switch (button) {
    case QMessageBox::Ok: return ecg::platform::kAnswerOk;
    case QMessageBox::Cancel: return ecg::platform::kAnswerCancel;
    case QMessageBox::Retry: return ecg::platform::kAnswerRetry;
    case QMessageBox::Yes: return ecg::platform::kAnswerYes;
    case QMessageBox::No: return ecg::platform::kAnswerNo;
    default: return ecg::platform::DefaultAnswer(buttons);  // closed by the window frame
  }
}

}  // namespace

int MessageBoxPrompt::Show(std::string_view text, std::string_view caption, PromptButtons buttons,
                           PromptIcon icon) {
  QWidget* parent = QApplication::activeWindow() != nullptr ? QApplication::activeWindow() : m_parent;
  QMessageBox box(IconOf(icon),
                  QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                  ButtonsOf(buttons), parent);
  return AnswerOf(box.exec(), buttons);
}

}  // namespace ecg::dialogs
