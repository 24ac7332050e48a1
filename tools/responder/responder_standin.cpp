// A Windows service that only runs until it is stopped: it stands in for the
// responder program in the service tests and is never shipped. It writes its
// own path to "started.txt" beside itself, so that a test sees which
// program the service manager ran.
#include <windows.h>

#include <string>

namespace {

SERVICE_STATUS_HANDLE statusHandle = nullptr;
HANDLE stopEvent = nullptr;

void Report(DWORD state) {
  SERVICE_STATUS s = {};
  s.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  s.dwCurrentState = state;
  s.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  s.dwWaitHint = state == SERVICE_RUNNING || state == SERVICE_STOPPED ? 0 : 2000;
  ::SetServiceStatus(statusHandle, &s);
}

void WINAPI Control(DWORD control) {
  if (control == SERVICE_CONTROL_STOP) {
    Report(SERVICE_STOP_PENDING);
    ::SetEvent(stopEvent);
  }
}

void NoteStart() {
  wchar_t self[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, n);
  std::wstring note = path.substr(0, path.find_last_of(L'\\') + 1) + L"started.txt";
  HANDLE f = ::CreateFileW(note.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(f, path.data(), static_cast<DWORD>(path.size() * sizeof(wchar_t)), &written, nullptr);
  ::CloseHandle(f);
}

void WINAPI ServiceMain(DWORD argc, LPWSTR* argv) {
  statusHandle = ::RegisterServiceCtrlHandlerW(argc > 0 ? argv[0] : L"", Control);
  if (!statusHandle) return;
  stopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  Report(SERVICE_START_PENDING);
  NoteStart();
  Report(SERVICE_RUNNING);
  ::WaitForSingleObject(stopEvent, INFINITE);
  Report(SERVICE_STOPPED);
}

}  // namespace

int wmain() {
  SERVICE_TABLE_ENTRYW table[] = {{const_cast<LPWSTR>(L""), ServiceMain}, {nullptr, nullptr}};
  return ::StartServiceCtrlDispatcherW(table) ? 0 : static_cast<int>(::GetLastError());
}
