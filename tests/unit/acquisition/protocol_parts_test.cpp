// Pieces of the cable path that need no port: frame assembly and its
// resynchronisation, COM port names, the USB converter's user area.

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "acquisition/cable_frame.h"
#include "acquisition/com_port.h"
#include "acquisition/frame_assembler.h"
#include "acquisition/usb_cable.h"

using namespace ecg::acquisition;

namespace {

std::vector<uint8_t> Stream(uint32_t first, uint32_t count) {
  std::vector<uint8_t> out;
  for (uint32_t n = first; n < first + count; ++n) {
    const Frame f = PackFrame({static_cast<uint16_t>(n), 2048, 100, 200, 300, 400, 500, static_cast<uint16_t>(4000 - n)});
    out.insert(out.end(), f.begin(), f.end());
  }
  return out;
}

TEST(FrameAssembly, StartingInsideAFrameRegainsFramingOneByteAtATime) {
  auto bytes = Stream(0, 20);
  bytes.erase(bytes.begin(), bytes.begin() + 5);  // start 5 bytes into frame 0
  std::vector<uint16_t> firsts;
  const size_t n = AssembleBytes(bytes.data(), bytes.size(), [&](const uint8_t* f) {
    firsts.push_back(UnpackFrame(f)[0]);
  });
  ASSERT_EQ(n, 19u);
  for (uint16_t i = 0; i < 19; ++i) EXPECT_EQ(firsts[i], i + 1);
}

TEST(FrameAssembly, AFrameWithABadChecksumCostsOnlyThatFrame) {
  auto bytes = Stream(0, 10);
  bytes[4 * 13 + 12] ^= 0x55;
  std::vector<uint16_t> firsts;
  FrameAssembler a;
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t want = a.Wanted();
    if (bytes.size() - pos < want) break;
    std::copy_n(bytes.begin() + pos, want, a.FillPointer());
    a.Added(want);
    pos += want;
    if (a.AssembleFrame()) {
      firsts.push_back(UnpackFrame(a.Frame())[0]);
      a.Clear();
    }
  }
  EXPECT_EQ(firsts, (std::vector<uint16_t>{0, 1, 2, 3, 5, 6, 7, 8, 9}));
  EXPECT_EQ(a.DroppedBytes(), 13u);
}

TEST(ComPort, NamesMapToNumbersAndDevices) {
  EXPECT_EQ(ComPortNumber("COM7"), 7);
  EXPECT_EQ(ComPortNumber("\\\\.\\COM12"), 12);
  EXPECT_EQ(ComPortNumber("com3"), 3);
  EXPECT_EQ(ComPortNumber("COM"), 0);
  EXPECT_EQ(ComPortNumber("COM1x"), 0);
  EXPECT_EQ(ComPortNumber("LPT1"), 0);
  setenv("ECG_COM_DIR", "/tmp/ports", 1);
  EXPECT_EQ(ResolveComPort("\\\\.\\COM12"), "/tmp/ports/COM12");
  unsetenv("ECG_COM_DIR");
  EXPECT_EQ(ResolveComPort("COM1"), "/dev/ttyS0");
  EXPECT_EQ(ResolveComPort("nothing"), "");
}

TEST(UsbUserArea, SignatureSerialAndSecondText) {
  const std::vector<uint8_t> area = {0x11, 0x03, 0x02, 7, 'C', 'B', '1', '2', '3', '4', 0,
                                     'R', 'E', 'V', ' ', 'B', 0, 0xFF};
  char serial[256], text[256];
  ASSERT_TRUE(ParseCableUserArea(area, serial, sizeof serial, text, sizeof text));
  EXPECT_STREQ(serial, "CB1234");
  EXPECT_STREQ(text, "REV B");
}

TEST(UsbUserArea, WrongSignatureOrTooShortLeavesTheCableUnidentified) {
  char serial[256] = "x", text[256] = "y";
  EXPECT_FALSE(ParseCableUserArea(std::vector<uint8_t>{0x11, 0x03, 0x03, 2, 'A', 0}, serial,
                                  sizeof serial, text, sizeof text));
  EXPECT_FALSE(ParseCableUserArea(std::vector<uint8_t>{0x11, 0x03}, serial, sizeof serial, text,
                                  sizeof text));
  EXPECT_STREQ(serial, "x");
}

TEST(UsbUserArea, LengthPastTheAreaIsCutAtItsEnd) {
  const std::vector<uint8_t> area = {0x11, 0x03, 0x02, 200, 'A', 'B', 'C'};
  char serial[4], text[8];
  ASSERT_TRUE(ParseCableUserArea(area, serial, sizeof serial, text, sizeof text));
  EXPECT_STREQ(serial, "ABC");
  EXPECT_STREQ(text, "");
}

TEST(UsbUserArea, FoundAfterTheStringDescriptorsOfAnEepromImage) {
  std::vector<uint8_t> eeprom(128, 0xFF);
  eeprom[0x0E] = 0x80 | 0x18;  // manufacturer at 0x18, 10 bytes
  eeprom[0x0F] = 10;
  eeprom[0x10] = 0x80 | 0x22;  // product at 0x22, 20 bytes
  eeprom[0x11] = 20;
  eeprom[0x12] = 0x80 | 0x36;  // serial at 0x36, 18 bytes
  eeprom[0x13] = 18;
  const auto area = EepromUserArea(eeprom);
  EXPECT_EQ(area.data(), eeprom.data() + 0x48);
  EXPECT_EQ(area.size(), 126u - 0x48);
  EXPECT_TRUE(EepromUserArea(std::vector<uint8_t>(8, 0)).empty());
}

}  // namespace
