#include "platform/win32/win32_device_io.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace lx {

namespace {

HANDLE HandleOf(DeviceHandle device) { return reinterpret_cast<HANDLE>(device); }

// ReadFile and WriteFile take at most a DWORD; our frames are far smaller.
DWORD Clamp(size_t size) { return size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size); }

// One overlapped transfer, waited for at most `timeoutMs`. A transfer still
// running then is cancelled and waited for to its end all the same: until
// then the driver may still write to the buffer and the OVERLAPPED.
bool Transfer(HANDLE device, bool write, void* buffer, DWORD size, size_t& done, uint32_t timeoutMs) {
  done = 0;
  OVERLAPPED overlapped = {};
  overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!overlapped.hEvent) return false;
  BOOL started = write ? WriteFile(device, buffer, size, nullptr, &overlapped)
                       : ReadFile(device, buffer, size, nullptr, &overlapped);
  DWORD error = started ? ERROR_SUCCESS : GetLastError();
  BOOL ok = FALSE;
  if (started || error == ERROR_IO_PENDING) {
    if (!started && WaitForSingleObject(overlapped.hEvent, timeoutMs) != WAIT_OBJECT_0)
      CancelIoEx(device, &overlapped);
    DWORD count = 0;
    ok = GetOverlappedResult(device, &overlapped, &count, TRUE);
    error = ok ? ERROR_SUCCESS : GetLastError();
    done = count;
  }
  CloseHandle(overlapped.hEvent);
  SetLastError(error);
  return ok != FALSE;
}

}  // namespace

DeviceHandle Win32DeviceIo::Open(const std::u16string& devicePath) {
  HANDLE h = CreateFileW(W(devicePath), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
  return h == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<DeviceHandle>(h);
}

bool Win32DeviceIo::Write(DeviceHandle device, const uint8_t* bytes, size_t size, size_t& written,
                          uint32_t timeoutMs) {
  return Transfer(HandleOf(device), true, const_cast<uint8_t*>(bytes), Clamp(size), written, timeoutMs);
}

bool Win32DeviceIo::Read(DeviceHandle device, uint8_t* buffer, size_t capacity, size_t& read, uint32_t timeoutMs) {
  return Transfer(HandleOf(device), false, buffer, Clamp(capacity), read, timeoutMs);
}

bool Win32DeviceIo::Close(DeviceHandle device) { return CloseHandle(HandleOf(device)) != FALSE; }

}  // namespace lx
