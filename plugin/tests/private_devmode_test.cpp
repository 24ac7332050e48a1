#include "plugin/core/private_devmode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "plugin/tests/expected_default_devmode.h"

namespace lx {
namespace {

PrivateDevmode Defaulted() {
  PrivateDevmode dm;
  std::memset(&dm, 0, sizeof dm);
  DefaultPrivateDevmode(dm);
  return dm;
}

bool SameBytes(const PrivateDevmode& a, const PrivateDevmode& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(PrivateDevmodeDefault, ZeroedBufferGetsTheDocumentedBytes) {
  PrivateDevmode dm = Defaulted();
  auto expected = testing::ExpectedDefaultPrivateDevmode();
  EXPECT_EQ(0, std::memcmp(&dm, expected.data(), expected.size()));
}

TEST(PrivateDevmodeDefault, LeavesUnwrittenFieldsAsTheBufferHeldThem) {
  PrivateDevmode dm;
  std::memset(&dm, 0xAB, sizeof dm);
  DefaultPrivateDevmode(dm);
  const auto* bytes = reinterpret_cast<const uint8_t*>(&dm);
  for (unsigned offset : {0x0Eu, 0x0Fu, 0x52u, 0x53u}) EXPECT_EQ(0xAB, bytes[offset]) << offset;
  int32_t marker;
  std::memset(&marker, 0xAB, sizeof marker);
  EXPECT_EQ(marker, dm.rotate180);
  EXPECT_EQ(marker, dm.modelClassValue);
  EXPECT_EQ(marker, dm.halftone);
  EXPECT_EQ(1, dm.postAction);
}

TEST(PrivateDevmodeDefault, PostActionSitsTwelveBytesBeforeTheEnd) {
  PrivateDevmode dm = Defaulted();
  int32_t patched = 3;  // what the installer writes for a cutter
  std::memcpy(reinterpret_cast<uint8_t*>(&dm) + sizeof dm - 12, &patched, 4);
  EXPECT_EQ(3, dm.postAction);
}

TEST(PrivateDevmodeValidate, DefaultsPassUnchanged) {
  PrivateDevmode dm = Defaulted();
  PrivateDevmode before = dm;
  ValidatePrivateDevmode(dm);
  EXPECT_TRUE(SameBytes(before, dm));
}

TEST(PrivateDevmodeValidate, BringsFieldsIntoRange) {
  PrivateDevmode dm = Defaulted();
  dm.header.dwSize = 3;
  dm.header.dwSignature = 0x12345678;
  dm.header.dwVersion = 9;
  dm.mirror = 5;
  dm.negative = -1;
  dm.density = 20;
  dm.offsetX = -30;
  dm.offsetY = 25.5f;
  dm.gapHeight = 99;
  dm.reserved1C = 7;
  dm.useDeviceSettings = 7;
  dm.reserved60 = 7;
  dm.reserved68 = 7;
  dm.reserved24 = 101;
  dm.reserved28 = -100;
  dm.reserved30 = -3000;
  dm.reserved40 = 6.5f;
  dm.feedOffset = 31;
  dm.reserved64 = -1001;
  ValidatePrivateDevmode(dm);
  EXPECT_EQ(148u, dm.header.dwSize);
  EXPECT_EQ(kPluginSignature, dm.header.dwSignature);
  EXPECT_EQ(1u, dm.header.dwVersion);
  EXPECT_EQ(0, dm.mirror);
  EXPECT_EQ(0, dm.negative);
  EXPECT_EQ(15, dm.density);
  EXPECT_FLOAT_EQ(-25.0f, dm.offsetX);
  EXPECT_FLOAT_EQ(25.0f, dm.offsetY);
  EXPECT_FLOAT_EQ(99.0f, dm.gapHeight);  // no rule
  EXPECT_EQ(1, dm.reserved1C);
  EXPECT_EQ(1, dm.useDeviceSettings);
  EXPECT_EQ(0, dm.reserved60);
  EXPECT_EQ(1, dm.reserved68);
  EXPECT_EQ(0, dm.reserved24);
  EXPECT_EQ(-100, dm.reserved28);
  EXPECT_FLOAT_EQ(-2539.7f, dm.reserved30);
  EXPECT_FLOAT_EQ(6.0f, dm.reserved40);
  EXPECT_FLOAT_EQ(30.0f, dm.feedOffset);
  EXPECT_FLOAT_EQ(-1000.0f, dm.reserved64);
}

// Every row of the record's range table, addressed by offset so that the
// layout is checked along with the rules: values at the bounds stay, values
// beyond them are replaced or clamped, fields without a rule keep anything.
TEST(PrivateDevmodeValidate, EveryRuleOfTheRangeTableAtItsBounds) {
  enum Kind { ZeroOrOne, IntWithin, IntClamp, FloatClamp, NoRule32, NoRuleFloat, NoRule16 };
  struct Row {
    unsigned offset;
    Kind kind;
    double lo, hi;
    int32_t otherwise;
  };
  const Row rows[] = {
      {0x0C, NoRule16, 0, 0, 0},          {0x10, NoRule32, 0, 0, 0},
      {0x14, ZeroOrOne, 0, 1, 0},         {0x18, ZeroOrOne, 0, 1, 0},
      {0x1C, ZeroOrOne, 0, 1, 1},         {0x20, ZeroOrOne, 0, 1, 1},
      {0x24, IntWithin, -100, 100, 0},    {0x28, IntWithin, -100, 100, 0},
      {0x2C, FloatClamp, 0, 1016, 0},     {0x30, FloatClamp, -2539.7, 2539.7, 0},
      {0x34, FloatClamp, 0, 1016, 0},     {0x38, FloatClamp, 0, 2539.7, 0},
      {0x3C, FloatClamp, -10, 10, 0},     {0x40, FloatClamp, 0, 6, 0},
      {0x44, IntClamp, 0, 15, 0},         {0x48, FloatClamp, -25, 25, 0},
      {0x4C, FloatClamp, -25, 25, 0},     {0x50, NoRule16, 0, 0, 0},
      {0x54, NoRule32, 0, 0, 0},          {0x58, NoRule32, 0, 0, 0},
      {0x5C, FloatClamp, -10, 30, 0},     {0x60, ZeroOrOne, 0, 1, 0},
      {0x64, FloatClamp, -1000, 1000, 0}, {0x68, ZeroOrOne, 0, 1, 1},
      {0x6C, NoRule32, 0, 0, 0},          {0x70, NoRule32, 0, 0, 0},
      {0x74, NoRuleFloat, 0, 0, 0},       {0x78, NoRuleFloat, 0, 0, 0},
      {0x7C, NoRule32, 0, 0, 0},          {0x80, NoRule32, 0, 0, 0},
      {0x84, NoRule32, 0, 0, 0},          {0x88, NoRule32, 0, 0, 0},
      {0x8C, NoRule32, 0, 0, 0},          {0x90, NoRule32, 0, 0, 0},
  };
  auto validated = [](unsigned offset, const void* value, size_t width, void* out) {
    PrivateDevmode dm = Defaulted();
    auto* bytes = reinterpret_cast<uint8_t*>(&dm);
    std::memcpy(bytes + offset, value, width);
    ValidatePrivateDevmode(dm);
    std::memcpy(out, bytes + offset, width);
  };
  auto intCase = [&](unsigned offset, int32_t in) {
    int32_t out = 0;
    validated(offset, &in, 4, &out);
    return out;
  };
  auto floatCase = [&](unsigned offset, float in) {
    float out = 0;
    validated(offset, &in, 4, &out);
    return out;
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << "offset 0x" << std::hex << r.offset);
    const auto lo = static_cast<float>(r.lo), hi = static_cast<float>(r.hi);
    switch (r.kind) {
      case ZeroOrOne:
        EXPECT_EQ(0, intCase(r.offset, 0));
        EXPECT_EQ(1, intCase(r.offset, 1));
        EXPECT_EQ(r.otherwise, intCase(r.offset, 2));
        EXPECT_EQ(r.otherwise, intCase(r.offset, -1));
        break;
      case IntWithin:
        EXPECT_EQ(int32_t(r.lo), intCase(r.offset, int32_t(r.lo)));
        EXPECT_EQ(int32_t(r.hi), intCase(r.offset, int32_t(r.hi)));
        EXPECT_EQ(r.otherwise, intCase(r.offset, int32_t(r.lo) - 1));
        EXPECT_EQ(r.otherwise, intCase(r.offset, int32_t(r.hi) + 1));
        break;
      case IntClamp:
        EXPECT_EQ(int32_t(r.lo), intCase(r.offset, int32_t(r.lo) - 1));
        EXPECT_EQ(int32_t(r.hi), intCase(r.offset, int32_t(r.hi) + 1));
        EXPECT_EQ(int32_t(r.hi) - 1, intCase(r.offset, int32_t(r.hi) - 1));
        break;
      case FloatClamp:
        EXPECT_FLOAT_EQ(lo, floatCase(r.offset, lo));
        EXPECT_FLOAT_EQ(hi, floatCase(r.offset, hi));
        EXPECT_FLOAT_EQ(lo, floatCase(r.offset, lo - 0.5f));
        EXPECT_FLOAT_EQ(hi, floatCase(r.offset, hi + 0.5f));
        // Not finite: the default (0 for every clamped float), not a bound.
        EXPECT_EQ(0.0f, floatCase(r.offset, std::numeric_limits<float>::infinity()));
        break;
      case NoRule32:
        EXPECT_EQ(-123456789, intCase(r.offset, -123456789));
        break;
      case NoRuleFloat:
        EXPECT_FLOAT_EQ(-1e30f, floatCase(r.offset, -1e30f));
        break;
      case NoRule16: {
        int16_t in = -32000, out = 0;
        validated(r.offset, &in, 2, &out);
        EXPECT_EQ(in, out);
        break;
      }
    }
  }
}

// Every float field NaN, +inf or -inf in turn: each takes its default, and
// the valid fields beside it keep their values.
TEST(PrivateDevmodeValidate, NonFiniteFloatsTakeTheirDefaultsAndNothingValidIsLost) {
  const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                       -std::numeric_limits<float>::infinity()};
  for (float b : bad) {
    PrivateDevmode dm = Defaulted();
    dm.reserved2C = dm.reserved30 = dm.reserved34 = dm.reserved38 = dm.reserved3C = dm.reserved40 = b;
    dm.offsetX = dm.offsetY = dm.feedOffset = dm.reserved64 = dm.gapHeight = dm.grayFactor = b;
    dm.density = 12;
    dm.speed = 5;
    dm.postAction = 3;
    dm.postActionInterval = 7;
    ValidatePrivateDevmode(dm);
    PrivateDevmode expected = Defaulted();
    expected.density = 12;
    expected.speed = 5;
    expected.postAction = 3;
    expected.postActionInterval = 7;
    EXPECT_TRUE(SameBytes(expected, dm)) << b;
  }
  PrivateDevmode dm = Defaulted();
  dm.offsetX = std::numeric_limits<float>::quiet_NaN();
  dm.offsetY = 12.5f;
  dm.gapHeight = std::numeric_limits<float>::infinity();
  dm.grayFactor = 0.7f;
  ValidatePrivateDevmode(dm);
  EXPECT_EQ(0.0f, dm.offsetX);
  EXPECT_FLOAT_EQ(12.5f, dm.offsetY);
  EXPECT_FLOAT_EQ(2.0f, dm.gapHeight);
  EXPECT_FLOAT_EQ(0.7f, dm.grayFactor);
}

PrivateDevmode Customised() {
  PrivateDevmode dm = Defaulted();
  dm.mirror = 1;
  dm.density = 12;
  dm.speed = 5;
  dm.postAction = 3;
  dm.postActionInterval = 7;
  return dm;
}

TEST(PrivateDevmodeConvert, SameSignatureTakesTheRecord) {
  PrivateDevmode in = Customised();
  in.header.dwVersion = 0;
  PrivateDevmode out = Defaulted();
  ConvertPrivateDevmode(&in, sizeof in, out);
  EXPECT_EQ(1, out.mirror);
  EXPECT_EQ(3, out.postAction);
  EXPECT_EQ(7, out.postActionInterval);
  EXPECT_EQ(1u, out.header.dwVersion);
}

TEST(PrivateDevmodeConvert, AnotherSignatureYieldsTheDefaults) {
  PrivateDevmode in = Customised();
  in.header.dwSignature = 0x41424344;
  PrivateDevmode out = Customised();
  ConvertPrivateDevmode(&in, sizeof in, out);
  PrivateDevmode expected = Customised();
  DefaultPrivateDevmode(expected);
  EXPECT_TRUE(SameBytes(expected, out));
}

TEST(PrivateDevmodeConvert, ShortRecordFillsOnlyItsOwnLength) {
  PrivateDevmode in = Customised();
  in.header.dwSize = offsetof(PrivateDevmode, density);  // older, shorter record
  PrivateDevmode out = Defaulted();
  ConvertPrivateDevmode(&in, sizeof in, out);
  EXPECT_EQ(1, out.mirror);   // inside the short record
  EXPECT_EQ(8, out.density);  // beyond it: default
  EXPECT_EQ(1, out.postAction);
  EXPECT_EQ(148u, out.header.dwSize);
}

TEST(PrivateDevmodeConvert, ClaimedSizeBelowTheHeaderIsNoRecord) {
  PrivateDevmode in = Customised();
  in.header.dwSize = 8;
  PrivateDevmode out = Customised();
  ConvertPrivateDevmode(&in, sizeof in, out);
  EXPECT_TRUE(SameBytes(Defaulted(), out));
}

TEST(PrivateDevmodeConvert, NeverReadsPastTheCallersBuffer) {
  // The record claims 148 bytes but the caller's buffer ends after 0x18.
  std::vector<uint8_t> buffer(0x18);
  PrivateDevmode full = Customised();
  std::memcpy(buffer.data(), &full, buffer.size());
  PrivateDevmode out = Defaulted();
  ConvertPrivateDevmode(buffer.data(), buffer.size(), out);
  EXPECT_EQ(1, out.mirror);
  EXPECT_EQ(0, out.negative);  // at 0x18: not read
  EXPECT_EQ(8, out.density);

  PrivateDevmode out2 = Defaulted();
  ConvertPrivateDevmode(buffer.data(), 8, out2);  // not even a header
  EXPECT_TRUE(SameBytes(Defaulted(), out2));
  ConvertPrivateDevmode(nullptr, 148, out2);
  EXPECT_TRUE(SameBytes(Defaulted(), out2));
}

TEST(PrivateDevmodeConvert, OneBufferAsInputAndOutputKeepsItsSettings) {
  PrivateDevmode dm = Customised();
  ConvertPrivateDevmode(&dm, sizeof dm, dm);
  EXPECT_EQ(1, dm.mirror);
  EXPECT_EQ(12, dm.density);
  EXPECT_EQ(3, dm.postAction);
}

TEST(PrivateDevmodeConvert, OversizedClaimCopiesOnly148Bytes) {
  uint8_t buffer[200];
  std::memset(buffer, 0x7F, sizeof buffer);
  PrivateDevmode in = Customised();
  in.header.dwSize = 200;
  std::memcpy(buffer, &in, sizeof in);
  PrivateDevmode out[2];
  std::memset(out, 0x11, sizeof out);
  out[0] = Defaulted();
  ConvertPrivateDevmode(buffer, sizeof buffer, out[0]);
  EXPECT_EQ(148u, out[0].header.dwSize);
  EXPECT_EQ(0x11, reinterpret_cast<uint8_t*>(&out[1])[0]);
}

}  // namespace
}  // namespace lx
