// What the end-to-end test reads and prepares on the Wine machine, with the
// Windows calls themselves (not through the seam the engine uses).
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "tools/printui/spooler_probe.h"

namespace e2e {

using printui_test::DefaultPrinter;
using printui_test::DriverInstalled;
using printui_test::FindPrinter;
using printui_test::PortExists;
using printui_test::PrinterFacts;
using printui_test::TestPagesNoted;

// Checks every 250 ms until `done` or `timeoutMs` have passed.
bool PollFor(const std::function<bool()>& done, DWORD timeoutMs);

bool KeyExists(HKEY root, const std::wstring& path);
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const std::wstring& name);
// The key and everything below it; true when it is gone afterwards.
bool DeleteKeyTree(HKEY root, const std::wstring& path);

bool FileExists(const std::wstring& path);
std::optional<ULONGLONG> FileSize(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
// The folder and everything below it; true when it is gone afterwards.
bool RemoveTree(const std::wstring& folder);
bool CreateFolders(const std::wstring& folder);

std::wstring ModulePath();
std::wstring FolderOf(const std::wstring& path);
std::wstring ProgramFilesFolder();
std::wstring DriverDirectory();
std::wstring WindowsFolder();
std::wstring SystemFolder();
bool NativeSystemIs64Bit();

std::u16string U(const std::wstring& w);
std::wstring W(const std::u16string& u);
// Names and paths of the tests are ASCII; anything else shows as '?'.
std::string Ascii(const std::wstring& w);

}  // namespace e2e
