// The INI cases against the real profile functions (under Wine in CI) and
// against our reader on the same machine.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/ini.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_os.h"
#include "tests/shared/ini_cases.h"

namespace lx {
namespace {

std::u16string TempIni() {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  wchar_t file[MAX_PATH];
  GetTempFileNameW(dir, L"ini", 0, file);
  return U(file);
}

void WriteBytes(const std::u16string& path, const std::string& bytes) {
  Win32Files files;
  ASSERT_TRUE(files.WriteFile(path, bytes));
}

TEST(IniParity, RealProfileFunctionsAgreeWithOurReader) {
  Win32Profile real;
  std::u16string path = TempIni();
  for (const auto& c : testing::IniCases()) {
    SCOPED_TRACE(c.name);
    WriteBytes(path, c.file);
    IniDocument ours = IniDocument::FromBytes(c.file);
    switch (c.kind) {
      case testing::IniCase::kString: {
        ProfileResult r = real.GetString(c.section, c.key, c.def, c.buffer, path);
        EXPECT_EQ(r.text, c.expected);
        EXPECT_EQ(r.count, c.expectedCount);
        EXPECT_EQ(ours.GetString(c.section, c.key, c.def, c.buffer).text, r.text);
        break;
      }
      case testing::IniCase::kSection: {
        ProfileResult r = real.GetSection(c.section, c.buffer, path);
        EXPECT_EQ(r.text, c.expected);
        EXPECT_EQ(r.count, c.expectedCount);
        EXPECT_EQ(ours.GetSection(c.section, c.buffer).text, r.text);
        break;
      }
      case testing::IniCase::kInt: {
        int def = std::stoi(std::string(c.def.begin(), c.def.end()));
        uint32_t r = real.GetInt(c.section, c.key, def, path);
        EXPECT_EQ(r, c.expectedCount);
        EXPECT_EQ(ours.GetInt(c.section, c.key, def), r);
        break;
      }
    }
  }
  DeleteFileW(W(path));
}

TEST(IniParity, LongSectionIsCutTheSameWay) {
  std::string file = "[Support_Driver]\r\n";
  for (int i = 0; i < 300; ++i) file += "Model" + std::to_string(1000 + i) + "\r\n";
  std::u16string path = TempIni();
  WriteBytes(path, file);
  Win32Profile real;
  ProfileResult r = real.GetSection(u"Support_Driver", 1024, path);
  ProfileResult ours = IniDocument::FromBytes(file).GetSection(u"Support_Driver", 1024);
  EXPECT_EQ(r.count, ours.count);
  EXPECT_EQ(r.text, ours.text);
  DeleteFileW(W(path));
}

TEST(IniParity, MissingFileGivesDefaults) {
  Win32Profile real;
  std::u16string path = u"C:\\no\\such\\folder\\cfgSetup.ini";
  EXPECT_EQ(real.GetString(u"Install", u"InfName", u"", 1024, path).count, 0u);
  EXPECT_EQ(real.GetInt(u"Install", u"ShowLogo", 1, path), 1u);
  EXPECT_EQ(real.GetSection(u"Support_Driver", 1024, path).count, 0u);
}

}  // namespace
}  // namespace lx
