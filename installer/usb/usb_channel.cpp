#include "installer/usb/usb_channel.h"

#include <cstring>

#include "installer/usb/usb_command_frame.h"
#include "platform/clock.h"
#include "platform/device_io.h"

namespace lx {

namespace {

constexpr uint32_t kAfterPreambleMs = 1000;
constexpr uint32_t kAfterCredentialsMs = 500;
constexpr uint32_t kBeforeAnswerMs = 200;

// The device, open for one exchange and closed on every way out.
class OpenDevice {
 public:
  OpenDevice(const Os& os, const std::u16string& path) : io_(*os.deviceIo), handle_(io_.Open(path)) {}
  ~OpenDevice() {
    if (handle_) io_.Close(handle_);
  }
  OpenDevice(const OpenDevice&) = delete;
  OpenDevice& operator=(const OpenDevice&) = delete;
  explicit operator bool() const { return handle_ != 0; }

  // Unchecked, as the printer gives no acknowledgement to check.
  void Write(const UsbCommandFrame& frame) {
    size_t written = 0;
    io_.Write(handle_, frame.data(), frame.size(), written);
  }
  // A failed read leaves the buffer as zeros.
  size_t ReadAnswer(uint8_t (&answer)[kUsbAnswerBytes]) {
    std::memset(answer, 0, sizeof answer);
    size_t read = 0;
    if (!io_.Read(handle_, answer, sizeof answer, read)) return 0;
    return read > sizeof answer ? sizeof answer : read;
  }

 private:
  IDeviceIo& io_;
  DeviceHandle handle_;
};

}  // namespace

bool SendWifiCredentials(const Os& os, const std::u16string& devicePath, const std::u16string& wifiName,
                         const std::u16string& password) {
  if (devicePath.empty() || wifiName.empty()) return false;
  UsbCommandFrame credentials = WifiCredentialsFrame(wifiName, password);
  OpenDevice device(os, devicePath);
  if (!device) return false;
  device.Write(WifiPreambleFrame());
  os.clock->Sleep(kAfterPreambleMs);
  device.Write(credentials);
  os.clock->Sleep(kAfterCredentialsMs);
  return true;
}

std::u16string QueryPrinterAddress(const Os& os, const std::u16string& devicePath, int mode) {
  if (devicePath.empty()) return u"";
  uint8_t code = mode == kAddressOfWiredPort ? kUsbWiredAddress : kUsbWifiAddressBytes;
  OpenDevice device(os, devicePath);
  if (!device) return u"";
  uint8_t answer[kUsbAnswerBytes];
  int format = 0;
  if (mode == kAddressOfWifi) {
    device.Write(QueryFrame(kUsbAnswerFormat));
    os.clock->Sleep(kBeforeAnswerMs);
    size_t read = device.ReadAnswer(answer);
    format = AnswerFormatOf(answer, read);
    if (format == 2) code = kUsbWifiAddressText;
  }
  device.Write(QueryFrame(code));
  os.clock->Sleep(kBeforeAnswerMs);
  size_t read = device.ReadAnswer(answer);
  return format == 2 ? AddressFromText(answer, read) : AddressFromBytes(answer);
}

}  // namespace lx
