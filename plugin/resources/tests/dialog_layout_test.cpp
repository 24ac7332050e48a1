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

bool HasAllGlyphs(HDC dc, const std::wstring& text) {
  std::vector<WORD> glyphs(text.size());
  if (GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(glyphs.size()), glyphs.data(),
                       GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
    return false;
  for (WORD g : glyphs)
    if (g == 0xFFFF) return false;
  return true;
}

// Faces the system links to `face` for scripts it lacks (FontLink\SystemLink,
// entries "file,face"), in the order GDI tries them. A substituted face ("MS Shell
// Dlg" is Tahoma) takes the links of the face that stands in for it.
std::vector<std::wstring> LinkedFaces(const std::wstring& face, int depth = 0) {
  const std::wstring key = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\";
  std::vector<std::wstring> faces;
  wchar_t data[4096] = {};
  DWORD size = sizeof(data) - sizeof(wchar_t);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, (key + L"FontLink\\SystemLink").c_str(), face.c_str(), RRF_RT_REG_MULTI_SZ,
                   nullptr, data, &size) != ERROR_SUCCESS) {
    wchar_t substitute[LF_FACESIZE] = {};
    size = sizeof(substitute) - sizeof(wchar_t);
    if (depth < 2 && RegGetValueW(HKEY_LOCAL_MACHINE, (key + L"FontSubstitutes").c_str(), face.c_str(),
                                  RRF_RT_REG_SZ, nullptr, substitute, &size) == ERROR_SUCCESS)
      return LinkedFaces(substitute, depth + 1);
    return faces;
  }
  for (const wchar_t* entry = data; *entry; entry += wcslen(entry) + 1) {
    std::wstring e(entry);
    size_t comma = e.find(L',');
    if (comma == std::wstring::npos) continue;
    size_t end = e.find(L',', comma + 1);
    faces.push_back(e.substr(comma + 1, end == std::wstring::npos ? std::wstring::npos : end - comma - 1));
  }
  return faces;
}

// Width of a caption as drawn: in the dialog font when it has every glyph,
// otherwise in the first linked font that has them (GDI draws other scripts,
// Thai and Chinese, from there). -1 when no font on this system can draw it.
int CaptionWidth(HDC dc, HFONT dialogFont, const std::wstring& text) {
  auto measure = [&] {
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  if (HasAllGlyphs(dc, text)) return measure();
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  LOGFONTW lf = {};
  GetObjectW(dialogFont, sizeof(lf), &lf);
  for (const std::wstring& linked : LinkedFaces(face)) {
    lstrcpynW(lf.lfFaceName, linked.c_str(), LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    int width = HasAllGlyphs(dc, text) ? measure() : -1;
    SelectObject(dc, old);
    DeleteObject(font);
    if (width >= 0) return width;
  }
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
      HFONT font = reinterpret_cast<HFONT>(SendMessageW(page, WM_GETFONT, 0, 0));
      HGDIOBJ old = SelectObject(dc, font);
      for (const DialogItem& item : dlg.items) {
        if (item.id == 0xFFFFFFFF) continue;  // unnamed group box: no handle to look up
        HWND control = GetDlgItem(page, static_cast<int>(item.id));
        ASSERT_NE(control, nullptr) << "control " << item.id << " was not created";
        RECT r = {0, 0, item.cx, item.cy};
        MapDialogRect(page, &r);
        int room = RoomForCaption(item, r.right);
        if (room < 0 || item.title.text.empty()) continue;
        // Without any font for the script (a bare Wine prefix has no CJK or Thai
        // font) the measure would be of placeholder boxes; such captions are left out.
        int width = CaptionWidth(dc, font, item.title.text);
        if (width < 0) continue;
        EXPECT_LE(width, room) << "caption of control " << item.id << " (" << Narrow(item.title.text)
                               << ") is " << width << " px wide, the control leaves " << room;
      }
      SelectObject(dc, old);
      ReleaseDC(page, dc);
      DestroyWindow(page);
    }
  }
}

}  // namespace
}  // namespace lxres
