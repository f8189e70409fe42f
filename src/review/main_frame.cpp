#include "review/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "review/child_frame.h"
#include "review/measurements_bar.h"
#include "review/oskscp_view.h"
#include "review/review_options_bar.h"
#include "review/scp_dialog_bar.h"
#include "review/trace_view.h"

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(tr("Review ECG"));
  m_mdi = new QMdiArea;
  m_mdi->setViewMode(QMdiArea::SubWindowView);
  setCentralWidget(m_mdi);

  m_toolbar = addToolBar(tr("Toolbar"));
  m_toolbar->setObjectName(QStringLiteral("toolbar"));

  m_controls = new CSCPDialogBar;
  m_controlDock = new QDockWidget(tr("Controls"), this);
  m_controlDock->setObjectName(QStringLiteral("controls"));
  m_controlDock->setWidget(m_controls);
  addDockWidget(Qt::LeftDockWidgetArea, m_controlDock);

  m_measurements = new CMeasurementsBar;
  m_measurementsDock = new QDockWidget(tr("Measurements"), this);
  m_measurementsDock->setObjectName(QStringLiteral("measurements"));
  m_measurementsDock->setWidget(m_measurements);
  addDockWidget(Qt::LeftDockWidgetArea, m_measurementsDock);

  m_options = new CReviewOptionsBar;
  m_optionsDock = new QDockWidget(tr("Review Options"), this);
  m_optionsDock->setObjectName(QStringLiteral("reviewOptions"));
  m_optionsDock->setWidget(m_options);
  addDockWidget(Qt::TopDockWidgetArea, m_optionsDock);

  CreateMenus();
  for (ReviewCommand c : {ReviewCommand::kFileSave, ReviewCommand::kPrint, ReviewCommand::kPrintPreview,
                          ReviewCommand::kView12Lead, ReviewCommand::kViewStrips, ReviewCommand::kViewZoom,
                          ReviewCommand::kZoomIn, ReviewCommand::kZoomOut, ReviewCommand::kPreviousLead,
                          ReviewCommand::kNextLead}) {
    m_toolbar->addAction(Action(c));
  }
  statusBar()->showMessage(tr("Ready"));

  connect(m_controls, &CSCPDialogBar::command, this, &CMainFrame::OnCommand);
  connect(m_controls, &CSCPDialogBar::rhythmLead, this, [this](int position) {
    if (COskScpView* view = ActiveView()) view->SetRhythmLead(position);
  });
  connect(m_options, &CReviewOptionsBar::colorsChosen, this, [this](int scheme, int grid) {
    if (COskScpView* view = ActiveView()) view->SetReviewColors(scheme, grid);
  });
  connect(m_options, &CReviewOptionsBar::detailsToggled, this,
          [this] { OnCommand(ReviewCommand::kViewDetails); });
  connect(m_mdi, &QMdiArea::subWindowActivated, this, &CMainFrame::UpdateFromView);
  for (QDockWidget* dock : {m_controlDock, m_measurementsDock, m_optionsDock}) {
    connect(dock, &QDockWidget::visibilityChanged, this, &CMainFrame::UpdateFromView);
  }
  UpdateFromView();
}

CMainFrame::~CMainFrame() {
  // The widgets below go before this object does; their last signals must
  // not reach a half-destroyed frame.
  for (QObject* sender : std::initializer_list<QObject*>{m_mdi, m_controlDock, m_measurementsDock, m_optionsDock,
                                                                  m_controls, m_options}) {
    sender->disconnect(this);
  }
  for (QMdiSubWindow* window : m_mdi->subWindowList()) {
    window->disconnect(this);
    if (auto* child = qobject_cast<CChildFrame*>(window)) {
      for (QObject* sender : std::initializer_list<QObject*>{child->View(), child->View()->Traces(),
                                                             child->View()->RhythmStrip()}) {
        sender->disconnect(this);
      }
    }
  }
}

QAction* CMainFrame::AddAction(QMenu* menu, const QString& text, ReviewCommand command) {
  QAction* action = menu->addAction(text);
  m_actions[command] = action;
  connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
  return action;
}

void CMainFrame::CreateMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  AddAction(file, tr("&Save"), ReviewCommand::kFileSave)->setShortcut(QKeySequence::Save);
  file->addSeparator();
  AddAction(file, tr("Prin&ter Setup ..."), ReviewCommand::kPrinterSetup);
  AddAction(file, tr("&Print ..."), ReviewCommand::kPrint)->setShortcut(QKeySequence::Print);
  AddAction(file, tr("Print P&review ..."), ReviewCommand::kPrintPreview);
  AddAction(file, tr("Print to &File..."), ReviewCommand::kPrintToFile);
  AddAction(file, tr("Export to &XML..."), ReviewCommand::kExportXml);
  file->addSeparator();
  AddAction(file, tr("&Close"), ReviewCommand::kFileClose);
  AddAction(file, tr("E&xit"), ReviewCommand::kExit);

  QMenu* view = menuBar()->addMenu(tr("&View"));
  AddAction(view, tr("&12 Lead"), ReviewCommand::kView12Lead);
  AddAction(view, tr("&Strips"), ReviewCommand::kViewStrips);
  AddAction(view, tr("&Zoom"), ReviewCommand::kViewZoom);
  AddAction(view, tr("&Details"), ReviewCommand::kViewDetails);
  QMenu* rhythm = view->addMenu(tr("&Rhythm Lead Position"));
  AddAction(rhythm, tr("&Top"), ReviewCommand::kRhythmTop);
  AddAction(rhythm, tr("&Bottom"), ReviewCommand::kRhythmBottom);
  view->addSeparator();
  AddAction(view, tr("Zoom &In"), ReviewCommand::kZoomIn)->setShortcut(QKeySequence::ZoomIn);
  AddAction(view, tr("Zoom &Out"), ReviewCommand::kZoomOut)->setShortcut(QKeySequence::ZoomOut);
  AddAction(view, tr("&Next Lead"), ReviewCommand::kNextLead);
  AddAction(view, tr("&Previous Lead"), ReviewCommand::kPreviousLead);
  view->addSeparator();
  AddAction(view, tr("Show &Measurements"), ReviewCommand::kShowMeasurements);
  AddAction(view, tr("Show &Grid"), ReviewCommand::kShowGrid);
  AddAction(view, tr("Show &Averaged Complexes"), ReviewCommand::kShowAveraged);
  view->addSeparator();
  AddAction(view, tr("Show &Toolbar"), ReviewCommand::kShowToolbar);
  AddAction(view, tr("Show M&easurements Panel"), ReviewCommand::kShowMeasurementsPanel);
  AddAction(view, tr("Show &Control Panel"), ReviewCommand::kShowControlPanel);
  AddAction(view, tr("Show Review &Options"), ReviewCommand::kShowReviewOptions);

  QMenu* options = menuBar()->addMenu(tr("ECG Options"));
  QMenu* cursor = options->addMenu(tr("&Cursor"));
  AddAction(cursor, tr("&Zoom"), ReviewCommand::kCursorZoom);
  AddAction(cursor, tr("&Measure"), ReviewCommand::kCursorMeasure);
  QMenu* units = options->addMenu(tr("&Measurement Units"));
  AddAction(units, tr("&Millimeters"), ReviewCommand::kUnitsMillimetres);
  AddAction(units, tr("Micro&volts"), ReviewCommand::kUnitsMicrovolts);
  QMenu* filter = options->addMenu(tr("&Filter"));
  AddAction(filter, tr("&Muscle"), ReviewCommand::kFilterMuscle);
  QMenu* power = filter->addMenu(tr("&Power"));
  AddAction(power, tr("50 Hz"), ReviewCommand::kPower50);
  AddAction(power, tr("60 Hz"), ReviewCommand::kPower60);
  QMenu* speed = options->addMenu(tr("&Speed"));
  AddAction(speed, tr("12.5 mm/s"), ReviewCommand::kSpeed12_5);
  AddAction(speed, tr("25 mm/s"), ReviewCommand::kSpeed25);
  AddAction(speed, tr("50 mm/s"), ReviewCommand::kSpeed50);
  QMenu* sensitivity = options->addMenu(tr("S&ensitivity"));
  AddAction(sensitivity, tr("5 mm/mV"), ReviewCommand::kSensitivity5);
  AddAction(sensitivity, tr("10 mm/mV"), ReviewCommand::kSensitivity10);
  AddAction(sensitivity, tr("20 mm/mV"), ReviewCommand::kSensitivity20);
  options->addSeparator();
  AddAction(options, tr("Edit &Lead Order"), ReviewCommand::kEditLeadOrder);
  AddAction(options, tr("&Remove Analysis"), ReviewCommand::kRemoveAnalysis);
  AddAction(options, tr("Update Patient Demographics and Re-Analyze"), ReviewCommand::kReanalyse);

  QMenu* window = menuBar()->addMenu(tr("&Window"));
  AddAction(window, tr("&Cascade"), ReviewCommand::kCascade);
  AddAction(window, tr("&Tile"), ReviewCommand::kTile);

  m_helpMenu = menuBar()->addMenu(tr("&Help"));
  AddAction(m_helpMenu, tr("&About"), ReviewCommand::kAbout);
  AddAction(m_helpMenu, tr("User's &Manual"), ReviewCommand::kUserManual);
  AddAction(m_helpMenu, tr("P&hysician's Guide"), ReviewCommand::kPhysiciansGuide);

  for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateFromView);
  }
}

QAction* CMainFrame::Action(ReviewCommand command) const {
  const auto it = m_actions.find(command);
  return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::RemoveHelpMenu() {
  if (m_helpMenu == nullptr) return;  // already removed
  const QList<QAction*> menus = menuBar()->actions();
  if (menus.isEmpty() || menus.back() != m_helpMenu->menuAction()) return;
  menuBar()->removeAction(menus.back());
  m_helpMenu = nullptr;
  menuBar()->update();
}

void CMainFrame::AddChild(CChildFrame* child) {
  m_mdi->addSubWindow(child);
  connect(child->View(), &COskScpView::stateChanged, this, &CMainFrame::UpdateFromView);
  connect(child->View()->Traces(), &CTraceView::caliperChanged, this,
          [this](const QString& text) { statusBar()->showMessage(text); });
  connect(child->View()->RhythmStrip(), &CTraceView::caliperChanged, this,
          [this](const QString& text) { statusBar()->showMessage(text); });
  connect(child, &QObject::destroyed, this, &CMainFrame::UpdateFromView, Qt::QueuedConnection);
  child->showMaximized();
  m_mdi->setActiveSubWindow(child);
  UpdateFromView();
}

COskScpView* CMainFrame::ActiveView() const {
  QMdiSubWindow* active = m_mdi->activeSubWindow();
  if (active == nullptr) {
    const auto list = m_mdi->subWindowList();
    for (QMdiSubWindow* w : list) {
      if (!w->isHidden()) active = w;
    }
  }
  auto* child = qobject_cast<CChildFrame*>(active);
  return child != nullptr && !child->isHidden() ? child->View() : nullptr;
}

int CMainFrame::ChildCount() const {
  int count = 0;
  for (QMdiSubWindow* w : m_mdi->subWindowList()) {
    if (!w->isHidden()) ++count;
  }
  return count;
}

void CMainFrame::OnCommand(ReviewCommand command) {
  switch (command) {
    case ReviewCommand::kExit: close(); return;
    case ReviewCommand::kFileClose:
      if (QMdiSubWindow* active = m_mdi->activeSubWindow()) active->close();
      break;
    case ReviewCommand::kShowToolbar: m_toolbar->setVisible(m_toolbar->isHidden()); break;
    case ReviewCommand::kShowMeasurementsPanel: m_measurementsDock->setVisible(m_measurementsDock->isHidden()); break;
    case ReviewCommand::kShowControlPanel: m_controlDock->setVisible(m_controlDock->isHidden()); break;
    case ReviewCommand::kShowReviewOptions: m_optionsDock->setVisible(m_optionsDock->isHidden()); break;
    case ReviewCommand::kCascade: m_mdi->cascadeSubWindows(); break;
    case ReviewCommand::kTile: m_mdi->tileSubWindows(); break;
    default:
      if (COskScpView* view = ActiveView()) view->Execute(command);
      break;
  }
  UpdateFromView();
}

void CMainFrame::UpdateFromView() {
  COskScpView* view = ActiveView();
  std::map<ReviewCommand, CommandState> states;
  for (auto& [command, action] : m_actions) {
    CommandState state;
    switch (command) {
      case ReviewCommand::kExit:
      case ReviewCommand::kCascade:
      case ReviewCommand::kTile: break;
      case ReviewCommand::kFileClose: state.enabled = view != nullptr; break;
      case ReviewCommand::kShowToolbar: state = {true, true, !m_toolbar->isHidden()}; break;
      case ReviewCommand::kShowMeasurementsPanel: state = {true, true, !m_measurementsDock->isHidden()}; break;
      case ReviewCommand::kShowControlPanel: state = {true, true, !m_controlDock->isHidden()}; break;
      case ReviewCommand::kShowReviewOptions: state = {true, true, !m_optionsDock->isHidden()}; break;
      default:
        if (view != nullptr) {
          state = view->State(command);
        } else {
          state.enabled = false;
        }
        break;
    }
    action->setEnabled(state.enabled);
    action->setCheckable(state.checkable);
    if (state.checkable) action->setChecked(state.checked);
    if (view != nullptr) states[command] = state;
  }
  if (view != nullptr) {
    const auto panel = view->PanelValues();
    m_measurements->SetValues(panel.values, view->FilterLine());
    static constexpr uint8_t kCodes[12] = {1, 2, 61, 62, 63, 64, 3, 4, 5, 6, 7, 8};
    int rhythm_position = -1;
    for (int i = 0; i < 12; ++i) {
      if (kCodes[i] == view->RhythmStrip()->SelectedLeadCode()) rhythm_position = i;
    }
    m_controls->UpdateFrom(states, rhythm_position);
    m_options->UpdateFrom(true, view->ColorScheme(), view->GridStyle(), view->State(ReviewCommand::kViewDetails).checked);
  } else {
    m_options->UpdateFrom(false, 0, 0, false);
    m_measurements->Clear();
    m_controls->UpdateFrom({}, -1);
  }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  for (QMdiSubWindow* w : m_mdi->subWindowList()) {
    if (!w->isHidden() && !w->close()) {
      event->ignore();
      return;
    }
  }
  event->accept();
  emit frameClosed();
}
