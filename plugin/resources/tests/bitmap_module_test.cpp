// The bitmap module: every picture the plug-in asks for loads the way the plug-in
// loads it, at the size drawn for its control, and the previews are filed under the
// ids the Paper page computes (124 + 8 x turned + 4 x landscape + 2 x mirror + negative).
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "plugin/resources/tests/module_files.h"

namespace lxres {
namespace {

constexpr int kPreviewWidth = 145, kPreviewHeight = 174;
constexpr int kLogoWidth = 360, kLogoHeight = 98;
constexpr int kHalftoneWidth = 225, kHalftoneHeight = 179;

const std::vector<WORD> kLogos = {140, 142, 143, 144, 148, 149};
const std::vector<WORD> kHalftones = {145, 146, 147};  // none, error diffusion, JJN

// Pixels of a bitmap as 0x00RRGGBB, top row first, and the bitmap's own depth.
struct Picture {
  int width = 0, height = 0, bits = 0;
  std::vector<uint32_t> pixels;
  uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

Picture ReadPixels(HBITMAP bitmap) {
  Picture pic;
  BITMAP info = {};
  if (GetObjectW(bitmap, sizeof(info), &info) != int(sizeof(info))) return pic;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = info.bmWidth;
  bi.bmiHeader.biHeight = -info.bmHeight;  // top row first
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(size_t(info.bmWidth) * info.bmHeight);
  HDC dc = CreateCompatibleDC(nullptr);
  int lines = GetDIBits(dc, bitmap, 0, info.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
  DeleteDC(dc);
  if (lines != info.bmHeight) return pic;
  for (uint32_t& c : pixels) c &= 0xFFFFFF;
  pic.width = info.bmWidth;
  pic.height = info.bmHeight;
  pic.bits = info.bmBitsPixel;
  pic.pixels = std::move(pixels);
  return pic;
}

Picture LoadDib(HMODULE module, WORD id, UINT flags) {
  HANDLE h = LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | flags);
  if (!h) return Picture{};
  Picture pic = ReadPixels(static_cast<HBITMAP>(h));
  DeleteObject(h);
  return pic;
}

Picture Transformed(const Picture& p, bool turn180, bool mirror) {
  Picture out = p;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      int sx = turn180 ? p.width - 1 - x : x;
      int sy = turn180 ? p.height - 1 - y : y;
      if (mirror) sx = p.width - 1 - sx;
      out.pixels[size_t(y) * p.width + x] = p.at(sx, sy);
    }
  return out;
}

double MeanBrightness(const Picture& p) {
  double sum = 0;
  for (uint32_t c : p.pixels) sum += (c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF);
  return sum / (3.0 * p.pixels.size());
}

WORD PreviewId(int turned, int landscape, int mirror, int negative) {
  return WORD(124 + 8 * turned + 4 * landscape + 2 * mirror + negative);
}

class BitmapModule : public ::testing::Test {
 protected:
  LoadedModule module_{kBitmapModule, LoadMode::Image};
};

TEST_F(BitmapModule, EveryPictureLoadsWithLoadBitmapAtItsSize) {
  ASSERT_NE(module_.get(), nullptr) << "load error " << module_.error();
  auto expectSize = [&](WORD id, int w, int h) {
    HBITMAP bmp = LoadBitmapW(module_.get(), MAKEINTRESOURCEW(id));
    ASSERT_NE(bmp, nullptr) << "bitmap " << id;
    BITMAP info = {};
    ASSERT_EQ(GetObjectW(bmp, sizeof(info), &info), int(sizeof(info)));
    EXPECT_EQ(info.bmWidth, w) << "bitmap " << id;
    EXPECT_EQ(info.bmHeight, h) << "bitmap " << id;
    DeleteObject(bmp);
  };
  for (WORD id = 124; id <= 139; ++id) expectSize(id, kPreviewWidth, kPreviewHeight);
  for (WORD id : kLogos) expectSize(id, kLogoWidth, kLogoHeight);
  for (WORD id : kHalftones) expectSize(id, kHalftoneWidth, kHalftoneHeight);
}

TEST_F(BitmapModule, PreviewsShowTurnMirrorAndNegativeOfTheirId) {
  ASSERT_NE(module_.get(), nullptr);
  std::vector<Picture> previews;
  for (WORD id = 124; id <= 139; ++id) {
    previews.push_back(LoadDib(module_.get(), id, 0));
    ASSERT_EQ(previews.back().width, kPreviewWidth) << "bitmap " << id;
  }
  auto preview = [&](int t, int l, int m, int n) -> const Picture& {
    return previews[PreviewId(t, l, m, n) - 124];
  };
  for (int l = 0; l < 2; ++l)
    for (int n = 0; n < 2; ++n) {
      const Picture& upright = preview(0, l, 0, n);
      for (int t = 0; t < 2; ++t)
        for (int m = 0; m < 2; ++m)
          EXPECT_TRUE(preview(t, l, m, n).pixels == Transformed(upright, t, m).pixels)
              << "bitmap " << PreviewId(t, l, m, n) << " is not bitmap " << PreviewId(0, l, 0, n)
              << (t ? " turned" : "") << (m ? " mirrored" : "");
    }
  for (int t = 0; t < 2; ++t)
    for (int l = 0; l < 2; ++l)
      for (int m = 0; m < 2; ++m)
        EXPECT_LT(MeanBrightness(preview(t, l, m, 1)) + 40, MeanBrightness(preview(t, l, m, 0)))
            << "bitmap " << PreviewId(t, l, m, 1) << " should be the negative of " << PreviewId(t, l, m, 0);
  // Landscape content is not a turn or mirror of portrait content.
  for (int t = 0; t < 2; ++t)
    for (int m = 0; m < 2; ++m)
      EXPECT_FALSE(preview(0, 1, 0, 0).pixels == Transformed(preview(0, 0, 0, 0), t, m).pixels);
}

TEST_F(BitmapModule, LogosAreDistinctColourPictures) {
  ASSERT_NE(module_.get(), nullptr);
  std::vector<Picture> logos;
  for (WORD id : kLogos) {
    logos.push_back(LoadDib(module_.get(), id, 0));
    ASSERT_EQ(logos.back().width, kLogoWidth) << "bitmap " << id;
    ASSERT_EQ(logos.back().height, kLogoHeight) << "bitmap " << id;
  }
  for (size_t i = 0; i < logos.size(); ++i)
    for (size_t j = i + 1; j < logos.size(); ++j)
      EXPECT_FALSE(logos[i].pixels == logos[j].pixels) << kLogos[i] << " and " << kLogos[j] << " are equal";
}

// Black-white changes along the rows: a threshold leaves large solid areas,
// error diffusion scatters dots everywhere in the mid tones.
size_t Transitions(const Picture& p) {
  size_t n = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 1; x < p.width; ++x) n += p.at(x, y) != p.at(x - 1, y);
  return n;
}

TEST_F(BitmapModule, HalftoneSamplesLoadMonochromeAndLookLikeTheirMethod) {
  ASSERT_NE(module_.get(), nullptr);
  std::vector<Picture> samples;
  for (WORD id : kHalftones) {
    samples.push_back(LoadDib(module_.get(), id, LR_MONOCHROME));
    const Picture& p = samples.back();
    // Windows hands back a 1-bit section, Wine keeps the file's depth; either way
    // the sample must be pure black and white so nothing is lost to LR_MONOCHROME.
    ASSERT_NE(p.bits, 0) << "bitmap " << id;
    ASSERT_EQ(p.width, kHalftoneWidth);
    ASSERT_EQ(p.height, kHalftoneHeight);
    size_t set = 0;
    for (uint32_t v : p.pixels) {
      ASSERT_TRUE(v == 0 || v == 0xFFFFFF) << "bitmap " << id << " is not black and white";
      set += v != 0;
    }
    double share = double(set) / p.pixels.size();
    EXPECT_GT(share, 0.25) << "bitmap " << id;
    EXPECT_LT(share, 0.75) << "bitmap " << id;
  }
  const size_t none = Transitions(samples[0]);
  EXPECT_GT(Transitions(samples[1]), 10 * none) << "146 should be dithered, 145 not";
  EXPECT_GT(Transitions(samples[2]), 10 * none) << "147 should be dithered, 145 not";
  EXPECT_FALSE(samples[1].pixels == samples[2].pixels) << "146 and 147 are equal";
}

}  // namespace
}  // namespace lxres
