#include "tools/printhost/plugin_fixture.h"

#include <shellapi.h>

#include <optional>
#include <vector>

#include "tools/printhost/driver_folder.h"

namespace printhost {

namespace {

const wchar_t kSuffixKey[] = L"Software\\Label Printer\\LX-220";

std::wstring ReadSuffixArgument() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring suffix;
  for (int i = 1; argv != nullptr && i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg.rfind(L"--suffix=", 0) == 0) suffix = arg.substr(9);
  }
  LocalFree(argv);
  return suffix;
}

std::optional<std::wstring> ReadSuffixValue(bool& keyExisted) {
  HKEY key = nullptr;
  keyExisted = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSuffixKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
  if (!keyExisted) return std::nullopt;
  wchar_t value[131] = {};
  DWORD size = sizeof value - sizeof(wchar_t), type = 0;
  LONG rc = RegQueryValueExW(key, L"Suffix", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  return std::wstring(value);
}

bool WriteSuffixValue(const std::wstring& suffix) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSuffixKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LONG rc = RegSetValueExW(key, L"Suffix", 0, REG_SZ, reinterpret_cast<const BYTE*>(suffix.c_str()),
                           static_cast<DWORD>((suffix.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

// Writes the run's suffix for the whole run and restores the key afterwards.
class SuffixEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (RunSuffix().empty()) return;
    saved_ = ReadSuffixValue(keyExisted_);
    ASSERT_TRUE(WriteSuffixValue(RunSuffix())) << "cannot write the language suffix";
  }
  void TearDown() override {
    if (RunSuffix().empty()) return;
    if (saved_) {
      WriteSuffixValue(*saved_);
    } else if (keyExisted_) {
      HKEY key = nullptr;
      if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSuffixKey, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, L"Suffix");
        RegCloseKey(key);
      }
    } else {
      RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSuffixKey);
      RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Label Printer");  // only when empty
    }
  }

 private:
  bool keyExisted_ = false;
  std::optional<std::wstring> saved_;
};

::testing::Environment* const kSuffixEnvironment =
    ::testing::AddGlobalTestEnvironment(new SuffixEnvironment);

}  // namespace

const std::wstring& RunSuffix() {
  static const std::wstring suffix = ReadSuffixArgument();
  return suffix;
}

HMODULE PrintHost::module_ = nullptr;
GetClassObjectFn PrintHost::getClassObject_ = nullptr;
CanUnloadNowFn PrintHost::canUnloadNow_ = nullptr;

void PrintHost::SetUpTestSuite() {
  std::wstring error;
  std::vector<std::wstring> files = {L"lx220ui.dll", L"lx220.ini", L"lx220uibmp.dll"};
  for (const wchar_t* name : kLanguageModules) files.push_back(name);
  ASSERT_TRUE(InstallIntoDriverFolder(files, error)) << std::string(error.begin(), error.end());
  const std::wstring path = DriverDirectory() + L"\\3\\lx220ui.dll";
  module_ = LoadLibraryW(path.c_str());
  ASSERT_NE(nullptr, module_) << "LoadLibrary failed: " << GetLastError();
  getClassObject_ = reinterpret_cast<GetClassObjectFn>(
      reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
  canUnloadNow_ = reinterpret_cast<CanUnloadNowFn>(
      reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
}

void PrintHost::TearDownTestSuite() {
  if (module_ != nullptr) FreeLibrary(module_);
  module_ = nullptr;
}

void PrintHost::SetUp() {
  ASSERT_NE(nullptr, getClassObject_);
  ASSERT_NE(nullptr, canUnloadNow_);
}

IPrintOemUI2* PrintHost::Create(const GUID& clsid) {
  IClassFactory* factory = nullptr;
  EXPECT_EQ(S_OK, getClassObject_(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
  if (factory == nullptr) return nullptr;
  IPrintOemUI2* plugin = nullptr;
  EXPECT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void**>(&plugin)));
  factory->Release();
  return plugin;
}

}  // namespace printhost
