#include "qt_test_app.h"

#include <QApplication>
#include <cstdlib>

namespace ecg::test {

void EnsureQtApplication() {
  if (QApplication::instance() != nullptr) return;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "ecg-test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);  // lives until exit
  (void)app;
}

}  // namespace ecg::test

// Fontconfig keeps a cache for the life of the process that LeakSanitizer
// reports at exit; it is the system library's, not ours.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
