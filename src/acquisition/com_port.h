#pragma once
// COM port names: "COM%d" and "\\.\COM%d" are kept as the names the
// component speaks; a resolver maps port n to a device file. With
// $ECG_COM_DIR set, only "$ECG_COM_DIR/COM<n>" is used (a symlink to a
// terminal, e.g. a USB adapter or the cable simulator's pseudo-terminal), so
// a test folder hides the machine's own ports; otherwise /dev/ttyS<n-1>.

#include <string>

namespace ecg::acquisition {

// The port number of "COM7", "\\.\COM12", "com3"; 0 when the name is none.
int ComPortNumber(const std::string& name);
// The device file of port n (n >= 1), or "" for n < 1.
std::string ComPortDevice(int n);
// The device file of a port name, or "" when the name is none.
std::string ResolveComPort(const std::string& name);

}  // namespace ecg::acquisition
