#include "plugin/core/merge.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "common/text.h"

namespace lx {
namespace {

// A paper store with three sizes, as the later store will answer.
class TestPapers : public IPaperLookup {
 public:
  std::optional<PaperInfo> FindByNumber(int32_t number) override {
    for (const PaperInfo& p : papers) {
      if (p.number == number) return p;
    }
    return std::nullopt;
  }
  std::optional<PaperInfo> FindByName(const std::u16string& name) override {
    for (const PaperInfo& p : papers) {
      if (p.name == name) return p;
    }
    return std::nullopt;
  }
  std::vector<PaperInfo> papers = {
      {256, u"custom", 1016, 1524},
      {129, u"4_x_6", 1016, 1524},
      {145, u"a rather long label name of 35 ch", 500, 300},
  };
};

void SetName(WCHAR* dst, const char16_t* text) {
  CopyToBuffer(reinterpret_cast<char16_t*>(dst), 32, text);
}

std::u16string Name(const WCHAR* s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s),
                        StrLen16(reinterpret_cast<const char16_t*>(s), 32));
}

struct Pair {
  DEVMODEW in{}, out{};
  PrivateDevmode privIn{}, privOut{};
  TestPapers papers;
  Pair() {
    for (DEVMODEW* dm : {&in, &out}) {
      dm->dmSize = sizeof(DEVMODEW);
      dm->dmDriverExtra = sizeof(PrivateDevmode);
      SetName(dm->dmDeviceName, u"Label Printer LX-220");
      dm->dmCopies = 1;
      dm->dmOrientation = DMORIENT_PORTRAIT;
    }
    out.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_FORMNAME | DM_COPIES;
    out.dmPaperSize = 129;
    SetName(out.dmFormName, u"4_x_6");
    DefaultPrivateDevmode(privIn);
    DefaultPrivateDevmode(privOut);
  }
  bool Merge() { return MergeDevmode(&in, &out, &privIn, sizeof privIn, &privOut, &papers); }
};

TEST(MergeDevmode, AnyRecordMissingDoesNothing) {
  Pair p;
  DEVMODEW before = p.out;
  p.in.dmFields = DM_COPIES;
  p.in.dmCopies = 9;
  EXPECT_FALSE(MergeDevmode(nullptr, &p.out, &p.privIn, 148, &p.privOut, &p.papers));
  EXPECT_FALSE(MergeDevmode(&p.in, nullptr, &p.privIn, 148, &p.privOut, &p.papers));
  EXPECT_FALSE(MergeDevmode(&p.in, &p.out, nullptr, 148, &p.privOut, &p.papers));
  EXPECT_FALSE(MergeDevmode(&p.in, &p.out, &p.privIn, 148, nullptr, &p.papers));
  EXPECT_EQ(0, std::memcmp(&before, &p.out, sizeof before));
}

TEST(MergeDevmode, UserSizeNeedsWidth250AndLength30) {
  Pair p;
  p.in.dmFields = DM_PAPERWIDTH;
  p.in.dmPaperSize = 0;
  p.in.dmPaperWidth = 249;
  p.in.dmPaperLength = 30;
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(129, p.out.dmPaperSize);  // refused: the output keeps its paper
  EXPECT_EQ(u"4_x_6", Name(p.out.dmFormName));

  p.in.dmPaperWidth = 250;
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(DMPAPER_USER, p.out.dmPaperSize);
  EXPECT_EQ(250, p.out.dmPaperWidth);
  EXPECT_EQ(30, p.out.dmPaperLength);
  EXPECT_EQ(u"", Name(p.out.dmFormName));
  EXPECT_EQ(static_cast<DWORD>(DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH),
            p.out.dmFields & (DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH));
  EXPECT_EQ(0u, p.out.dmFields & DM_FORMNAME);
}

TEST(MergeDevmode, UserSizeUpperBounds) {
  Pair p;
  p.in.dmFields = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;
  p.in.dmPaperSize = DMPAPER_USER;
  p.in.dmPaperWidth = 17780;
  p.in.dmPaperLength = 17781;
  ASSERT_TRUE(p.Merge());
  // Out of bounds, and number 256 is the store's "custom" record.
  EXPECT_EQ(u"custom", Name(p.out.dmFormName));
  EXPECT_EQ(1016, p.out.dmPaperWidth);

  // Both bounds themselves are inside, for the length as for the width.
  Pair q;
  q.in.dmFields = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;
  q.in.dmPaperSize = DMPAPER_USER;
  q.in.dmPaperWidth = 250;
  q.in.dmPaperLength = 17780;
  ASSERT_TRUE(q.Merge());
  EXPECT_EQ(DMPAPER_USER, q.out.dmPaperSize);
  EXPECT_EQ(17780, q.out.dmPaperLength);
}

TEST(MergeDevmode, PaperFoundByNumberTakesTheRecord) {
  Pair p;
  p.out.dmPaperSize = 1;
  p.out.dmFields = 0;
  p.in.dmFields = DM_PAPERSIZE;
  p.in.dmPaperSize = 145;
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(145, p.out.dmPaperSize);
  EXPECT_EQ(500, p.out.dmPaperWidth);
  EXPECT_EQ(300, p.out.dmPaperLength);
  // 31 characters, the 32nd always zero
  EXPECT_EQ(u"a rather long label name of 35 ", Name(p.out.dmFormName));
  EXPECT_EQ(0, p.out.dmFormName[31]);
  EXPECT_EQ(static_cast<DWORD>(DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_FORMNAME),
            p.out.dmFields);
}

TEST(MergeDevmode, PaperFoundByFormNameGetsTheRecordsNumber) {
  Pair p;
  p.in.dmFields = DM_PAPERSIZE | DM_FORMNAME;
  p.in.dmPaperSize = 1;  // Letter: not in the store
  SetName(p.in.dmFormName, u"custom");
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(256, p.out.dmPaperSize);
  EXPECT_EQ(u"custom", Name(p.out.dmFormName));

  // A paper found by its number stands; the form name is only asked after.
  Pair q;
  q.in.dmFields = DM_PAPERSIZE | DM_FORMNAME;
  q.in.dmPaperSize = 145;
  SetName(q.in.dmFormName, u"custom");
  ASSERT_TRUE(q.Merge());
  EXPECT_EQ(145, q.out.dmPaperSize);
  EXPECT_EQ(500, q.out.dmPaperWidth);
}

TEST(MergeDevmode, UnknownPaperFallsBackToItsSizes) {
  Pair p;
  p.in.dmFields = DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH;
  p.in.dmPaperSize = 9;
  p.in.dmPaperWidth = 600;
  p.in.dmPaperLength = 400;
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(DMPAPER_USER, p.out.dmPaperSize);
  EXPECT_EQ(600, p.out.dmPaperWidth);

  Pair q;  // without a store nothing is found either
  q.in = p.in;
  ASSERT_TRUE(MergeDevmode(&q.in, &q.out, &q.privIn, 148, &q.privOut, nullptr));
  EXPECT_EQ(DMPAPER_USER, q.out.dmPaperSize);

  // Sizes alone, with neither the number nor the form flagged, leave the
  // paper as it was: the unflagged number is no user size.
  Pair r;
  r.in.dmFields = DM_PAPERWIDTH | DM_PAPERLENGTH;
  r.in.dmPaperSize = 9;
  r.in.dmPaperWidth = 600;
  r.in.dmPaperLength = 400;
  ASSERT_TRUE(r.Merge());
  EXPECT_EQ(129, r.out.dmPaperSize);
  EXPECT_EQ(u"4_x_6", Name(r.out.dmFormName));
}

TEST(MergeDevmode, OrientationOutsidePortraitAndLandscapeBecomesPortrait) {
  Pair p;
  p.out.dmOrientation = DMORIENT_LANDSCAPE;
  p.in.dmFields = DM_ORIENTATION;
  p.in.dmOrientation = 3;
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(DMORIENT_PORTRAIT, p.out.dmOrientation);
  p.in.dmOrientation = DMORIENT_LANDSCAPE;
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(DMORIENT_LANDSCAPE, p.out.dmOrientation);
}

TEST(MergeDevmode, CopiesOnlyWithTheirFlag) {
  Pair p;
  p.out.dmCopies = 2;
  p.in.dmCopies = 5;
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(2, p.out.dmCopies);
  p.in.dmFields = DM_COPIES;
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(5, p.out.dmCopies);
}

TEST(MergeDevmode, ColourDuplexResolutionCollate) {
  Pair p;
  p.in.dmFields = DM_COLOR | DM_DUPLEX | DM_YRESOLUTION | DM_COLLATE;
  p.in.dmDuplex = 3;
  p.in.dmYResolution = 203;
  p.in.dmCollate = 1;
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(DMCOLOR_COLOR, p.out.dmColor);
  EXPECT_EQ(DMDUP_SIMPLEX, p.out.dmDuplex);
  EXPECT_EQ(203, p.out.dmYResolution);
  EXPECT_EQ(1, p.out.dmCollate);

  Pair other;  // another device's DEVMODE
  other.in = p.in;
  SetName(other.in.dmDeviceName, u"Some other printer");
  other.out.dmColor = 1;
  ASSERT_TRUE(other.Merge());
  EXPECT_EQ(1, other.out.dmColor);
  EXPECT_EQ(0, other.out.dmYResolution);
  EXPECT_NE(0u, other.out.dmFields & DM_COLOR);
}

TEST(MergeDevmode, SizeGrowsToTheInputsButNotBeyondTheLayout) {
  Pair p;
  p.out.dmSize = 156;
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(220, p.out.dmSize);
  p.in.dmSize = 0x400;
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(220, p.out.dmSize);
}

TEST(MergeDevmode, FlagsOfFieldsBeyondAShortInputAreIgnored) {
  Pair p;
  p.in.dmSize = 100;  // ends before dmCollate and dmFormName
  p.in.dmFields = DM_FORMNAME | DM_COLLATE;
  SetName(p.in.dmFormName, u"custom");
  p.in.dmCollate = 1;
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(u"4_x_6", Name(p.out.dmFormName));
  EXPECT_EQ(0, p.out.dmCollate);

  // An input that ends exactly behind dmFormName carries it.
  Pair q;
  q.in.dmSize = offsetof(DEVMODEW, dmFormName) + sizeof q.in.dmFormName;
  q.in.dmFields = DM_FORMNAME;
  SetName(q.in.dmFormName, u"custom");
  ASSERT_TRUE(q.Merge());
  EXPECT_EQ(u"custom", Name(q.out.dmFormName));
  EXPECT_EQ(256, q.out.dmPaperSize);
}

TEST(MergeDevmode, PrivatePartIsConvertedAndValidated) {
  Pair p;
  p.privIn.mirror = 5;
  p.privIn.postAction = 2;
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(0, p.privOut.mirror);
  EXPECT_EQ(2, p.privOut.postAction);

  p.privIn.header.dwSignature = 0;
  ASSERT_TRUE(p.Merge());
  EXPECT_EQ(1, p.privOut.postAction);
}

}  // namespace
}  // namespace lx
