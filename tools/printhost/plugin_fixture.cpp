#include "tools/printhost/plugin_fixture.h"

#include <shellapi.h>

#include <optional>
#include <vector>

#include "tools/printhost/driver_folder.h"
#include "tools/printhost/language_suffix.h"

namespace printhost {

namespace {


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



// Writes the run's suffix for the whole run and restores the key afterwards.
class SuffixEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (RunSuffix().empty()) return;
    saved_.Save();
    ASSERT_TRUE(WriteSuffix(RunSuffix())) << "cannot write the language suffix";
  }
  void TearDown() override {
    if (!RunSuffix().empty()) saved_.Restore();
  }

 private:
  SavedSuffix saved_;
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
