// Works another process's windows the way a user's clicks and keys would
// reach them: texts, list rows, message boxes and screenshots. Messages
// that carry a pointer get their memory inside the other process, since
// Windows carries only the standard text messages across.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace lx::testing {

// Checks every 50 ms until `done` answers true or `ms` have passed.
bool WaitUntil(const std::function<bool()>& done, DWORD ms);

// A control's text as it reports it to WM_GETTEXT (edit boxes included).
std::wstring ControlText(HWND control);
std::wstring ControlText(HWND parent, int id);

// The property sheet's current page, or null.
HWND CurrentPage(HWND sheet);

// A visible top-level window of the process that has a child of that id, or null.
HWND FindWindowWithControl(DWORD processId, int controlId);

// A visible message box of the process (a dialog with a 0xFFFF text), or null.
HWND FindMessageBox(DWORD processId);

// Combo box items; CB_GETLBTEXT crosses processes.
std::wstring ComboItemText(HWND combo, int index);

// List view rows and columns, with memory in the list's process.
int ListFindItem(HWND list, const std::wstring& text);
std::wstring ListItemText(HWND list, int row, int column);
std::wstring ListColumnText(HWND list, int column);
// Selects and focuses one row, as a click on it would.
bool ListSelectRow(HWND list, int row);

// Clicks the first link of a SysLink control with the mouse (button down
// and up on a point the control reports as part of the link).
bool ClickFirstLink(HWND link);

// The keyboard: the control of the window's thread that has the focus; one
// key down and up sent to the window, brought to the front, as a keyboard
// sends it (SendInput); Tab pressed round the whole window, answering the
// controls of `parent` in the order Tab reached them; Tab pressed until
// `controlId` of `parent` has the focus (false when it never gets there).
HWND FocusOf(HWND window);
void Key(HWND window, WORD vk);
std::vector<int> TabOrderOf(HWND window, HWND parent);
bool TabTo(HWND window, HWND parent, int controlId);

// What the screen shows of the window, as a 24-bit BMP file.
bool SaveScreenshot(HWND window, const std::wstring& path);

}  // namespace lx::testing
