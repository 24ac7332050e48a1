#include "plugin/win32/win32_page_environment.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "platform/win32/wide.h"
#include "plugin/win32/module_context.h"
#include "ui/win32/win32_dialog.h"
#include "ui/win32/win32_page_host.h"


namespace lx {

namespace {

using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
constexpr UINT kHhHelpContext = 0x000F;
constexpr UINT_PTR kFrameSubclassId = 0x4C58;
// A page shows a handful of pictures; more than this many is a fault.
constexpr size_t kMostPicturesPerPage = 64;

// hhctrl.ocx is loaded the first time any page asks for help and stays for
// the life of the process, as the help viewer's windows may outlive a sheet.
HtmlHelpFn HtmlHelpFunction() {
  // A local static's guarded start, not std::call_once: that one brings
  // pthread_once and std::system_error into the plug-in.
  static const HtmlHelpFn function = [] {
    // By its full path: the plug-in runs in the spooler and in every
    // application that prints, whose folders and current folders vary.
    wchar_t path[MAX_PATH];
    UINT n = ::GetSystemDirectoryW(path, MAX_PATH);
    HMODULE viewer = nullptr;
    if (n != 0 && n + 12 < MAX_PATH) {
      ::lstrcatW(path, L"\\hhctrl.ocx");
      viewer = ::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return viewer == nullptr
               ? HtmlHelpFn{nullptr}
               : reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(::GetProcAddress(viewer, "HtmlHelpW")));
  }();
  return function;
}

struct ModalDialog {
  ModalDialog(IPropertyPage& p, HINSTANCE resources) : page(p), view(nullptr, resources) {}
  IPropertyPage& page;
  Win32DialogView view;
};

INT_PTR CALLBACK ModalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* modal = reinterpret_cast<ModalDialog*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    modal->view.Attach(window);
    modal->page.OnInitDialog(modal->view);
    return TRUE;
  }
  auto* modal = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (modal == nullptr) return FALSE;
  if (message == WM_NCDESTROY) {
    modal->view.Attach(nullptr);
    return FALSE;
  }
  return DispatchPageEvent(modal->page, message, wParam, lParam) ? TRUE : FALSE;
}

}  // namespace

// One bitmap selected into its own memory device context.
struct Picture {
  int number = 0;
  bool monochrome = false;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  int width = 0, height = 0;
};

// A picture control, subclassed so that every paint stretches what it shows.
struct Frame {
  HWND control = nullptr;
  const Picture* shown = nullptr;
};

struct Win32PageEnvironment::PagePictures {
  std::vector<std::unique_ptr<Picture>> pictures;
  std::vector<std::unique_ptr<Frame>> frames;
};

namespace {

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data) {
  auto* frame = reinterpret_cast<Frame*>(data);
  if (message == WM_PAINT && frame->shown != nullptr) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const Picture& picture = *frame->shown;
    StretchBlt(dc, 0, 0, client.right, client.bottom, picture.dc, 0, 0, picture.width, picture.height, SRCCOPY);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, FrameProc, id);
    frame->control = nullptr;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

HBITMAP LoadPicture(HMODULE module, int number, bool monochrome) {
  if (module == nullptr || number <= 0 || number > 0xFFFF) return nullptr;
  UINT flags = monochrome ? LR_CREATEDIBSECTION | LR_MONOCHROME : LR_DEFAULTCOLOR;
  return static_cast<HBITMAP>(::LoadImageW(module, MAKEINTRESOURCEW(number), IMAGE_BITMAP, 0, 0, flags));
}

void Unselect(Picture& picture) {
  if (picture.dc != nullptr) {
    SelectObject(picture.dc, picture.previous);
    DeleteDC(picture.dc);
  }
  if (picture.bitmap != nullptr) DeleteObject(picture.bitmap);
  picture.dc = nullptr;
  picture.bitmap = nullptr;
}

// Puts `bitmap` into the picture's own memory device context; false (the
// bitmap deleted) when no context can be made.
bool Select(Picture& picture, HBITMAP bitmap) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) {
    DeleteObject(bitmap);
    return false;
  }
  BITMAP info = {};
  GetObjectW(bitmap, sizeof info, &info);
  picture.dc = dc;
  picture.bitmap = bitmap;
  picture.previous = SelectObject(dc, bitmap);
  picture.width = info.bmWidth;
  picture.height = info.bmHeight;
  return true;
}

}  // namespace

HWND WindowOfView(IDialogView& view) {
  auto* win32 = dynamic_cast<Win32DialogView*>(&view);
  return win32 != nullptr ? win32->window() : nullptr;
}

Win32PageEnvironment::Win32PageEnvironment(const PageModules& modules, PFNCOMPROPSHEET sheetFunction, HANDLE sheet)
    : modules_(modules), sheetFunction_(sheetFunction), sheet_(sheet) {}

Win32PageEnvironment::~Win32PageEnvironment() {
  while (!pictures_.empty()) ReleasePictures(*pictures_.front().first);
}

int Win32PageEnvironment::MessageBox(IDialogView& owner, const std::u16string& text, const std::u16string& caption,
                                     unsigned type) {
  return ::MessageBoxW(WindowOfView(owner), W(text), W(caption), type);
}

intptr_t Win32PageEnvironment::RunModal(IDialogView& owner, IPropertyPage& dialog) {
  ModalDialog modal(dialog, modules_.resources);
  ActivationScope scope(modules_.activationContext);
  return ::DialogBoxParamW(modules_.resources, MAKEINTRESOURCEW(dialog.TemplateId()), WindowOfView(owner),
                           ModalProc, reinterpret_cast<LPARAM>(&modal));
}

void Win32PageEnvironment::EndModal(IDialogView& view, intptr_t result) {
  if (HWND window = WindowOfView(view)) ::EndDialog(window, result);
}

bool Win32PageEnvironment::ShowHelp(const std::u16string& file, unsigned context) {
  HtmlHelpFn help = HtmlHelpFunction();
  if (help == nullptr) return false;
  help(::GetDesktopWindow(), W(file), kHhHelpContext, context);
  return true;
}

bool Win32PageEnvironment::Open(const std::u16string& target) {
  auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", W(target), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

bool Win32PageEnvironment::ShowPicture(IDialogView& page, int controlId, int number, bool monochrome) {
  HWND window = WindowOfView(page);
  HWND control = window != nullptr ? ::GetDlgItem(window, controlId) : nullptr;
  if (control == nullptr) return false;
  PagePictures* held = Find(page);
  if (held == nullptr) {
    pictures_.emplace_back(&page, std::make_unique<PagePictures>());
    held = pictures_.back().second.get();
  }

  Picture* picture = nullptr;
  for (auto& p : held->pictures) {
    if (p->number == number && p->monochrome == monochrome) picture = p.get();
  }
  if (picture != nullptr && monochrome) {
    // Monochrome previews are loaded afresh each time; the context stays.
    HBITMAP bitmap = LoadPicture(modules_.bitmaps, number, true);
    if (bitmap == nullptr) return false;
    Unselect(*picture);
    if (!Select(*picture, bitmap)) return false;
  } else if (picture == nullptr) {
    if (held->pictures.size() >= kMostPicturesPerPage) return false;
    HBITMAP bitmap = LoadPicture(modules_.bitmaps, number, monochrome);
    if (bitmap == nullptr) return false;
    auto fresh = std::make_unique<Picture>();
    fresh->number = number;
    fresh->monochrome = monochrome;
    if (!Select(*fresh, bitmap)) return false;
    picture = fresh.get();
    held->pictures.push_back(std::move(fresh));
  }

  Frame* frame = nullptr;
  for (auto& f : held->frames) {
    if (f->control == control) frame = f.get();
  }
  if (frame == nullptr) {
    auto fresh = std::make_unique<Frame>();
    fresh->control = control;
    if (!SetWindowSubclass(control, FrameProc, kFrameSubclassId, reinterpret_cast<DWORD_PTR>(fresh.get()))) {
      return false;
    }
    frame = fresh.get();
    held->frames.push_back(std::move(fresh));
  }
  frame->shown = picture;
  ::InvalidateRect(control, nullptr, FALSE);
  return true;
}

Win32PageEnvironment::PagePictures* Win32PageEnvironment::Find(IDialogView& page) const {
  for (const auto& held : pictures_) {
    if (held.first == &page) return held.second.get();
  }
  return nullptr;
}

void Win32PageEnvironment::ReleasePictures(IDialogView& page) {
  for (auto it = pictures_.begin(); it != pictures_.end(); ++it) {
    if (it->first != &page) continue;
    for (auto& frame : it->second->frames) {
      if (frame->control != nullptr) RemoveWindowSubclass(frame->control, FrameProc, kFrameSubclassId);
    }
    for (auto& picture : it->second->pictures) Unselect(*picture);
    pictures_.erase(it);
    return;
  }
}

size_t Win32PageEnvironment::PictureCount(IDialogView& page) const {
  PagePictures* held = Find(page);
  return held == nullptr ? 0 : held->pictures.size();
}

intptr_t Win32PageEnvironment::SetSheetResult(intptr_t result) {
  if (sheetFunction_ == nullptr) return kSheetResultFailed;
  return sheetFunction_(sheet_, CPSFUNC_SET_RESULT, 0, result);
}

}  // namespace lx
