#include "review/scp_dialog_bar.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "interface/lead_tables.h"

CSCPDialogBar::CSCPDialogBar(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  const auto add_button = [this](QLayout* to, const QString& text, ReviewCommand cmd, bool radio) {
    QAbstractButton* button = radio ? static_cast<QAbstractButton*>(new QRadioButton(text))
                                    : static_cast<QAbstractButton*>(new QPushButton(text));
    button->setCheckable(true);
    to->addWidget(button);
    m_buttons[cmd] = button;
    connect(button, &QAbstractButton::clicked, this, [this, cmd] { emit command(cmd); });
  };
  auto* views = new QVBoxLayout;
  add_button(views, tr("12 Lead"), ReviewCommand::kView12Lead, false);
  add_button(views, tr("Strips"), ReviewCommand::kViewStrips, false);
  add_button(views, tr("Zoom"), ReviewCommand::kViewZoom, false);
  layout->addLayout(views);

  auto* rhythm_box = new QGroupBox(tr("Rhythm Lead"));
  auto* rhythm_grid = new QGridLayout(rhythm_box);
  m_rhythm = new QButtonGroup(this);
  for (int i = 0; i < CLeadTables::kLeadCount; ++i) {
    auto* button = new QPushButton(QString::fromLatin1(CLeadTables::m_leadLabels[static_cast<size_t>(i)]));
    button->setCheckable(true);
    button->setMinimumWidth(36);
    m_rhythm->addButton(button, i);
    rhythm_grid->addWidget(button, i % 6, i / 6);
  }
  connect(m_rhythm, &QButtonGroup::idClicked, this, [this](int id) { emit rhythmLead(id); });
  layout->addWidget(rhythm_box);

  auto* sensitivity = new QGroupBox(tr("Sensitivity"));
  auto* s_layout = new QVBoxLayout(sensitivity);
  add_button(s_layout, tr("5 mm/mV"), ReviewCommand::kSensitivity5, true);
  add_button(s_layout, tr("10 mm/mV"), ReviewCommand::kSensitivity10, true);
  add_button(s_layout, tr("20 mm/mV"), ReviewCommand::kSensitivity20, true);
  layout->addWidget(sensitivity);

  auto* speed = new QGroupBox(tr("Speed"));
  auto* v_layout = new QVBoxLayout(speed);
  add_button(v_layout, tr("12.5 mm/s"), ReviewCommand::kSpeed12_5, true);
  add_button(v_layout, tr("25 mm/s"), ReviewCommand::kSpeed25, true);
  add_button(v_layout, tr("50 mm/s"), ReviewCommand::kSpeed50, true);
  layout->addWidget(speed);

  layout->addWidget(new QLabel(tr("Not to scale")));
  layout->addStretch(1);
}

QAbstractButton* CSCPDialogBar::Button(ReviewCommand command) const {
  const auto it = m_buttons.find(command);
  return it == m_buttons.end() ? nullptr : it->second;
}

QAbstractButton* CSCPDialogBar::RhythmButton(int position) const { return m_rhythm->button(position); }

void CSCPDialogBar::UpdateFrom(const std::map<ReviewCommand, CommandState>& states, int rhythm_position) {
  for (auto& [cmd, button] : m_buttons) {
    const auto it = states.find(cmd);
    const bool known = it != states.end();
    button->setEnabled(known && it->second.enabled);
    button->setChecked(known && it->second.checked);
  }
  for (QAbstractButton* button : m_rhythm->buttons()) {
    button->setEnabled(!states.empty());
  }
  if (QAbstractButton* button = m_rhythm->button(rhythm_position)) button->setChecked(true);
}
