// Module-wide state of the plug-in: its own handle, the resource and bitmap
// modules, the model class, the unit label, the activation context and the
// counts that decide whether the module may unload.
#pragma once

#include <windows.h>

#include "plugin/core/naming.h"

namespace lx {

struct ModuleState {
  HMODULE self = nullptr;
  HMODULE resources = nullptr;
  HMODULE bitmaps = nullptr;
  HANDLE activationContext = INVALID_HANDLE_VALUE;
  int modelClass = 0;
  int uiLanguage = 0;
  wchar_t unitText[16] = L"mm";
  AttachPlan plan;
  volatile LONG lockCount = 0;
  volatile LONG liveObjects = 0;
};

ModuleState& Module();

// Process attach: false leaves nothing loaded.
bool AttachModule(HMODULE self);
void DetachModule(bool processEnding);

// Activates the module's own activation context for a scope.
class ActivationScope {
 public:
  ActivationScope();
  ~ActivationScope();
  ActivationScope(const ActivationScope&) = delete;
  ActivationScope& operator=(const ActivationScope&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

// The module's debugger trace (always on).
void TraceW(const std::u16string& line);

}  // namespace lx
