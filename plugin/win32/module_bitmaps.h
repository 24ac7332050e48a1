// The module-wide bitmap cache over the bitmap module loaded at attach.
#pragma once

#include <windows.h>

namespace lx {

// The bitmap of `id`, kept for the module's life (the caller must not delete
// it); null when the bitmap module has none or the cache is full.
HBITMAP ModuleBitmap(unsigned id);
// Loads the previews and logos once, when the document pages are built.
void FillDocumentPageBitmaps();
// Deletes every cached bitmap; called when the module detaches.
void ReleaseModuleBitmaps();

}  // namespace lx
