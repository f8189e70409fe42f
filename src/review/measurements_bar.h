#pragma once
// CMeasurementsBar: the review frame's measurements panel "Measurements":
// the nine global values of the active record and its "Filter:" line.

#include <QString>
#include <QWidget>

class QLabel;

class CMeasurementsBar : public QWidget {
  Q_OBJECT

 public:
  explicit CMeasurementsBar(QWidget* parent = nullptr);
  void SetValues(const QString (&values)[9], const QString& filter);
  void Clear();
  QString Value(int index) const;
  QString Filter() const;

 private:
  QLabel* m_values[9] = {};
  QLabel* m_filter = nullptr;
};
