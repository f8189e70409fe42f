#pragma once
// The FTDI USB serial converters attached, as the D2XX device list gives
// them: one device type per converter, in list order. Read through libftdi1
// and libusb, both loaded at run time; without them the list is empty.

#include <cstdint>
#include <vector>

namespace ecg::bindings {

// The D2XX device type of a converter's bcdDevice release number:
// 0x200 AM (1), 0x400 BM (0), 0x500 FT2232C (4), 0x600 FT232R (5),
// 0x700 FT2232H (6), 0x800 FT4232H (7), 0x900 FT232H (8), 0x1000 X series (9);
// anything else unknown (3).
int32_t D2xxTypeOfRelease(uint16_t bcd_device);

std::vector<int32_t> FtdiDeviceTypes();

}  // namespace ecg::bindings
