// The wizard on a real Windows property sheet (run under Wine with a
// display): the same sheet and pages as the host scenarios, shown by the
// Win32 binding and driven through window messages from a timer on the UI
// thread, as a user's clicks would arrive.
#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "installer/core/installer_config.h"
#include "installer/core/resource_ids.h"
#include "installer/core/ui_language.h"
#include "installer/core/ui_strings.h"
#include "installer/wizard/sheet_manage.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_os.h"
#include "platform/win32/win32_session.h"
#include "ui/win32/win32_sheet.h"

namespace lx {
namespace {

std::u16string TextOf(HWND window) {
  wchar_t buffer[512] = {};
  GetWindowTextW(window, buffer, 512);
  return U(buffer);
}

// Keeps what the screen shows of the sheet as a 24-bit BMP beside the test
// program ("wizard-<name>.bmp"), for a person to look at.
void SaveScreenshot(HWND window, const char* name) {
  RECT r;
  GetWindowRect(window, &r);
  int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<size_t>(stride) * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(std::string("wizard-") + name + ".bmp", std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
}

// Steps run one per timer tick inside the sheet's modal loop.
// A step may ask to run again on the next tick (waiting for a worker); a
// step that opens a modal box lets the following steps run inside its loop.
class Script {
 public:
  static Script* current;
  std::vector<std::function<void()>> steps;
  size_t next = 0;
  int ticks = 0;
  void Again() { --next; }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!current || current->next >= current->steps.size()) return;
    if (++current->ticks > 600) {  // 30 s: give up rather than hang
      ADD_FAILURE() << "script stuck at step " << current->next;
      current->next = current->steps.size();
      return;
    }
    current->steps[current->next++]();
  }
};

// The message box the wizard shows on this thread, or null. A plain
// function: lambdas do not convert to the 32-bit stdcall callback type.
BOOL CALLBACK IsMessageBox(HWND window, LPARAM out) {
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(window) && GetDlgItem(window, 0xFFFF)) {
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindMessageBox() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), IsMessageBox, reinterpret_cast<LPARAM>(&found));
  return found;
}
Script* Script::current = nullptr;

class Win32WizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), 0xFF};
    InitCommonControlsEx(&icc);
    LoadLibraryW(L"Riched20.dll");
    // cfgSetup.ini beside the test program.
    std::string config =
        "[Install]\r\nSupportNet=0\r\nSupportOther=1\r\nLanguageRegPath=LxWizardTest\\Lang\r\n"
        "[Language]\r\nenus\r\nzhcn\r\n[Uninstall]\r\nRegInfo=LxWizardTest\r\n";
    std::u16string path = GetConfigPath(platform.os());
    HANDLE file = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, config.data(), static_cast<DWORD>(config.size()), &written, nullptr);
    CloseHandle(file);
    StartUpConfig() = InstallerConfig{};
    LoadInstallerConfig(platform.os(), path, StartUpConfig());
    DetectUiLanguage(platform.os());
  }

  void Run(bool uninstallMode, Script& script) {
    sheet = std::make_unique<SheetManage>(WizardServices{platform.os(), view, workers, session, TheWizardState()});
    if (uninstallMode) sheet->SetUninstallMode();
    Script::current = &script;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, Script::Tick);
    sheet->Run();
    KillTimer(nullptr, timer);
    Script::current = nullptr;
    EXPECT_EQ(script.next, script.steps.size()) << "the wizard closed before the script ended";
  }

  HWND Page() { return reinterpret_cast<HWND>(SendMessageW(view.window(), PSM_GETCURRENTPAGEHWND, 0, 0)); }
  HWND Button(int id) { return GetDlgItem(view.window(), id); }
  std::u16string Str(unsigned id) { return LoadUiString(platform.os(), id); }

  Win32Os platform{GetModuleHandleW(nullptr)};
  Win32SheetView view{GetModuleHandleW(nullptr)};
  ThreadWorkers workers;
  Win32Session session;
  std::unique_ptr<SheetManage> sheet;
};

TEST_F(Win32WizardTest, InstallModeWalksToThePortPageAndBack) {
  Script s;
  s.steps = {
      [&] {
        EXPECT_EQ(TextOf(view.window()), u"Installtion");
        EXPECT_EQ(Page(), view.PageWindow(sheet->init));
        EXPECT_EQ(TextOf(GetDlgItem(Page(), IDC_LANGUAGE_LABEL)), Str(IDS_SELECT_LANGUAGE));
        EXPECT_EQ(SendMessageW(GetDlgItem(Page(), IDC_LANGUAGE_COMBO), CB_GETCOUNT, 0, 0), 2);
        EXPECT_FALSE(IsWindowEnabled(Button(kIdWizBack)));
        EXPECT_TRUE(IsWindowEnabled(Button(kIdWizNext)));
        EXPECT_FALSE(IsWindowVisible(Button(kIdHelp)));
        EXPECT_EQ(TextOf(Button(kIdCancel)), Str(IDS_EXIT));
        SaveScreenshot(view.window(), "language");
        SendMessageW(view.window(), PSM_PRESSBUTTON, PSBTN_NEXT, 0);
      },
      [&] {
        EXPECT_EQ(Page(), view.PageWindow(*sheet->WelcomePage()));
        EXPECT_FALSE(IsWindowEnabled(Button(kIdWizNext)));
        EXPECT_TRUE(IsWindowEnabled(Button(kIdWizBack)));
        SendMessageW(GetDlgItem(Page(), IDC_AGREE_CHECK), BM_CLICK, 0, 0);
      },
      [&] {
        EXPECT_TRUE(IsWindowEnabled(Button(kIdWizNext)));
        SaveScreenshot(view.window(), "welcome");
        SendMessageW(view.window(), PSM_PRESSBUTTON, PSBTN_NEXT, 0);
      },
      [&] {
        EXPECT_EQ(Page(), view.PageWindow(sheet->installerType));
        EXPECT_EQ(TextOf(GetDlgItem(Page(), IDC_USB_INSTALL)), Str(IDS_USB_INSTALL));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(Page(), IDC_NET_INSTALL)));
        EXPECT_FALSE(IsWindowEnabled(Button(kIdWizNext)));
        SaveScreenshot(view.window(), "install-type");
        SendMessageW(GetDlgItem(Page(), IDC_OTHER_PORT_INSTALL), BM_CLICK, 0, 0);
      },
      [&] {
        EXPECT_EQ(Page(), view.PageWindow(sheet->selectPort));
        EXPECT_EQ(sheet->step, Step::kSelectPort);
        EXPECT_EQ(TextOf(Button(kIdWizNext)), Str(IDS_INSTALL));
        EXPECT_FALSE(IsWindowEnabled(Button(kIdWizNext)));
        HWND list = GetDlgItem(Page(), IDC_PORT_LIST);
        EXPECT_GT(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
        // Picking a row enables Next.
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_TRUE(IsWindowEnabled(Button(kIdWizNext)));
      },
      [&] {
        SaveScreenshot(view.window(), "port");
        SendMessageW(view.window(), PSM_PRESSBUTTON, PSBTN_BACK, 0);
      },
      [&] {
        EXPECT_EQ(Page(), view.PageWindow(sheet->installerType));
        EXPECT_EQ(sheet->step, Step::kInstallerType);
        SendMessageW(view.window(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
      },
  };
  Run(false, s);
}

TEST_F(Win32WizardTest, UninstallModeOpensOnTheInstallTypePage) {
  Script s;
  s.steps = {
      [&] {
        EXPECT_EQ(Page(), view.PageWindow(sheet->installerType));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Page(), IDC_USB_INSTALL)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Page(), IDC_OTHER_PORT_INSTALL)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Page(), IDC_UNINSTALL)));
        EXPECT_FALSE(IsWindowEnabled(Button(kIdWizBack)));
        SaveScreenshot(view.window(), "uninstall");
        SendMessageW(view.window(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
      },
  };
  Run(true, s);
}

// The workers run on their own threads here: progress crosses to the UI
// thread by SendMessageW and completion comes back as a posted message.
TEST_F(Win32WizardTest, UsbInstallRunsOnAWorkerAndEndsOnTheFinishPage) {
  Script s;
  s.steps = {
      [&] { SendMessageW(view.window(), PSM_PRESSBUTTON, PSBTN_NEXT, 0); },
      [&] { SendMessageW(GetDlgItem(Page(), IDC_AGREE_CHECK), BM_CLICK, 0, 0); },
      [&] { SendMessageW(view.window(), PSM_PRESSBUTTON, PSBTN_NEXT, 0); },
      [&] {
        SendMessageW(GetDlgItem(Page(), IDC_USB_INSTALL), BM_CLICK, 0, 0);
        EXPECT_EQ(Page(), view.PageWindow(sheet->installing));
        EXPECT_EQ(TextOf(GetDlgItem(Page(), IDC_INSTALL_STATUS)), Str(IDS_INSTALLING));
        EXPECT_EQ(SendMessageW(GetDlgItem(Page(), IDC_INSTALL_PROGRESS), PBM_GETPOS, 0, 0), 40);
        EXPECT_FALSE(IsWindowEnabled(Button(kIdWizNext)));
      },
      [&] {
        if (Page() != view.PageWindow(sheet->finish)) return Script::current->Again();
        EXPECT_EQ(sheet->step, Step::kFinish);
        HWND installing = view.PageWindow(sheet->installing);
        // The configuration names no model: its empty driver name is refused
        // before printui, where the ramp stood, and the page says so instead
        // of claiming success.
        EXPECT_EQ(SendMessageW(GetDlgItem(installing, IDC_INSTALL_PROGRESS), PBM_GETPOS, 0, 0), 40);
        EXPECT_EQ(TextOf(GetDlgItem(Page(), IDC_FINISH_RESULT)), Str(IDS_INSTALL_FAILED));
        EXPECT_EQ(TextOf(GetDlgItem(Page(), IDC_FINISH_NOTE)), Str(IDS_FAIL_NAME));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(Page(), IDC_FINISH_NOTE)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(Page(), IDC_PRINT_TEST_PAGE)));
        EXPECT_EQ(TextOf(Button(kIdCancel)), Str(IDS_COMPLETE));
        SaveScreenshot(view.window(), "finish");
        SendMessageW(view.window(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
      },
  };
  Run(false, s);
}

TEST_F(Win32WizardTest, RemovalEndsWithTheRestartQuestion) {
  bool asked = false;
  Script s;
  s.steps = {
      [&] { SendMessageW(GetDlgItem(Page(), IDC_UNINSTALL), BM_CLICK, 0, 0); },
      [&] {
        if (Page() != view.PageWindow(sheet->finish)) return Script::current->Again();
        EXPECT_EQ(TextOf(GetDlgItem(Page(), IDC_FINISH_RESULT)), Str(IDS_UNINSTALL_DONE));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(Page(), IDC_PRINT_TEST_PAGE)));
        // The question's box runs its own loop; the next step answers it.
        SendMessageW(view.window(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
      },
      [&] {
        HWND box = FindMessageBox();
        if (!box) return Script::current->Again();
        asked = true;
        EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), Str(IDS_RESTART));
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);  // no restart of the test machine
      },
  };
  Run(true, s);
  EXPECT_TRUE(asked);
}

}  // namespace
}  // namespace lx
