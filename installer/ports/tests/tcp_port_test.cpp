#include <gtest/gtest.h>

#include "common/text.h"
#include "installer/engine/tests/engine_fixture.h"
#include "installer/ports/tcp_port.h"
#include "platform/port_data.h"
#include "platform/sim/command_line.h"

namespace lx {
namespace {

using Args = std::vector<std::u16string>;

const std::u16string kScripts = u"C:\\Windows\\system32\\Printing_Admin_Scripts\\";

class TcpPortTest : public EngineMachineTest {
 protected:
  void SetUp() override {
    EngineMachineTest::SetUp();
    debugEnabled = 1;
  }
};

TEST_F(TcpPortTest, ScriptIsLookedForInTheLocaleFoldersInOrder) {
  EXPECT_EQ(GetScriptHostPath(os), u"C:\\Windows\\system32\\cscript.exe");
  EXPECT_EQ(FindPrnPortScript(os), kScripts + u"en-US\\prnport.vbs");

  machine.files.RemoveFile(kScripts + u"en-US\\prnport.vbs");
  machine.files.AddFile(kScripts + u"de-DE\\prnport.vbs", "'");
  machine.files.AddFile(kScripts + u"sv-SE\\prnport.vbs", "'");
  proc->debug.lines.clear();
  EXPECT_EQ(FindPrnPortScript(os), kScripts + u"de-DE\\prnport.vbs");
  ASSERT_EQ(proc->debug.lines.size(), 13u);  // en-US ... de-DE
  EXPECT_EQ(proc->debug.lines[2], u"vbsPath=" + kScripts + u"ru\\prnport.vbs");
  EXPECT_EQ(proc->debug.lines[8], u"vbsPath=" + kScripts + u"ru-RU\\prnport.vbs");

  // None there: the last candidate, which then fails to run.
  machine.files.RemoveFile(kScripts + u"de-DE\\prnport.vbs");
  machine.files.RemoveFile(kScripts + u"sv-SE\\prnport.vbs");
  proc->debug.lines.clear();
  EXPECT_EQ(FindPrnPortScript(os), kScripts + u"th-TH\\prnport.vbs");
  EXPECT_EQ(proc->debug.lines.size(), 18u);
}

TEST_F(TcpPortTest, PortRecordPutsEachNameInAFieldItFits) {
  auto ip = MakeRawPortData(u"192.0.2.20");
  ASSERT_TRUE(ip);
  ASSERT_EQ(ip->size(), kPortData1Size);
  EXPECT_EQ(ReadWideSlot(*ip, kPd1PortNameOffset, kPd1PortNameChars), u"IP_192.0.2.20");
  EXPECT_EQ(ReadWideSlot(*ip, kPd1HostAddressOffset, kPd1HostAddressChars), u"192.0.2.20");
  EXPECT_EQ(ReadWideSlot(*ip, kPd1IpAddressOffset, kPd1IpAddressChars), u"192.0.2.20");
  EXPECT_EQ(ReadU32(*ip, kPd1VersionOffset), 1u);
  EXPECT_EQ(ReadU32(*ip, kPd1ProtocolOffset), kProtocolRawTcp);
  EXPECT_EQ(ReadU32(*ip, kPd1PortNumberOffset), 9100u);
  EXPECT_EQ(ReadU32(*ip, kPd1SnmpEnabledOffset), 0u);
  EXPECT_EQ(ReadWideSlot(*ip, kPd1SnmpCommunityOffset, kPd1SnmpCommunityChars), u"");

  // A host name of 48 characters fills sztHostAddress to its terminator and
  // leaves the address field and everything between the fields zero.
  std::u16string host(44, u'h');
  host += u".lan";
  auto named = MakeRawPortData(host);
  ASSERT_TRUE(named);
  EXPECT_EQ(ReadWideSlot(*named, kPd1HostAddressOffset, kPd1HostAddressChars), host);
  EXPECT_EQ(ReadWideSlot(*named, kPd1IpAddressOffset, kPd1IpAddressChars), u"");
  for (size_t at = kPd1HostAddressOffset + 2 * host.size(); at < kPd1PortNumberOffset; ++at)
    ASSERT_EQ((*named)[at], 0) << at;
  for (size_t at = kPd1PortNameOffset + 2 * (host.size() + 3); at < kPd1VersionOffset; ++at)
    ASSERT_EQ((*named)[at], 0) << at;

  EXPECT_FALSE(MakeRawPortData(host + u"x"));
  EXPECT_FALSE(MakeRawPortData(u""));
  // Dotted but not an address: a host name, with sztIPAddress left empty.
  auto odd = MakeRawPortData(u"1.2.3.456");
  ASSERT_TRUE(odd);
  EXPECT_EQ(ReadWideSlot(*odd, kPd1IpAddressOffset, kPd1IpAddressChars), u"");
  for (const char16_t* dotted : {u"0.0.0.0", u"255.255.255.255", u"192.0.2.7"})
    EXPECT_TRUE(IsDottedIPv4(dotted)) << Utf16ToUtf8(dotted);
  for (const char16_t* notDotted : {u"1..2.3", u"1.2.3.", u".1.2.3", u"1.2.3", u"1.2.3.4.5", u"0001.2.3.4",
                                    u"1.2.3.256", u"1.2.3.-4", u"1.2.3.4 ", u"1.2.3.a", u""})
    EXPECT_FALSE(IsDottedIPv4(notDotted)) << Utf16ToUtf8(notDotted);
}

// Whatever the monitor answers, its handle is closed again.
TEST_F(TcpPortTest, MonitorAddsThePortAndItsRefusalsAreTraced) {
  EXPECT_TRUE(AddTcpPortByXcv(os, u"printer-host.local"));
  EXPECT_EQ(machine.spooler.OpenHandleCount(), 0u);
  EXPECT_TRUE(Traced(u"AddHostNameToTcpPort printer-host.local"));
  EXPECT_TRUE(Traced(u"XcvData AddPort success, IP_printer-host.local"));
  ASSERT_TRUE(machine.spooler.tcpPorts.count(u"ip_printer-host.local"));
  EXPECT_EQ(machine.spooler.tcpPorts[u"ip_printer-host.local"].address, u"printer-host.local");
  EXPECT_EQ(machine.spooler.tcpPorts[u"ip_printer-host.local"].portNumber, 9100u);
  EXPECT_TRUE(PortExists(os, u"IP_printer-host.local"));
  EXPECT_FALSE(PortExists(os, u"ip_printer-host.local"));  // the exact name only

  // Already there: the call goes through, the monitor says no.
  EXPECT_FALSE(AddTcpPortByXcv(os, u"printer-host.local"));
  EXPECT_TRUE(Traced(u"XcvData AddPort failed, status=183"));
  EXPECT_EQ(machine.spooler.OpenHandleCount(), 0u);

  machine.spooler.callerIsAdmin = false;
  EXPECT_FALSE(AddTcpPortByXcv(os, u"192.0.2.7"));
  EXPECT_TRUE(Traced(u"OpenPrinter XcvMonitor failed, err=5"));
  machine.spooler.callerIsAdmin = true;

  size_t ports = machine.spooler.tcpPorts.size();
  EXPECT_FALSE(AddTcpPortByXcv(os, std::u16string(49, u'a')));
  EXPECT_TRUE(Traced(u"AddPort skipped, the name fits no port field: " + std::u16string(49, u'a')));
  EXPECT_EQ(machine.spooler.tcpPorts.size(), ports);

  machine.spooler.failListPorts = 1722u;
  EXPECT_FALSE(PortExists(os, u"IP_printer-host.local"));
  EXPECT_TRUE(Traced(u"EnumPorts Failed, err=1722"));
  EXPECT_EQ(os.spooler->PortsNeededBytes(), 0u);
}

TEST_F(TcpPortTest, ScriptCommandCarriesOnlyPlainAddresses) {
  const std::u16string script = kScripts + u"en-US\\prnport.vbs";
  auto line = PrnPortAddParameters(script, u"192.0.2.20");
  ASSERT_TRUE(line);
  EXPECT_EQ(*line, u"\"" + script + u"\" -a -r \"IP_192.0.2.20\" -h \"192.0.2.20\" -o raw");
  EXPECT_EQ(SplitParameters(*line),
            (Args{script, u"-a", u"-r", u"IP_192.0.2.20", u"-h", u"192.0.2.20", u"-o", u"raw"}));
  auto named = PrnPortAddParameters(script, u"LX220-0A1B.local.");
  ASSERT_TRUE(named);
  EXPECT_EQ(SplitParameters(*named).size(), 8u);
  EXPECT_TRUE(PrnPortAddParameters(script, u"\u5370\u5237\u6a5f.local"));
  EXPECT_TRUE(PrnPortAddParameters(script, std::u16string(253, u'a')));
  for (const char16_t* name : {u"zz_top.local", u"ZZ-9", u"_printer._z"})
    EXPECT_TRUE(PrnPortAddParameters(script, name)) << Utf16ToUtf8(name);
  // A quote in the script's own path would end its quoting.
  EXPECT_FALSE(PrnPortAddParameters(kScripts + u"en\"US\\prnport.vbs", u"192.0.2.20"));

  const std::u16string hostile[] = {
      u"", u"a\" -d -r \"x", u"host\\\" -x", u"-d", u".hidden", u"//B", u"a/b", u"a\\b", u"%TEMP%",
      u"a b", u"a\tb", u"a\nb", u"a\rb", std::u16string(u"a\0b", 3), u"a\u0085b", u"a\u00a0b",
      u"a;b", u"a&b", u"a|b", u"a^b", std::u16string(254, u'a'), std::u16string(300, u'a')};
  for (const auto& address : hostile) EXPECT_FALSE(PrnPortAddParameters(script, address)) << address.size();
}

}  // namespace
}  // namespace lx
