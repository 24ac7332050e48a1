// Loading and deleting the bitmap module's pictures with the real calls, and
// the module-wide cache over them.
#pragma once

#include <windows.h>

#include "plugin/core/bitmap_cache.h"

namespace lx {

// LoadBitmapW of `module` for each id.
BitmapCache::Loader BitmapLoaderOf(HMODULE module);
void DeleteBitmapHandle(BitmapHandle bitmap);

// A halftone preview as a fresh monochrome DIB section (LoadImageW with
// LR_CREATEDIBSECTION | LR_MONOCHROME), loaded each time it is shown; the
// caller deletes it.
HBITMAP LoadHalftonePreview(HMODULE module, int halftoneMethod);

}  // namespace lx
