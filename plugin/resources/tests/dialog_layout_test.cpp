// The templates as real dialogs: every language module's pages can be created by
// the dialog manager, each control the pages address is there with its class, and
// each caption fits its control in the dialog font, so no translation is cut off.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "plugin/resources/tests/dialog_template.h"
#include "plugin/resources/tests/module_files.h"

namespace lxres {
namespace {

INT_PTR CALLBACK QuietProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::string Narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c < 0x80 ? char(c) : '?';
  return s;
}

// Room a control leaves for its caption, in pixels; -1 when the caption is not
// one line that must fit (multi-line texts, pictures, edits, lists).
int RoomForCaption(const DialogItem& item, int width) {
  if (item.windowClass.ordinal == 0x0080) {
    switch (item.style & BS_TYPEMASK) {
      case BS_AUTOCHECKBOX:
      case BS_AUTORADIOBUTTON: return width - 16;  // box and gap
      case BS_GROUPBOX: return width - 12;         // frame corners
      case BS_PUSHBUTTON: return width - 6;
    }
  }
  if (item.windowClass.ordinal == 0x0082 && (item.style & SS_TYPEMASK) <= SS_RIGHT) return width;
  return -1;
}

class DialogLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
  }
};

TEST_F(DialogLayout, PagesCreateWithTheirControlsAndCaptionsFit) {
  const WORD templates[] = {101, 102, 105, 107, 108, 153};
  for (const auto& m : LanguageModules()) {
    SCOPED_TRACE(Narrow(m.file));
    LoadedModule module(m.file, LoadMode::Image);
    ASSERT_NE(module.get(), nullptr);
    for (WORD id : templates) {
      SCOPED_TRACE("template " + std::to_string(id));
      DialogTemplate dlg;
      ASSERT_TRUE(ParseDialogTemplateEx(ResourceBytes(module.get(), RT_DIALOG, MAKEINTRESOURCEW(id), m.lang), dlg));
      HWND page = CreateDialogParamW(module.get(), MAKEINTRESOURCEW(id), nullptr, QuietProc, 0);
      ASSERT_NE(page, nullptr) << "CreateDialogParamW error " << GetLastError();
      HDC dc = GetDC(page);
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(page, WM_GETFONT, 0, 0)));
      for (const DialogItem& item : dlg.items) {
        if (item.id == 0xFFFFFFFF) continue;  // unnamed group box: no handle to look up
        HWND control = GetDlgItem(page, static_cast<int>(item.id));
        ASSERT_NE(control, nullptr) << "control " << item.id << " was not created";
        RECT r = {0, 0, item.cx, item.cy};
        MapDialogRect(page, &r);
        int room = RoomForCaption(item, r.right);
        if (room < 0 || item.title.text.empty()) continue;
        // Without a font for the script (no CJK font in a bare Wine prefix) the
        // measure would be of placeholder boxes; such captions are left out.
        std::vector<WORD> glyphs(item.title.text.size());
        GetGlyphIndicesW(dc, item.title.text.c_str(), static_cast<int>(glyphs.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS);
        bool drawable = true;
        for (WORD g : glyphs) drawable = drawable && g != 0xFFFF;
        if (!drawable) continue;
        SIZE size = {};
        GetTextExtentPoint32W(dc, item.title.text.c_str(), static_cast<int>(item.title.text.size()), &size);
        EXPECT_LE(size.cx, room) << "caption of control " << item.id << " (" << Narrow(item.title.text)
                                 << ") is " << size.cx << " px wide, the control leaves " << room;
      }
      SelectObject(dc, old);
      ReleaseDC(page, dc);
      DestroyWindow(page);
    }
  }
}

}  // namespace
}  // namespace lxres
