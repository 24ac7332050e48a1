// Starting a program by its path, without the shell's search.
#pragma once

#include <string>

namespace lx {

class IProcessStart {
 public:
  virtual ~IProcessStart() = default;
  // Start: CreateProcessW with `application` as lpApplicationName (no search of
  // the path, the current folder or a truncated name at a blank), the given
  // command line, no inherited handles, the caller's current folder, and
  // STARTUPINFO's wShowWindow = `show`. The new process is not waited for;
  // its handles are closed at once. False leaves the Windows error as the
  // thread's last error.
  virtual bool Start(const std::u16string& application, const std::u16string& commandLine,
                             int show) = 0;
};

}  // namespace lx
