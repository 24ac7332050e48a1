// The label printer at the other end of a simulated USB printer interface,
// and device input and output on those interfaces. The printer takes the
// installer's command frames: it keeps the WiFi credentials it is given and
// answers the answer-format probe and the address queries; a test can make
// it answer short, garbled, too long or not at all.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/device_io.h"
#include "platform/sim/sim_caller.h"

namespace lx {

class SimDeviceSetup;

struct SimLabelPrinter {
  enum class Answer { kWhole, kShort, kGarbled, kTooLong, kSilent };
  using Address = std::array<uint8_t, 4>;

  // Its answer to the answer-format probe: 1 (address bytes) or 2 (address text).
  uint8_t answerFormat = 1;
  Address wifiAddress = {0, 0, 0, 0};  // 0.0.0.0 until it has joined a network
  Address wiredAddress = {0, 0, 0, 0};
  // Where it comes to on WiFi once it has been given credentials.
  Address addressOnJoin = {0, 0, 0, 0};
  Answer answers = Answer::kWhole;

  // What it was given: every write in order, and the last credentials (UTF-8).
  std::vector<std::vector<uint8_t>> writes;
  int credentialsReceived = 0;
  std::string wifiName;
  std::string wifiPassword;
  uint8_t lengthByte = 0;  // L of the last credentials frame

  // Takes one write; an unknown frame is kept and answered with nothing.
  void Receive(const std::vector<uint8_t>& bytes);
  // What a read finds now; a read takes it.
  std::vector<uint8_t> pending;
};

class SimDeviceIo : public IDeviceIo {
 public:
  SimDeviceIo(SimCaller& caller, SimDeviceSetup& devices) : caller_(caller), devices_(devices) {}

  DeviceHandle Open(const std::u16string& devicePath) override;
  bool Write(DeviceHandle device, const uint8_t* bytes, size_t size, size_t& written) override;
  bool Read(DeviceHandle device, uint8_t* buffer, size_t capacity, size_t& read) override;
  bool Close(DeviceHandle device) override;

  size_t OpenHandles() const { return open_.size(); }
  int opens = 0;

 private:
  SimLabelPrinter* PrinterOf(DeviceHandle device);
  bool Fail(uint32_t error) {
    caller_.SetError(error);
    return false;
  }

  SimCaller& caller_;
  SimDeviceSetup& devices_;
  std::map<DeviceHandle, std::u16string> open_;  // handle -> device path
  DeviceHandle next_ = 0x7000;
};

}  // namespace lx
