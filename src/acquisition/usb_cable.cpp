#include "acquisition/usb_cable.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>

#include "acquisition/com_port.h"
#include "platform/shared_library.h"

namespace ecg::acquisition {
namespace {

// The parts of libftdi1's and libusb's interfaces used here, resolved by
// name so that neither library is needed to build or to run.
struct ftdi_context;
struct libusb_device;
struct ftdi_device_list {
  ftdi_device_list* next;
  libusb_device* dev;
};
constexpr int kEepromChipSize = 43;  // CHIP_SIZE in enum ftdi_eeprom_value

struct FtdiLibrary {
  platform::SharedLibrary ftdi;
  platform::SharedLibrary usb;
  ftdi_context* (*new_context)() = nullptr;
  void (*free_context)(ftdi_context*) = nullptr;
  int (*find_all)(ftdi_context*, ftdi_device_list**, int, int) = nullptr;
  void (*list_free)(ftdi_device_list**) = nullptr;
  int (*open_dev)(ftdi_context*, libusb_device*) = nullptr;
  int (*close)(ftdi_context*) = nullptr;
  int (*read_eeprom)(ftdi_context*) = nullptr;
  int (*eeprom_decode)(ftdi_context*, int) = nullptr;
  int (*get_eeprom_value)(ftdi_context*, int, int*) = nullptr;
  int (*get_eeprom_buf)(ftdi_context*, unsigned char*, int) = nullptr;
  uint8_t (*bus_number)(libusb_device*) = nullptr;
  uint8_t (*device_address)(libusb_device*) = nullptr;
  bool usable = false;

  FtdiLibrary() {
    if (!ftdi.Load("libftdi1.so.2") && !ftdi.Load("libftdi1.so")) return;
    if (!usb.Load("libusb-1.0.so.0") && !usb.Load("libusb-1.0.so")) return;
    new_context = ftdi.Function<decltype(new_context)>("ftdi_new");
    free_context = ftdi.Function<decltype(free_context)>("ftdi_free");
    find_all = ftdi.Function<decltype(find_all)>("ftdi_usb_find_all");
    list_free = ftdi.Function<decltype(list_free)>("ftdi_list_free");
    open_dev = ftdi.Function<decltype(open_dev)>("ftdi_usb_open_dev");
    close = ftdi.Function<decltype(close)>("ftdi_usb_close");
    read_eeprom = ftdi.Function<decltype(read_eeprom)>("ftdi_read_eeprom");
    eeprom_decode = ftdi.Function<decltype(eeprom_decode)>("ftdi_eeprom_decode");
    get_eeprom_value = ftdi.Function<decltype(get_eeprom_value)>("ftdi_get_eeprom_value");
    get_eeprom_buf = ftdi.Function<decltype(get_eeprom_buf)>("ftdi_get_eeprom_buf");
    bus_number = usb.Function<decltype(bus_number)>("libusb_get_bus_number");
    device_address = usb.Function<decltype(device_address)>("libusb_get_device_address");
    usable = new_context && free_context && find_all && list_free && open_dev && close &&
             read_eeprom && eeprom_decode && get_eeprom_value && get_eeprom_buf && bus_number &&
             device_address;
  }
};

// Loaded once per process and kept.
FtdiLibrary* Library() {
  static FtdiLibrary* library = new FtdiLibrary();
  return library->usable ? library : nullptr;
}

std::string ReadLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

// The terminal ("/dev/ttyUSB0") of the USB device at bus/address, from sysfs.
std::string TerminalOf(int bus, int address) {
  const std::string root = "/sys/bus/usb/devices";
  DIR* dir = opendir(root.c_str());
  if (dir == nullptr) return {};
  std::string found;
  while (dirent* e = readdir(dir)) {
    const std::string device = root + "/" + e->d_name;
    if (e->d_name[0] == '.' || std::strchr(e->d_name, ':') != nullptr) continue;
    if (std::atoi(ReadLine(device + "/busnum").c_str()) != bus ||
        std::atoi(ReadLine(device + "/devnum").c_str()) != address) {
      continue;
    }
    // Interfaces "1-1:1.0" hold the terminal "ttyUSB0".
    if (DIR* d = opendir(device.c_str())) {
      while (dirent* i = readdir(d)) {
        if (std::strchr(i->d_name, ':') == nullptr) continue;
        if (DIR* t = opendir((device + "/" + i->d_name).c_str())) {
          while (dirent* x = readdir(t)) {
            if (std::strncmp(x->d_name, "tty", 3) == 0 && std::strcmp(x->d_name, "tty") != 0) {
              found = std::string("/dev/") + x->d_name;
            }
          }
          closedir(t);
        }
      }
      closedir(d);
    }
    break;
  }
  closedir(dir);
  return found;
}

std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return {};
  return resolved;
}

void CopyText(const uint8_t* from, size_t available, char* out, size_t out_size) {
  if (out == nullptr || out_size == 0) return;
  size_t n = 0;
  while (n < available && from[n] != 0 && n + 1 < out_size) {
    out[n] = static_cast<char>(from[n]);
    ++n;
  }
  out[n] = '\0';
}

}  // namespace

bool ParseCableUserArea(std::span<const uint8_t> area, char* serial, size_t serial_size, char* text,
                        size_t text_size) {
  if (area.size() <= 2 || area.size() < 3 || area[0] != 0x11 || area[1] != 0x03 || area[2] != 0x02)
    return false;
  const size_t length = area.size() > 3 ? area[3] : 0;
  const size_t first = std::min<size_t>(4, area.size());
  const size_t first_end = std::min(area.size(), first + length);
  CopyText(area.data() + first, first_end - first, serial, serial_size);
  CopyText(area.data() + first_end, area.size() - first_end, text, text_size);
  return true;
}

std::span<const uint8_t> EepromUserArea(std::span<const uint8_t> eeprom) {
  if (eeprom.size() < 0x16 || eeprom.size() > 512) return {};
  const size_t mask = eeprom.size() <= 128 ? 0x7F : 0xFF;
  size_t end = 0x16;  // after the fixed words
  for (size_t word = 0x0E; word <= 0x12; word += 2) {
    const size_t offset = eeprom[word] & mask;
    const size_t length = eeprom[word + 1];
    if (length != 0) end = std::max(end, offset + length);
  }
  if (end >= eeprom.size() - 2) return {};
  return eeprom.subspan(end, eeprom.size() - 2 - end);
}

bool IdentifyUsbCable(const std::string& port_name, char* serial, size_t serial_size, char* text,
                      size_t text_size) {
  static std::mutex guard;
  std::lock_guard<std::mutex> lock(guard);
  FtdiLibrary* lib = Library();
  if (lib == nullptr) return false;
  const std::string port = RealPath(ResolveComPort(port_name));
  if (port.empty()) return false;
  ftdi_context* ctx = lib->new_context();
  if (ctx == nullptr) return false;
  ftdi_device_list* list = nullptr;
  bool identified = false;
  if (lib->find_all(ctx, &list, kCableUsbVendor, kCableUsbProduct) > 0) {
    for (ftdi_device_list* node = list; node != nullptr; node = node->next) {
      const std::string tty = TerminalOf(lib->bus_number(node->dev), lib->device_address(node->dev));
      if (tty.empty() || RealPath(tty) != port) continue;
      // The converter on this port: identified or not, the search ends here.
      if (lib->open_dev(ctx, node->dev) == 0) {
        uint8_t eeprom[256] = {};
        int size = 0;
        if (lib->read_eeprom(ctx) == 0 && lib->eeprom_decode(ctx, 0) >= 0 &&
            lib->get_eeprom_value(ctx, kEepromChipSize, &size) == 0) {
          if (size <= 0 || size > 256) size = 128;
          if (lib->get_eeprom_buf(ctx, eeprom, size) == 0) {
            identified = ParseCableUserArea(EepromUserArea({eeprom, static_cast<size_t>(size)}),
                                            serial, serial_size, text, text_size);
          }
        }
        lib->close(ctx);
      }
      break;
    }
  }
  if (list != nullptr) lib->list_free(&list);
  lib->free_context(ctx);
  return identified;
}

}  // namespace ecg::acquisition
