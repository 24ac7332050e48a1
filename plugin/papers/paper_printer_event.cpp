#include "plugin/papers/paper_printer_event.h"

#include <vector>

#include "common/ini.h"
#include "common/text.h"
#include "platform/file_security.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace lx {

namespace {

// Every user reads and writes the file's contents; only SYSTEM and the
// Administrators may change its permissions, owner or existence.
std::vector<AccessAllowed> SharedFileDacl() {
  return {{kSidEveryone, kFileGenericRead | kFileGenericWrite},
          {kSidLocalSystem, kFileAllAccess},
          {kSidAdministrators, kFileAllAccess}};
}

// When the DACL cannot be written, the Administrators group takes the file
// over and the DACL is written again.
void OpenToAllUsers(IFileSecurity* security, const std::u16string& path) {
  if (!security || security->SetDacl(path, SharedFileDacl())) return;
  if (security->SetOwner(path, kSidAdministrators)) security->SetDacl(path, SharedFileDacl());
}

// Names of the sections the file holds, as its lines read.
std::vector<std::u16string> SectionNames(IFileSystem& files, const std::u16string& path) {
  std::vector<std::u16string> names;
  std::optional<std::string> bytes = files.ReadFile(path);
  if (!bytes) return names;
  std::u16string text = IniDocument::DecodeBytes(*bytes);
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string_view line = Trim(std::u16string_view(text).substr(start, end - start));
    size_t close = line.find(u']');
    if (!line.empty() && line[0] == u'[' && close != std::u16string_view::npos)
      names.emplace_back(Trim(line.substr(1, close - 1)));
    start = end + 1;
  }
  return names;
}

// The file serves every printer: only when no other printer has a section
// in it may it go; otherwise this printer's sizes are emptied, which reads
// back as no stored list.
void ForgetPrinter(PaperContext& c, const std::u16string& printerName, const std::u16string& path) {
  IFileSystem& files = *c.platform.files;
  if (!files.FileExists(path)) return;
  bool othersInFile = false;
  for (const std::u16string& name : SectionNames(files, path))
    if (!EqualsIgnoreCase(name, printerName)) othersInFile = true;
  if (!othersInFile) {
    files.RemoveFile(path);
    return;
  }
  if (printerName.empty()) return;
  c.platform.profile->WriteString(printerName, u"PapersDataSize", u"0", path);
  c.platform.profile->WriteString(printerName, u"PapersData", u"", path);
}

}  // namespace

void PaperPrinterEvent(PaperContext& context, const std::u16string& printerName, int event) {
  if (event != kPrinterEventInitialize && event != kPrinterEventDelete) return;
  // The shared file and the stores are those the other threads save to.
  PaperLock hold = LockPapers(context);
  std::optional<std::u16string> path = PaperFilePath(context);
  if (!path) return;
  IFileSystem& files = *context.platform.files;
  if (event == kPrinterEventDelete) {
    ForgetPrinter(context, printerName, *path);
    return;
  }
  if (files.FileExists(*path)) return;
  PaperStore& store = OpenPaperStore(context, printerName);
  SavePaperStore(context, store);
  Trace(context.platform, printerName);
  if (!files.FileExists(*path)) return;
  files.SetAttributes(*path, kFileAttributeNormal);
  OpenToAllUsers(context.platform.security, *path);
}

}  // namespace lx
