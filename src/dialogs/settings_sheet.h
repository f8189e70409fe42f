#pragma once
// The modal "Tidemark Settings" sheet over the active options: five pages
// (General, Analysis, Acquisition Settings, Review Window, Edit Lead Order)
// filled from the options; OK writes the pages back, Cancel changes nothing.

#include <QDialog>

#include "interface/ecg_default_settings.h"

class CAnalysisSettingsPage;
class CECGAcquisitionSettingsPage;
class CECGGeneralSettingsPage;
class CECGPrint;
class CLeadOrderDialog;
class CReviewWindowOptions;
class QPushButton;
class QTabWidget;

class CSettingsSheet : public QDialog {
  Q_OBJECT

 public:
  CSettingsSheet(const CECGDefaultSettings& options, bool remove_units, QWidget* parent = nullptr);

  // Every page's values into `options`.
  void StoreAll(CECGDefaultSettings& options) const;
  // Only what is kept when there is no report engine: the General page
  // without speed and sensitivity, the Analysis page, the acquisition
  // colours, grid, sounds and filter switches, the Review Window page. The
  // lead lists, speed, sensitivity, 50/60 Hz, PDF and lead group stay.
  void StoreWithoutEngine(CECGDefaultSettings& options) const;

  QTabWidget* Tabs() const { return m_tabs; }
  CECGGeneralSettingsPage* GeneralPage() const { return m_general; }
  CAnalysisSettingsPage* AnalysisPage() const { return m_analysis; }
  CECGAcquisitionSettingsPage* AcquisitionPage() const { return m_acquisition; }
  CReviewWindowOptions* ReviewPage() const { return m_review; }
  CLeadOrderDialog* LeadOrderPage() const { return m_leadOrder; }
  QPushButton* OkButton() const { return m_ok; }
  QPushButton* CancelButton() const { return m_cancel; }

 private:
  QTabWidget* m_tabs = nullptr;
  CECGGeneralSettingsPage* m_general = nullptr;
  CAnalysisSettingsPage* m_analysis = nullptr;
  CECGAcquisitionSettingsPage* m_acquisition = nullptr;
  CReviewWindowOptions* m_review = nullptr;
  CLeadOrderDialog* m_leadOrder = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_cancel = nullptr;
};

// The facade's Options: runs the sheet over `active`. On OK the pages are
// written back, the amplitude units and measurement system are passed to the
// report engine, and the result is 1. Cancel leaves `active` and returns 0.
// Without a report engine, OK keeps only what StoreWithoutEngine keeps and
// the result is 0.
int RunSettingsSheet(CECGDefaultSettings& active, bool remove_units, CECGPrint* engine,
                     QWidget* parent = nullptr);
