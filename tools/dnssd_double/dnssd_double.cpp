// dnssd.dll for Windows tests: the host tests' dns_sd double behind the
// seven entry points, announcing the services of a script file. A caller
// waits on its references' sockets with select(), so each reference it asks
// a socket for gets a real loopback socket, readable while the double holds
// a reply that is due.
//
// The script is the file named by LX_DNSSD_SCRIPT, else "dnssd-script.txt"
// beside this library, read at the first browse. UTF-8, one service a line,
// fields separated by tabs:
//   instance  host  port  address  TXT items separated by '|'  [delay ms]
// `host` is the resolve reply's host target as given, trailing dot and all
// (empty or any bytes but a tab, to try what the installer keeps of it), and
// the name whose address lookup answers `address`. Empty lines and lines
// starting with '#' are skipped.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/sim/sim_dnssd.h"

namespace {

using lx::SimDnssd;
using lx::SimMdnsService;
namespace dnssd = lx::dnssd;

struct Bridge {
  SOCKET socket = INVALID_SOCKET;
  lx::SocketHandle simSocket = 0;
  bool signalled = false;
};

// Everything lives until the process ends: a caller may free the library
// while its own threads still return from it.
struct State {
  SimDnssd* sim = nullptr;
  std::map<std::string, void*> entries;
  std::mutex lock;  // the bridges; never held while calling into the double's replies
  std::map<dnssd::ServiceRef, Bridge> bridges;
};

State* g_state = nullptr;
std::once_flag g_once;

std::wstring ModuleFolder() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCWSTR>(&ModuleFolder), &self);
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(self, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\'));
}

std::vector<SimMdnsService> ReadScript() {
  wchar_t named[MAX_PATH] = {};
  std::wstring path = GetEnvironmentVariableW(L"LX_DNSSD_SCRIPT", named, MAX_PATH) ? std::wstring(named)
                                                                                    : ModuleFolder() + L"\\dnssd-script.txt";
  std::ifstream file(path.c_str(), std::ios::binary);
  std::vector<SimMdnsService> services;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f = lx::SplitScriptLine(line, '\t');
    SimMdnsService s;
    if (lx::ReadScriptedService(f, s)) services.push_back(s);
  }
  return services;
}

// Makes each bridged socket readable while its reference has a due reply.
void SignalLoop() {
  for (;;) {
    {
      std::lock_guard<std::mutex> hold(g_state->lock);
      for (auto& [ref, bridge] : g_state->bridges) {
        if (bridge.signalled || g_state->sim->WaitReadable(bridge.simSocket, 0) != 1) continue;
        char one = 1;
        if (send(bridge.socket, &one, 1, 0) == 1) bridge.signalled = true;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

State& Double() {
  std::call_once(g_once, [] {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    ModuleFolder();  // pins the library
    g_state = new State;
    g_state->sim = new SimDnssd;
    g_state->sim->services = ReadScript();
    g_state->entries = SimDnssd::Entries();
    std::thread(SignalLoop).detach();
  });
  return *g_state;
}

template <typename Fn>
Fn Entry(const char* name) {
  return reinterpret_cast<Fn>(Double().entries.at(name));
}

// A UDP socket connected to itself on the loopback address.
SOCKET LoopbackSocket() {
  SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) return s;
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  u_long nonBlocking = 1;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
      connect(s, reinterpret_cast<sockaddr*>(&address), size) != 0 || ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  return s;
}

}  // namespace

extern "C" {

__declspec(dllexport) dnssd::ErrorType LX_DNSSD_API DNSServiceBrowse(dnssd::ServiceRef* ref, dnssd::Flags flags,
                                                                    uint32_t interfaceIndex, const char* regtype,
                                                                    const char* domain, dnssd::BrowseReply reply,
                                                                    void* context) {
  return Entry<dnssd::BrowseFn>("DNSServiceBrowse")(ref, flags, interfaceIndex, regtype, domain, reply, context);
}

__declspec(dllexport) dnssd::ErrorType LX_DNSSD_API DNSServiceResolve(dnssd::ServiceRef* ref, dnssd::Flags flags,
                                                                     uint32_t interfaceIndex, const char* name,
                                                                     const char* regtype, const char* domain,
                                                                     dnssd::ResolveReply reply, void* context) {
  return Entry<dnssd::ResolveFn>("DNSServiceResolve")(ref, flags, interfaceIndex, name, regtype, domain, reply,
                                                      context);
}

__declspec(dllexport) dnssd::ErrorType LX_DNSSD_API DNSServiceGetAddrInfo(dnssd::ServiceRef* ref, dnssd::Flags flags,
                                                                         uint32_t interfaceIndex,
                                                                         dnssd::Protocol protocol, const char* host,
                                                                         dnssd::AddrInfoReply reply, void* context) {
  return Entry<dnssd::GetAddrInfoFn>("DNSServiceGetAddrInfo")(ref, flags, interfaceIndex, protocol, host, reply,
                                                              context);
}

__declspec(dllexport) dnssd::Sock LX_DNSSD_API DNSServiceRefSockFD(dnssd::ServiceRef ref) {
  auto simSocket = static_cast<lx::SocketHandle>(Entry<dnssd::RefSockFDFn>("DNSServiceRefSockFD")(ref));
  if (simSocket == -1) return INVALID_SOCKET;
  State& state = Double();
  std::lock_guard<std::mutex> hold(state.lock);
  Bridge& bridge = state.bridges[ref];
  if (bridge.socket == INVALID_SOCKET) {
    bridge.socket = LoopbackSocket();
    bridge.simSocket = simSocket;
  }
  return bridge.socket;
}

__declspec(dllexport) dnssd::ErrorType LX_DNSSD_API DNSServiceProcessResult(dnssd::ServiceRef ref) {
  State& state = Double();
  {
    // The wake-up is taken first: a reply still due afterwards signals again.
    std::lock_guard<std::mutex> hold(state.lock);
    auto it = state.bridges.find(ref);
    if (it != state.bridges.end() && it->second.signalled) {
      char byte;
      while (recv(it->second.socket, &byte, 1, 0) == 1) {
      }
      it->second.signalled = false;
    }
  }
  return Entry<dnssd::ProcessResultFn>("DNSServiceProcessResult")(ref);
}

__declspec(dllexport) void LX_DNSSD_API DNSServiceRefDeallocate(dnssd::ServiceRef ref) {
  State& state = Double();
  {
    std::lock_guard<std::mutex> hold(state.lock);
    auto it = state.bridges.find(ref);
    if (it != state.bridges.end()) {
      closesocket(it->second.socket);
      state.bridges.erase(it);
    }
  }
  Entry<dnssd::RefDeallocateFn>("DNSServiceRefDeallocate")(ref);
}

__declspec(dllexport) const void* LX_DNSSD_API TXTRecordGetValuePtr(uint16_t txtLen, const void* txtRecord,
                                                                   const char* key, uint8_t* valueLen) {
  return Entry<dnssd::TXTRecordGetValuePtrFn>("TXTRecordGetValuePtr")(txtLen, txtRecord, key, valueLen);
}

}  // extern "C"
