#include "installer/engine/install_state.h"

#include <mutex>

#include "installer/core/installer_config.h"

namespace lx {

InstallTarget g_installTarget;
RequestedInstall g_requestedInstall;

namespace {
std::mutex& LanguagePathLock() {
  static std::mutex lock;
  return lock;
}
}  // namespace

std::u16string CurrentLanguageRegPath() {
  std::lock_guard<std::mutex> hold(LanguagePathLock());
  return g_config.install.LanguageRegPath;
}

void ReplaceLanguageRegPath(const std::u16string& path) {
  std::lock_guard<std::mutex> hold(LanguagePathLock());
  g_config.install.LanguageRegPath = path;
}

}  // namespace lx
