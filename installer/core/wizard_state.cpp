#include "installer/core/wizard_state.h"

#include "installer/core/installer_config.h"

namespace lx {

bool Succeeded(Outcome outcome) {
  return outcome == Outcome::kInstalled || outcome == Outcome::kDriverOnly || outcome == Outcome::kRemoved;
}

std::u16string WizardState::LanguageRegPath() const {
  std::lock_guard<std::mutex> hold(lock_);
  return replacedRegPath_ ? *replacedRegPath_ : g_config.install.LanguageRegPath;
}

void WizardState::ReplaceLanguageRegPath(const std::u16string& path) {
  std::lock_guard<std::mutex> hold(lock_);
  replacedRegPath_ = path;
}

void WizardState::Reset() {
  std::lock_guard<std::mutex> hold(lock_);
  language = 0;
  request = {};
  target = {};
  outcome = Outcome::kNone;
  restartStarted = false;
  protectedPrint = false;
  replacedRegPath_.reset();
}

WizardState& TheWizardState() {
  static WizardState* state = new WizardState;
  return *state;
}

}  // namespace lx
