// Device input and output on the real Windows calls.
#pragma once

#include "platform/device_io.h"

namespace lx {

class Win32DeviceIo : public IDeviceIo {
 public:
  DeviceHandle Open(const std::u16string& devicePath) override;
  bool Write(DeviceHandle device, const uint8_t* bytes, size_t size, size_t& written, uint32_t timeoutMs) override;
  bool Read(DeviceHandle device, uint8_t* buffer, size_t capacity, size_t& read, uint32_t timeoutMs) override;
  bool Close(DeviceHandle device) override;
};

}  // namespace lx
