// The pictures of the bitmap module by id: each is loaded once and kept while
// the module lives, so the pages show the same handle every time they need it.
#pragma once

#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

namespace lx {

using BitmapHandle = void*;

class BitmapCache {
 public:
  static constexpr size_t kCapacity = 64;
  // Loads one bitmap of the module; null when it has none of that id.
  using Loader = std::function<BitmapHandle(unsigned id)>;
  using Deleter = std::function<void(BitmapHandle)>;

  BitmapCache(Loader load, Deleter release);
  ~BitmapCache();
  BitmapCache(const BitmapCache&) = delete;
  BitmapCache& operator=(const BitmapCache&) = delete;

  // The handle of `id`, loaded and kept on first use. The cache owns it.
  // A failed load is not kept, so a later call tries again. When the cache
  // is full an id not yet in it answers null (the page shows no picture):
  // evicting could delete a handle a page still shows, and loading without
  // keeping would leave a handle nobody deletes.
  BitmapHandle Get(unsigned id);
  // Loads the previews and logos of the document pages the first time it is
  // called; later calls do nothing until Clear.
  void FillForDocumentPages();
  // Deletes every kept bitmap.
  void Clear();

  size_t size() const;

 private:
  struct Entry {
    unsigned id;
    BitmapHandle handle;
  };
  BitmapHandle Lookup(unsigned id);  // under the lock

  mutable std::mutex mutex_;
  Loader load_;
  Deleter release_;
  std::vector<Entry> entries_;
  bool filled_ = false;
};

// What the document pages show: the 16 Paper page previews, then the logos
// (the default logo, then logos 1, 3, 2, 4, 5), in loading order.
const std::vector<unsigned>& DocumentPageBitmapIds();

// The halftone preview of a method (0 none, 1 error diffusion, 2 JJN
// diffusion). Any other value is shown as none.
unsigned HalftonePreviewBitmapId(int halftoneMethod);

}  // namespace lx
