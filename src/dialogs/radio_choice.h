#pragma once
// A titled group of radio buttons, each standing for one option code
// ("Black on Red" = 0 ...). A code that no button stands for leaves every
// button unchecked, and then the group reports no code, so a value it cannot
// show is kept rather than replaced.

#include <QGroupBox>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace ecg::dialogs {

class RadioChoice : public QGroupBox {
  Q_OBJECT

 public:
  RadioChoice(const QString& title, const std::vector<std::pair<QString, int>>& choices,
              QWidget* parent = nullptr);

  void SetCode(int code);
  std::optional<int> Code() const;
  // The button of a code; null when there is none.
  QRadioButton* Button(int code) const;
  // Stores the chosen code into `field`; leaves it when nothing is chosen.
  template <typename T>
  void StoreInto(T& field) const {
    if (auto code = Code()) field = static_cast<T>(*code);
  }

 private:
  QButtonGroup* m_group = nullptr;
};

// Grid styles as the pages show them: "No Grid" 5, "Dotted Lines" 2,
// "Solid Lines" 0; a stored style other than 0 or 2 shows as "No Grid".
RadioChoice* MakeGridChoice(const QString& title, QWidget* parent = nullptr);
int GridStyleShown(int stored);
// Colours: "Black on Red" 0, "Green on Black" 1, "Blue on Grey" 2.
RadioChoice* MakeColorChoice(const QString& title, QWidget* parent = nullptr);

}  // namespace ecg::dialogs
