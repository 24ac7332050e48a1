#include "tests/shared/dialog_check_win.h"

#include <vector>

namespace dlgcheck {
namespace {

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

}  // namespace

std::u16string U16(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

GdiMeasure::GdiMeasure(HWND page, HFONT font)
    : page_(page), dc_(GetDC(page)),
      font_(font ? font : reinterpret_cast<HFONT>(SendMessageW(page, WM_GETFONT, 0, 0))),
      old_(SelectObject(dc_, font_)) {
  TEXTMETRICW tm = {};
  GetTextMetricsW(dc_, &tm);
  metrics_.lineHeight = tm.tmHeight;
  metrics_.textWidth = [this](const std::u16string& s) { return Width(std::wstring(s.begin(), s.end())); };
  metrics_.dluToPixelsX = [this](int d) {
    RECT r = {0, 0, d, 0};
    MapDialogRect(page_, &r);
    return static_cast<int>(r.right);
  };
  metrics_.dluToPixelsY = [this](int d) {
    RECT r = {0, 0, 0, d};
    MapDialogRect(page_, &r);
    return static_cast<int>(r.bottom);
  };
}

GdiMeasure::~GdiMeasure() {
  SelectObject(dc_, old_);
  ReleaseDC(page_, dc_);
}

int GdiMeasure::Width(const std::wstring& text) const {
  auto measure = [&] {
    SIZE size = {};
    GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  if (HasAllGlyphs(dc_, text)) return measure();
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc_, LF_FACESIZE, face);
  LOGFONTW lf = {};
  GetObjectW(font_, sizeof(lf), &lf);
  for (const std::wstring& linked : LinkedFaces(face)) {
    lstrcpynW(lf.lfFaceName, linked.c_str(), LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc_, font);
    int width = HasAllGlyphs(dc_, text) ? measure() : -1;
    SelectObject(dc_, old);
    DeleteObject(font);
    if (width >= 0) return width;
  }
  return -1;
}

}  // namespace dlgcheck
