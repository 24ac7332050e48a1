#include "tools/printui/spooler_probe.h"

#include "tools/printui/spooler_actions.h"

#include <shellapi.h>
#include <winspool.h>

#include <vector>

namespace printui_test {

namespace {

std::vector<PRINTER_INFO_2W> Printers(DWORD flags, std::vector<BYTE>& buffer) {
  DWORD needed = 0, count = 0;
  EnumPrintersW(flags, nullptr, 2, nullptr, 0, &needed, &count);
  buffer.assign(needed ? needed : 1, 0);
  if (!EnumPrintersW(flags, nullptr, 2, buffer.data(), needed, &needed, &count)) return {};
  auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data());
  return std::vector<PRINTER_INFO_2W>(info, info + count);
}

}  // namespace

PrinterFacts FindPrinter(const std::wstring& name) {
  PrinterFacts facts;
  std::vector<BYTE> buffer;
  for (const PRINTER_INFO_2W& p : Printers(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, buffer)) {
    if (p.pPrinterName && name == p.pPrinterName) {
      facts.found = true;
      facts.port = p.pPortName ? p.pPortName : L"";
      facts.driver = p.pDriverName ? p.pDriverName : L"";
      facts.attributes = p.Attributes;
    }
  }
  return facts;
}

bool DriverInstalled(const std::wstring& model) {
  DWORD needed = 0, count = 0;
  EnumPrinterDriversW(nullptr, nullptr, 1, nullptr, 0, &needed, &count);
  if (!needed) return false;
  std::vector<BYTE> buf(needed);
  if (!EnumPrinterDriversW(nullptr, nullptr, 1, buf.data(), needed, &needed, &count)) return false;
  auto* drivers = reinterpret_cast<DRIVER_INFO_1W*>(buf.data());
  for (DWORD i = 0; i < count; ++i)
    if (drivers[i].pName && model == drivers[i].pName) return true;
  return false;
}

std::wstring DefaultPrinter() {
  wchar_t name[512] = {};
  DWORD size = 512;
  return GetDefaultPrinterW(name, &size) ? name : L"";
}

DWORD TestPagesNoted(const std::wstring& printerName) {
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(printerName.c_str()), &printer, nullptr)) return 0;
  DWORD pages = 0, type = 0, needed = 0;
  GetPrinterDataW(printer, const_cast<LPWSTR>(printui::kTestPageValue), &type, reinterpret_cast<BYTE*>(&pages),
                  sizeof(pages), &needed);
  ClosePrinter(printer);
  return pages;
}

bool StartRundll32(const std::wstring& parameters) {
  auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", L"rundll32", parameters.c_str(), nullptr, SW_HIDE));
  return result > 32;
}

bool PollUntil(const std::function<bool()>& done) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (done()) return true;
    Sleep(500);
  }
  return false;
}

std::wstring WriteInf(const std::wstring& model) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring dir = std::wstring(temp) + L"lx printui test " + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(dir.c_str(), nullptr);
  std::wstring path = dir + L"\\label.inf";
  std::wstring text = L"[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n\r\n"
                      L"[Manufacturer]\r\n\"Test\"=Models,NTamd64\r\n\r\n[Models.NTamd64]\r\n\"" +
                      model + L"\" = LABEL, USBPRINT\\Test0001\r\n";
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return L"";
  const unsigned char bom[2] = {0xFF, 0xFE};
  DWORD written = 0;
  WriteFile(f, bom, 2, &written, nullptr);
  WriteFile(f, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(f);
  return path;
}

std::vector<PRINTER_INFO_2W> LocalPrinters(std::vector<BYTE>& buffer) {
  return Printers(PRINTER_ENUM_LOCAL, buffer);
}

void RemovePrintersOfDriver(const std::wstring& driver) {
  std::vector<BYTE> buffer;
  for (const PRINTER_INFO_2W& p : LocalPrinters(buffer)) {
    if (!p.pDriverName || driver != p.pDriverName) continue;
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(p.pPrinterName, &printer, &access)) {
      DeletePrinter(printer);
      ClosePrinter(printer);
    }
  }
  DeletePrinterDriverW(nullptr, nullptr, const_cast<LPWSTR>(driver.c_str()));
}

}  // namespace printui_test
