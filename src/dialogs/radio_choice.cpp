#include "dialogs/radio_choice.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ecg::dialogs {

RadioChoice::RadioChoice(const QString& title, const std::vector<std::pair<QString, int>>& choices,
                         QWidget* parent)
    : QGroupBox(title, parent), m_group(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(this);
  for (const auto& [text, code] : choices) {
    auto* button = new QRadioButton(text);
    m_group->addButton(button, code);
    layout->addWidget(button);
  }
}

void RadioChoice::SetCode(int code) {
  if (QAbstractButton* button = m_group->button(code)) {
    button->setChecked(true);
    return;
  }
  // An exclusive group cannot uncheck its last button: lift it for a moment.
  m_group->setExclusive(false);
  for (QAbstractButton* button : m_group->buttons()) button->setChecked(false);
  m_group->setExclusive(true);
}

std::optional<int> RadioChoice::Code() const {
  const int id = m_group->checkedId();
  if (m_group->checkedButton() == nullptr) return std::nullopt;
  return id;
}

QRadioButton* RadioChoice::Button(int code) const {
  return qobject_cast<QRadioButton*>(m_group->button(code));
}

RadioChoice* MakeGridChoice(const QString& title, QWidget* parent) {
  return new RadioChoice(title,
                         {{RadioChoice::tr("No Grid"), 5},
                          {RadioChoice::tr("Dotted Lines"), 2},
                          {RadioChoice::tr("Solid Lines"), 0}},
                         parent);
}

int GridStyleShown(int stored) { return stored == 0 || stored == 2 ? stored : 5; }

RadioChoice* MakeColorChoice(const QString& title, QWidget* parent) {
  return new RadioChoice(title,
                         {{RadioChoice::tr("Black on Red"), 0},
                          {RadioChoice::tr("Green on Black"), 1},
                          {RadioChoice::tr("Blue on Grey"), 2}},
                         parent);
}

}  // namespace ecg::dialogs
