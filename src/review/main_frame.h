#pragma once
// CMainFrame: the review window "Review ECG": menus, toolbar, status bar,
// the control panel "Controls", the measurements panel "Measurements", the
// "Review Options" bar and the MDI area with one child frame per open record. Menu commands go to
// the active view; the frame keeps the bars, the window arrangement and
// closing. When it closes it closes every document first and then tells
// the application object.

#include <QMainWindow>
#include <map>

#include "review/review_commands.h"

class CChildFrame;
class CMeasurementsBar;
class CReviewOptionsBar;
class COskScpView;
class CSCPDialogBar;
class QAction;
class QDockWidget;
class QMdiArea;
class QMenu;
class QToolBar;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(QWidget* parent = nullptr);
  ~CMainFrame() override;

  void AddChild(CChildFrame* child);
  COskScpView* ActiveView() const;
  int ChildCount() const;
  QMdiArea* MdiArea() const { return m_mdi; }

  // The menu item, toolbar button or control of a command.
  QAction* Action(ReviewCommand command) const;
  CSCPDialogBar* ControlPanel() const { return m_controls; }
  CMeasurementsBar* MeasurementsPanel() const { return m_measurements; }
  QDockWidget* ControlDock() const { return m_controlDock; }
  QDockWidget* MeasurementsDock() const { return m_measurementsDock; }
  CReviewOptionsBar* OptionsPanel() const { return m_options; }
  QDockWidget* OptionsDock() const { return m_optionsDock; }
  QToolBar* ToolBar() const { return m_toolbar; }

  // Deletes the last menu (Help) and redraws the menu bar.
  void RemoveHelpMenu();

  // Runs a command as its menu item would.
  void OnCommand(ReviewCommand command);
  // Updates the panels and the menu states from the active view.
  void UpdateFromView();

 signals:
  void frameClosed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateMenus();
  QAction* AddAction(QMenu* menu, const QString& text, ReviewCommand command);

  QMdiArea* m_mdi = nullptr;
  QToolBar* m_toolbar = nullptr;
  CSCPDialogBar* m_controls = nullptr;
  CMeasurementsBar* m_measurements = nullptr;
  QDockWidget* m_controlDock = nullptr;
  QDockWidget* m_measurementsDock = nullptr;
  CReviewOptionsBar* m_options = nullptr;
  QDockWidget* m_optionsDock = nullptr;
  QMenu* m_helpMenu = nullptr;
  std::map<ReviewCommand, QAction*> m_actions;
};
