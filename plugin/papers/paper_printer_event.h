// What the printer events mean for the label sizes: a new printer gets its
// list saved and the shared file made when missing; a deleted printer's
// sizes leave the shared file.
#pragma once

#include <string>

#include "plugin/papers/paper_persistence.h"

namespace lx {

inline constexpr int kPrinterEventInitialize = 3;
inline constexpr int kPrinterEventDelete = 4;

// Other events do nothing. The COM method answers E_NOTIMPL whatever
// happens here, so that the core driver still does its own handling.
void PaperPrinterEvent(PaperContext& context, const std::u16string& printerName, int event);

}  // namespace lx
