#include "tools/printhost/driver_folder.h"

#include <windows.h>
#include <winspool.h>

#include <fstream>
#include <iterator>

namespace printhost {

std::wstring DriverDirectory() {
  wchar_t dir[MAX_PATH] = {};
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(dir), sizeof dir,
                                  &needed)) {
    return L"";
  }
  return dir;
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L"\\/"));
}

namespace {

std::string Bytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

bool InstallIntoDriverFolder(const std::vector<std::wstring>& names, std::wstring& error) {
  const std::wstring folder = DriverDirectory() + L"\\3";
  CreateDirectoryW(DriverDirectory().c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  for (const std::wstring& name : names) {
    const std::wstring from = ProgramFolder() + L"\\" + name;
    const std::wstring to = folder + L"\\" + name;
    if (CopyFileW(from.c_str(), to.c_str(), FALSE)) continue;
    // Another run may hold the plug-in loaded; the same bytes will do.
    if (Bytes(from).empty() || Bytes(from) != Bytes(to)) {
      error = L"cannot copy " + from + L" to " + to;
      return false;
    }
  }
  return true;
}

void* AddStubPrinter(const wchar_t* stubFile, const wchar_t* driverName, const wchar_t* printerName) {
  std::wstring module = DriverDirectory() + L"\\" + stubFile;
  HANDLE f = CreateFileW(module.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return nullptr;
  CloseHandle(f);
  DRIVER_INFO_3W driver{};
  driver.cVersion = 3;
  driver.pName = const_cast<LPWSTR>(driverName);
  driver.pDriverPath = driver.pDataFile = driver.pConfigFile = &module[0];
  driver.pDefaultDataType = const_cast<LPWSTR>(L"RAW");
  if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES) &&
      GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
    return nullptr;
  PRINTER_INFO_2W info{};
  info.pPrinterName = const_cast<LPWSTR>(printerName);
  info.pPortName = const_cast<LPWSTR>(L"FILE:");
  info.pDriverName = const_cast<LPWSTR>(driverName);
  info.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
  info.pDatatype = const_cast<LPWSTR>(L"RAW");
  info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
  if (printer) return printer;
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
  return OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, &defaults) ? printer : nullptr;
}

}  // namespace printhost
