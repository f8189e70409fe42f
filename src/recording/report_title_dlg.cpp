#include "recording/report_title_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CReportTitleDlg::CReportTitleDlg(const QString& window_title, QWidget* parent)
    : QDialog(parent), m_windowTitle(window_title) {
  setWindowTitle(tr("Report Title"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(window_title, this));
  layout->addWidget(new QLabel(tr("Additional text:"), this));
  m_text = new QLineEdit(this);
  m_text->setMaxLength(kMaxAdditionalText);
  layout->addWidget(m_text);
  auto* buttons = new QDialogButtonBox(this);
  m_ok = buttons->addButton(tr("&OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  m_ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QString CReportTitleDlg::AdditionalText() const { return m_text->text().left(kMaxAdditionalText); }

QString CReportTitleDlg::PrintedTitle(const QString& title, const QString& additional) {
  if (additional.isEmpty()) return title;
  return QStringLiteral("%1: %2").arg(title, additional);
}
