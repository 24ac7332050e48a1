#include "platform/win32/win32_device_io.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace lx {

namespace {

HANDLE HandleOf(DeviceHandle device) { return reinterpret_cast<HANDLE>(device); }

// ReadFile and WriteFile take at most a DWORD; our frames are far smaller.
DWORD Clamp(size_t size) { return size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size); }

}  // namespace

DeviceHandle Win32DeviceIo::Open(const std::u16string& devicePath) {
  HANDLE h = CreateFileW(W(devicePath), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<DeviceHandle>(h);
}

bool Win32DeviceIo::Write(DeviceHandle device, const uint8_t* bytes, size_t size, size_t& written) {
  DWORD done = 0;
  BOOL ok = WriteFile(HandleOf(device), bytes, Clamp(size), &done, nullptr);
  written = done;
  return ok != FALSE;
}

bool Win32DeviceIo::Read(DeviceHandle device, uint8_t* buffer, size_t capacity, size_t& read) {
  DWORD done = 0;
  BOOL ok = ReadFile(HandleOf(device), buffer, Clamp(capacity), &done, nullptr);
  read = done;
  return ok != FALSE;
}

bool Win32DeviceIo::Close(DeviceHandle device) { return CloseHandle(HandleOf(device)) != FALSE; }

}  // namespace lx
