#include "installer/ports/tcp_port.h"

#include "installer/core/trace.h"
#include "installer/engine/command_line.h"
#include "installer/engine/system_tools.h"
#include "installer/engine/win_path.h"
#include "platform/devmode.h"
#include "platform/files.h"
#include "platform/port_data.h"
#include "platform/spooler.h"
#include "platform/system.h"

namespace lx {

namespace {

constexpr const char16_t* kLocaleFolders[] = {
    u"en-US", u"zh-CN", u"ru",    u"fr-FR", u"zh-TW", u"ja-JP", u"ko-KR", u"pl-PL", u"ru-RU",
    u"it-IT", u"pt-BR", u"pt-PT", u"de-DE", u"ar-SA", u"nl-NL", u"sv-SE", u"tr-TR", u"th-TH"};
constexpr size_t kMaxHostNameChars = 253;

std::u16string Join(const std::u16string& dir, const std::u16string& file) {
  // PathCombineW fails beyond 260 characters; the path then names nothing.
  return CombinePath(dir, file).value_or(std::u16string());
}

}  // namespace

std::u16string MakeTcpPortName(const std::u16string& address) { return u"IP_" + address; }

bool IsPassableNetworkAddress(const std::u16string& address) {
  if (address.empty() || address.size() > kMaxHostNameChars) return false;
  if (address[0] == u'-' || address[0] == u'.') return false;
  for (char16_t c : address) {
    bool ascii = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                 c == u'-' || c == u'.' || c == u'_';
    // Non-ASCII letters of international host names; C1 controls and the
    // no-break space are not letters.
    if (!ascii && c <= 0xA0) return false;
  }
  return true;
}

bool IsDottedIPv4(const std::u16string& address) {
  int parts = 0, digits = 0, value = 0;
  for (size_t i = 0; i <= address.size(); ++i) {
    if (i == address.size() || address[i] == u'.') {
      if (digits == 0 || value > 255) return false;
      ++parts;
      digits = value = 0;
    } else if (address[i] >= u'0' && address[i] <= u'9' && digits < 3) {
      value = value * 10 + (address[i] - u'0');
      ++digits;
    } else {
      return false;
    }
  }
  return parts == 4;
}

std::optional<std::u16string> PrnPortAddParameters(const std::u16string& scriptPath,
                                                   const std::u16string& address) {
  // The script host does not read escaped quotes: nothing that needs them passes.
  if (!IsPassableNetworkAddress(address) || scriptPath.find(u'"') != std::u16string::npos ||
      !IsQuotableArgument(scriptPath))
    return std::nullopt;
  return QuoteArgument(scriptPath) + u" -a -r " + QuoteArgument(MakeTcpPortName(address)) + u" -h " +
         QuoteArgument(address) + u" -o raw";
}

std::optional<std::vector<uint8_t>> MakeRawPortData(const std::u16string& address) {
  std::u16string portName = MakeTcpPortName(address);
  if (address.empty() || portName.size() >= kPd1PortNameChars || address.size() >= kPd1HostAddressChars)
    return std::nullopt;
  std::vector<uint8_t> pd(kPortData1Size, 0);
  WriteWideSlot(pd, kPd1PortNameOffset, kPd1PortNameChars, portName);
  WriteU32(pd, kPd1VersionOffset, 1);
  WriteU32(pd, kPd1ProtocolOffset, kProtocolRawTcp);
  WriteU32(pd, kPd1SizeOffset, kPortData1Size);
  // The monitor connects to sztHostAddress, an address or a host name.
  WriteWideSlot(pd, kPd1HostAddressOffset, kPd1HostAddressChars, address);
  if (IsDottedIPv4(address)) WriteWideSlot(pd, kPd1IpAddressOffset, kPd1IpAddressChars, address);
  WriteU32(pd, kPd1PortNumberOffset, kRawPortNumber);
  return pd;
}

bool PortExists(const Os& os, const std::u16string& portName) {
  std::vector<PortInfo2> ports;
  if (!os.spooler->ListPorts(ports)) {
    DebugTraceW(os, u"EnumPorts Failed, err=%d", static_cast<int>(os.system->GetLastError()));
    return false;
  }
  for (const auto& p : ports)
    if (p.portName == portName) return true;
  return false;
}

bool AddTcpPortByXcv(const Os& os, const std::u16string& address) {
  DebugTraceW(os, u"AddHostNameToTcpPort %s", address.c_str());
  std::optional<std::vector<uint8_t>> record = MakeRawPortData(address);
  if (!record) {
    DebugTraceW(os, u"AddPort skipped, the name fits no port field: %s", address.c_str());
    return false;
  }
  PrinterHandle monitor = 0;
  if (!os.spooler->Open(u",XcvMonitor Standard TCP/IP Port", kServerAccessAdminister, monitor)) {
    DebugTraceW(os, u"OpenPrinter XcvMonitor failed, err=%d", static_cast<int>(os.system->GetLastError()));
    return false;
  }
  uint32_t status = 0;
  // The call can succeed while the monitor refuses the port: both must agree.
  bool called = os.spooler->Xcv(monitor, u"AddPort", *record, status);
  if (!called) status = os.system->GetLastError();
  bool ok = called && status == 0;
  if (ok)
    DebugTraceW(os, u"XcvData AddPort success, %s", MakeTcpPortName(address).c_str());
  else
    DebugTraceW(os, u"XcvData AddPort failed, status=%d", static_cast<int>(status));
  os.spooler->Close(monitor);
  return ok;
}

std::u16string FindPrnPortScript(const Os& os) {
  std::u16string base = Join(os.system->SystemDirectory(), u"Printing_Admin_Scripts");
  std::u16string candidate;
  for (const char16_t* folder : kLocaleFolders) {
    candidate = Join(Join(base, folder), u"prnport.vbs");
    DebugTraceW(os, u"vbsPath=%s", candidate.c_str());
    if (!candidate.empty() && candidate.size() < kMaxPathChars &&
        os.files->GetAttributes(candidate) != kInvalidFileAttributes)
      return candidate;
  }
  return candidate;
}

std::u16string GetScriptHostPath(const Os& os) { return SystemToolPath(os, SystemTool::kScriptHost); }

}  // namespace lx
