// The paper store on the real Windows services (run under Wine): the shared
// file through the real profile functions, printer data through the real
// spooler, and the shared file's DACL as the system reads it back.
#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>
#include <winspool.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "platform/win32/win32_file_security.h"
#include "platform/win32/win32_os.h"
#include "plugin/papers/paper_persistence.h"

namespace lx {
namespace {

constexpr wchar_t kTestPrinter[] = L"LX Paper Wine Test";
constexpr wchar_t kTestDriver[] = L"LX Paper Wine Test Driver";

struct RealPapers {
  explicit RealPapers(std::u16string fileName) : context(Platform(), std::move(fileName)) {}
  PluginPlatform Platform() {
    PluginPlatform p;
    p.spooler = &spooler;
    p.profile = &profile;
    p.files = &files;
    p.system = &system;
    p.debug = &debug;
    p.security = &security;
    return p;
  }
  Win32Spooler spooler;
  Win32Profile profile;
  Win32Files files;
  Win32System system;
  Win32DebugOutput debug;
  Win32FileSecurity security;
  PaperContext context;
};

std::vector<PaperRecord> UserPapers(size_t count) {
  std::vector<PaperRecord> list;
  for (size_t i = 0; i < count; ++i) {
    std::u16string name = u"wine ";
    for (char c : std::to_string(100 + i)) name.push_back(static_cast<char16_t>(c));
    list.push_back(MakePaperRecord(static_cast<int32_t>(145 + i), name, 30.0f + i, 15.5f, false));
  }
  return list;
}

TEST(PaperStoreWineTest, SharedFileRoundTripThroughTheProfileFunctions) {
  const std::u16string fileName = u"lxpaperwinetestp.ini";
  {
    RealPapers cleanup(fileName);
    if (auto path = PaperFilePath(cleanup.context)) ::DeleteFileW(W(*path));
  }
  RealPapers first(fileName);
  PaperStore& store = OpenPaperStore(first.context, u"No Such LX Printer");
  ASSERT_EQ(store.count(), 11);
  std::vector<PaperRecord> users = UserPapers(kPaperFileRecords - 11);
  for (const PaperRecord& r : users) ASSERT_TRUE(AddPaper(store, r));
  ASSERT_TRUE(SavePaperStore(first.context, store));
  auto path = PaperFilePath(first.context);
  ASSERT_TRUE(path);
  EXPECT_NE(path->find(u"\\ZORVIKA\\LX-220\\lxpaperwinetestp.ini"), std::u16string::npos);

  wchar_t hex[9000] = {};
  DWORD n = ::GetPrivateProfileStringW(L"No Such LX Printer", L"PapersData", L"", hex, 9000, W(*path));
  EXPECT_EQ(n, 33u * 124 * 2);

  RealPapers second(fileName);
  PaperStore& reloaded = OpenPaperStore(second.context, u"No Such LX Printer");
  ASSERT_EQ(reloaded.count(), 33);
  for (int i = 0; i < reloaded.count(); ++i)
    EXPECT_EQ(0, std::memcmp(&reloaded.records[i], &store.records[i], sizeof(PaperRecord))) << i;

  // One more record does not fit the file form: refused, the file unchanged.
  ASSERT_TRUE(AddPaper(reloaded, MakePaperRecord(NextPaperNumber(reloaded), u"34th", 1, 1, false)));
  EXPECT_FALSE(SavePaperStore(second.context, reloaded));
  wchar_t size[16] = {};
  ::GetPrivateProfileStringW(L"No Such LX Printer", L"PapersDataSize", L"", size, 16, W(*path));
  EXPECT_STREQ(size, L"4092");
  ::DeleteFileW(W(*path));
}

// The checks on the real calls: the file a save made passes them (its
// owner is one they trust, it is no reparse point); a second name (a hard
// link) makes every load refuse it until that name goes.
TEST(PaperStoreWineTest, AHardLinkedSharedFileIsRefused) {
  const std::u16string fileName = u"lxpaperlinktestp.ini";
  RealPapers first(fileName);
  PaperStore& store = OpenPaperStore(first.context, u"No Such LX Printer");
  ASSERT_TRUE(AddPaper(store, MakePaperRecord(NextPaperNumber(store), u"linked", 60, 40, false)));
  ASSERT_TRUE(SavePaperStore(first.context, store));
  auto path = PaperFilePath(first.context);
  ASSERT_TRUE(path);
  const std::wstring second = std::wstring(W(*path)) + L".second";
  ASSERT_TRUE(::CreateHardLinkW(second.c_str(), W(*path), nullptr)) << ::GetLastError();
  {
    RealPapers linked(fileName);
    EXPECT_FALSE(FindPaperByName(OpenPaperStore(linked.context, u"No Such LX Printer"), u"linked"));
  }
  ::DeleteFileW(second.c_str());
  RealPapers unlinked(fileName);
  EXPECT_TRUE(FindPaperByName(OpenPaperStore(unlinked.context, u"No Such LX Printer"), u"linked"));
  ::DeleteFileW(W(*path));
}

// Wine keeps no DACL of its own on files (it answers one made from the
// Unix mode), so the DACL is checked as built, with the system's functions,
// and the file must accept it.
TEST(PaperStoreWineTest, ExplicitDaclHoldsExactlyTheGivenEntries) {
  std::vector<AccessAllowed> dacl = {{kSidEveryone, kFileGenericRead | kFileGenericWrite},
                                     {kSidLocalSystem, kFileAllAccess},
                                     {kSidAdministrators, kFileAllAccess}};
  std::vector<uint8_t> built = BuildDacl(dacl);
  ASSERT_FALSE(built.empty());
  auto* acl = reinterpret_cast<PACL>(built.data());
  ASSERT_TRUE(::IsValidAcl(acl));
  ASSERT_EQ(acl->AceCount, 3);
  for (WORD i = 0; i < acl->AceCount; ++i) {
    ACCESS_ALLOWED_ACE* ace = nullptr;
    ASSERT_TRUE(::GetAce(acl, i, reinterpret_cast<void**>(&ace)));
    EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    LPWSTR sid = nullptr;
    ASSERT_TRUE(::ConvertSidToStringSidW(&ace->SidStart, &sid));
    EXPECT_EQ(U(sid), dacl[i].sid);
    EXPECT_EQ(ace->Mask, dacl[i].mask);
    ::LocalFree(sid);
  }
  EXPECT_TRUE(BuildDacl({{u"not a SID", 1}}).empty());

  wchar_t dir[MAX_PATH] = {}, file[MAX_PATH] = {};
  ASSERT_NE(0u, ::GetTempPathW(MAX_PATH, dir));
  ASSERT_NE(0u, ::GetTempFileNameW(dir, L"lxp", 0, file));
  Win32FileSecurity security;
  EXPECT_TRUE(security.SetDacl(U(file), dacl)) << ::GetLastError();
  ::DeleteFileW(file);
  EXPECT_FALSE(security.SetDacl(U(file), dacl));  // gone
}

// The process token's privileges and their states.
std::vector<std::pair<LUID, DWORD>> EnabledPrivileges() {
  std::vector<std::pair<LUID, DWORD>> list;
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return list;
  DWORD needed = 0;
  ::GetTokenInformation(token, TokenPrivileges, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed ? needed : 1);
  if (::GetTokenInformation(token, TokenPrivileges, buffer.data(), needed, &needed)) {
    auto* p = reinterpret_cast<TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < p->PrivilegeCount; ++i) list.push_back({p->Privileges[i].Luid, p->Privileges[i].Attributes});
  }
  ::CloseHandle(token);
  return list;
}

TEST(PaperStoreWineTest, HandingTheFileToAdministratorsLeavesTheTokenAsItWas) {
  wchar_t dir[MAX_PATH] = {}, file[MAX_PATH] = {};
  ASSERT_NE(0u, ::GetTempPathW(MAX_PATH, dir));
  ASSERT_NE(0u, ::GetTempFileNameW(dir, L"lxp", 0, file));
  auto before = EnabledPrivileges();
  ASSERT_FALSE(before.empty());
  Win32FileSecurity security;
  security.SetOwner(U(file), kSidAdministrators);
  ::DeleteFileW(file);
  EXPECT_FALSE(security.SetOwner(U(file), kSidAdministrators));  // gone: both attempts fail
  auto after = EnabledPrivileges();
  ASSERT_EQ(before.size(), after.size());
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(before[i].first.LowPart, after[i].first.LowPart);
    EXPECT_EQ(before[i].second, after[i].second) << "privilege " << before[i].first.LowPart;
  }
}

// A printer of Wine's spooler, with a stand-in driver file: printer data
// needs no driver code.
class WinePrinter {
 public:
  explicit WinePrinter(const wchar_t* name = kTestPrinter) : name_(name) {
    wchar_t dir[MAX_PATH] = {};
    DWORD needed = 0;
    if (!::GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof dir, &needed))
      return;
    std::wstring module = std::wstring(dir) + L"\\lxpaperstub.dll";
    HANDLE f = ::CreateFileW(module.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    ::CloseHandle(f);
    DRIVER_INFO_3W driver{};
    driver.cVersion = 3;
    driver.pName = const_cast<LPWSTR>(kTestDriver);
    driver.pDriverPath = driver.pDataFile = driver.pConfigFile = &module[0];
    driver.pDefaultDataType = const_cast<LPWSTR>(L"RAW");
    if (!::AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES) &&
        ::GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
      return;
    PRINTER_INFO_2W info{};
    info.pPrinterName = const_cast<LPWSTR>(name_);
    info.pPortName = const_cast<LPWSTR>(L"FILE:");
    info.pDriverName = const_cast<LPWSTR>(kTestDriver);
    info.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
    info.pDatatype = const_cast<LPWSTR>(L"RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = ::AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (printer) ::ClosePrinter(printer);
    ok = printer != nullptr;
  }
  ~WinePrinter() {
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (::OpenPrinterW(const_cast<LPWSTR>(name_), &printer, &defaults)) {
      ::DeletePrinter(printer);
      ::ClosePrinter(printer);
    }
  }
  bool ok = false;

 private:
  const wchar_t* name_;
};

TEST(PaperStoreWineTest, PrinterDataRoundTripThroughTheSpooler) {
  WinePrinter printer;
  ASSERT_TRUE(printer.ok) << ::GetLastError();
  RealPapers first(u"lxpaperwinetestp.ini");
  PaperStore& store = OpenPaperStore(first.context, U(kTestPrinter));
  ASSERT_EQ(store.count(), 11);
  EXPECT_EQ(PaperName(store.records[1]), u"2_x_4");  // creation order
  ASSERT_TRUE(SavePaperStoreIfChanged(first.context, store, false, false));
  // A size of the user's own, saved through the printer's data.
  ASSERT_TRUE(AddPaper(store, MakePaperRecord(NextPaperNumber(store), u"user 58x40", 58.0f, 40.0f, false)));
  ASSERT_TRUE(SavePaperStoreIfChanged(first.context, store, true, false));

  PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ACCESS_USE};
  HANDLE h = nullptr;
  ASSERT_TRUE(::OpenPrinterW(const_cast<LPWSTR>(kTestPrinter), &h, &defaults));
  DWORD type = 0, size = 0, needed = 0;
  EXPECT_EQ(ERROR_SUCCESS, ::GetPrinterDataW(h, const_cast<LPWSTR>(L"PapersDataSize"), &type,
                                             reinterpret_cast<BYTE*>(&size), 4, &needed));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(size, 1488u);
  std::vector<BYTE> block(2000);
  EXPECT_EQ(ERROR_SUCCESS, ::GetPrinterDataW(h, const_cast<LPWSTR>(L"PapersData"), &type, block.data(),
                                             static_cast<DWORD>(block.size()), &needed));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(needed, 1488u);
  ::ClosePrinter(h);

  // A new module state, as in a new process: the list comes from the spooler.
  RealPapers second(u"lxpaperwinetestp.ini");
  PaperStore& reloaded = OpenPaperStore(second.context, U(kTestPrinter));
  ASSERT_EQ(reloaded.count(), 12);
  bool found = false;
  for (const PaperRecord& r : reloaded.records)
    if (PaperName(r) == u"user 58x40") found = r.number == 145;
  EXPECT_TRUE(found);
  EXPECT_EQ(PaperName(reloaded.records[1]), u"2_x_4");
  EXPECT_EQ(PaperName(reloaded.records[2]), u"3_x_4");  // sorted after the reload
  EXPECT_FALSE(reloaded.dirty);
}

// One process serving two label printers lists and saves each one's own
// sizes in that printer's data.
TEST(PaperStoreWineTest, TwoPrintersInOneProcessKeepTheirOwnSizes) {
  constexpr wchar_t kSecondPrinter[] = L"LX Paper Wine Test B";
  WinePrinter printerA;
  WinePrinter printerB(kSecondPrinter);
  ASSERT_TRUE(printerA.ok && printerB.ok) << ::GetLastError();
  RealPapers process(u"lxpaperwinetestp.ini");
  PaperStore& a = OpenPaperStore(process.context, U(kTestPrinter));
  PaperStore& b = OpenPaperStore(process.context, U(kSecondPrinter));
  ASSERT_NE(&a, &b);
  ASSERT_TRUE(AddPaper(a, MakePaperRecord(NextPaperNumber(a), u"only on A", 58.0f, 40.0f, false)));
  EXPECT_EQ(b.count(), 11);
  ASSERT_TRUE(AddPaper(b, MakePaperRecord(NextPaperNumber(b), u"only on B", 70.0f, 50.0f, false)));
  ASSERT_TRUE(AddPaper(b, MakePaperRecord(NextPaperNumber(b), u"also on B", 30.0f, 20.0f, false)));
  ASSERT_TRUE(SavePaperStoreIfChanged(process.context, a, false, false));
  ASSERT_TRUE(SavePaperStoreIfChanged(process.context, b, false, false));

  RealPapers next(u"lxpaperwinetestp.ini");
  PaperStore& reloadedA = OpenPaperStore(next.context, U(kTestPrinter));
  PaperStore& reloadedB = OpenPaperStore(next.context, U(kSecondPrinter));
  EXPECT_EQ(reloadedA.count(), 12);
  EXPECT_EQ(reloadedB.count(), 13);
  EXPECT_TRUE(FindPaperByName(reloadedA, u"only on A"));
  EXPECT_FALSE(FindPaperByName(reloadedA, u"only on B"));
  EXPECT_TRUE(FindPaperByName(reloadedB, u"only on B"));
  EXPECT_FALSE(FindPaperByName(reloadedB, u"only on A"));
}

}  // namespace
}  // namespace lx
