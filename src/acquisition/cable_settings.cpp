#include "acquisition/cable_settings.h"

#include <cstdio>
#include <cstring>

#include "platform/ini_file.h"

std::string g_cableIpAddress;

CCableSettings::CCableSettings() : m_portName(PortName(2)) {}

std::string CCableSettings::PortName(int port) {
  char name[32];
  if (port >= 10) {
    std::snprintf(name, sizeof name, "\\\\.\\COM%d", port);
  } else {
    std::snprintf(name, sizeof name, "COM%d", port);
  }
  return name;
}

void CCableSettings::SetLeads(int32_t /*leads*/) { m_leads = 12; }

uint32_t CCableSettings::FramesPerBatch() const {
  if (m_updateRate == 0 || m_updateRate >= 500) return 1;
  return 500 / m_updateRate;
}

void CCableSettings::SetSerialNumber(const std::string& text) {
  const size_t n = std::min(text.size(), kTextSize - 1);
  std::memcpy(m_serialNumber, text.data(), n);
  m_serialNumber[n] = '\0';
}

bool CCableSettings::LoadSettings(const std::string& ini_path) {
  ecg::platform::IniFile ini;
  const bool loaded = ini.Load(ini_path);  // a failed load leaves it empty: defaults
  m_portName = PortName(ini.Int("Cable Settings", "ComPort", 2));
  SetLeads(ini.Int("Cable Settings", "DefaultLeads", 0) == 6 ? 6 : 12);
  std::string ip = ini.Value("Network Settings", "IPAddress").value_or("");
  if (ip.size() > 20) ip.resize(20);
  g_cableIpAddress = ip;
  return loaded;
}
