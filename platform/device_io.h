// Input and output on a device opened as a file by its device path, as the
// USB printer class offers it: CreateFileW, WriteFile, ReadFile, CloseHandle,
// synchronous. Failures leave the Windows error as the thread's last error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lx {

// An open device; 0 stands for INVALID_HANDLE_VALUE.
using DeviceHandle = uintptr_t;

class IDeviceIo {
 public:
  virtual ~IDeviceIo() = default;
  // CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ |
  // FILE_SHARE_WRITE, no security, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, no
  // template); 0 when it cannot be opened.
  virtual DeviceHandle Open(const std::u16string& devicePath) = 0;
  // WriteFile of `size` bytes; `written` gets the count written.
  virtual bool Write(DeviceHandle device, const uint8_t* bytes, size_t size, size_t& written) = 0;
  // ReadFile of at most `capacity` bytes into `buffer`; `read` gets the count.
  virtual bool Read(DeviceHandle device, uint8_t* buffer, size_t capacity, size_t& read) = 0;
  // CloseHandle.
  virtual bool Close(DeviceHandle device) = 0;
};

}  // namespace lx
