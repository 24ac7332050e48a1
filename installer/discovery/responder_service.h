// The mDNS responder service that the DNS-SD client library needs: the
// system's "Bonjour Service" when it is there, else our own "ZAX Bonjour
// Service". Ours runs as LocalSystem, so it runs only a copy of the shipped
// responder in the installation folder under Program Files, which only
// administrators can write, never the medium's own; a service of that name
// found with another program is repaired or not started. It lives only while
// the network search is shown. Each operation opens and closes its own
// handles and blocks for its pauses.
#pragma once

#include <string>

#include "platform/os.h"

namespace lx {

constexpr char16_t kSystemResponderService[] = u"Bonjour Service";
constexpr char16_t kOwnResponderService[] = u"ZAX Bonjour Service";

// 1 when a responder service exists and runs (or was just started), else 0.
int EnsureResponderRunning(const Os& os);
// Registers (or reopens) and starts our own service; nonzero when its last
// start succeeded.
int InstallOwnResponder(const Os& os);
// Stops and deletes our own service, if there is one.
void RemoveOwnResponder(const Os& os);
// The search page's order: our own service only when no responder runs.
// True when one runs; a failed attempt leaves no service of ours behind.
bool PrepareResponder(const Os& os);

// The responder program beside the installer: its folder, "Bonjour\", the
// machine's word-size folder and "mDNSResponder.exe"; empty (traced) when the
// installer's module path is cut or has no folder.
std::u16string OwnResponderProgram(const Os& os);
// Where our service's program lives: the same relative path below the
// installation folder, which must lie inside the program-files folder;
// empty when there is no such folder.
std::u16string InstalledResponderProgram(const Os& os);
// Copies the shipped responder there (folders made as needed); the installed
// path, or empty with a trace line when nothing usable is there.
std::u16string CopyResponderToInstallFolder(const Os& os);
// True when a service's configured command line runs exactly `program`: the
// quoted path alone, or the bare path when it holds no blank (compared
// without regard to case). Empty, relative, argument-carrying or otherwise
// different lines are not.
bool ServiceRunsProgram(const std::u16string& binaryPath, const std::u16string& program);
// The program as a service command line: quoted, so that blanks in the
// folder cannot make the manager start another program; empty (refused)
// when the path itself holds a quote.
std::u16string ServiceCommandLine(const std::u16string& program);

}  // namespace lx
