// The engine's own readings of Windows rules, checked against Windows itself:
// command-line quoting against CommandLineToArgvW, and the path rules
// against PathRemoveFileSpecW and PathCombineW.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/engine/command_line.h"
#include "installer/engine/win_path.h"

namespace lx {
namespace {

std::wstring W(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }
std::u16string U(const wchar_t* s) { return std::u16string(s, s + wcslen(s)); }

std::vector<std::u16string> RealArgv(const std::u16string& parameters) {
  std::wstring line = L"rundll32 " + W(parameters);
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(line.c_str(), &count);
  std::vector<std::u16string> out;
  for (int i = 1; i < count; ++i) out.push_back(U(argv[i]));
  LocalFree(argv);
  return out;
}

TEST(WinParityTest, QuotedNamesComeBackWholeFromCommandLineToArgvW) {
  const std::u16string names[] = {
      u"Label", u"Label (2)", u"Lab\" /dl /n \"Office", u"a\\\" /x", u"ends\\", u"C:\\Medium\\",
      u"two\\\\\"q\"\"", u"", u"tab\tand  blanks", u"\\\\server\\share\\x.inf", u"\"\"\"",
  };
  for (const auto& name : names) {
    auto parameters = PrintUiInstallPrinter(name, u"USB001", name, name);
    ASSERT_TRUE(parameters);
    std::vector<std::u16string> expected = {u"printui.dll", u"PrintUIEntry", u"/if", u"/b", name, u"/r",
                                            u"USB001", u"/m", name, u"/f", name, u"/z"};
    EXPECT_EQ(RealArgv(*parameters), expected);
    EXPECT_EQ(RealArgv(*PnputilDeletePackage(name)), (std::vector<std::u16string>{u"-f", u"-d", name}));
  }
}

TEST(WinParityTest, PathRulesMatchTheShell) {
  const std::u16string paths[] = {u"C:\\Medium\\Setup\\Qelvin64.exe", u"C:\\Medium\\Setup", u"C:\\Medium",
                                  u"C:\\", u"Qelvin64.exe", u"\\\\server\\share\\Setup", u"\\\\server\\share", u"\\\\server", u"\\Setup\\x", u"\\x"};
  for (const auto& path : paths) {
    wchar_t buf[MAX_PATH];
    wcscpy(buf, W(path).c_str());
    BOOL removed = PathRemoveFileSpecW(buf);
    auto ours = RemoveFileSpec(path);
    SCOPED_TRACE(std::string(path.begin(), path.end()));
    EXPECT_EQ(ours.has_value(), removed != FALSE);
    if (ours && removed) EXPECT_EQ(*ours, U(buf));
  }
  const std::pair<std::u16string, std::u16string> joins[] = {
      {u"C:\\Program Files", u"Lab\\Tool"}, {u"C:\\Program Files", u"D:\\Tools"},
      {u"C:\\Program Files", u"\\Tools"},   {u"C:\\Medium", u"..\\x.inf"},
      {u"C:\\Medium", u""},                 {u"C:\\Medium\\", u"amd64\\lx.inf"},
      {u"C:\\Medium", u".\\a\\.\\b.inf"},   {u"C:\\", u"Lab"},
  };
  for (const auto& [dir, file] : joins) {
    wchar_t buf[MAX_PATH] = {};
    LPWSTR r = PathCombineW(buf, W(dir).c_str(), W(file).c_str());
    auto ours = CombinePath(dir, file);
    SCOPED_TRACE(std::string(file.begin(), file.end()));
    ASSERT_NE(r, nullptr);
    ASSERT_TRUE(ours);
    EXPECT_EQ(*ours, U(buf));
  }
}

}  // namespace
}  // namespace lx
