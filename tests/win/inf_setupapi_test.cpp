// The medium's INF as Windows' own parser reads it (Wine's SetupAPI here):
// every model of cfgSetup.ini in the models section of both architectures,
// every copied file in the source-file list of both, and the catalog named.
#include <gtest/gtest.h>
#include <windows.h>
#include <setupapi.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::wstring Field(INFCONTEXT& line, DWORD index) {
  wchar_t text[512];
  DWORD needed = 0;
  if (!SetupGetStringFieldW(&line, index, text, ARRAYSIZE(text), &needed)) return L"";
  return text;
}

std::vector<std::wstring> Fields(INFCONTEXT& line) {
  std::vector<std::wstring> fields;
  for (DWORD i = 1, n = SetupGetFieldCount(&line); i <= n; ++i) fields.push_back(Field(line, i));
  return fields;
}

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

// The DriverName of each model section [Support_Driver] lists.
std::vector<std::wstring> ConfiguredDrivers() {
  std::vector<wchar_t> buffer(32768);
  DWORD n = GetPrivateProfileSectionW(L"Support_Driver", buffer.data(), static_cast<DWORD>(buffer.size()), LX_CFG_SETUP);
  std::vector<std::wstring> drivers;
  for (const wchar_t* entry = buffer.data(); entry < buffer.data() + n && *entry; entry += wcslen(entry) + 1) {
    wchar_t driver[256];
    GetPrivateProfileStringW(entry, L"DriverName", L"", driver, ARRAYSIZE(driver), LX_CFG_SETUP);
    drivers.push_back(driver);
  }
  return drivers;
}

class InfSetupApi : public ::testing::Test {
 protected:
  void SetUp() override {
    UINT errorLine = 0;
    inf_ = SetupOpenInfFileW(LX_MEDIUM_INF, nullptr, INF_STYLE_WIN4, &errorLine);
    ASSERT_NE(inf_, INVALID_HANDLE_VALUE) << "SetupOpenInfFileW fails at line " << errorLine << ", error " << GetLastError();
  }
  void TearDown() override {
    if (inf_ != INVALID_HANDLE_VALUE) SetupCloseInfFile(inf_);
  }

  // {decoration: models section} from [Manufacturer].
  std::vector<std::pair<std::wstring, std::wstring>> ModelSections() {
    std::vector<std::pair<std::wstring, std::wstring>> sections;
    INFCONTEXT line;
    for (BOOL more = SetupFindFirstLineW(inf_, L"Manufacturer", nullptr, &line); more; more = SetupFindNextLine(&line, &line)) {
      std::vector<std::wstring> fields = Fields(line);
      for (size_t i = 1; i < fields.size(); ++i) sections.emplace_back(fields[i], fields[0] + L"." + fields[i]);
    }
    return sections;
  }

  HINF inf_ = INVALID_HANDLE_VALUE;
};

TEST_F(InfSetupApi, EveryConfiguredModelIsInTheModelsOfBothArchitectures) {
  std::vector<std::wstring> drivers = ConfiguredDrivers();
  ASSERT_FALSE(drivers.empty()) << "no models in " << LX_CFG_SETUP;
  auto sections = ModelSections();
  std::set<std::wstring> decorations;
  for (auto& [decoration, section] : sections) {
    decorations.insert(Lower(decoration));
    std::set<std::wstring> models;
    INFCONTEXT line;
    for (BOOL more = SetupFindFirstLineW(inf_, section.c_str(), nullptr, &line); more; more = SetupFindNextLine(&line, &line))
      models.insert(Field(line, 0));
    for (const std::wstring& driver : drivers)
      EXPECT_TRUE(models.count(driver)) << "\"" << std::string(driver.begin(), driver.end()) << "\" is not in ["
                                        << std::string(section.begin(), section.end()) << "]";
  }
  EXPECT_TRUE(decorations.count(L"ntamd64"));
  EXPECT_TRUE(decorations.count(L"ntx86"));
}

TEST_F(InfSetupApi, EveryCopiedFileIsASourceFileOfBothArchitectures) {
  std::set<std::wstring> files;
  for (auto& [decoration, section] : ModelSections()) {
    INFCONTEXT model;
    for (BOOL more = SetupFindFirstLineW(inf_, section.c_str(), nullptr, &model); more; more = SetupFindNextLine(&model, &model)) {
      std::wstring install = Field(model, 1);
      INFCONTEXT copy;
      for (BOOL c = SetupFindFirstLineW(inf_, install.c_str(), L"CopyFiles", &copy); c; c = SetupFindNextMatchLineW(&copy, L"CopyFiles", &copy)) {
        for (const std::wstring& list : Fields(copy)) {
          if (!list.empty() && list[0] == L'@') {
            files.insert(list.substr(1));
            continue;
          }
          INFCONTEXT file;
          for (BOOL f = SetupFindFirstLineW(inf_, list.c_str(), nullptr, &file); f; f = SetupFindNextLine(&file, &file))
            files.insert(Field(file, 0));
        }
      }
      INFCONTEXT data;
      if (SetupFindFirstLineW(inf_, install.c_str(), L"DataFile", &data)) files.insert(Field(data, 1));
    }
  }
  ASSERT_GT(files.size(), 10u);
  for (const wchar_t* section : {L"SourceDisksFiles.amd64", L"SourceDisksFiles.x86"}) {
    for (const std::wstring& name : files) {
      INFCONTEXT line;
      EXPECT_TRUE(SetupFindFirstLineW(inf_, section, name.c_str(), &line))
          << std::string(name.begin(), name.end()) << " is not in [" << std::string(section, section + wcslen(section)) << "]";
    }
  }
}

TEST_F(InfSetupApi, NamesTheCatalogAndTheCoreDriverOfEachArchitecture) {
  INFCONTEXT line;
  ASSERT_TRUE(SetupFindFirstLineW(inf_, L"Version", L"CatalogFile", &line));
  EXPECT_EQ(Lower(Field(line, 1)), L"lx220.cat");
  for (const wchar_t* section : {L"PrinterPackageInstallation.amd64", L"PrinterPackageInstallation.x86"}) {
    ASSERT_TRUE(SetupFindFirstLineW(inf_, section, L"CoreDriverDependencies", &line));
    EXPECT_EQ(Field(line, 1), L"{D20EA372-DD35-4950-9ED8-A6335AFE79F0}");
  }
}

}  // namespace
