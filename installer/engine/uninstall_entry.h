// The Add/Remove Programs entry that starts the installed copy of the
// installer with /uninstall, the copy itself, and the folder helpers it uses.
#pragma once

#include <string>

#include "platform/os.h"

namespace lx {

bool Is64BitSystem(const Os& os);

// "Software\Microsoft\Windows\CurrentVersion\Uninstall\<RegInfo>".
std::u16string UninstallKeyPath();
void WriteUninstallEntry(const Os& os);
// True when the key was deleted.
bool DeleteUninstallEntry(const Os& os);

// Folder of the running program; empty on failure.
std::u16string GetInstallerFolder(const Os& os);
// Creates the folder and its missing parents; true when it exists at the end.
bool CreateFolderTree(const Os& os, const std::u16string& folder);
// Copies every file and folder below `source` into `destination`, overwriting;
// true when everything was copied.
bool CopyFolderTree(const Os& os, const std::u16string& source, const std::u16string& destination);
// Copies the installer's folder to the program-files folder joined with FilePath.
void CopyInstallerToInstallFolder(const Os& os);

}  // namespace lx
