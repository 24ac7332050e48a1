// Lays out the printer-driver directory as Windows has it for an installed
// driver: the plug-in and its files in the "3" folder.
#pragma once

#include <string>
#include <vector>

namespace printhost {

// The driver directory of the local machine (GetPrinterDriverDirectoryW).
std::wstring DriverDirectory();
// The folder the test program runs from.
std::wstring ProgramFolder();
// Copies `names` from the program's folder into "<driver directory>\3";
// a file already there with the same bytes counts as copied.
bool InstallIntoDriverFolder(const std::vector<std::wstring>& names, std::wstring& error);
// A local printer on FILE: with a driver whose files are an empty stand-in
// named `stubFile` in the driver directory: enough for printer data, no driver
// code. Answers the printer opened for full access, or null.
void* AddStubPrinter(const wchar_t* stubFile, const wchar_t* driverName, const wchar_t* printerName);

}  // namespace printhost
