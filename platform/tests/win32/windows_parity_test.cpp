// The simulation's stand-ins for Windows rules, checked against the real
// functions: command-line splitting against shell32's CommandLineToArgvW,
// name patterns against FindFirstFileW, and the Win32 pass-throughs on the
// registry and files rules the simulated machine copies, and the time
// limits of device I/O.
#include <windows.h>
#include <sddl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "common/text.h"
#include "installer/core/switches.h"
#include "platform/sim/command_line.h"
#include "platform/sim/wildcard.h"
#include "platform/win32/wide.h"
#include "platform/device_io.h"
#include "platform/win32/win32_os.h"

namespace lx {
namespace {

std::vector<std::u16string> Shell32Split(const std::u16string& line) {
  int n = 0;
  LPWSTR* argv = ::CommandLineToArgvW(W(line), &n);
  std::vector<std::u16string> out;
  for (int i = 0; i < n; ++i) out.push_back(U(argv[i]));
  ::LocalFree(argv);
  return out;
}

TEST(WindowsParity, CommandLineSplittingMatchesShell32) {
  const char16_t* fixed[] = {
      u"p \"abc\" d e",          u"p a\\\\b d\"e f\"g h", u"p a\\\\\\\"b c d", u"p a\\\\\\\\\"b c\" d e",
      u"p a\"b\"\" c d",          u"p \"a\"\"\"b c\"",      u"p \"\" x",          u"\"a b\"c d",
      u"C:\\x\\\"a b",            u"p \"a b",              u"printui.dll PrintUIEntry /y /n \"Lab\" /dl /n \"Office\"",
      u"p /n \"Lab\\\" /k",       u"p \"\"\"\"\"\" x",      u"p a\\\"\"\"b"};
  for (const char16_t* line : fixed) EXPECT_EQ(CommandLineToArgv(line), Shell32Split(line)) << Utf16ToUtf8(line);

  // Random lines over the characters that matter.
  const char16_t alphabet[] = {u'a', u'b', u' ', u'\t', u'"', u'\\'};
  std::mt19937 rng(20261209);
  for (int i = 0; i < 5000; ++i) {
    std::u16string line = u"p";
    int len = static_cast<int>(rng() % 14);
    for (int k = 0; k < len; ++k) line += alphabet[rng() % 6];
    ASSERT_EQ(CommandLineToArgv(line), Shell32Split(line)) << Utf16ToUtf8(line);
  }
}

// The installer reads its own switches with the same rules: the text after
// the program name splits as shell32 splits the arguments after it.
TEST(WindowsParity, SwitchSplittingMatchesShell32) {
  const char16_t alphabet[] = {u'a', u'/', u' ', u'\t', u'"', u'\\'};
  std::mt19937 rng(20261210);
  for (int i = 0; i < 5000; ++i) {
    std::u16string rest;
    int len = static_cast<int>(rng() % 14);
    for (int k = 0; k < len; ++k) rest += alphabet[rng() % 6];
    std::vector<std::u16string> real = Shell32Split(u"p " + rest);
    real.erase(real.begin());
    ASSERT_EQ(SplitArguments(rest), real) << Utf16ToUtf8(rest);
  }
}

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t base[MAX_PATH];
    ::GetTempPathW(MAX_PATH, base);
    dir = U(base) + u"lxparity" + Utf8ToUtf16(std::to_string(::GetCurrentProcessId()));
    ::CreateDirectoryW(W(dir), nullptr);
  }
  void TearDown() override {
    WIN32_FIND_DATAW d;
    HANDLE h = ::FindFirstFileW(W(dir + u"\\*"), &d);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        std::u16string p = dir + u"\\" + U(d.cFileName);
        ::SetFileAttributesW(W(p), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(W(p));
      } while (::FindNextFileW(h, &d));
      ::FindClose(h);
    }
    ::RemoveDirectoryW(W(dir));
  }
  void Touch(const std::u16string& name) {
    HANDLE h = ::CreateFileW(W(dir + u"\\" + name), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(h);
  }
  std::u16string dir;
};

TEST_F(TempFolder, NamePatternsMatchFindFirstFile) {
  const char16_t* names[] = {u"oem1.inf", u"OEM12.INF", u"oem3.inf.bak", u"xoem4.inf", u"readme",
                             u"read.me",  u"abc.txt",   u"ab.txt",      u"a.b.c"};
  for (const char16_t* n : names) Touch(n);
  // Wine's FindFirstFileW lacks the MS-DOS rules for '?' before a dot and a
  // trailing "." ("ab?.txt" finding ab.txt, "*." finding names without an
  // extension), which Windows keeps; those rest on Microsoft's description
  // of its wildcards and are left out here.
  const char16_t* patterns[] = {u"OEM*.inf", u"*.inf", u"*", u"*.*", u"a?c.txt", u"read.*", u"*.b.*", u"?b*"};
  Win32Files files;
  for (const char16_t* pattern : patterns) {
    std::set<std::u16string> real, ours;
    std::vector<FindEntry> entries;
    if (files.FindFiles(dir + u"\\" + pattern, entries))
      for (const auto& e : entries)
        if (e.name != u"." && e.name != u"..") real.insert(ToLowerAscii(e.name));
    for (const char16_t* n : names)
      if (MatchesWildcard(pattern, n)) ours.insert(ToLowerAscii(n));
    EXPECT_EQ(ours, real) << Utf16ToUtf8(pattern);
  }
}

TEST_F(TempFolder, AppendingCreatesAndAdds) {
  Win32Files files;
  std::u16string path = dir + u"\\log.txt";
  EXPECT_FALSE(files.AppendFile(dir + u"\\missing\\log.txt", "x"));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  ASSERT_TRUE(files.AppendFile(path, ""));
  EXPECT_EQ(files.ReadFile(path), std::string());
  ASSERT_TRUE(files.AppendFile(path, "one\r\n"));
  ASSERT_TRUE(files.AppendFile(path, "two\r\n"));
  EXPECT_EQ(files.ReadFile(path), std::string("one\r\ntwo\r\n"));
  // A read-only file refuses writing on Windows (ERROR_ACCESS_DENIED, as
  // CreateFileW is documented and the simulation does); Wine run as root
  // opens it all the same, so that rule is not checked here.
  EXPECT_FALSE(files.AppendFile(dir, "x"));  // a folder
}

TEST_F(TempFolder, ReadOnlyFilesRefuseDeletion) {
  Touch(u"locked.dll");
  Win32Files files;
  std::u16string path = dir + u"\\locked.dll";
  ASSERT_TRUE(files.SetAttributes(path, FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(files.RemoveFile(path));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(files.RemoveFile(dir + u"\\absent.dll"));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  std::vector<FindEntry> entries;
  ASSERT_TRUE(files.FindFiles(dir + u"\\*", entries));
  ASSERT_GE(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, u".");
  EXPECT_EQ(entries[1].name, u"..");
}

TEST(WindowsParity, RegistryRulesTheSimulationCopies) {
  Win32Registry reg;
  const std::u16string base = u"Software\\LxSeamParity";
  ASSERT_TRUE(reg.CreateKey(RegRoot::kCurrentUser, base + u"\\Child", RegView::kDefault));
  EXPECT_TRUE(reg.KeyExists(RegRoot::kCurrentUser, u"SOFTWARE\\lxseamparity\\CHILD", RegView::kDefault));
  ASSERT_TRUE(reg.SetString(RegRoot::kCurrentUser, base, u"Suffix", u"enus", RegView::kDefault));
  EXPECT_EQ(*reg.GetString(RegRoot::kCurrentUser, base, u"SUFFIX", RegView::kDefault), u"enus");
  HKEY key;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, W(base), 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0, size = 0;
  ::RegQueryValueExW(key, L"Suffix", nullptr, &type, nullptr, &size);
  ::RegCloseKey(key);
  EXPECT_EQ(size, 10u);  // the terminator counts
  EXPECT_FALSE(reg.DeleteKey(RegRoot::kCurrentUser, base, RegView::kDefault));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(reg.DeleteKey(RegRoot::kCurrentUser, base + u"\\child", RegView::kDefault));
  EXPECT_TRUE(reg.DeleteKey(RegRoot::kCurrentUser, base, RegView::kDefault));
  EXPECT_FALSE(reg.SetString(RegRoot::kCurrentUser, base, u"v", u"x", RegView::kDefault));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

// Windows protects parts of the DeviceClasses tree: such a key refuses write
// to the installer, and only the maximum-allowed open reads it.
TEST(WindowsParity, AKeyThatRefusesWriteOpensOnlyWithTheMaximumAllowed) {
  Win32Registry reg;
  const std::u16string path = u"Software\\LxSeamReadOnly";
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, W(path), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  DWORD port = 9;
  ::RegSetValueExW(key, L"Port Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&port), sizeof port);
  PSECURITY_DESCRIPTOR readOnly = nullptr;
  ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                                     &readOnly, nullptr));
  ASSERT_EQ(::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
  ::LocalFree(readOnly);
  ::RegCloseKey(key);

  EXPECT_FALSE(reg.CreateKey(RegRoot::kCurrentUser, path, RegView::kDefault));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(reg.OpenKeyMaximumAllowed(RegRoot::kCurrentUser, path, RegView::kDefault));
  // A missing key is not made by the open.
  EXPECT_FALSE(reg.OpenKeyMaximumAllowed(RegRoot::kCurrentUser, path + u"\\Missing", RegView::kDefault));
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(reg.KeyExists(RegRoot::kCurrentUser, path + u"\\Missing", RegView::kDefault));
  EXPECT_EQ(reg.GetDword(RegRoot::kCurrentUser, path, u"Port Number", RegView::kDefault), 9u);
  EXPECT_FALSE(reg.SetDword(RegRoot::kCurrentUser, path, u"Port Number", 10, RegView::kDefault));

  // The owner may still change the DACL: open it up again and clean away.
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, W(path), 0, WRITE_DAC, &key), ERROR_SUCCESS);
  PSECURITY_DESCRIPTOR open = nullptr;
  ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;KA;;;WD)", SDDL_REVISION_1, &open,
                                                                     nullptr));
  ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, open);
  ::LocalFree(open);
  ::RegCloseKey(key);
  EXPECT_TRUE(reg.DeleteKey(RegRoot::kCurrentUser, path, RegView::kDefault));
}

TEST(WindowsParity, Wow64RedirectsSoftwareForA32BitProgram) {
  Win32Registry reg;
  Win32Files files;
  const std::u16string key = u"SOFTWARE\\LxSeamWow";
  ASSERT_TRUE(reg.CreateKey(RegRoot::kLocalMachine, key, RegView::kDefault));
  bool thirtyTwo = sizeof(void*) == 4;
  // Where the key landed, seen through the 64-bit view.
  EXPECT_EQ(reg.KeyExists(RegRoot::kLocalMachine, u"SOFTWARE\\WOW6432Node\\LxSeamWow", RegView::kWow64_64),
            thirtyTwo);
  EXPECT_EQ(reg.KeyExists(RegRoot::kLocalMachine, key, RegView::kWow64_64), !thirtyTwo);
  EXPECT_TRUE(reg.DeleteKey(RegRoot::kLocalMachine, key, RegView::kDefault));
  auto programFiles = files.GetFolderPath(KnownFolder::kProgramFiles, false);
  ASSERT_TRUE(programFiles);
  EXPECT_EQ(ToLowerAscii(*programFiles), thirtyTwo ? u"c:\\program files (x86)" : u"c:\\program files");
}

TEST(WindowsParity, SystemSpoolerAndDeviceSetupPassThroughsAnswer) {
  Win32Os real;
  Os& os = real.os();
  auto arch = os.system->NativeProcessorArchitecture();
  ASSERT_TRUE(arch);
  EXPECT_TRUE(*arch == kProcessorArchitectureAmd64 || *arch == kProcessorArchitectureIntel);
  std::u16string windows = os.system->WindowsDirectory();
  EXPECT_TRUE(EqualsIgnoreCase(windows, u"C:\\windows")) << Utf16ToUtf8(windows);
  EXPECT_TRUE(EqualsIgnoreCase(os.system->SystemDirectory(), windows + u"\\system32"));
  auto programFiles = os.files->GetFolderPath(KnownFolder::kProgramFiles);
  ASSERT_TRUE(programFiles);
  EXPECT_TRUE(os.files->IsDirectory(*programFiles));

  std::u16string driverDir;
  ASSERT_TRUE(os.spooler->DriverDirectory(driverDir));
  // The caller's own environment decides, also for a 32-bit program on
  // 64-bit Windows.
  std::u16string env = sizeof(void*) == 8 ? u"x64" : u"w32x86";
  EXPECT_EQ(ToLowerAscii(driverDir), ToLowerAscii(windows) + u"\\system32\\spool\\drivers\\" + env)
      << Utf16ToUtf8(driverDir);
  std::vector<PortInfo2> ports;
  ASSERT_TRUE(os.spooler->ListPorts(ports));
  bool file = false;
  for (const auto& p : ports) file = file || p.portName == u"FILE:";
  EXPECT_TRUE(file);
  // The size query alone: what the listing above needed, never 0 with ports there.
  EXPECT_GT(os.spooler->PortsNeededBytes(), 0u);
  EXPECT_EQ(os.system->GetLastError(), static_cast<uint32_t>(ERROR_INSUFFICIENT_BUFFER));
  std::vector<PrinterInfo2> printers;
  EXPECT_TRUE(os.spooler->ListPrinters(kPrinterEnumLocal | kPrinterEnumConnections, printers));
  PrinterHandle h = 0;
  EXPECT_FALSE(os.spooler->Open(u"No Such Printer 7f3a", kPrinterAccessUse, h));
  EXPECT_EQ(os.system->GetLastError(), static_cast<uint32_t>(ERROR_INVALID_PRINTER_NAME));

  DevInfoList list = os.devices->GetClassDevs(kGuidDevInterfaceUsbPrint, kDigcfPresent | kDigcfDeviceInterface);
  ASSERT_NE(list, 0u);
  uint32_t n = 0;
  while (os.devices->EnumDeviceInfo(list, n)) ++n;
  EXPECT_EQ(os.system->GetLastError(), static_cast<uint32_t>(ERROR_NO_MORE_ITEMS));
  EXPECT_TRUE(os.devices->DestroyDeviceInfoList(list));
}

// Device I/O with time limits, on a byte-mode pipe standing in for a USB
// printer interface (Wine has none): a read with nothing to read is
// cancelled at its limit with ERROR_OPERATION_ABORTED, as the simulated
// device's is, and what one read leaves of a long answer the next one gets.
TEST(WindowsParity, DeviceReadsEndAtTheirLimitAndLeaveTheTail) {
  const wchar_t* name = L"\\\\.\\pipe\\lx-device-io-parity";
  HANDLE printer = CreateNamedPipeW(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1,
                                    4096, 4096, 0, nullptr);
  ASSERT_NE(printer, INVALID_HANDLE_VALUE);
  Win32Os real;
  Os& os = real.os();
  DeviceHandle device = os.deviceIo->Open(U(name));
  ASSERT_NE(device, 0u);

  uint8_t buffer[256];
  size_t read = 99;
  ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(os.deviceIo->Read(device, buffer, sizeof buffer, read, 200));
  ULONGLONG took = GetTickCount64() - start;
  EXPECT_EQ(os.system->GetLastError(), static_cast<uint32_t>(ERROR_OPERATION_ABORTED));
  EXPECT_EQ(read, 0u);
  EXPECT_GE(took, 150u);
  EXPECT_LT(took, 2000u);

  size_t written = 0;
  const uint8_t query[] = {0x1B, 0xFF, 0xFE, 0x02, 0x0D, 0x00, 0x1B, 0xFE, 0xFF};
  ASSERT_TRUE(os.deviceIo->Write(device, query, sizeof query, written, 500));
  EXPECT_EQ(written, sizeof query);
  uint8_t got[16] = {};
  DWORD n = 0;
  ASSERT_TRUE(ReadFile(printer, got, sizeof got, &n, nullptr));
  EXPECT_EQ(n, sizeof query);

  std::vector<uint8_t> answer(300);
  for (size_t i = 0; i < answer.size(); ++i) answer[i] = static_cast<uint8_t>(i);
  ASSERT_TRUE(WriteFile(printer, answer.data(), static_cast<DWORD>(answer.size()), &n, nullptr));
  ASSERT_TRUE(os.deviceIo->Read(device, buffer, sizeof buffer, read, 500));
  EXPECT_EQ(read, 256u);
  ASSERT_TRUE(os.deviceIo->Read(device, buffer, sizeof buffer, read, 500));
  ASSERT_EQ(read, 44u);
  EXPECT_EQ(buffer[0], 256 % 256);
  EXPECT_EQ(buffer[43], 299 % 256);
  EXPECT_TRUE(os.deviceIo->Close(device));
  CloseHandle(printer);
}

}  // namespace
}  // namespace lx
