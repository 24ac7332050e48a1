#include "platform/sim/sim_shell.h"

#include "common/text.h"

namespace lx {

namespace {
constexpr intptr_t kSeErrFileNotFound = 2;
constexpr intptr_t kStarted = 42;

std::u16string FileNameOf(const std::u16string& path) {
  size_t slash = path.find_last_of(u"\\/");
  std::u16string name = ToLowerAscii(slash == std::u16string::npos ? path : path.substr(slash + 1));
  if (name.size() < 4 || name.compare(name.size() - 4, 4, u".exe") != 0) name += u".exe";
  return name;
}
}  // namespace

intptr_t SimShell::Execute(const std::u16string& verb, const std::u16string& file,
                           const std::u16string& parameters, const std::u16string& directory,
                           int show) {
  if (caller && caller->InjectFault(kErrorFileNotFound, "shell.Execute")) return kSeErrFileNotFound;
  Launch launch{verb, file, parameters, directory, show};
  launches.push_back(launch);
  // A path names one file, which must be there; a bare name is found
  // wherever the machine keeps that program.
  bool isPath = file.find_first_of(u"\\/") != std::u16string::npos;
  if (isPath && !files_.FileExists(file)) return kSeErrFileNotFound;
  auto it = programs_.find(FileNameOf(file));
  if (it != programs_.end()) {
    it->second(launch);
    return kStarted;
  }
  return files_.FileExists(file) ? kStarted : kSeErrFileNotFound;
}

void SimShell::AddProgram(const std::u16string& fileName, Program program) {
  programs_[FileNameOf(fileName)] = std::move(program);
}

}  // namespace lx
