#pragma once
// CLeadOrderDialog: "Edit Lead Order". The twelve lead labels in display
// order; the selected lead moves one place with "UP" / "DOWN" (a beep when it
// is already at that end) or anywhere by dragging. "Restore Defaults" puts
// back I, II, III, aVR, aVL, aVF, V1..V6. The order is the options' LeadOrder:
// a permutation of the display indices 0..11.
//
// It runs as a dialog of its own (the review window's menu) or as a page of
// the settings sheet, where the sheet's buttons replace its OK and Cancel.

#include <QDialog>

#include "interface/ecg_default_settings.h"

class QKeyEvent;
class QListWidget;
class QPushButton;

class CLeadOrderDialog : public QDialog {
  Q_OBJECT

 public:
  using LeadList = CECGDefaultSettings::LeadList;

  explicit CLeadOrderDialog(QWidget* parent = nullptr);

  // An order that is not a permutation of 0..11 (a damaged options file)
  // shows the default order.
  void SetLeadOrder(const LeadList& order);
  LeadList LeadOrder() const;
  static LeadList DefaultLeadOrder();
  static bool IsPermutation(const LeadList& order);

  // As a page: no buttons of its own, no window frame.
  void SetEmbedded(bool embedded);

  QListWidget* LeadsList() const { return m_list; }
  QPushButton* UpButton() const { return m_up; }
  QPushButton* DownButton() const { return m_down; }
  QPushButton* RestoreDefaultsButton() const { return m_restore; }
  QPushButton* OkButton() const { return m_ok; }
  QPushButton* CancelButton() const { return m_cancel; }

 public slots:
  void MoveUp();
  void MoveDown();
  void RestoreDefaults();

 protected:
  // As a page, keys it does not use (Escape, Enter) go on to the sheet.
  void keyPressEvent(QKeyEvent* event) override;

 signals:
  // The selected lead could not move (none selected, or already at the end);
  // the dialog has beeped.
  void cannotMove();

 private:
  void Move(int step);

  bool m_embedded = false;
  QListWidget* m_list = nullptr;
  QPushButton* m_up = nullptr;
  QPushButton* m_down = nullptr;
  QPushButton* m_restore = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_cancel = nullptr;
};
