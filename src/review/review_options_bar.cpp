#include "review/review_options_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <algorithm>

namespace {

constexpr int kGridStyles[] = {0, 2, 5};  // solid, dotted, none

}  // namespace

CReviewOptionsBar::CReviewOptionsBar(QWidget* parent) : QWidget(parent) {
  // One row: the bar docks above the records without taking their height.
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(6, 2, 6, 2);
  m_colors = new QComboBox;
  m_colors->setObjectName(QStringLiteral("reviewColors"));
  m_colors->addItems({tr("Black on Red"), tr("Green on Black"), tr("Blue on Grey")});
  m_grid = new QComboBox;
  m_grid->setObjectName(QStringLiteral("reviewGrid"));
  m_grid->addItems({tr("Solid Lines"), tr("Dotted Lines"), tr("No Grid")});
  m_details = new QCheckBox(tr("Show Details"));
  m_details->setObjectName(QStringLiteral("reviewDetails"));
  row->addWidget(new QLabel(tr("Colors:")));
  row->addWidget(m_colors);
  row->addSpacing(12);
  row->addWidget(new QLabel(tr("Grid:")));
  row->addWidget(m_grid);
  row->addSpacing(12);
  row->addWidget(m_details);
  row->addStretch(1);

  connect(m_colors, &QComboBox::currentIndexChanged, this, &CReviewOptionsBar::EmitColors);
  connect(m_grid, &QComboBox::currentIndexChanged, this, &CReviewOptionsBar::EmitColors);
  connect(m_details, &QCheckBox::clicked, this, [this] {
    if (!m_updating) emit detailsToggled();
  });
  UpdateFrom(false, 0, 0, false);
}

int CReviewOptionsBar::GridStyleOfEntry(int entry) { return kGridStyles[std::clamp(entry, 0, 2)]; }

int CReviewOptionsBar::EntryOfGridStyle(int grid_style) {
  if (grid_style == 5) return 2;
  return grid_style == 2 ? 1 : 0;
}

void CReviewOptionsBar::EmitColors() {
  if (m_updating) return;
  emit colorsChosen(m_colors->currentIndex(), GridStyleOfEntry(m_grid->currentIndex()));
}

void CReviewOptionsBar::UpdateFrom(bool has_view, int color_scheme, int grid_style, bool details_shown) {
  m_updating = true;
  setEnabled(has_view);
  m_colors->setCurrentIndex(std::clamp(color_scheme, 0, 2));
  m_grid->setCurrentIndex(EntryOfGridStyle(grid_style));
  m_details->setChecked(details_shown);
  m_updating = false;
}
