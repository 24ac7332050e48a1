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

TEST(PrivateDevmodeValidate, NotANumberIsLeftAlone) {
  PrivateDevmode dm = Defaulted();
  dm.offsetX = std::numeric_limits<float>::quiet_NaN();
  dm.density = -4;
  ValidatePrivateDevmode(dm);
  EXPECT_TRUE(std::isnan(dm.offsetX));
  EXPECT_EQ(0, dm.density);
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
