// The copy of the installer into the program-files folder, which the
// Add/Remove Programs entry starts, and the folder helpers it uses.
#pragma once

#include <string>
#include <vector>

#include "platform/os.h"

namespace lx {

// Folder of the running program; empty on failure.
std::u16string GetInstallerFolder(const Os& os);
// Creates the folder and its missing parents; true when it exists at the end.
bool CreateFolderTree(const Os& os, const std::u16string& folder);
// Copies every file and folder below `source` into `destination`, overwriting;
// true when everything was copied.
bool CopyFolderTree(const Os& os, const std::u16string& source, const std::u16string& destination);
// The program-files folder joined with FilePath: where the installer's copy
// goes. Empty when either part is missing or the join fails.
std::u16string InstallFolder(const Os& os);
// The files of the installer's folder the installed copy needs, relative to
// it: the program itself, cfgSetup.ini, and the language documents (.rtf and
// .pdf). The Bonjour folders go along whole when the medium has them.
std::vector<std::u16string> InstalledCopyFiles(const Os& os);
// Copies those there; the folder when everything was copied, else empty
// (traced).
std::u16string CopyInstallerToInstallFolder(const Os& os);

}  // namespace lx
