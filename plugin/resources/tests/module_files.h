// Where the resource modules of the plug-in are, and small readers of their raw
// resources, shared by the resource tests.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

namespace lxres {

struct LanguageModule {
  const wchar_t* file;
  WORD lang;
  // String ids the module leaves out on purpose (the plug-in copes without them).
  std::vector<UINT> absentStrings;
  // String ids whose right translation is spelled as in English ("Options" in French).
  std::vector<UINT> sameAsEnglish = {};
  bool Lacks(UINT id) const;
  bool SpelledAsEnglish(UINT id) const;
};

constexpr WORD kEnglish = 0x0409;
constexpr const wchar_t* kBitmapModule = L"lx220uibmp.dll";

// The language modules, one per UI language, with the language their resources are in.
const std::vector<LanguageModule>& LanguageModules();

// The modules are built into the folder of the test program.
std::wstring PathNextToExe(const wchar_t* file);

enum class LoadMode { Image, DataFile };
const char* LoadModeName(LoadMode mode);
inline void PrintTo(LoadMode mode, std::ostream* os) { *os << LoadModeName(mode); }

// A module mapped as the plug-in maps it (Image) or as a data file; freed on destruction.
class LoadedModule {
 public:
  LoadedModule(const wchar_t* file, LoadMode mode);
  ~LoadedModule();
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;
  HMODULE get() const { return handle_; }
  DWORD error() const { return error_; }

 private:
  HMODULE handle_ = nullptr;
  DWORD error_ = 0;
};

// The raw bytes of one resource in exactly this language; empty when absent.
std::vector<BYTE> ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name, WORD lang);

// Languages in which a resource exists.
std::vector<WORD> ResourceLanguages(HMODULE module, LPCWSTR type, LPCWSTR name);

// Names (ids) of all resources of a type; string names are skipped.
std::vector<WORD> ResourceIds(HMODULE module, LPCWSTR type);

// String `id` read from its string-table block in exactly `lang`. False when the
// block is absent or the entry is empty (LoadString treats both as missing).
bool FindString(HMODULE module, UINT id, WORD lang, std::wstring& text);

}  // namespace lxres
