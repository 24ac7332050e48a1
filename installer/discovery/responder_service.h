// The mDNS responder service that the DNS-SD client library needs: the
// system's "Bonjour Service" when it is there, else our own "ZAX Bonjour
// Service" running the responder program shipped beside the installer.
// Each operation opens and closes its own handles and blocks for its pauses.
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
// True when one runs.
bool PrepareResponder(const Os& os);

// The responder program beside the installer: its folder, "Bonjour\", the
// machine's word-size folder and "mDNSResponder.exe".
std::u16string OwnResponderProgram(const Os& os);
// The program as a service command line: quoted, so that blanks in the
// folder cannot make the manager start another program; empty (refused)
// when the path itself holds a quote.
std::u16string ServiceCommandLine(const std::u16string& program);

}  // namespace lx
