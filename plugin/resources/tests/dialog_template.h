// Reader of extended dialog templates (DLGTEMPLATEEX with DLGITEMTEMPLATEEX items)
// as they lie in a module's RT_DIALOG resource.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace lxres {

// A name-or-ordinal field: an ordinal when `ordinal` is non-zero, else `text`.
struct NameOrOrdinal {
  WORD ordinal = 0;
  std::wstring text;
};

struct DialogItem {
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  NameOrOrdinal windowClass;
  NameOrOrdinal title;
};

struct DialogTemplate {
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::wstring title;
  bool hasFont = false;
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::wstring typeface;
  std::vector<DialogItem> items;
};

// False when the data is not an extended template or ends before its last item.
bool ParseDialogTemplateEx(const std::vector<BYTE>& data, DialogTemplate& out);

}  // namespace lxres
