#include "plugin/core/bitmap_cache.h"

#include <utility>

#include "plugin/resources/resource_ids.h"

namespace lx {

BitmapCache::BitmapCache(Loader load, Deleter release)
    : load_(std::move(load)), release_(std::move(release)) {
  entries_.reserve(kCapacity);
}

BitmapCache::~BitmapCache() { Clear(); }

BitmapHandle BitmapCache::Lookup(unsigned id) {
  for (const Entry& e : entries_) {
    if (e.id == id) return e.handle;
  }
  if (entries_.size() >= kCapacity || !load_) return nullptr;
  BitmapHandle handle = load_(id);
  if (handle != nullptr) entries_.push_back({id, handle});
  return handle;
}

BitmapHandle BitmapCache::Get(unsigned id) {
  std::lock_guard<std::mutex> lock(mutex_);
  return Lookup(id);
}

void BitmapCache::FillForDocumentPages() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (filled_) return;
  filled_ = true;
  for (unsigned id : DocumentPageBitmapIds()) Lookup(id);
}

void BitmapCache::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const Entry& e : entries_) {
    if (release_) release_(e.handle);
  }
  entries_.clear();
  filled_ = false;
}

size_t BitmapCache::size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return entries_.size();
}

const std::vector<unsigned>& DocumentPageBitmapIds() {
  static const std::vector<unsigned> ids = [] {
    std::vector<unsigned> v;
    for (unsigned id = IDB_PREVIEW_FIRST; id <= IDB_PREVIEW_LAST; ++id) v.push_back(id);
    for (unsigned id : {IDB_LOGO_DEFAULT, IDB_LOGO_1, IDB_LOGO_3, IDB_LOGO_2, IDB_LOGO_4, IDB_LOGO_5})
      v.push_back(id);
    return v;
  }();
  return ids;
}

unsigned HalftonePreviewBitmapId(int halftoneMethod) {
  switch (halftoneMethod) {
    case 1: return IDB_HALFTONE_DIFFUSION;
    case 2: return IDB_HALFTONE_JJN;
    default: return IDB_HALFTONE_NONE;
  }
}

}  // namespace lx
