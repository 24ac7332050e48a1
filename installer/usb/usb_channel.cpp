#include "installer/usb/usb_channel.h"

#include <algorithm>
#include <cstring>

#include "installer/core/trace.h"
#include "installer/usb/usb_command_frame.h"
#include "platform/clock.h"
#include "platform/device_io.h"
#include "platform/system.h"
#include "platform/win_errors.h"

namespace lx {

namespace {

constexpr uint32_t kAfterPreambleMs = 1000;
constexpr uint32_t kAfterCredentialsMs = 500;
constexpr uint32_t kBeforeAnswerMs = 200;

// A silent or stuck printer costs an exchange at most this much beyond its
// fixed pauses, over all its writes and reads together.
constexpr uint64_t kIoBudgetMs = 1000;
constexpr uint64_t kWriteLimitMs = 500;
// Waiting for one query's answer, over every read it takes; half the
// budget, so that the probe and the address query each get their turn.
constexpr uint64_t kAnswerLimitMs = 500;
// Stale answers skipped at most while waiting for one: a printer that
// streams bytes at once cannot keep the exchange reading.
constexpr int kReadsPerAnswer = 8;

// The device, open for one exchange and closed on every way out, with the
// time its I/O may still take.
class OpenDevice {
 public:
  OpenDevice(const Os& os, const std::u16string& path) : os_(os), io_(*os.deviceIo), handle_(io_.Open(path)) {}
  ~OpenDevice() {
    if (handle_) io_.Close(handle_);
  }
  OpenDevice(const OpenDevice&) = delete;
  OpenDevice& operator=(const OpenDevice&) = delete;
  explicit operator bool() const { return handle_ != 0; }

  // False when the frame did not go out whole: failed, cut short, or not
  // taken within its time.
  bool Write(const UsbCommandFrame& frame) {
    size_t written = 0;
    bool ok = Timed(kWriteLimitMs, [&](uint32_t limit) {
      return io_.Write(handle_, frame.data(), frame.size(), written, limit);
    });
    if (ok && written == frame.size()) return true;
    DebugTrace(os_, "USB write of command %02X failed: %u of %u bytes, error %u", frame.size() > 4 ? frame[4] : 0,
               static_cast<unsigned>(written), static_cast<unsigned>(frame.size()), error_);
    return false;
  }

  // Reads until the answer to the query with `code` comes, passing over
  // stale bytes (a late or doubled answer, the tail of a long one). The
  // answer's byte count, or 0 with the buffer all zeros when none came in
  // time or a read failed.
  size_t AwaitAnswer(uint8_t code, uint8_t (&answer)[kUsbAnswerBytes]) {
    uint64_t left = kAnswerLimitMs;
    for (int reads = 0; reads < kReadsPerAnswer && left > 0; ++reads) {
      std::memset(answer, 0, sizeof answer);
      size_t read = 0;
      uint64_t start = os_.clock->TickCount();
      bool ok = Timed(left, [&](uint32_t limit) { return io_.Read(handle_, answer, sizeof answer, read, limit); });
      left -= std::min(left, os_.clock->TickCount() - start);
      read = std::min(read, sizeof answer);
      if (!ok) {
        DebugTrace(os_, "USB read for command %02X failed: error %u", code, error_);
        break;
      }
      if (AnswersQuery(answer, read, code)) return read;
      DebugTrace(os_, "USB answer of %u bytes passed over: not an answer to command %02X",
                 static_cast<unsigned>(read), code);
    }
    std::memset(answer, 0, sizeof answer);
    return 0;
  }

 private:
  // Runs one transfer with the smaller of `limit` and the time left, and
  // takes what it took from the budget. With no time left nothing is tried.
  template <typename Transfer>
  bool Timed(uint64_t limit, Transfer transfer) {
    limit = std::min(limit, budget_);
    if (limit == 0) {
      error_ = kErrorTimeout;
      return false;
    }
    uint64_t start = os_.clock->TickCount();
    bool ok = transfer(static_cast<uint32_t>(limit));
    if (!ok) error_ = os_.system ? os_.system->GetLastError() : 0;
    budget_ -= std::min(budget_, os_.clock->TickCount() - start);
    return ok;
  }

  const Os& os_;
  IDeviceIo& io_;
  DeviceHandle handle_;
  uint64_t budget_ = kIoBudgetMs;
  unsigned error_ = 0;
};

}  // namespace

bool SendWifiCredentials(const Os& os, const std::u16string& devicePath, const std::u16string& wifiName,
                         const std::u16string& password) {
  if (devicePath.empty() || wifiName.empty()) return false;
  UsbCommandFrame credentials = WifiCredentialsFrame(wifiName, password);
  OpenDevice device(os, devicePath);
  if (!device) return false;
  if (!device.Write(WifiPreambleFrame())) return false;
  os.clock->Sleep(kAfterPreambleMs);
  if (!device.Write(credentials)) return false;
  os.clock->Sleep(kAfterCredentialsMs);
  return true;
}

std::u16string QueryPrinterAddress(const Os& os, const std::u16string& devicePath, int mode) {
  if (devicePath.empty()) return u"";
  uint8_t code = mode == kAddressOfWiredPort ? kUsbWiredAddress : kUsbWifiAddressBytes;
  OpenDevice device(os, devicePath);
  if (!device) return u"";
  uint8_t answer[kUsbAnswerBytes] = {};
  int format = 0;
  size_t read = 0;
  bool sent = true;
  if (mode == kAddressOfWifi) {
    sent = device.Write(QueryFrame(kUsbAnswerFormat));
    if (sent) {
      os.clock->Sleep(kBeforeAnswerMs);
      read = device.AwaitAnswer(kUsbAnswerFormat, answer);
      format = AnswerFormatOf(answer, read);
      if (format == 2) code = kUsbWifiAddressText;
    }
  }
  if (sent && device.Write(QueryFrame(code))) {
    os.clock->Sleep(kBeforeAnswerMs);
    read = device.AwaitAnswer(code, answer);
  } else {
    std::memset(answer, 0, sizeof answer);
  }
  return format == 2 ? AddressFromText(answer, read) : AddressFromBytes(answer);
}

}  // namespace lx
