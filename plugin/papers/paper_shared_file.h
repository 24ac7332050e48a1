// The shared paper file, reached only through checked handles: every level
// of <common application data>\ZORVIKA\LX-220\<file> opened without
// following a link and refused when it is one, hard-linked, or owned by
// another than SYSTEM, the Administrators, TrustedInstaller or the process's
// own user. Whatever is done next is done on the handle that was checked.
// Every function expects the papers' lock held.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "plugin/papers/paper_persistence.h"

namespace lx {

enum class SharedFileState {
  kOk,
  kMissing,  // a folder or the file is not there
  kRefused,  // a level failed a check: nothing was read through it
  kDamaged,  // larger than kPaperFileMaxBytes
  kFailed,   // no permissions seam, or a call failed
};

struct SharedFileText {
  SharedFileState state = SharedFileState::kFailed;
  std::u16string text;  // decoded as the profile functions decode it
};

// The whole file, at most kPaperFileMaxBytes; a trace line names the level
// and the reason of anything but kOk and kMissing.
SharedFileText ReadSharedPaperFile(PaperContext& context);

// Sets the keys of `section` in one rewrite of the checked file. A new or
// UTF-16 file stays UTF-16 (LE, with its mark), an ANSI one stays ANSI while
// its text fits the code page. A missing file is made (MakeSharedPaperFile)
// only by SYSTEM or an administrator.
using SharedFileValues = std::vector<std::pair<std::u16string, std::u16string>>;
bool WriteSharedPaperValues(PaperContext& context, const std::u16string& section, const SharedFileValues& values);
// The same with values made from the file's text as read through the handle
// that then writes it: nothing another writer saves in between is lost, as
// a writer shares the file for reading only.
bool EditSharedPaperFile(PaperContext& context, const std::u16string& section,
                         const std::function<SharedFileValues(const std::u16string& text)>& values);

// Empties the checked file through its handle, which reads back as no list
// for any printer; false when it is not there or refused. The file itself
// stays, with the DACL that lets every user save: no user may make it again.
bool ClearSharedPaperFile(PaperContext& context);

// For SYSTEM and administrators (the printer events, the installer's
// equivalent): makes the missing folders and the file with their protected
// DACLs, and gives a checked existing file its DACL again. Nothing is done
// through or to a level that fails a check.
bool MakeSharedPaperFile(PaperContext& context);

}  // namespace lx
