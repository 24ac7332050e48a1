// Runs the wizard sheet for the program's start-up: builds the sheet over a
// window binding, adjusts it for uninstall mode and shows it modally.
#pragma once

#include <memory>

#include "installer/core/app.h"
#include "installer/wizard/sheet_manage.h"

namespace lx {

class SheetWizardRunner : public IWizardRunner {
 public:
  SheetWizardRunner(const Os& os, ISheetView& view, IWorkerStarter& workers, ISession& session,
                    WizardState& state, NetSearch* search = nullptr)
      : os_(os), view_(view), workers_(workers), session_(session), state_(state), search_(search) {}

  void Run(bool uninstallMode) override {
    sheet_ = std::make_unique<SheetManage>(WizardServices{os_, view_, workers_, session_, state_, search_});
    if (uninstallMode) sheet_->SetUninstallMode();
    sheet_->Run();
  }

  // The sheet of the last run (kept until the runner goes, so that a binding
  // that returns before the user is done can still be driven).
  SheetManage* sheet() const { return sheet_.get(); }

 private:
  const Os& os_;
  ISheetView& view_;
  IWorkerStarter& workers_;
  ISession& session_;
  WizardState& state_;
  NetSearch* search_;
  std::unique_ptr<SheetManage> sheet_;
};

}  // namespace lx
