#include "plugin/win32/bitmap_loading.h"

namespace lx {

BitmapCache::Loader BitmapLoaderOf(HMODULE module) {
  return [module](unsigned id) -> BitmapHandle {
    if (module == nullptr) return nullptr;
    return ::LoadBitmapW(module, MAKEINTRESOURCEW(id));
  };
}

void DeleteBitmapHandle(BitmapHandle bitmap) {
  if (bitmap != nullptr) ::DeleteObject(static_cast<HBITMAP>(bitmap));
}

HBITMAP LoadHalftonePreview(HMODULE module, int halftoneMethod) {
  if (module == nullptr) return nullptr;
  return static_cast<HBITMAP>(::LoadImageW(module, MAKEINTRESOURCEW(HalftonePreviewBitmapId(halftoneMethod)),
                                           IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_MONOCHROME));
}

}  // namespace lx
