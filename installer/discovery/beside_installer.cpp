#include "installer/discovery/beside_installer.h"

#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "installer/engine/win_path.h"
#include "platform/system.h"

namespace lx {

namespace {

bool IsAbsolute(const std::u16string& path) {
  bool drive = path.size() >= 3 && path[1] == u':' && path[2] == u'\\';
  bool unc = path.size() >= 3 && path[0] == u'\\' && path[1] == u'\\';
  return drive || unc;
}

}  // namespace

std::u16string WholePathBesideInstaller(const Os& os, const std::u16string& relative) {
  // The seam hands back at most MAX_PATH - 1 characters: a path that long
  // may have been cut, and anything beside it would not fit anyway.
  std::u16string module = WholeModulePath(os, relative.c_str());
  if (module.empty()) return u"";
  size_t slash = module.find_last_of(u'\\');
  if (!IsAbsolute(module) || slash == std::u16string::npos) {
    DebugTraceWAlways(os, u"Module path \"%s\" has no folder; no %s", module.c_str(), relative.c_str());
    return u"";
  }
  std::u16string path = module.substr(0, slash + 1) + relative;
  if (path.size() >= kMaxPathChars) {
    DebugTraceWAlways(os, u"%s beside the installer does not fit MAX_PATH", relative.c_str());
    return u"";
  }
  return path;
}

}  // namespace lx
