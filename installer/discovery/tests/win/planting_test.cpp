// Under Wine (or Windows): a "dnssd.dll" that lies only in the current
// directory is never loaded by the installer's binding, although a plain
// LoadLibraryW would take it; the copy beside the program is.
#include <gtest/gtest.h>
#include <windows.h>

#include "installer/discovery/dnssd_binding.h"
#include "platform/win32/win32_os.h"

namespace lx {
namespace {

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

TEST(DnssdPlanting, TheCurrentDirectoryIsNeverSearched) {
  Win32Os platform;
  const Os& os = platform.os();
  wchar_t self[MAX_PATH] = {}, system[MAX_PATH] = {}, temp[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  ::GetSystemDirectoryW(system, MAX_PATH);
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring dir = std::wstring(temp) + L"lx-planting-" + std::to_wstring(::GetCurrentProcessId());
  ASSERT_TRUE(::CreateDirectoryW(dir.c_str(), nullptr));
  std::wstring planted = dir + L"\\dnssd.dll";
  // Any library of the right word size stands for a planted one.
  ASSERT_TRUE(::CopyFileW((std::wstring(system) + L"\\version.dll").c_str(), planted.c_str(), FALSE));
  std::wstring beside = Folder(self) + L"\\dnssd.dll";
  ::DeleteFileW(beside.c_str());
  wchar_t previous[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryW(dir.c_str()));

  HMODULE plain = ::LoadLibraryW(L"dnssd.dll");
  EXPECT_NE(plain, nullptr) << "a plain name would have taken the planted file";
  if (plain) ::FreeLibrary(plain);

  {
    DnssdBinding dnssd(os.libraries);
    EXPECT_FALSE(dnssd.Load(DnssdLibraryPath(os)));
    dnssd::ServiceRef ref = nullptr;
    EXPECT_EQ(dnssd.Browse(&ref, 0, 0, "_pdl-datastream._tcp", "local", nullptr, nullptr),
              dnssd::kServiceNotRunning);
  }
  ASSERT_TRUE(::CopyFileW(planted.c_str(), beside.c_str(), FALSE));
  {
    DnssdBinding dnssd(os.libraries);
    EXPECT_TRUE(dnssd.Load(DnssdLibraryPath(os))) << "the copy beside the program is loaded";
    // version.dll has none of the entry points: each answers as missing.
    EXPECT_EQ(dnssd.RefSockFD(nullptr), -1);
  }
  ::SetCurrentDirectoryW(previous);
  ::DeleteFileW(beside.c_str());
  ::DeleteFileW(planted.c_str());
  ::RemoveDirectoryW(dir.c_str());
}

}  // namespace
}  // namespace lx
