// Carries out an accepted PrintUIEntry command with the spooler's own calls.
#pragma once
#include <windows.h>

#include <string>

#include "tools/printui/command.h"

namespace printui {

// File name of the test driver's module; it must lie in the printer-driver
// directory before a driver can be added.
constexpr const wchar_t* kTestDriverModule = L"lxtestdrv.dll";

// Printer data value that counts the test pages asked for (the stand-in
// prints nothing).
constexpr const wchar_t* kTestPageValue = L"PrintUI Test Pages";

// True when the spooler lists the port; port names compare without regard to
// case. Wine's AddPrinterW takes any port name, Windows wants an existing one.
bool PortExists(const std::wstring& port);

// Answers ERROR_SUCCESS or the Win32 error that stopped the command.
DWORD Perform(const Command& cmd);

// True when the INF file names the model as a quoted string (case-insensitive),
// the way an INF models section lists it.
bool InfNamesModel(const std::wstring& infPath, const std::wstring& model);

}  // namespace printui
