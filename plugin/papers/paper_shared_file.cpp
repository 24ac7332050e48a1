#include "plugin/papers/paper_shared_file.h"

#include "common/ini.h"
#include "common/paper_folder.h"
#include "common/text.h"
#include "platform/checked_path.h"
#include "platform/file_security.h"
#include "platform/files.h"

namespace lx {

namespace {

const std::vector<std::u16string>& Folders() {
  static const std::vector<std::u16string> folders = {kPaperCompanyFolder, kPaperProductFolder};
  return folders;
}

// Opens the file's levels; kOk leaves the file's handle in `path`.
SharedFileState OpenChecked(PaperContext& c, CheckedPath& path, uint32_t access) {
  std::optional<std::u16string> base = c.platform.files->GetFolderPath(KnownFolder::kCommonAppData, false);
  if (!base || base->empty()) {
    Trace(c.platform, u"SharedPapers: no common application data folder");
    return SharedFileState::kFailed;
  }
  switch (path.Open(*base, Folders(), c.paperFileName, access)) {
    case PathCheck::kOk: return SharedFileState::kOk;
    case PathCheck::kMissing: return SharedFileState::kMissing;
    case PathCheck::kRefused:
      Trace(c.platform, u"SharedPapers: refused, %s", path.why.c_str());
      return SharedFileState::kRefused;
    case PathCheck::kFailed: break;
  }
  Trace(c.platform, u"SharedPapers: %s", path.why.c_str());
  return SharedFileState::kFailed;
}

bool Utf16Marked(const std::string& bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xFE;
}

// The checked file's bytes, or the state that stands in their way.
SharedFileState ReadChecked(PaperContext& c, CheckedPath& path, std::string& bytes) {
  if (path.leafSize() > kPaperFileMaxBytes) {
    Trace(c.platform, u"SharedPapers: %s holds %llu bytes, more than %llu: damaged", path.path().c_str(),
          static_cast<unsigned long long>(path.leafSize()), static_cast<unsigned long long>(kPaperFileMaxBytes));
    return SharedFileState::kDamaged;
  }
  std::optional<std::string> read = c.platform.files->ReadHandle(path.leaf(), kPaperFileMaxBytes + 1);
  if (!read) {
    Trace(c.platform, u"SharedPapers: %s cannot be read", path.path().c_str());
    return SharedFileState::kFailed;
  }
  if (read->size() > kPaperFileMaxBytes) {  // grew since it was asked
    Trace(c.platform, u"SharedPapers: %s grew past %llu bytes: damaged", path.path().c_str(),
          static_cast<unsigned long long>(kPaperFileMaxBytes));
    return SharedFileState::kDamaged;
  }
  bytes = std::move(*read);
  return SharedFileState::kOk;
}

}  // namespace

SharedFileText ReadSharedPaperFile(PaperContext& c) {
  SharedFileText out;
  if (!c.platform.security) {
    Trace(c.platform, u"SharedPapers: no file permissions to check with");
    return out;
  }
  CheckedPath path(*c.platform.files, *c.platform.security, c.platform.system);
  out.state = OpenChecked(c, path, kFileGenericRead);
  if (out.state != SharedFileState::kOk) return out;
  std::string bytes;
  out.state = ReadChecked(c, path, bytes);
  if (out.state == SharedFileState::kOk) out.text = IniDocument::DecodeBytes(bytes);
  return out;
}

bool WriteSharedPaperValues(PaperContext& c, const std::u16string& section, const SharedFileValues& values) {
  return EditSharedPaperFile(c, section, [&values](const std::u16string&) { return values; });
}

bool EditSharedPaperFile(PaperContext& c, const std::u16string& section,
                         const std::function<SharedFileValues(const std::u16string& text)>& values) {
  if (!c.platform.security) return false;
  CheckedPath path(*c.platform.files, *c.platform.security, c.platform.system);
  SharedFileState state = OpenChecked(c, path, kFileGenericRead | kFileGenericWrite);
  // Only SYSTEM and administrators make it: what a user made would be that
  // user's, and every other user's save would depend on it.
  if (state == SharedFileState::kMissing && c.platform.security->ProcessIsAdministrator() && MakeSharedPaperFile(c))
    state = OpenChecked(c, path, kFileGenericRead | kFileGenericWrite);
  if (state == SharedFileState::kMissing) Trace(c.platform, u"SharedPapers: %s is missing", path.tried().c_str());
  std::string bytes;
  if (state == SharedFileState::kOk) state = ReadChecked(c, path, bytes);
  if (state != SharedFileState::kOk) return false;
  std::u16string text = IniDocument::DecodeBytes(bytes);
  for (const auto& [key, value] : values(text)) text = IniWithValue(text, section, key, value);
  std::string ansi = Utf16ToAnsi(text);
  const bool unicode = bytes.empty() || Utf16Marked(bytes) || AnsiToUtf16(ansi) != text;
  std::string encoded = unicode ? IniDocument::EncodeUtf16Le(text) : std::move(ansi);
  if (encoded.size() > kPaperFileMaxBytes) {
    Trace(c.platform, u"SharedPapers: %s would grow past %llu bytes", path.path().c_str(),
          static_cast<unsigned long long>(kPaperFileMaxBytes));
    return false;
  }
  if (!c.platform.files->WriteHandle(path.leaf(), encoded)) {
    Trace(c.platform, u"SharedPapers: %s cannot be written", path.path().c_str());
    return false;
  }
  return true;
}

bool ClearSharedPaperFile(PaperContext& c) {
  if (!c.platform.security) return false;
  CheckedPath path(*c.platform.files, *c.platform.security, c.platform.system);
  if (OpenChecked(c, path, kFileGenericWrite) != SharedFileState::kOk) return false;
  if (c.platform.files->WriteHandle(path.leaf(), std::string())) return true;
  Trace(c.platform, u"SharedPapers: %s cannot be emptied", path.path().c_str());
  return false;
}

bool MakeSharedPaperFile(PaperContext& c) {
  IFileSecurity* security = c.platform.security;
  std::optional<std::u16string> base = c.platform.files->GetFolderPath(KnownFolder::kCommonAppData, true);
  if (!security || !base || base->empty()) return false;
  CheckedPath path(*c.platform.files, *security, c.platform.system);
  path.Open(*base, {}, u"", 0);
  std::vector<std::u16string> levels = Folders();
  levels.push_back(c.paperFileName);
  for (size_t i = 0; i < levels.size(); ++i) {
    const bool folder = i + 1 < levels.size();
    const uint32_t access = folder ? 0 : kWriteDac;
    PathCheck r = path.Descend(levels[i], folder, access);
    if (r == PathCheck::kMissing) {
      if (!security->CreateProtected(path.tried(), folder, folder ? ProtectedFolderDacl() : SharedFileDacl())) {
        Trace(c.platform, u"SharedPapers: %s cannot be made", path.tried().c_str());
        return false;
      }
      Trace(c.platform, u"SharedPapers: made %s", path.tried().c_str());
      r = path.Descend(levels[i], folder, access);
    } else if (r == PathCheck::kOk && !folder && !security->SetProtectedDaclOnHandle(path.leaf(), SharedFileDacl())) {
      Trace(c.platform, u"SharedPapers: the DACL of %s cannot be set", path.path().c_str());
      return false;
    }
    if (r != PathCheck::kOk) {
      Trace(c.platform, u"SharedPapers: refused, %s", path.why.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace lx
