#include "installer/engine/paper_folder.h"

#include <string>
#include <vector>

#include "common/paper_folder.h"
#include "installer/core/trace.h"
#include "platform/checked_path.h"
#include "platform/file_security.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/win_errors.h"

namespace lx {

namespace {

constexpr uint32_t kLevelAccess = kCheckAccess | kWriteDac | kDeleteRight;

class Level {
 public:
  Level(const Os& os, std::u16string path, bool folder) : os_(os), path_(std::move(path)), folder_(folder) {}
  ~Level() { Close(); }
  Level(const Level&) = delete;
  Level& operator=(const Level&) = delete;

  // Leaves the level open (no delete sharing: it stays what was checked
  // while the levels below are made), made and protected.
  bool Prepare() {
    if (!Open(kLevelAccess) && !Open(kCheckAccess)) return Missing() && Make();
    OpenedFileInfo info;
    if (!os_.files->QueryHandle(handle_, info)) return Fail(u"cannot be asked");
    if (IsLink(info)) {
      DebugTraceWAlways(os_, u"SharedPapers: %s is a link, removed", path_.c_str());
      if (!os_.files->DeleteByHandle(handle_)) return Fail(u"cannot be removed");
      Close();
      return Make();
    }
    if (((info.attributes & kFileAttributeDirectory) != 0) != folder_) return Fail(u"is of the wrong kind");
    std::optional<std::u16string> owner = os_.fileSecurity->OwnerOfHandle(handle_);
    if (!owner || !IsTrustedOwner(*owner)) {
      DebugTraceWAlways(os_, u"SharedPapers: %s was owned by %s, taken over", path_.c_str(),
                        owner ? owner->c_str() : u"(unknown)");
      // The handle held keeps the name on the object checked.
      if (!os_.fileSecurity->SetOwner(path_, kSidAdministrators)) return Fail(u"cannot be taken over");
      // No handle shares deleting, so the held one would refuse a second
      // open: it is closed, and what the name then opens is checked anew.
      Close();
      if (!Open(kLevelAccess)) return Fail(u"cannot be opened again");
      owner = os_.fileSecurity->OwnerOfHandle(handle_);
      if (!os_.files->QueryHandle(handle_, info) || !IsPlainLevel(info) || !owner || !IsTrustedOwner(*owner))
        return Fail(u"changed while it was taken over");
    }
    if (!os_.fileSecurity->SetProtectedDaclOnHandle(handle_, Dacl())) return Fail(u"keeps its DACL");
    return true;
  }

 private:
  bool IsLink(const OpenedFileInfo& info) const {
    return (info.attributes & kFileAttributeReparsePoint) || (!folder_ && info.links > 1);
  }
  bool IsPlainLevel(const OpenedFileInfo& info) const {
    return !IsLink(info) && ((info.attributes & kFileAttributeDirectory) != 0) == folder_;
  }
  std::vector<AccessAllowed> Dacl() const { return folder_ ? ProtectedFolderDacl() : SharedFileDacl(); }
  bool Open(uint32_t access) {
    handle_ = os_.files->OpenNoFollow(path_, access);
    return handle_ != 0;
  }
  void Close() {
    if (handle_) os_.files->CloseFile(handle_);
    handle_ = 0;
  }
  bool Missing() const {
    uint32_t error = os_.system ? os_.system->GetLastError() : 0;
    if (error == kErrorFileNotFound || error == kErrorPathNotFound) return true;
    DebugTraceWAlways(os_, u"SharedPapers: %s cannot be opened, error %lu", path_.c_str(),
                      static_cast<unsigned long>(error));
    return false;
  }
  bool Make() {
    if (!os_.fileSecurity->CreateProtected(path_, folder_, Dacl())) return Fail(u"cannot be made");
    DebugTraceWAlways(os_, u"SharedPapers: made %s", path_.c_str());
    return Open(kCheckAccess);
  }
  bool Fail(const char16_t* what) {
    DebugTraceWAlways(os_, u"SharedPapers: %s %s", path_.c_str(), what);
    return false;
  }

  const Os& os_;
  std::u16string path_;
  bool folder_;
  FileHandle handle_ = 0;
};

}  // namespace

bool PrepareSharedPaperFile(const Os& os) {
  if (!os.files || !os.fileSecurity) return false;
  std::optional<std::u16string> base = os.files->GetFolderPath(KnownFolder::kCommonAppData, true);
  if (!base || base->empty()) {
    DebugTraceWAlways(os, u"SharedPapers: no common application data folder");
    return false;
  }
  const std::u16string company = *base + u"\\" + kPaperCompanyFolder;
  const std::u16string product = company + u"\\" + kPaperProductFolder;
  Level levels[] = {{os, company, true}, {os, product, true}, {os, product + u"\\" + kPaperSharedFileName, false}};
  for (Level& level : levels)
    if (!level.Prepare()) return false;
  return true;
}

}  // namespace lx
