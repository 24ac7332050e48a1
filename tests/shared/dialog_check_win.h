// The template checker's measures taken by GDI on a page the dialog manager
// built from the template: dialog units of its font, and text widths in that
// font or, for scripts it lacks, in the font the system links to it.
#pragma once

#include <windows.h>

#include <string>

#include "tests/shared/dialog_check.h"

namespace dlgcheck {

class GdiMeasure {
 public:
  // Texts are measured in `font`, by default the page's own; dialog units are
  // always those of the page's template font.
  explicit GdiMeasure(HWND page, HFONT font = nullptr);
  ~GdiMeasure();
  GdiMeasure(const GdiMeasure&) = delete;
  GdiMeasure& operator=(const GdiMeasure&) = delete;

  const Metrics& metrics() const { return metrics_; }
  // Width of `text` as drawn; -1 when no font on this system has its glyphs
  // (a bare Wine prefix has no CJK or Thai font).
  int Width(const std::wstring& text) const;

 private:
  HWND page_;
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
  Metrics metrics_;
};

std::u16string U16(const std::wstring& s);

}  // namespace dlgcheck
