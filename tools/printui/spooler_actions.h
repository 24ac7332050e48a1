// Carries out an accepted PrintUIEntry command with the spooler's own calls.
#pragma once
#include <windows.h>

#include "tools/printui/command.h"

namespace printui {

// File name of the test driver's module; it must lie in the printer-driver
// directory before a driver can be added.
constexpr const wchar_t* kTestDriverModule = L"lxtestdrv.dll";

// Printer data value that counts the test pages asked for (the stand-in
// prints nothing).
constexpr const wchar_t* kTestPageValue = L"PrintUI Test Pages";

// Answers ERROR_SUCCESS or the Win32 error that stopped the command.
DWORD Perform(const Command& cmd);

// True when the INF file names the model as a quoted string (case-insensitive),
// the way an INF models section lists it.
bool InfNamesModel(const std::wstring& infPath, const std::wstring& model);

}  // namespace printui
