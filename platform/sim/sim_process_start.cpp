#include "platform/sim/sim_process_start.h"

#include "platform/sim/command_line.h"

namespace lx {

namespace {
bool IsAbsolute(const std::u16string& path) {
  return (path.size() >= 3 && path[1] == u':' && (path[2] == u'\\' || path[2] == u'/')) ||
         (path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\');
}
}  // namespace

bool SimProcessStart::Start(const std::u16string& application, const std::u16string& commandLine,
                                    int show) {
  std::u16string program = application;
  if (!IsAbsolute(program)) {
    std::u16string dir = currentDirectory;
    if (!dir.empty() && dir.back() != u'\\') dir += u'\\';
    program = dir + program;
  }
  if (files_.IsDirectory(program) || !files_.FileExists(program)) {
    caller_.SetError(files_.FolderExists(SimFileSystem::ParentOf(SimFileSystem::Normalize(program)))
                         ? kErrorFileNotFound
                         : kErrorPathNotFound);
    return false;
  }
  started.push_back({program, CommandLineToArgv(commandLine, application), show});
  return true;
}

}  // namespace lx
