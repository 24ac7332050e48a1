#include "plugin/resources/tests/module_files.h"

namespace lxres {

const std::vector<LanguageModule>& LanguageModules() {
  static const std::vector<LanguageModule> modules = {
      // Russian: no driver-type line (20) and no metric paper names (900 to 905).
      {L"lx220uiru.dll", 0x0419, {20, 900, 901, 902, 903, 904, 905}},
      {L"lx220uienus.dll", 0x0409, {}},
      {L"lx220uizhcn.dll", 0x0804, {}},
      {L"lx220uija.dll", 0x0411, {}},
      {L"lx220uizhtw.dll", 0x0404, {}},
      {L"lx220uiit.dll", 0x0410, {}},
      {L"lx220uiesmx.dll", 0x080A, {}},
      {L"lx220uitr.dll", 0x041F, {}},
      {L"lx220uipl.dll", 0x0415, {}},
      {L"lx220uitl.dll", 0x041E, {}},  // Thai
      {L"lx220uipt.dll", 0x0816, {}},
      {L"lx220uide.dll", 0x0407, {}, {202}},            // "Name:"
      {L"lx220uifr.dll", 0x040C, {}, {35, 206, 208, 213}},  // "Options", "Portrait", "Orientation"
      {L"lx220uinl.dll", 0x0413, {}, {231}},            // "Interval:"
  };
  return modules;
}

bool LanguageModule::Lacks(UINT id) const {
  for (UINT absent : absentStrings) {
    if (absent == id) return true;
  }
  return false;
}

bool LanguageModule::SpelledAsEnglish(UINT id) const {
  for (UINT same : sameAsEnglish) {
    if (same == id) return true;
  }
  return false;
}

std::wstring PathNextToExe(const wchar_t* file) {
  wchar_t exe[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path(exe, n < MAX_PATH ? n : 0);
  size_t slash = path.find_last_of(L"\\/");
  path.resize(slash == std::wstring::npos ? 0 : slash + 1);
  return path + file;
}

const char* LoadModeName(LoadMode mode) {
  return mode == LoadMode::Image ? "LoadLibraryW" : "LOAD_LIBRARY_AS_DATAFILE";
}

LoadedModule::LoadedModule(const wchar_t* file, LoadMode mode) {
  std::wstring path = PathNextToExe(file);
  handle_ = mode == LoadMode::Image
                ? LoadLibraryW(path.c_str())
                : LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!handle_) error_ = GetLastError();
}

LoadedModule::~LoadedModule() {
  if (handle_) FreeLibrary(handle_);
}

std::vector<BYTE> ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name, WORD lang) {
  HRSRC info = FindResourceExW(module, type, name, lang);
  if (!info) return {};
  HGLOBAL loaded = LoadResource(module, info);
  DWORD size = SizeofResource(module, info);
  const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  if (!data) return {};
  return std::vector<BYTE>(data, data + size);
}

static BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR param) {
  reinterpret_cast<std::vector<WORD>*>(param)->push_back(lang);
  return TRUE;
}

std::vector<WORD> ResourceLanguages(HMODULE module, LPCWSTR type, LPCWSTR name) {
  std::vector<WORD> langs;
  EnumResourceLanguagesW(module, type, name, CollectLanguage, reinterpret_cast<LONG_PTR>(&langs));
  return langs;
}

static BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
  if (IS_INTRESOURCE(name))
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(LOWORD(reinterpret_cast<ULONG_PTR>(name)));
  return TRUE;
}

std::vector<WORD> ResourceIds(HMODULE module, LPCWSTR type) {
  std::vector<WORD> ids;
  EnumResourceNamesW(module, type, CollectName, reinterpret_cast<LONG_PTR>(&ids));
  return ids;
}

bool FindString(HMODULE module, UINT id, WORD lang, std::wstring& text) {
  // A block holds 16 strings, each a length word and that many UTF-16 units.
  std::vector<BYTE> block = ResourceBytes(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), lang);
  size_t units = block.size() / 2;
  const WCHAR* p = reinterpret_cast<const WCHAR*>(block.data());
  size_t pos = 0;
  for (UINT i = 0; i < 16 && pos < units; ++i) {
    size_t len = p[pos++];
    if (len > units - pos) return false;  // damaged block
    if (i == id % 16) {
      text.assign(p + pos, len);
      return len != 0;
    }
    pos += len;
  }
  return false;
}

}  // namespace lxres
