// The plug-in's bitmap cache and halftone previews over the real bitmap
// module, with the real GDI calls: handles are real bitmaps, kept ones are
// the same each time, and clearing the cache really deletes them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "plugin/resources/resource_ids.h"
#include "plugin/win32/bitmap_loading.h"

namespace lx {
namespace {

std::wstring NextToExe(const wchar_t* file) {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path = exe;
  return path.substr(0, path.find_last_of(L"\\/") + 1) + file;
}

bool IsLiveBitmap(BitmapHandle handle, BITMAP* info = nullptr) {
  BITMAP b = {};
  bool live = GetObjectW(static_cast<HBITMAP>(handle), sizeof b, &b) == int(sizeof b);
  if (info != nullptr) *info = b;
  return live && b.bmWidth > 0 && b.bmHeight > 0;
}

class BitmapLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryW(NextToExe(L"lx220uibmp.dll").c_str());
    ASSERT_NE(nullptr, module_) << GetLastError();
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  HMODULE module_ = nullptr;
};

TEST_F(BitmapLoading, CacheHoldsRealBitmapsUntilCleared) {
  BitmapCache cache(BitmapLoaderOf(module_), DeleteBitmapHandle);
  cache.FillForDocumentPages();
  ASSERT_EQ(22u, cache.size());
  std::vector<BitmapHandle> handles;
  for (unsigned id : DocumentPageBitmapIds()) {
    BitmapHandle h = cache.Get(id);
    EXPECT_TRUE(IsLiveBitmap(h)) << "bitmap " << id;
    handles.push_back(h);
  }
  EXPECT_EQ(handles.size(), std::set<BitmapHandle>(handles.begin(), handles.end()).size());
  EXPECT_EQ(handles.front(), cache.Get(IDB_PREVIEW_FIRST));
  EXPECT_EQ(nullptr, cache.Get(IDB_LOGO_DEFAULT + 1));  // a gap between the logos
  EXPECT_EQ(22u, cache.size());

  cache.Clear();
  for (BitmapHandle h : handles) EXPECT_FALSE(IsLiveBitmap(h)) << "not deleted";
}

TEST_F(BitmapLoading, LoaderWithoutModuleLoadsNothing) {
  BitmapCache cache(BitmapLoaderOf(nullptr), DeleteBitmapHandle);
  EXPECT_EQ(nullptr, cache.Get(IDB_PREVIEW_FIRST));
  EXPECT_EQ(nullptr, LoadHalftonePreview(nullptr, 0));
}

TEST_F(BitmapLoading, HalftonePreviewIsAFreshDibSectionEachTime) {
  for (int method : {0, 1, 2}) {
    HBITMAP first = LoadHalftonePreview(module_, method);
    HBITMAP second = LoadHalftonePreview(module_, method);
    ASSERT_NE(nullptr, first) << method;
    ASSERT_NE(nullptr, second) << method;
    EXPECT_NE(first, second);
    DIBSECTION dib = {};
    // A DIB section keeps the file's depth (Wine applies LR_MONOCHROME only
    // to compatible bitmaps); the samples are drawn in black and white.
    ASSERT_EQ(int(sizeof dib), GetObjectW(first, sizeof dib, &dib)) << "not a DIB section";
    EXPECT_NE(nullptr, dib.dsBm.bmBits);
    DeleteObject(first);
    EXPECT_TRUE(IsLiveBitmap(second));  // each caller owns its own
    DeleteObject(second);
  }
  // An unknown method shows the picture of "none".
  HBITMAP none = LoadHalftonePreview(module_, 0);
  HBITMAP odd = LoadHalftonePreview(module_, 9);
  BITMAP a = {}, b = {};
  ASSERT_TRUE(IsLiveBitmap(none, &a));
  ASSERT_TRUE(IsLiveBitmap(odd, &b));
  std::vector<BYTE> bitsA(size_t(a.bmWidthBytes) * a.bmHeight), bitsB(bitsA.size());
  ASSERT_EQ(size_t(b.bmWidthBytes) * b.bmHeight, bitsB.size());
  std::memcpy(bitsA.data(), a.bmBits, bitsA.size());
  std::memcpy(bitsB.data(), b.bmBits, bitsB.size());
  EXPECT_EQ(bitsA, bitsB);
  DeleteObject(none);
  DeleteObject(odd);
}

}  // namespace
}  // namespace lx
