// dnsapi.dll for the Wine test of Windows' DNS-SD road: the host tests'
// simulated DNS-SD client behind the eight entry points the installer binds,
// announcing the services of a script file. Browse, resolve and A-query
// callbacks come on the double's own thread, as Windows' do.
//
// The script is the file named by LX_DNSAPI_SCRIPT, read at the first call.
// UTF-8, one line each, fields separated by tabs:
//   instance  host  port  address  TXT items separated by '|'  [delay ms]
// announces a service; an empty address makes its resolve answer an IPv6
// address only. A line
//   =A  host  address  [delay ms]
// answers DnsQueryEx's A query for `host` (no trailing dot); a host with no
// such line answers DNS_ERROR_RCODE_NAME_ERROR. Empty lines and lines
// starting with '#' are skipped.
//
// DnsRecordListFree frees this double's record lists and passes any other
// to Wine's own dnsapi (wdnsapi.dll), where the forwarded entries went.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/sim/sim_dnsapi.h"

namespace {

namespace dnsapi = lx::dnsapi;
using lx::SimDnsapi;
using lx::SimMdnsService;

// Lives until the process ends: a callback may still run when the library is freed.
struct State {
  SimDnsapi* sim = nullptr;
  std::map<std::string, void*> entries;
};

State* g_state = nullptr;
std::once_flag g_once;

void ReadScript(SimDnsapi& sim) {
  wchar_t path[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"LX_DNSAPI_SCRIPT", path, MAX_PATH)) return;
  std::ifstream file(path, std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> f = lx::SplitScriptLine(line, '\t');
    if (f[0] == "=A" && f.size() >= 3) {
      SimDnsapi::AddressAnswer answer;
      answer.address = f[2];
      if (f.size() > 3) answer.delayMs = std::atoi(f[3].c_str());
      sim.addresses[f[1]] = answer;
      continue;
    }
    SimMdnsService s;
    if (lx::ReadScriptedService(f, s)) sim.services.push_back(s);
  }
}

State& Double() {
  std::call_once(g_once, [] {
    HMODULE self = nullptr;
    // Pinned: the double's thread runs until the process ends.
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&Double), &self);
    g_state = new State;
    g_state->sim = new SimDnsapi;
    ReadScript(*g_state->sim);
    g_state->entries = SimDnsapi::Entries();
  });
  return *g_state;
}

template <typename Fn>
Fn Entry(const char* name) {
  return reinterpret_cast<Fn>(Double().entries.at(name));
}

}  // namespace

extern "C" {

__declspec(dllexport) dnsapi::Status LX_DNSSD_API DnsServiceBrowse(dnsapi::BrowseRequest* request,
                                                                  dnsapi::Cancel* cancel) {
  return Entry<dnsapi::BrowseFn>("DnsServiceBrowse")(request, cancel);
}

__declspec(dllexport) dnsapi::Status LX_DNSSD_API DnsServiceBrowseCancel(dnsapi::Cancel* cancel) {
  return Entry<dnsapi::BrowseCancelFn>("DnsServiceBrowseCancel")(cancel);
}

__declspec(dllexport) dnsapi::Status LX_DNSSD_API DnsServiceResolve(dnsapi::ResolveRequest* request,
                                                                   dnsapi::Cancel* cancel) {
  return Entry<dnsapi::ResolveFn>("DnsServiceResolve")(request, cancel);
}

__declspec(dllexport) dnsapi::Status LX_DNSSD_API DnsServiceResolveCancel(dnsapi::Cancel* cancel) {
  return Entry<dnsapi::ResolveCancelFn>("DnsServiceResolveCancel")(cancel);
}

__declspec(dllexport) void LX_DNSSD_API DnsServiceFreeInstance(dnsapi::ServiceInstance* instance) {
  Entry<dnsapi::FreeInstanceFn>("DnsServiceFreeInstance")(instance);
}

__declspec(dllexport) dnsapi::Status LX_DNSSD_API DnsQueryEx(dnsapi::QueryRequest* request,
                                                            dnsapi::QueryResult* results,
                                                            dnsapi::QueryCancel* cancel) {
  return Entry<dnsapi::QueryExFn>("DnsQueryEx")(request, results, cancel);
}

__declspec(dllexport) dnsapi::Status LX_DNSSD_API DnsCancelQuery(dnsapi::QueryCancel* cancel) {
  return Entry<dnsapi::CancelQueryFn>("DnsCancelQuery")(cancel);
}

__declspec(dllexport) void LX_DNSSD_API DnsRecordListFree(dnsapi::Record* records, int freeType) {
  if (!records) return;
  if (Double().sim->Holds(records)) {
    Entry<dnsapi::RecordListFreeFn>("DnsRecordListFree")(records, freeType);
    return;
  }
  HMODULE wine = GetModuleHandleW(L"wdnsapi.dll");
  if (!wine) wine = LoadLibraryW(L"wdnsapi.dll");
  if (auto fn = reinterpret_cast<dnsapi::RecordListFreeFn>(
          reinterpret_cast<void*>(wine ? GetProcAddress(wine, "DnsRecordListFree") : nullptr)))
    fn(records, freeType);
}

}  // extern "C"
