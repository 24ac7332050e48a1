#include "tests/win/installer_run.h"

#include "tests/win/process_driver.h"
#include "tests/win/window_driver.h"

namespace lx::testing {

std::string Narrow(const std::wstring& w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), &out[0], n, nullptr, nullptr);
  return out;
}

bool WriteBytes(const std::wstring& path, const void* data, size_t size) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(f, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  CloseHandle(f);
  return ok;
}

void DeleteTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &found));
    FindClose(find);
  }
  RemoveDirectoryW(folder.c_str());
}

void InstallerRun::Start(const std::wstring& exe, const std::wstring& folder) {
  StartCommand(L"\"" + exe + L"\"", folder);
}

void InstallerRun::StartCommand(const std::wstring& commandLine, const std::wstring& folder) {
  thread_ = std::thread([this, commandLine, folder] {
    TracedRun run = RunTraced(
        commandLine, folder,
        [this](const std::string& line) {
          std::lock_guard<std::mutex> lock(mutex_);
          traces_.push_back(line);
        },
        nullptr, 180000, [this](DWORD pid) { pid_ = pid; });
    exitCode_ = run.exitCode;
    faults_ = run.faults;
    if (pid_ == 0) failedToStart_ = true;
    done_ = true;
  });
  WaitUntil([this] { return pid_ != 0 || failedToStart_; }, 10000);
}

bool InstallerRun::WaitForExit(DWORD ms) { return WaitUntil([this] { return done_.load(); }, ms); }

void InstallerRun::Stop() {
  if (!thread_.joinable()) return;
  if (!done_ && pid_) {
    if (HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, pid_)) {
      TerminateProcess(h, 1);
      CloseHandle(h);
    }
  }
  thread_.join();
}

std::string InstallerRun::Traces() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string all;
  for (const std::string& line : traces_) all += line + "\n";
  return all;
}

}  // namespace lx::testing
