#include <gtest/gtest.h>

#include "installer/core/installer_config.h"
#include "installer/engine/model_lookup.h"

namespace lx {
namespace {

class ModelLookupTest : public ::testing::Test {
 protected:
  void SetUp() override { StartUpConfig() = InstallerConfig(); }
  void TearDown() override { StartUpConfig() = InstallerConfig(); }
  void Add(const std::u16string& section, ModelEntry m) {
    StartUpConfig().modelNames.push_back(section);
    StartUpConfig().models[section] = m;
    StartUpConfig().modelCount = static_cast<int>(StartUpConfig().modelNames.size());
  }
  static ModelEntry Model(std::u16string vid, std::u16string pid, std::u16string driver,
                          std::u16string printer, int type, int show = 0) {
    ModelEntry m;
    m.VID = vid;
    m.PID = pid;
    m.DriverName = driver;
    m.PRINTERNAME = printer;
    m.TYPE = type;
    m.ShowSetting = show;
    return m;
  }
};

TEST_F(ModelLookupTest, EmptyTableFindsNothing) {
  EXPECT_EQ(FindModelTypeByInstanceId(u"USB\\VID_2D37&PID_0220\\1"), -1);
  EXPECT_EQ(FindDriverNameByType(-1), u"");
  EXPECT_EQ(FindDriverNameByType(0), u"");
  EXPECT_EQ(FindPrinterNameByType(0), u"");
  EXPECT_EQ(GetShowSetting(u""), -1);
}

TEST_F(ModelLookupTest, FirstMatchInTableOrderWins) {
  Add(u"A", Model(u"VID_2D37", u"PID_0220", u"LX-220", u"Label", 3, 1));
  Add(u"B", Model(u"VID_2D37", u"PID_0320", u"LX-320", u"Big Label", 4));
  Add(u"C", Model(u"VID_2D37", u"PID_0220", u"LX-220 copy", u"Copy", 3, 0));
  EXPECT_EQ(FindModelTypeByInstanceId(u"USB\\VID_2D37&PID_0320\\S1"), 4);
  EXPECT_EQ(FindModelTypeByInstanceId(u"USB\\VID_2D37&PID_0220\\S1"), 3);
  EXPECT_EQ(FindModelTypeByInstanceId(u"USB\\vid_2d37&pid_0220\\S1"), -1);  // case counts
  EXPECT_EQ(FindDriverNameByType(3), u"LX-220");
  EXPECT_EQ(FindPrinterNameByType(3), u"Label");
  EXPECT_EQ(FindDriverNameByType(-1), u"LX-220");  // -1: the first entry
  EXPECT_EQ(FindPrinterNameByType(-1), u"");      // -1: an ordinary type here
  EXPECT_EQ(FindDriverNameByType(9), u"");
  EXPECT_EQ(GetShowSetting(u"LX-220"), 1);
  EXPECT_EQ(GetShowSetting(u"LX-320"), 0);
  EXPECT_EQ(GetShowSetting(u"lx-220"), -1);
  EXPECT_EQ(GetShowSetting(u"Unknown"), -1);
}

TEST_F(ModelLookupTest, EmptyPidMatchesEveryIdAndNegativeTypeIsFound) {
  Add(u"A", Model(u"VID_2D37", u"PID_0220", u"LX-220", u"Label", 3));
  Add(u"Any", Model(u"", u"", u"Generic", u"Generic Label", -1));
  EXPECT_EQ(FindModelTypeByInstanceId(u"USB\\VID_0000&PID_9999\\x"), -1);
  EXPECT_EQ(FindPrinterNameByType(-1), u"Generic Label");
  EXPECT_EQ(FindDriverNameByType(-1), u"LX-220");
}

}  // namespace
}  // namespace lx
