#pragma once
// Identification of the cable's USB serial converter (FTDI, vendor 0x0403,
// product 0x95D0) through libftdi1, loaded at run time: the converter whose
// terminal is the given COM port is opened and its EEPROM user area read;
// a user area that starts with 0x11 0x03 0x02 holds the cable's serial
// number and a second text. Without the library, or without such a
// converter on that port, the cable is "not identified" (false).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace ecg::acquisition {

inline constexpr uint16_t kCableUsbVendor = 0x0403;
inline constexpr uint16_t kCableUsbProduct = 0x95D0;

bool IdentifyUsbCable(const std::string& port_name, char* serial, size_t serial_size, char* text,
                      size_t text_size);

// Reads the user area: signature 0x11 0x03 0x02, length L of the first text
// (its zero included), the serial number, then the second text. False when
// the signature is missing or the area holds 2 bytes or fewer; texts are cut
// at the area's end and at the output sizes.
bool ParseCableUserArea(std::span<const uint8_t> area, char* serial, size_t serial_size,
                        char* text, size_t text_size);

// The user area inside a raw FT232-style EEPROM image: from the end of the
// string descriptors to the checksum word; empty when the image is not one.
std::span<const uint8_t> EepromUserArea(std::span<const uint8_t> eeprom);

}  // namespace ecg::acquisition
