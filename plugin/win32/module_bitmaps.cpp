#include "plugin/win32/module_bitmaps.h"

#include <atomic>
#include <new>

#include "plugin/win32/bitmap_loading.h"
#include "plugin/win32/module_state.h"

namespace lx {

namespace {

std::atomic<BitmapCache*> g_cache{nullptr};

// Created on first use; two threads racing keep one cache.
BitmapCache* Cache() {
  BitmapCache* cache = g_cache.load();
  if (cache != nullptr) return cache;
  auto* made = new (std::nothrow) BitmapCache(
      [](unsigned id) { return BitmapLoaderOf(Module().bitmaps)(id); }, DeleteBitmapHandle);
  if (made == nullptr) return nullptr;
  if (g_cache.compare_exchange_strong(cache, made)) return made;
  delete made;
  return cache;
}

}  // namespace

HBITMAP ModuleBitmap(unsigned id) {
  BitmapCache* cache = Cache();
  return cache != nullptr ? static_cast<HBITMAP>(cache->Get(id)) : nullptr;
}

void FillDocumentPageBitmaps() {
  if (BitmapCache* cache = Cache()) cache->FillForDocumentPages();
}

void ReleaseModuleBitmaps() {
  // The cache's destructor deletes every bitmap it holds.
  delete g_cache.exchange(nullptr);
}

}  // namespace lx
