#include "platform/win32/win32_services.h"

#include <vector>

#include "platform/win32/wide.h"

namespace lx {

std::u16string Win32System::ModuleFileName() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return U(path, n < MAX_PATH ? n : MAX_PATH - 1);
}

LangId Win32System::GetUserDefaultUILanguage() { return ::GetUserDefaultUILanguage(); }

LangId Win32System::SetThreadUILanguage(LangId lang) {
  applied_ = lang;
  return ::SetThreadUILanguage(lang);
}

LangId Win32System::GetThreadUILanguage() { return applied_ ? applied_ : ::GetThreadUILanguage(); }

uint32_t Win32System::GetLastError() { return ::GetLastError(); }
void Win32System::SetLastError(uint32_t error) { ::SetLastError(error); }

std::optional<uint16_t> Win32System::NativeProcessorArchitecture() {
  // Looked up at run time: systems before XP lack it.
  using Fn = void(WINAPI*)(LPSYSTEM_INFO);
  HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
  Fn fn = kernel ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(kernel, "GetNativeSystemInfo")))
                 : nullptr;
  if (!fn) return std::nullopt;
  SYSTEM_INFO info = {};
  fn(&info);
  return info.wProcessorArchitecture;
}

bool Win32System::IsWow64Process() {
  BOOL wow = FALSE;
  return ::IsWow64Process(::GetCurrentProcess(), &wow) && wow;
}

std::u16string Win32System::WindowsDirectory() {
  wchar_t buf[MAX_PATH] = {};
  UINT n = ::GetWindowsDirectoryW(buf, MAX_PATH);
  return n > 0 && n < MAX_PATH ? U(buf, n) : std::u16string();
}

std::u16string Win32System::SystemDirectory() {
  wchar_t buf[MAX_PATH] = {};
  UINT n = ::GetSystemDirectoryW(buf, MAX_PATH);
  return n > 0 && n < MAX_PATH ? U(buf, n) : std::u16string();
}

namespace {

// IWindowsProtectedPrintInfoStatics: IInspectable's six slots, then the getter.
const GUID kProtectedPrintStatics = {0xa7d212f3, 0x4168, 0x5485, {0x98, 0xab, 0xd8, 0x9d, 0x04, 0x60, 0x3b, 0x40}};
const wchar_t kProtectedPrintClass[] = L"Windows.Graphics.Printing.ProtectedPrint.WindowsProtectedPrintInfo";

struct StringHeader {  // HSTRING_HEADER: five pointer-sized words
  void* reserved[5];
};
struct StaticsVtbl {
  void* unknownAndInspectable[6];
  HRESULT(STDMETHODCALLTYPE* getIsProtectedPrintEnabled)(void* self, unsigned char* value);
};
struct Statics {
  StaticsVtbl* vtbl;
};

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

std::optional<bool> Win32System::ProtectedPrintEnabled() {
  // combase.dll from System32 only: the installer runs elevated.
  HMODULE combase = ::LoadLibraryExW(L"combase.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!combase) return std::nullopt;
  using RoInit = HRESULT(WINAPI*)(int);
  using RoUninit = void(WINAPI*)();
  using Factory = HRESULT(WINAPI*)(void*, REFIID, void**);
  using MakeRef = HRESULT(WINAPI*)(PCWSTR, UINT32, StringHeader*, void**);
  auto roInitialize = Lookup<RoInit>(combase, "RoInitialize");
  auto roUninitialize = Lookup<RoUninit>(combase, "RoUninitialize");
  auto getFactory = Lookup<Factory>(combase, "RoGetActivationFactory");
  auto makeRef = Lookup<MakeRef>(combase, "WindowsCreateStringReference");
  std::optional<bool> answer;
  if (roInitialize && roUninitialize && getFactory && makeRef) {
    // RO_INIT_MULTITHREADED; a thread already in another apartment keeps it.
    HRESULT init = roInitialize(1);
    StringHeader header = {};
    void* name = nullptr;
    void* factory = nullptr;
    UINT32 length = static_cast<UINT32>(sizeof(kProtectedPrintClass) / sizeof(wchar_t) - 1);
    if (SUCCEEDED(makeRef(kProtectedPrintClass, length, &header, &name)) &&
        SUCCEEDED(getFactory(name, kProtectedPrintStatics, &factory)) && factory) {
      auto* statics = static_cast<Statics*>(factory);
      unsigned char enabled = 0;
      if (SUCCEEDED(statics->vtbl->getIsProtectedPrintEnabled(factory, &enabled))) answer = enabled != 0;
      using ReleaseFn = ULONG(STDMETHODCALLTYPE*)(void*);
      reinterpret_cast<ReleaseFn>(statics->vtbl->unknownAndInspectable[2])(factory);
    }
    if (SUCCEEDED(init)) roUninitialize();
  }
  ::FreeLibrary(combase);
  return answer;
}

ProfileResult Win32Profile::GetString(const std::u16string& section, const std::u16string& key,
                                      const std::u16string& def, size_t bufferChars,
                                      const std::u16string& file) {
  ProfileResult r;
  if (bufferChars == 0) return r;
  std::vector<wchar_t> buf(bufferChars, 0);
  r.count = ::GetPrivateProfileStringW(W(section), W(key), W(def), buf.data(),
                                       static_cast<DWORD>(bufferChars), W(file));
  r.text = U(buf.data(), r.count);
  return r;
}

ProfileResult Win32Profile::GetSection(const std::u16string& section, size_t bufferChars,
                                       const std::u16string& file) {
  ProfileResult r;
  if (bufferChars == 0) return r;
  std::vector<wchar_t> buf(bufferChars, 0);
  r.count = ::GetPrivateProfileSectionW(W(section), buf.data(), static_cast<DWORD>(bufferChars), W(file));
  r.text = U(buf.data(), r.count);
  return r;
}

uint32_t Win32Profile::GetInt(const std::u16string& section, const std::u16string& key, int def,
                              const std::u16string& file) {
  return ::GetPrivateProfileIntW(W(section), W(key), def, W(file));
}

bool Win32Profile::WriteString(const std::u16string& section, const std::u16string& key,
                               const std::u16string& value, const std::u16string& file) {
  return ::WritePrivateProfileStringW(W(section), W(key), W(value), W(file)) != FALSE;
}

void Win32DebugOutput::OutputA(const std::string& text) { ::OutputDebugStringA(text.c_str()); }
void Win32DebugOutput::OutputW(const std::u16string& text) { ::OutputDebugStringW(W(text)); }

Handle Win32Sync::CreateNamedMutex(const std::u16string& name, bool initialOwner, bool& alreadyExisted) {
  HANDLE h = ::CreateMutexW(nullptr, initialOwner ? TRUE : FALSE, W(name));
  alreadyExisted = ::GetLastError() == ERROR_ALREADY_EXISTS;
  return reinterpret_cast<Handle>(h);
}

bool Win32Sync::ReleaseMutex(Handle mutex) { return ::ReleaseMutex(reinterpret_cast<HANDLE>(mutex)) != FALSE; }
bool Win32Sync::CloseHandle(Handle handle) { return ::CloseHandle(reinterpret_cast<HANDLE>(handle)) != FALSE; }

std::optional<std::u16string> Win32Resources::LoadTextLang(unsigned id, LangId lang) {
  // Strings live in blocks of 16, each a counted UTF-16 string.
  HRSRC res = ::FindResourceExW(module_, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), lang);
  if (!res) return std::nullopt;
  HGLOBAL mem = ::LoadResource(module_, res);
  const WORD* p = mem ? static_cast<const WORD*>(::LockResource(mem)) : nullptr;
  if (!p) return std::nullopt;
  const WORD* end = p + ::SizeofResource(module_, res) / sizeof(WORD);
  for (unsigned i = 0; i < id % 16; ++i) {
    if (p >= end) return std::nullopt;
    p += 1 + *p;
  }
  if (p >= end || *p == 0 || p + 1 + *p > end) return std::nullopt;
  return std::u16string(reinterpret_cast<const char16_t*>(p + 1), *p);
}

std::u16string Win32Resources::LoadText(unsigned id) {
  const wchar_t* text = nullptr;
  int n = ::LoadStringW(module_, id, reinterpret_cast<LPWSTR>(&text), 0);
  return n > 0 && text ? U(text, n) : std::u16string();
}

}  // namespace lx
