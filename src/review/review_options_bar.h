#pragma once
// CReviewOptionsBar: the "Review Options" bar of the review frame: the
// colours of the traces and the paper ("Black on Red", "Green on Black",
// "Blue on Grey"), the grid ("Solid Lines", "Dotted Lines", "No Grid") and
// "Show Details". Changes apply at once to the active view.

#include <QWidget>

class QCheckBox;
class QComboBox;

class CReviewOptionsBar : public QWidget {
  Q_OBJECT

 public:
  explicit CReviewOptionsBar(QWidget* parent = nullptr);

  // Shows the settings of the active view; no view disables the bar.
  void UpdateFrom(bool has_view, int color_scheme, int grid_style, bool details_shown);

  QComboBox* ColorsBox() const { return m_colors; }
  QComboBox* GridBox() const { return m_grid; }
  QCheckBox* DetailsBox() const { return m_details; }

  // Grid style codes of the options record (0 solid, 2 dotted, 5 none)
  // and the box entry of each.
  static int GridStyleOfEntry(int entry);
  static int EntryOfGridStyle(int grid_style);

 signals:
  void colorsChosen(int color_scheme, int grid_style);
  void detailsToggled();

 private:
  void EmitColors();

  QComboBox* m_colors = nullptr;
  QComboBox* m_grid = nullptr;
  QCheckBox* m_details = nullptr;
  bool m_updating = false;
};
