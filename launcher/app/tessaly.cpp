// Entry of Tessaly.exe: a blank splash whose first paint does the work of
// launcher/launcher.cpp, then fades out; the launcher ends with the dialog.
#include <windows.h>
#include <commctrl.h>

#include "launcher/app/resource.h"
#include "launcher/launcher.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_process_start.h"

namespace lx {

class CTessalyDlg {
 public:
  explicit CTessalyDlg(HINSTANCE instance) : instance_(instance) {}
  INT_PTR DoModal() {
    return ::DialogBoxParamW(instance_, MAKEINTRESOURCEW(IDD_TESSALY_DIALOG), nullptr, &CTessalyDlg::Proc,
                             reinterpret_cast<LPARAM>(this));
  }

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) ::SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    auto* self = reinterpret_cast<CTessalyDlg*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    switch (msg) {
      case WM_INITDIALOG:
        self->OnInitDialog(hwnd);
        return TRUE;
      case WM_PAINT:
        self->OnPaint(hwnd);
        return TRUE;
      default:
        return FALSE;
    }
  }

  void OnInitDialog(HWND hwnd) {
    icon_ = ::LoadIconW(instance_, MAKEINTRESOURCEW(IDR_MAINFRAME));
    ::SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }

  void OnPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    if (::IsIconic(hwnd)) {
      RECT rc;
      ::GetClientRect(hwnd, &rc);
      int cx = ::GetSystemMetrics(SM_CXICON), cy = ::GetSystemMetrics(SM_CYICON);
      ::DrawIcon(dc, (rc.right - rc.left - cx + 1) / 2, (rc.bottom - rc.top - cy + 1) / 2, icon_);
    }
    ::EndPaint(hwnd, &ps);
    if (started_) return;
    started_ = true;

    Win32System system;
    Win32Files files;
    Win32DebugOutput debug;
    Win32Clock clock;
    Win32ProcessStart processes;
    LauncherServices os{system, files, debug, clock, processes};
    RunLauncher(os, [hwnd] {
      ::AnimateWindow(hwnd, 1500, AW_HIDE | AW_BLEND);
      ::EndDialog(hwnd, IDOK);
    });
  }

  HINSTANCE instance_;
  HICON icon_ = nullptr;
  bool started_ = false;
};

class CTessalyApp {
 public:
  explicit CTessalyApp(HINSTANCE instance) : instance_(instance) {}
  int InitInstance() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, 0xFFFF};
    ::InitCommonControlsEx(&icc);
    CTessalyDlg dlg(instance_);
    dlg.DoModal();
    return 0;
  }

 private:
  HINSTANCE instance_;
};

}  // namespace lx

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // First of all: the launcher runs elevated from the medium's folder, and
  // nothing it loads by name may come from there or the current folder.
  if (!lx::Win32Libraries().SearchSystemFolderOnly())
    ::OutputDebugStringW(L"SetDefaultDllDirectories failed; the current folder may still be searched");
  return lx::CTessalyApp(instance).InitInstance();
}
