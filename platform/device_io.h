// Input and output on a device opened as a file by its device path, as the
// USB printer class offers it: CreateFileW for overlapped I/O, WriteFile and
// ReadFile each waited for at most a time limit, CloseHandle. Failures leave
// the Windows error as the thread's last error.
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
  // FILE_SHARE_WRITE, no security, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL |
  // FILE_FLAG_OVERLAPPED, no template); 0 when it cannot be opened.
  virtual DeviceHandle Open(const std::u16string& devicePath) = 0;
  // WriteFile of `size` bytes with an OVERLAPPED whose event is waited for
  // at most `timeoutMs` (WaitForSingleObject); when the time is up, CancelIoEx
  // and GetOverlappedResult (waiting) for the transfer's end. `written` gets
  // the count written. A cancelled write fails with ERROR_OPERATION_ABORTED,
  // unless it completed before the cancel took hold.
  virtual bool Write(DeviceHandle device, const uint8_t* bytes, size_t size, size_t& written,
                     uint32_t timeoutMs) = 0;
  // ReadFile of at most `capacity` bytes into `buffer`, waited for and
  // cancelled as Write is. `read` gets the count; after a failure the buffer
  // may hold whatever the driver had put there.
  virtual bool Read(DeviceHandle device, uint8_t* buffer, size_t capacity, size_t& read, uint32_t timeoutMs) = 0;
  // CloseHandle.
  virtual bool Close(DeviceHandle device) = 0;
};

}  // namespace lx
