#include "review/measurements_bar.h"

#include <QFormLayout>
#include <QLabel>

#include "review/review_panes.h"

CMeasurementsBar::CMeasurementsBar(QWidget* parent) : QWidget(parent) {
  auto* form = new QFormLayout(this);
  for (int i = 0; i < ecg::review::MeasurementPanel::kCount; ++i) {
    m_values[i] = new QLabel;
    form->addRow(tr(ecg::review::MeasurementPanel::kLabels[i]), m_values[i]);
  }
  m_filter = new QLabel;
  form->addRow(tr("Filter:"), m_filter);
}

void CMeasurementsBar::SetValues(const QString (&values)[9], const QString& filter) {
  for (int i = 0; i < 9; ++i) m_values[i]->setText(values[i]);
  m_filter->setText(filter);
}

void CMeasurementsBar::Clear() {
  for (QLabel* label : m_values) label->clear();
  m_filter->clear();
}

QString CMeasurementsBar::Value(int index) const {
  return index >= 0 && index < 9 ? m_values[index]->text() : QString();
}

QString CMeasurementsBar::Filter() const { return m_filter->text(); }
