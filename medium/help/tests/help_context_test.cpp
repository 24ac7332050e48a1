// The built help files opened as the plug-in opens them: HtmlHelpW with
// HH_HELP_CONTEXT finds a topic for every context the pages use and none
// for a context no page uses.
#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

constexpr UINT kHhHelpContext = 0x000F;
constexpr UINT kHhCloseAll = 0x0012;
using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

TEST(HelpFiles, EveryLanguageOpensAtEveryContextThePagesUse) {
  HMODULE hh = LoadLibraryW(L"hhctrl.ocx");
  ASSERT_NE(hh, nullptr);
  auto help = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(GetProcAddress(hh, "HtmlHelpW")));
  ASSERT_NE(help, nullptr);
  for (const wchar_t* code : {L"enus", L"zhcn", L"ru", L"ja", L"zhtw", L"it", L"esmx", L"tr", L"pl", L"tl", L"pt",
                              L"de", L"fr", L"nl"}) {
    std::wstring file = std::wstring(LX_HELP_DIR) + L"\\" + code + L"\\lx220ui" + code + L".chm";
    ASSERT_NE(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES) << "missing help file of " << std::string(code, code + wcslen(code));
    for (DWORD context : {1000u, 1100u, 1200u, 2000u}) {
      SCOPED_TRACE(std::to_string(context));
      EXPECT_NE(help(GetDesktopWindow(), file.c_str(), kHhHelpContext, context), nullptr);
      help(nullptr, nullptr, kHhCloseAll, 0);
    }
    EXPECT_EQ(help(GetDesktopWindow(), file.c_str(), kHhHelpContext, 1300), nullptr);
    help(nullptr, nullptr, kHhCloseAll, 0);
  }
}

}  // namespace
