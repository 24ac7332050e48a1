// The real installer started under a test as its debugger, on a thread of
// its own so that the test can drive its windows meanwhile; and the files a
// test lays out for it.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lx::testing {

std::string Narrow(const std::wstring& w);
bool WriteBytes(const std::wstring& path, const void* data, size_t size);
void DeleteTree(const std::wstring& folder);

class InstallerRun {
 public:
  ~InstallerRun() { Stop(); }

  void Start(const std::wstring& exe, const std::wstring& folder);
  // A whole command line as Windows runs it: the program first, quoted or not.
  void StartCommand(const std::wstring& commandLine, const std::wstring& folder);
  DWORD pid() const { return pid_; }
  bool WaitForExit(DWORD ms);
  DWORD exitCode() const { return exitCode_; }
  // Read once the program has ended.
  const std::vector<DWORD>& faults() const { return faults_; }
  // Ends the program if it still runs (a test that failed half-way).
  void Stop();
  std::string Traces();

 private:
  std::thread thread_;
  std::atomic<DWORD> pid_{0};
  std::atomic<bool> done_{false};
  std::atomic<bool> failedToStart_{false};
  std::atomic<DWORD> exitCode_{STILL_ACTIVE};
  std::vector<DWORD> faults_;
  std::mutex mutex_;
  std::vector<std::string> traces_;
};

}  // namespace lx::testing
