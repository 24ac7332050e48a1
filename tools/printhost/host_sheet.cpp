#include "tools/printhost/host_sheet.h"

#include "plugin/oem/oem_com.h"

namespace printhost {

HostSheet::~HostSheet() {
  for (HPROPSHEETPAGE page : pages) DestroyPropertySheetPage(page);
}

LONG_PTR CALLBACK HostSheet::Function(HANDLE handle, UINT function, LPARAM lParam1, LPARAM lParam2) {
  auto* sheet = reinterpret_cast<HostSheet*>(handle);
  if (sheet == nullptr) return -1;
  switch (function) {
    case CPSFUNC_ADD_PROPSHEETPAGEW: {
      auto* description = reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
      if (description == nullptr || static_cast<int>(sheet->pages.size()) >= sheet->acceptPages) return 0;
      HPROPSHEETPAGE page = CreatePropertySheetPageW(description);
      if (page == nullptr) return 0;
      sheet->pages.push_back(page);
      sheet->titles.push_back((description->dwFlags & PSP_USETITLE) && description->pszTitle != nullptr
                                  ? description->pszTitle
                                  : L"");
      sheet->templates.push_back(static_cast<int>(reinterpret_cast<ULONG_PTR>(description->pszTemplate)));
      return reinterpret_cast<LONG_PTR>(page);
    }
    case CPSFUNC_SET_RESULT:
      sheet->results.push_back(lParam2);
      return sheet->setResultAnswer;
    default:
      return 0;
  }
}

INT_PTR HostSheet::Show(const std::wstring& caption, HWND owner) {
  PROPSHEETHEADERW header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_NOCONTEXTHELP;
  header.hwndParent = owner;
  header.pszCaption = caption.c_str();
  header.nPages = static_cast<UINT>(pages.size());
  header.phpage = pages.data();
  INT_PTR result = PropertySheetW(&header);
  pages.clear();
  return result;
}

}  // namespace printhost
