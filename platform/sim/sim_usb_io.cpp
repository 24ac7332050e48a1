#include "platform/sim/sim_usb_io.h"

#include <algorithm>
#include <string>

#include "common/format.h"
#include "common/text.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_devices.h"
#include "platform/win_errors.h"

namespace lx {

namespace {

constexpr uint8_t kStart[] = {0x1B, 0xFF, 0xFE};
constexpr uint8_t kEnd[] = {0x1B, 0xFE, 0xFF};
constexpr uint8_t kSet = 0x01, kQuery = 0x02;
constexpr uint8_t kCredentials = 0x26, kFormatProbe = 0x30, kWifiBytes = 0x28, kWifiText = 0x27, kWired = 0x0D;

bool IsFrame(const std::vector<uint8_t>& f) {
  return f.size() >= 8 && std::equal(kStart, kStart + 3, f.begin()) && std::equal(kEnd, kEnd + 3, f.end() - 3);
}

std::vector<uint8_t> Frame(uint8_t kind, uint8_t code, std::vector<uint8_t> parameters) {
  std::vector<uint8_t> f(kStart, kStart + 3);
  f.push_back(kind);
  f.push_back(code);
  f.insert(f.end(), parameters.begin(), parameters.end());
  f.insert(f.end(), kEnd, kEnd + 3);
  return f;
}

// Its address answer in bytes: the address at offsets 7 to 10.
std::vector<uint8_t> AddressBytes(uint8_t code, const SimLabelPrinter::Address& a) {
  return Frame(kQuery, code, {0x04, 0x00, a[0], a[1], a[2], a[3]});
}

// Its address answer as text: the frame start, kind and code, 01 00 02 00,
// the dotted address, 00.
std::vector<uint8_t> AddressText(const SimLabelPrinter::Address& a) {
  std::string text = FormatA("%d.%d.%d.%d", a[0], a[1], a[2], a[3]);
  std::vector<uint8_t> answer(kStart, kStart + 3);
  answer.insert(answer.end(), {kQuery, kWifiText, 0x01, 0x00, 0x02, 0x00});
  answer.insert(answer.end(), text.begin(), text.end());
  answer.push_back(0x00);
  return answer;
}

// The C string starting at `pos`; `pos` moves past its 00 byte.
std::string TakeText(const std::vector<uint8_t>& f, size_t& pos, size_t end) {
  std::string text;
  while (pos < end && f[pos] != 0x00) text.push_back(static_cast<char>(f[pos++]));
  ++pos;
  return text;
}

}  // namespace

void SimLabelPrinter::Receive(const Bytes& bytes, uint64_t now) {
  writes.push_back(bytes);
  if (!IsFrame(bytes)) return;
  uint8_t kind = bytes[3], code = bytes[4];
  if (kind == kSet && code == kCredentials && bytes.size() >= 9) {
    lengthByte = bytes[5];
    size_t pos = 6, end = bytes.size() - 3;
    wifiName = TakeText(bytes, pos, end);
    wifiPassword = TakeText(bytes, pos, end);
    ++credentialsReceived;
    wifiAddress = addressOnJoin;
    return;
  }
  if (kind != kQuery) return;
  std::vector<uint8_t> answer;
  switch (code) {
    case kFormatProbe: answer = Frame(kQuery, kFormatProbe, {0x01, answerFormat}); break;
    case kWifiBytes: answer = AddressBytes(code, wifiAddress); break;
    case kWifiText: answer = AddressText(wifiAddress); break;
    case kWired: answer = AddressBytes(code, wiredAddress); break;
    default: return;
  }
  if (answerEveryQueryWith) answer = *answerEveryQueryWith;
  switch (answers) {
    case Answer::kWhole: break;
    case Answer::kShort: answer.resize(5); break;
    case Answer::kGarbled:
      // No byte where it belongs, and no 00 byte left.
      for (uint8_t& b : answer) b ^= 0x5A;
      break;
    case Answer::kTooLong: answer.insert(answer.end(), 300, 0x41); break;
    case Answer::kSilent: return;
    case Answer::kEmpty: answer.clear(); break;
  }
  pending.push_back({now + answerDelayMs, answer});
  if (answersTwice) pending.push_back({now + answerDelayMs, answer});
}

SimLabelPrinter* SimDeviceIo::PrinterOf(DeviceHandle device) {
  auto it = open_.find(device);
  if (it == open_.end()) return nullptr;
  for (SimUsbPrinter& p : devices_.printers)
    if (p.present && EqualsIgnoreCase(p.devicePath, it->second)) return &p.label;
  return nullptr;
}

DeviceHandle SimDeviceIo::Open(const std::u16string& devicePath) {
  for (const SimUsbPrinter& p : devices_.printers) {
    if (!p.present || !EqualsIgnoreCase(p.devicePath, devicePath)) continue;
    DeviceHandle h = next_++;
    open_[h] = p.devicePath;
    ++opens;
    return h;
  }
  caller_.SetError(devicePath.empty() ? kErrorPathNotFound : kErrorFileNotFound);
  return 0;
}

bool SimDeviceIo::Cancelled(uint32_t timeoutMs) {
  clock_.Advance(timeoutMs);
  return Fail(kErrorOperationAborted);
}

bool SimDeviceIo::Write(DeviceHandle device, const uint8_t* bytes, size_t size, size_t& written,
                        uint32_t timeoutMs) {
  written = 0;
  if (!open_.count(device)) return Fail(kErrorInvalidHandle);
  SimLabelPrinter* printer = PrinterOf(device);
  if (!printer) return Fail(kErrorDeviceNotConnected);
  timeouts.push_back(timeoutMs);
  if (printer->blocks || printer->writeTakesMs > timeoutMs) return Cancelled(timeoutMs);
  clock_.Advance(printer->writeTakesMs);
  if (printer->failingWrites > 0) {
    --printer->failingWrites;
    return Fail(kErrorGenFailure);
  }
  printer->Receive(std::vector<uint8_t>(bytes, bytes + size), clock_.now);
  written = size;
  return true;
}

bool SimDeviceIo::Read(DeviceHandle device, uint8_t* buffer, size_t capacity, size_t& read, uint32_t timeoutMs) {
  read = 0;
  if (!open_.count(device)) return Fail(kErrorInvalidHandle);
  SimLabelPrinter* printer = PrinterOf(device);
  if (!printer) return Fail(kErrorDeviceNotConnected);
  timeouts.push_back(timeoutMs);
  auto& pending = printer->pending;
  if (printer->blocks || pending.empty() || pending.front().readyAt > clock_.now + timeoutMs)
    return Cancelled(timeoutMs);
  if (pending.front().readyAt > clock_.now) clock_.Advance(pending.front().readyAt - clock_.now);
  SimLabelPrinter::Bytes& first = pending.front().bytes;
  size_t taken = std::min(capacity, first.size());
  std::copy(first.begin(), first.begin() + static_cast<long>(taken), buffer);
  if (printer->failingReads > 0) {
    --printer->failingReads;
    pending.pop_front();
    read = taken;  // what the driver says it moved; a failed read's count means nothing
    return Fail(kErrorGenFailure);
  }
  first.erase(first.begin(), first.begin() + static_cast<long>(taken));
  if (first.empty()) pending.pop_front();
  read = taken;
  return true;
}

bool SimDeviceIo::Close(DeviceHandle device) {
  if (open_.erase(device) == 0) return Fail(kErrorInvalidHandle);
  return true;
}

}  // namespace lx
