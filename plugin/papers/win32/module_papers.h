// The plug-in module's paper store context, bound to the real Windows
// services. Windows only.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "plugin/papers/paper_persistence.h"

namespace lx {

// Created at first use; lives until the module is unloaded.
PaperContext& ModulePapers();

// The printer's name from a printer handle (GetPrinterW level 2); empty
// when the handle answers nothing.
std::u16string PrinterNameOfHandle(HANDLE printer);

}  // namespace lx
