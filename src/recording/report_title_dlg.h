#pragma once
// CReportTitleDlg ("Report Title"): before the strip is printed, shows the
// recording window's title and asks for additional text (at most 40
// characters). The printed title is "%s: %s" of the two, or the window
// title alone when no text was entered.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

class CReportTitleDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxAdditionalText = 40;

  explicit CReportTitleDlg(const QString& window_title, QWidget* parent = nullptr);

  QString AdditionalText() const;
  QString PrintedTitle() const { return PrintedTitle(m_windowTitle, AdditionalText()); }
  static QString PrintedTitle(const QString& title, const QString& additional);

  QLineEdit* TextEdit() const { return m_text; }
  QPushButton* OkButton() const { return m_ok; }

 private:
  QString m_windowTitle;
  QLineEdit* m_text = nullptr;
  QPushButton* m_ok = nullptr;
};
