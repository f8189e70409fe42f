#pragma once
// What the cable thread learns about the cable (serial number, versions)
// and how it connects (port, replay file, batch rate). One per recording
// window; the cable thread writes it under the window's data lock.

#include <cstdint>
#include <string>

class CCableSettings {
 public:
  static constexpr size_t kTextSize = 256;

  CCableSettings();

  // Section "Cable Settings": "ComPort" (default 2) and "DefaultLeads"
  // (6 selects 6, anything else 12; SetLeads keeps 12 either way); section
  // "Network Settings": "IPAddress" (at most 20 characters) into
  // g_cableIpAddress. A file that cannot be read gives the defaults; false
  // then, with the last-error code of the read.
  bool LoadSettings(const std::string& ini_path);
  // A batch is reported every 500 / rate frames.
  void SetUpdateRate(uint32_t rate) { m_updateRate = rate; }
  // The cable is always run with 12 leads, whatever is asked.
  void SetLeads(int32_t leads);
  // Frames per batch: 500 / update rate, at least 1.
  uint32_t FramesPerBatch() const;

  // "COM%d" for ports 1-9, "\\.\COM%d" for 10 and above.
  static std::string PortName(int port);
  void SetPort(int port) { m_portName = PortName(port); }
  void SetSerialNumber(const std::string& text);
  std::string SerialNumber() const { return m_serialNumber; }

  std::string m_portName;
  std::string m_replayFileName;
  int32_t m_hardwareVersion = 0;  // x 10
  int32_t m_softwareVersion = 0;  // x 10
  char m_serialNumber[kTextSize] = {};
  int32_t m_leads = 12;
  uint32_t m_updateRate = 25;
  int16_t m_connectionType = 0;  // 0 serial cable, 1 replay file
  bool m_replayLoops = true;
};

// The network address read by LoadSettings; no transport here reads it.
extern std::string g_cableIpAddress;
