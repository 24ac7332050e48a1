#include "tests/win/window_driver.h"

#include <commctrl.h>
#include <prsht.h>

#include <vector>

namespace lx::testing {

namespace {

constexpr DWORD kSendTimeoutMs = 5000;
constexpr int kTextChars = 512;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result)) return -1;
  return static_cast<LRESULT>(result);
}

// A block of memory in the process that owns a window, freed with the object.
class RemoteBlock {
 public:
  RemoteBlock(HWND window, size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) base_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
  }
  ~RemoteBlock() {
    if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool ok() const { return base_ != nullptr; }
  char* at(size_t offset) const { return base_ + offset; }
  bool Write(size_t offset, const void* data, size_t size) {
    SIZE_T done = 0;
    return offset + size <= size_ && WriteProcessMemory(process_, base_ + offset, data, size, &done) && done == size;
  }
  bool Read(size_t offset, void* data, size_t size) const {
    SIZE_T done = 0;
    return offset + size <= size_ && ReadProcessMemory(process_, base_ + offset, data, size, &done) && done == size;
  }
  std::wstring ReadText(size_t offset, size_t chars) const {
    std::wstring text(chars, L'\0');
    if (!Read(offset, &text[0], chars * sizeof(wchar_t))) return L"";
    text.resize(wcsnlen(text.c_str(), chars));
    return text;
  }

 private:
  HANDLE process_ = nullptr;
  char* base_ = nullptr;
  size_t size_;
};

}  // namespace

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
  ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() > end) return false;
    Sleep(50);
  }
}

std::wstring ControlText(HWND control) {
  if (!control) return L"";
  wchar_t text[kTextChars] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXT, kTextChars, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &copied))
    return L"";
  return text;
}

std::wstring ControlText(HWND parent, int id) { return ControlText(GetDlgItem(parent, id)); }

HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

namespace {
struct BoxSearch {
  DWORD pid;
  HWND found;
};
BOOL CALLBACK FindBox(HWND window, LPARAM lp) {
  auto* search = reinterpret_cast<BoxSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t cls[16] = {};
  GetClassNameW(window, cls, 16);
  if (pid == search->pid && IsWindowVisible(window) && lstrcmpW(cls, L"#32770") == 0 &&
      GetDlgItem(window, 0xFFFF) && !GetDlgItem(window, 0x3024)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

namespace {
struct ControlSearch {
  DWORD pid;
  int id;
  HWND found;
};
BOOL CALLBACK FindWithControl(HWND window, LPARAM lp) {
  auto* search = reinterpret_cast<ControlSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !IsWindowVisible(window) || !GetDlgItem(window, search->id)) return TRUE;
  search->found = window;
  return FALSE;
}
}  // namespace

HWND FindWindowWithControl(DWORD processId, int controlId) {
  ControlSearch search{processId, controlId, nullptr};
  EnumWindows(FindWithControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindMessageBox(DWORD processId) {
  BoxSearch search{processId, nullptr};
  EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring ComboItemText(HWND combo, int index) {
  LRESULT length = Send(combo, CB_GETLBTEXTLEN, index, 0);
  if (length < 0 || length >= kTextChars) return L"";
  wchar_t text[kTextChars] = {};
  if (Send(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text)) < 0) return L"";
  return text;
}

int ListFindItem(HWND list, const std::wstring& text) {
  RemoteBlock block(list, sizeof(LVFINDINFOW) + (text.size() + 1) * sizeof(wchar_t));
  if (!block.ok()) return -1;
  LVFINDINFOW find = {};
  find.flags = LVFI_STRING;
  find.psz = reinterpret_cast<LPCWSTR>(block.at(sizeof find));
  if (!block.Write(0, &find, sizeof find) ||
      !block.Write(sizeof find, text.c_str(), (text.size() + 1) * sizeof(wchar_t)))
    return -1;
  return static_cast<int>(Send(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(block.at(0))));
}

std::wstring ListItemText(HWND list, int row, int column) {
  RemoteBlock block(list, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
  if (!block.ok()) return L"";
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<LPWSTR>(block.at(sizeof item));
  item.cchTextMax = kTextChars;
  if (!block.Write(0, &item, sizeof item)) return L"";
  if (Send(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(block.at(0))) < 0) return L"";
  return block.ReadText(sizeof item, kTextChars);
}

std::wstring ListColumnText(HWND list, int column) {
  RemoteBlock block(list, sizeof(LVCOLUMNW) + kTextChars * sizeof(wchar_t));
  if (!block.ok()) return L"";
  LVCOLUMNW col = {};
  col.mask = LVCF_TEXT;
  col.pszText = reinterpret_cast<LPWSTR>(block.at(sizeof col));
  col.cchTextMax = kTextChars;
  if (!block.Write(0, &col, sizeof col)) return L"";
  if (Send(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(block.at(0))) != TRUE) return L"";
  return block.ReadText(sizeof col, kTextChars);
}

bool ListSelectRow(HWND list, int row) {
  RemoteBlock block(list, sizeof(LVITEMW));
  LVITEMW item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  return block.ok() && block.Write(0, &item, sizeof item) &&
         Send(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(block.at(0))) == TRUE;
}

bool ClickFirstLink(HWND link) {
  RECT client;
  if (!GetClientRect(link, &client)) return false;
  RemoteBlock block(link, sizeof(LHITTESTINFO));
  if (!block.ok()) return false;
  for (int y = 2; y < client.bottom; y += 3) {
    for (int x = 1; x < client.right; x += 3) {
      LHITTESTINFO hit = {};
      hit.pt = {x, y};
      if (!block.Write(0, &hit, sizeof hit)) return false;
      if (Send(link, LM_HITTEST, 0, reinterpret_cast<LPARAM>(block.at(0))) != TRUE) continue;
      PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
      PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
      return true;
    }
  }
  return false;
}

bool SaveScreenshot(HWND window, const std::wstring& path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<size_t>(stride) * height);
  int lines = GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (lines != height) return false;

  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) && WriteFile(out, &info, sizeof info, &written, nullptr) &&
            WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
  CloseHandle(out);
  return ok;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info = {sizeof(info)};
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void Key(HWND window, WORD vk) {
  if (GetForegroundWindow() != window) SetForegroundWindow(window);
  INPUT in[2] = {};
  for (INPUT& i : in) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
  }
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
  Sleep(250);
}

std::vector<int> TabOrderOf(HWND window, HWND parent) {
  std::vector<HWND> seen;
  for (int i = 0; i < 24; ++i) {
    HWND focus = FocusOf(window);
    if (!focus || (!seen.empty() && focus == seen.front())) break;
    seen.push_back(focus);
    Key(window, VK_TAB);
  }
  std::vector<int> order;
  for (HWND w : seen)
    if (GetParent(w) == parent) order.push_back(GetDlgCtrlID(w));
  return order;
}

bool TabTo(HWND window, HWND parent, int controlId) {
  HWND target = GetDlgItem(parent, controlId);
  for (int i = 0; i < 24; ++i) {
    if (FocusOf(window) == target) return true;
    Key(window, VK_TAB);
  }
  return FocusOf(window) == target;
}

}  // namespace lx::testing
