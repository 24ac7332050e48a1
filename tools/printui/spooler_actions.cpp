#include "tools/printui/spooler_actions.h"

#include <winspool.h>

#include <vector>

#include "tools/printui/trace.h"

namespace printui {

namespace {

std::wstring Lower(std::wstring s) {
  if (!s.empty()) CharLowerBuffW(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

bool ReadFileBytes(const std::wstring& path, std::vector<char>& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (8 << 20);
  if (ok) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                           got == bytes.size());
  }
  CloseHandle(file);
  return ok;
}

// INF files come as UTF-16LE with a byte-order mark or as 8-bit text.
std::wstring DecodeInf(const std::vector<char>& bytes) {
  if (bytes.size() >= 2 && (unsigned char)bytes[0] == 0xFF && (unsigned char)bytes[1] == 0xFE) {
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    if (!text.empty()) memcpy(&text[0], bytes.data() + 2, text.size() * 2);
    return text;
  }
  UINT codePage = CP_UTF8;
  int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), (int)bytes.size(), nullptr, 0);
  if (n <= 0) {
    codePage = CP_ACP;
    n = MultiByteToWideChar(codePage, 0, bytes.data(), (int)bytes.size(), nullptr, 0);
  }
  std::wstring text(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, bytes.data(), (int)bytes.size(), &text[0], n);
  return text;
}

std::wstring DriverDirectory() {
  wchar_t dir[MAX_PATH] = {};
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof(dir), &needed))
    return {};
  return dir;
}

// Wine installs no driver from an INF: the INF only vouches for the model, and
// the driver added is the test driver's module under the model's name.
DWORD AddDriver(const Command& cmd) {
  if (!InfNamesModel(cmd.infFile, cmd.model)) {
    Trace(L"INF \"%ls\" is missing or does not name \"%ls\"", cmd.infFile.c_str(), cmd.model.c_str());
    return ERROR_UNKNOWN_PRINTER_DRIVER;
  }
  std::wstring dir = DriverDirectory();
  std::wstring module = dir + L"\\" + kTestDriverModule;
  if (dir.empty() || GetFileAttributesW(module.c_str()) == INVALID_FILE_ATTRIBUTES) {
    Trace(L"test driver module not found at \"%ls\"", module.c_str());
    return ERROR_FILE_NOT_FOUND;
  }
  DRIVER_INFO_3W info{};
  info.cVersion = 3;
  info.pName = const_cast<LPWSTR>(cmd.model.c_str());
  info.pDriverPath = &module[0];
  info.pDataFile = &module[0];
  info.pConfigFile = &module[0];
  info.pDefaultDataType = const_cast<LPWSTR>(L"RAW");
  if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES)) {
    DWORD error = GetLastError();
    if (error != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
      Trace(L"AddPrinterDriverExW \"%ls\" failed, error %lu", cmd.model.c_str(), error);
      return error;
    }
  }
  Trace(L"driver \"%ls\" installed", cmd.model.c_str());
  return ERROR_SUCCESS;
}

// Wine's AddPrinterW quietly re-adds an existing printer; Windows refuses.
bool PrinterExists(const std::wstring& name) {
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &printer, nullptr)) return false;
  ClosePrinter(printer);
  return true;
}

DWORD AddPrinterFor(const Command& cmd) {
  if (PrinterExists(cmd.baseName)) {
    Trace(L"printer \"%ls\" exists already", cmd.baseName.c_str());
    return ERROR_PRINTER_ALREADY_EXISTS;
  }
  if (!PortExists(cmd.port)) {
    Trace(L"port \"%ls\" does not exist", cmd.port.c_str());
    return ERROR_UNKNOWN_PORT;
  }
  DWORD error = AddDriver(cmd);
  if (error != ERROR_SUCCESS) return error;
  PRINTER_INFO_2W info{};
  info.pPrinterName = const_cast<LPWSTR>(cmd.baseName.c_str());
  info.pPortName = const_cast<LPWSTR>(cmd.port.c_str());
  info.pDriverName = const_cast<LPWSTR>(cmd.model.c_str());
  info.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
  info.pDatatype = const_cast<LPWSTR>(L"RAW");
  info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  // A client Windows shares a new printer only when asked to.
  if (cmd.share) {
    info.Attributes |= PRINTER_ATTRIBUTE_SHARED;
    info.pShareName = info.pPrinterName;
  }
  HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
  if (!printer) {
    error = GetLastError();
    Trace(L"AddPrinterW \"%ls\" on \"%ls\" failed, error %lu", cmd.baseName.c_str(), cmd.port.c_str(), error);
    return error;
  }
  ClosePrinter(printer);
  Trace(L"printer \"%ls\" added on \"%ls\" with driver \"%ls\"", cmd.baseName.c_str(), cmd.port.c_str(),
        cmd.model.c_str());
  return ERROR_SUCCESS;
}

DWORD OpenNamed(const std::wstring& name, HANDLE* printer) {
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (OpenPrinterW(const_cast<LPWSTR>(name.c_str()), printer, &defaults)) return ERROR_SUCCESS;
  DWORD error = GetLastError();
  Trace(L"OpenPrinterW \"%ls\" failed, error %lu", name.c_str(), error);
  return error ? error : ERROR_INVALID_PRINTER_NAME;
}

DWORD DeletePrinterNamed(const Command& cmd) {
  HANDLE printer = nullptr;
  DWORD error = OpenNamed(cmd.name, &printer);
  if (error != ERROR_SUCCESS) return error;
  if (!DeletePrinter(printer)) error = GetLastError();
  ClosePrinter(printer);
  Trace(L"delete printer \"%ls\": error %lu", cmd.name.c_str(), error);
  return error;
}

// Windows refuses to remove a driver that a printer still uses; Wine's
// spooler does not check, so the stand-in does.
bool DriverInUse(const std::wstring& model) {
  DWORD needed = 0, count = 0;
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  EnumPrintersW(flags, nullptr, 2, nullptr, 0, &needed, &count);
  if (!needed) return false;
  std::vector<BYTE> buf(needed);
  if (!EnumPrintersW(flags, nullptr, 2, buf.data(), needed, &needed, &count)) return false;
  auto* printers = reinterpret_cast<PRINTER_INFO_2W*>(buf.data());
  for (DWORD i = 0; i < count; ++i) {
    if (printers[i].pDriverName && model == printers[i].pDriverName) {
      Trace(L"driver \"%ls\" still used by printer \"%ls\"", model.c_str(), printers[i].pPrinterName);
      return true;
    }
  }
  return false;
}

DWORD DeleteDriverNamed(const Command& cmd) {
  if (DriverInUse(cmd.model)) return ERROR_PRINTER_DRIVER_IN_USE;
  DWORD error = ERROR_SUCCESS;
  if (!DeletePrinterDriverW(nullptr, nullptr, const_cast<LPWSTR>(cmd.model.c_str()))) error = GetLastError();
  Trace(L"delete driver \"%ls\": error %lu", cmd.model.c_str(), error);
  return error;
}

DWORD SetDefaultNamed(const Command& cmd) {
  HANDLE printer = nullptr;
  DWORD error = OpenNamed(cmd.name, &printer);
  if (error != ERROR_SUCCESS) return error;
  ClosePrinter(printer);
  if (!SetDefaultPrinterW(cmd.name.c_str())) error = GetLastError();
  Trace(L"default printer \"%ls\": error %lu", cmd.name.c_str(), error);
  return error;
}

// No page is printed (a FILE: port would ask for a file name); the request is
// counted in the printer's data so that a test can see it arrived.
DWORD TestPageNamed(const Command& cmd) {
  HANDLE printer = nullptr;
  DWORD error = OpenNamed(cmd.name, &printer);
  if (error != ERROR_SUCCESS) return error;
  DWORD pages = 0, type = 0, needed = 0;
  if (GetPrinterDataW(printer, const_cast<LPWSTR>(kTestPageValue), &type, reinterpret_cast<BYTE*>(&pages),
                      sizeof(pages), &needed) != ERROR_SUCCESS ||
      type != REG_DWORD)
    pages = 0;
  ++pages;
  error = SetPrinterDataW(printer, const_cast<LPWSTR>(kTestPageValue), REG_DWORD, reinterpret_cast<BYTE*>(&pages),
                          sizeof(pages));
  ClosePrinter(printer);
  Trace(L"test page %lu for \"%ls\" noted: error %lu", pages, cmd.name.c_str(), error);
  return error;
}

}  // namespace

bool InfNamesModel(const std::wstring& infPath, const std::wstring& model) {
  std::vector<char> bytes;
  if (infPath.empty() || model.empty() || !ReadFileBytes(infPath, bytes)) return false;
  return Lower(DecodeInf(bytes)).find(L"\"" + Lower(model) + L"\"") != std::wstring::npos;
}

DWORD Perform(const Command& cmd) {
  switch (cmd.action) {
    case Action::InstallPrinter: return AddPrinterFor(cmd);
    case Action::InstallDriver: return AddDriver(cmd);
    case Action::DeletePrinter: return DeletePrinterNamed(cmd);
    case Action::DeleteDriver: return DeleteDriverNamed(cmd);
    case Action::SetDefault: return SetDefaultNamed(cmd);
    case Action::TestPage: return TestPageNamed(cmd);
    case Action::None: break;
  }
  return ERROR_INVALID_PARAMETER;
}

bool PortExists(const std::wstring& port) {
  DWORD needed = 0, count = 0;
  EnumPortsW(nullptr, 1, nullptr, 0, &needed, &count);
  if (!needed) return false;
  std::vector<BYTE> buf(needed);
  if (!EnumPortsW(nullptr, 1, buf.data(), needed, &needed, &count)) return false;
  auto* ports = reinterpret_cast<PORT_INFO_1W*>(buf.data());
  for (DWORD i = 0; i < count; ++i)
    if (ports[i].pName && lstrcmpiW(ports[i].pName, port.c_str()) == 0) return true;
  return false;
}

}  // namespace printui
