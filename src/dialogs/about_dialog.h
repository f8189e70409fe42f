#pragma once
// CAboutDialog: "About Tidemark32". Shows the component module's own
// "FileVersion" and that of the analysis library libQORSYS32.so, which is
// located by the companion library search. A version that cannot be read
// leaves its field empty; the dialog opens all the same.

#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;

class CAboutDialog : public QDialog {
  Q_OBJECT

 public:
  // `component_module_path`: the module whose version is the software
  // version (the facade passes the path of libECG.so).
  explicit CAboutDialog(const std::string& component_module_path, QWidget* parent = nullptr);

  QLineEdit* SoftwareVersionField() const { return m_softwareVersion; }
  QLineEdit* AlgorithmVersionField() const { return m_algorithmVersion; }
  QPushButton* OkButton() const { return m_ok; }

  // The file of the analysis library as the library search finds it; empty
  // when it is not installed.
  static std::string LocateAnalysisLibrary();
  // "FileVersion" of a module file; empty when it has none or cannot be read.
  static std::string FileVersionOf(const std::string& module_path);

 private:
  QLineEdit* m_softwareVersion = nullptr;
  QLineEdit* m_algorithmVersion = nullptr;
  QPushButton* m_ok = nullptr;
};
