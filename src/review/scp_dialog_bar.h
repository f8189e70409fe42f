#pragma once
// CSCPDialogBar: the control panel "Controls" of the review frame: the
// view buttons, the twelve rhythm lead buttons, sensitivity and speed, and
// the note that the screen is not to scale. Its buttons send the same
// commands as the matching menu items.

#include <QWidget>
#include <map>

#include "review/review_commands.h"

class QAbstractButton;
class QButtonGroup;

class CSCPDialogBar : public QWidget {
  Q_OBJECT

 public:
  explicit CSCPDialogBar(QWidget* parent = nullptr);

  // Checks the buttons that match the active view (`state` per command).
  void UpdateFrom(const std::map<ReviewCommand, CommandState>& states, int rhythm_position);
  QAbstractButton* Button(ReviewCommand command) const;
  QAbstractButton* RhythmButton(int position) const;

 signals:
  void command(ReviewCommand command);
  void rhythmLead(int position);

 private:
  std::map<ReviewCommand, QAbstractButton*> m_buttons;
  QButtonGroup* m_rhythm = nullptr;
};
