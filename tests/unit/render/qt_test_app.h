#pragma once
// One QApplication for the tests of a binary (fonts and paint devices need
// it), on the offscreen platform unless a display was asked for.

namespace ecg::test {
void EnsureQtApplication();
}  // namespace ecg::test
