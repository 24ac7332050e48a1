// The unattended run: the wizard's roads (USB, a chosen port, the network,
// the driver alone, the removal) driven on the calling thread, with the same
// engine, traces and outcomes, and no window. Nothing here waits for input.
#pragma once

#include "installer/core/app.h"
#include "installer/core/wizard_state.h"
#include "platform/os.h"
#include "platform/session.h"

namespace lx {

class QuietInstaller : public IQuietRunner {
 public:
  QuietInstaller(const Os& os, ISession& session, WizardState& state) : os_(os), session_(session), state_(state) {}

  // Checks the values against the machine first (87 with a trace line when
  // one names no model, port, language or passable address), then protected
  // print mode (installations only), then runs the road.
  Result Run(const Switches& switches) override;

 private:
  Result Refuse(const char16_t* what, const std::u16string& value);
  Result Remove(const Switches& switches);
  Result Finish();

  const Os& os_;
  ISession& session_;
  WizardState& state_;
};

}  // namespace lx
