#include "ftdi_device_list.h"

#include <dlfcn.h>

#include <cstring>

#include "acquisition/usb_cable.h"

namespace ecg::bindings {
namespace {

// The parts of libftdi1 and libusb-1.0 used here, as their ABIs define them.
struct ftdi_context;
struct libusb_device;
struct ftdi_device_list {
  ftdi_device_list* next;
  libusb_device* dev;
};
struct libusb_device_descriptor {
  uint8_t bLength;
  uint8_t bDescriptorType;
  uint16_t bcdUSB;
  uint8_t bDeviceClass;
  uint8_t bDeviceSubClass;
  uint8_t bDeviceProtocol;
  uint8_t bMaxPacketSize0;
  uint16_t idVendor;
  uint16_t idProduct;
  uint16_t bcdDevice;
  uint8_t iManufacturer;
  uint8_t iProduct;
  uint8_t iSerialNumber;
  uint8_t bNumConfigurations;
};

class Library {
 public:
  explicit Library(const char* name) : handle_(dlopen(name, RTLD_NOW | RTLD_LOCAL)) {}
  ~Library() {
    if (handle_ != nullptr) dlclose(handle_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  template <typename F>
  F Get(const char* symbol) const {
    return handle_ != nullptr ? reinterpret_cast<F>(dlsym(handle_, symbol)) : nullptr;
  }

 private:
  void* handle_;
};

}  // namespace

int32_t D2xxTypeOfRelease(uint16_t bcd_device) {
  switch (bcd_device) {
    case 0x0200: return 1;
    case 0x0400: return 0;
    case 0x0500: return 4;
    case 0x0600: return 5;
    case 0x0700: return 6;
    case 0x0800: return 7;
    case 0x0900: return 8;
    case 0x1000: return 9;
    default: return 3;
  }
}

std::vector<int32_t> FtdiDeviceTypes() {
  std::vector<int32_t> types;
  Library ftdi("libftdi1.so.2");
  Library usb("libusb-1.0.so.0");
  auto ftdi_new = ftdi.Get<ftdi_context* (*)()>("ftdi_new");
  auto ftdi_free = ftdi.Get<void (*)(ftdi_context*)>("ftdi_free");
  auto find_all = ftdi.Get<int (*)(ftdi_context*, ftdi_device_list**, int, int)>("ftdi_usb_find_all");
  auto list_free = ftdi.Get<void (*)(ftdi_device_list**)>("ftdi_list_free");
  auto descriptor = usb.Get<int (*)(libusb_device*, libusb_device_descriptor*)>(
      "libusb_get_device_descriptor");
  if (!ftdi_new || !ftdi_free || !find_all || !list_free || !descriptor) return types;
  ftdi_context* context = ftdi_new();
  if (context == nullptr) return types;
  // The usual FTDI products, then the cable's own product id.
  const int searches[][2] = {{0, 0}, {ecg::acquisition::kCableUsbVendor, ecg::acquisition::kCableUsbProduct}};
  for (const auto& search : searches) {
    ftdi_device_list* list = nullptr;
    if (find_all(context, &list, search[0], search[1]) > 0) {
      for (ftdi_device_list* item = list; item != nullptr && types.size() < 256; item = item->next) {
        libusb_device_descriptor d;
        std::memset(&d, 0, sizeof d);
        types.push_back(descriptor(item->dev, &d) == 0 ? D2xxTypeOfRelease(d.bcdDevice) : 3);
      }
    }
    if (list != nullptr) list_free(&list);
  }
  ftdi_free(context);
  return types;
}

}  // namespace ecg::bindings

extern "C" int32_t ecg_if_ftdi_device_types(int32_t* types, int32_t max) {
  const std::vector<int32_t> found = ecg::bindings::FtdiDeviceTypes();
  for (size_t i = 0; types != nullptr && i < found.size() && static_cast<int32_t>(i) < max; ++i) {
    types[i] = found[i];
  }
  return static_cast<int32_t>(found.size());
}
