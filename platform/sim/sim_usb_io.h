// The label printer at the other end of a simulated USB printer interface,
// and device input and output on those interfaces. The printer takes the
// installer's command frames: it keeps the WiFi credentials it is given and
// answers the answer-format probe and the address queries. A test can make
// it answer short, garbled, too long, empty or not at all, late or twice,
// make it block, and fail a read or a write.
//
// As on a USB bulk pipe, each answer is one transfer: a read takes at most
// its capacity from the oldest, the rest of it stays for the next read, and
// nothing is lost when the next request comes. A read with nothing to take
// waits on the virtual clock for an answer until its time limit, and is then
// cancelled (ERROR_OPERATION_ABORTED), as an overlapped ReadFile is.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/device_io.h"
#include "platform/sim/sim_caller.h"

namespace lx {

class SimClock;
class SimDeviceSetup;

struct SimLabelPrinter {
  // kSilent sends nothing at all; kEmpty a transfer of no bytes.
  enum class Answer { kWhole, kShort, kGarbled, kTooLong, kSilent, kEmpty };
  using Address = std::array<uint8_t, 4>;
  using Bytes = std::vector<uint8_t>;

  // Its answer to the answer-format probe: 1 (address bytes) or 2 (address text).
  uint8_t answerFormat = 1;
  Address wifiAddress = {0, 0, 0, 0};  // 0.0.0.0 until it has joined a network
  Address wiredAddress = {0, 0, 0, 0};
  // Where it comes to on WiFi once it has been given credentials.
  Address addressOnJoin = {0, 0, 0, 0};
  Answer answers = Answer::kWhole;
  // When set, these bytes answer every query instead.
  std::optional<Bytes> answerEveryQueryWith;

  // How it behaves on the wire.
  uint32_t answerDelayMs = 0;  // an answer can be read this long after its request
  bool answersTwice = false;   // every answer comes a second time
  uint32_t writeTakesMs = 0;   // a slow printer takes each write only after this long
  bool blocks = false;         // takes no write and ends no read: each waits for its cancel
  int failingWrites = 0;       // the next this many writes fail, and it receives nothing
  // The next this many reads fail after the driver has put the first
  // answer's bytes into the buffer; that answer is lost.
  int failingReads = 0;

  // What it was given: every write in order, and the last credentials (UTF-8).
  std::vector<Bytes> writes;
  int credentialsReceived = 0;
  std::string wifiName;
  std::string wifiPassword;
  uint8_t lengthByte = 0;  // L of the last credentials frame

  // Takes one write at virtual time `now`; an unknown frame is kept and
  // answered with nothing.
  void Receive(const Bytes& bytes, uint64_t now);

  struct Transfer {
    uint64_t readyAt;  // virtual time from which a read can take it
    Bytes bytes;
  };
  // What it has sent and no read has taken yet, oldest first.
  std::deque<Transfer> pending;
};

class SimDeviceIo : public IDeviceIo {
 public:
  SimDeviceIo(SimCaller& caller, SimDeviceSetup& devices, SimClock& clock)
      : caller_(caller), devices_(devices), clock_(clock) {}

  DeviceHandle Open(const std::u16string& devicePath) override;
  bool Write(DeviceHandle device, const uint8_t* bytes, size_t size, size_t& written, uint32_t timeoutMs) override;
  bool Read(DeviceHandle device, uint8_t* buffer, size_t capacity, size_t& read, uint32_t timeoutMs) override;
  bool Close(DeviceHandle device) override;

  size_t OpenHandles() const { return open_.size(); }
  int opens = 0;
  // Every time limit a write or read was given, in order.
  std::vector<uint32_t> timeouts;

 private:
  SimLabelPrinter* PrinterOf(DeviceHandle device);
  bool Fail(uint32_t error) {
    caller_.SetError(error);
    return false;
  }
  // The time limit runs out and the transfer is cancelled.
  bool Cancelled(uint32_t timeoutMs);

  SimCaller& caller_;
  SimDeviceSetup& devices_;
  SimClock& clock_;
  std::map<DeviceHandle, std::u16string> open_;  // handle -> device path
  DeviceHandle next_ = 0x7000;
};

}  // namespace lx
