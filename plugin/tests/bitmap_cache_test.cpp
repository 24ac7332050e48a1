#include "plugin/core/bitmap_cache.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <thread>
#include <vector>

namespace lx {
namespace {

// A bitmap module of ids 100..299 but 141 (a gap, as in the real module)
// that hands out distinct handles and remembers which are still alive.
struct FakeBitmapModule {
  std::vector<unsigned> loads;
  std::map<BitmapHandle, unsigned> alive;
  std::vector<BitmapHandle> deleted;
  uintptr_t next = 0x1000;

  BitmapCache::Loader Loader() {
    return [this](unsigned id) -> BitmapHandle {
      loads.push_back(id);
      if (id < 100 || id > 299 || id == 141) return nullptr;
      auto handle = reinterpret_cast<BitmapHandle>(next += 0x10);
      alive[handle] = id;
      return handle;
    };
  }
  BitmapCache::Deleter Deleter() {
    return [this](BitmapHandle h) {
      deleted.push_back(h);
      alive.erase(h);
    };
  }
};

TEST(BitmapCache, LoadsEachIdOnceAndRetriesFailedLoads) {
  FakeBitmapModule module;
  BitmapCache cache(module.Loader(), module.Deleter());
  BitmapHandle logo = cache.Get(140);
  ASSERT_NE(nullptr, logo);
  EXPECT_EQ(logo, cache.Get(140));
  EXPECT_EQ(std::vector<unsigned>{140}, module.loads);

  EXPECT_EQ(nullptr, cache.Get(141));  // the module has no such bitmap
  EXPECT_EQ(nullptr, cache.Get(141));
  EXPECT_EQ(1u, cache.size());
  EXPECT_EQ((std::vector<unsigned>{140, 141, 141}), module.loads);
}

TEST(BitmapCache, FillForDocumentPagesLoadsPreviewsAndLogosOnce) {
  FakeBitmapModule module;
  BitmapCache cache(module.Loader(), module.Deleter());
  BitmapHandle early = cache.Get(130);
  cache.FillForDocumentPages();
  std::vector<unsigned> expected = {130};
  for (unsigned id = 124; id <= 140; ++id) {
    if (id != 130) expected.push_back(id);
  }
  for (unsigned id : {142u, 144u, 143u, 148u, 149u}) expected.push_back(id);
  EXPECT_EQ(expected, module.loads);
  EXPECT_EQ(22u, cache.size());
  EXPECT_EQ(early, cache.Get(130));

  cache.FillForDocumentPages();  // pages built again: nothing reloaded
  cache.Get(149);
  EXPECT_EQ(expected.size(), module.loads.size());
  // The halftone previews are loaded fresh each time they are shown.
  for (unsigned id : module.loads) EXPECT_TRUE(id < 145 || id > 147) << id;
}

TEST(BitmapCache, FullCacheKeepsWhatItHoldsAndLoadsNothingMore) {
  FakeBitmapModule module;
  BitmapCache cache(module.Loader(), module.Deleter());
  std::vector<BitmapHandle> held;
  for (unsigned id = 200; id < 200 + BitmapCache::kCapacity; ++id) held.push_back(cache.Get(id));
  ASSERT_EQ(BitmapCache::kCapacity, cache.size());
  size_t loadsWhenFull = module.loads.size();

  EXPECT_EQ(nullptr, cache.Get(150));
  EXPECT_EQ(loadsWhenFull, module.loads.size()) << "a full cache must not load";
  EXPECT_EQ(BitmapCache::kCapacity, cache.size());
  EXPECT_TRUE(module.deleted.empty()) << "nothing a page may show is evicted";
  for (unsigned i = 0; i < BitmapCache::kCapacity; ++i) EXPECT_EQ(held[i], cache.Get(200 + i));

  // Filling a full cache answers what it holds and adds nothing.
  cache.FillForDocumentPages();
  EXPECT_EQ(loadsWhenFull, module.loads.size());
  EXPECT_EQ(BitmapCache::kCapacity, module.alive.size());
}

TEST(BitmapCache, ClearAndDestructionDeleteEveryHandleOnce) {
  FakeBitmapModule module;
  {
    BitmapCache cache(module.Loader(), module.Deleter());
    cache.FillForDocumentPages();
    ASSERT_EQ(22u, module.alive.size());
    cache.Clear();
    EXPECT_TRUE(module.alive.empty());
    EXPECT_EQ(22u, module.deleted.size());
    EXPECT_EQ(22u, std::set<BitmapHandle>(module.deleted.begin(), module.deleted.end()).size());
    EXPECT_EQ(0u, cache.size());

    // A cleared cache fills again when pages are built once more.
    cache.FillForDocumentPages();
    EXPECT_EQ(22u, module.alive.size());
  }
  EXPECT_TRUE(module.alive.empty());
  EXPECT_EQ(44u, module.deleted.size());
}

TEST(BitmapCache, ThreadsAskingForTheSameIdsLoadEachOnce) {
  FakeBitmapModule module;
  BitmapCache cache(module.Loader(), module.Deleter());
  auto ask = [&cache] {
    for (int round = 0; round < 50; ++round) {
      for (unsigned id = 124; id < 150; ++id) cache.Get(id);
    }
  };
  std::thread a(ask), b(ask);
  a.join();
  b.join();
  std::map<unsigned, int> loadsOf;
  for (unsigned id : module.loads) ++loadsOf[id];
  for (unsigned id = 124; id < 150; ++id) {
    if (id != 141) EXPECT_EQ(1, loadsOf[id]) << id;
  }
  EXPECT_EQ(25u, cache.size());
}

TEST(BitmapCache, HalftonePreviewIds) {
  EXPECT_EQ(145u, HalftonePreviewBitmapId(0));
  EXPECT_EQ(146u, HalftonePreviewBitmapId(1));
  EXPECT_EQ(147u, HalftonePreviewBitmapId(2));
  // The record's halftone field has no range rule: strange values show none.
  EXPECT_EQ(145u, HalftonePreviewBitmapId(3));
  EXPECT_EQ(145u, HalftonePreviewBitmapId(-1));
}

}  // namespace
}  // namespace lx
