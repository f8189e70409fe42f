#pragma once
// CDeviceComm: the COM-port search for the cable. Each port is probed with
// "enq\r"; the cable echoes it and answers "OK". The configured port is
// tried first, then ports 1-256. With details, the cable's ID, versions,
// serial number and resolution are read from the port that answered.

#include <string>

class CDeviceComm {
 public:
  static constexpr int kMaxPort = 256;

  // Returns the port that answered (also through *port), or 0. Always ends
  // with a 2000 ms pause, as the cable needs after a probe.
  int DetectCable(int* port, bool query_details);
  // One port: true when it answered the probe. Leaves it open in *fd when
  // fd is given and the probe succeeded.
  static bool ProbePort(int port, int* fd);

  std::string m_serialNumber;      // 6 characters
  std::string m_cableId;           // 6
  std::string m_hardwareVersion;   // 3
  std::string m_softwareVersion;   // 3
  std::string m_resolution;        // up to ";"
  std::string m_bits;              // 2

 private:
  bool QueryDetails(int fd);
};
