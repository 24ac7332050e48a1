// The driver configuration file shipped beside the plug-in reads as the
// plug-in expects: UTF-16 for the profile functions, every UI language.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "plugin/core/about_info.h"
#include "plugin/core/language_table.h"
#include "plugin/core/model_table.h"
#include "plugin/tests/test_profile.h"

namespace lx {
namespace {

std::string ShippedFile() {
  std::ifstream in(LX_DRIVER_CONFIG_FILE, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(DriverConfigFile, IsUnicodeAndNamesTheDefaults) {
  const std::string bytes = ShippedFile();
  ASSERT_GT(bytes.size(), 2u);
  EXPECT_EQ("\xFF\xFE", bytes.substr(0, 2));  // UTF-16 LE, so every language survives
  IniDocument ini = IniDocument::FromBytes(bytes);
  EXPECT_EQ(0, ModelClassFromType(ini.GetInt(u"DRIVER_TYPE", u"Type", 100)));
  EXPECT_EQ(u"Label Printer", ini.GetString(u"DRIVER_TYPE", u"DrvierName", u"", 260).text);
  EXPECT_EQ(u"LX-220", ini.GetString(u"DRIVER_TYPE", u"ModelName", u"", 260).text);
}

TEST(DriverConfigFile, EveryUiLanguageHasItsAboutTexts) {
  testing::TestProfile profile;
  profile.PutFile(u"C:\\drv\\3\\lx220.ini", ShippedFile());
  for (int lang = 0; lang < kUiLanguageCount; ++lang) {
    AboutInfo about = ReadAboutInfo(profile, u"C:\\drv\\3\\lx220.ini", lang);
    EXPECT_FALSE(about.driverName.empty()) << lang;
    EXPECT_FALSE(about.driverType.empty()) << lang;
    EXPECT_FALSE(about.driverVersion.empty()) << lang;
    EXPECT_EQ(1, about.driverLink) << lang;
  }
  testing::TestProfile shipped;
  shipped.PutFile(u"x.ini", ShippedFile());
  EXPECT_EQ(u"Термопринтер этикеток", ReadAboutInfo(shipped, u"x.ini", 2).driverType);
}

}  // namespace
}  // namespace lx
