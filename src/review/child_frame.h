#pragma once
// CChildFrame: the MDI window of one document. It owns the document and its
// view, shows the record's title (with " *" while edits are unsaved) and
// asks whether to save a modified document before it closes.

#include <QMdiSubWindow>

class COskScpDoc;
class COskScpView;

class CChildFrame : public QMdiSubWindow {
  Q_OBJECT

 public:
  // Takes ownership of `doc`; the view is created over it.
  CChildFrame(COskScpDoc* doc, COskScpView* view, QWidget* parent = nullptr);
  ~CChildFrame() override;

  COskScpView* View() const { return m_view; }
  COskScpDoc* Document() const { return m_doc; }
  void UpdateTitle();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  COskScpDoc* m_doc;
  COskScpView* m_view;
};
