#include <gtest/gtest.h>

#include "installer/ports/list_ports.h"
#include "installer/wizard/tests/wizard_fixture.h"

namespace lx {
namespace {

class ListPortsTest : public WizardTest {
 protected:
  std::vector<std::u16string> Names() {
    std::vector<std::u16string> names;
    for (const auto& e : ListPorts(*os)) names.push_back(e.name);
    return names;
  }
};

TEST_F(ListPortsTest, SortsByKindThenNumberAndLeavesOutVirtualPorts) {
  auto& spooler = machine.spooler;
  spooler.AddPort(u"COM3");
  spooler.AddPort(u"USB001", u"USB Monitor", u"Virtual printer port for USB");
  spooler.AddPort(u"IP_10.0.0.5", u"Standard TCP/IP Port", u"Standard TCP/IP Port");
  spooler.AddPort(u"Virtual_PDF");
  spooler.AddPort(u"FOXIT_Reader:");
  spooler.AddPort(u"Documents\\*.pdf", u"Local Port", u"Adobe PDF Port");
  spooler.AddPort(u"USB010");
  spooler.AddPort(u"USB002");
  auto entries = ListPorts(*os);
  std::vector<std::u16string> names;
  for (const auto& e : entries) names.push_back(e.name);
  // The machine starts with LPT1:, COM1:, FILE:, PORTPROMPT: and nul:.
  EXPECT_EQ(names, (std::vector<std::u16string>{u"LPT1:", u"COM1:", u"COM3", u"USB001", u"USB002",
                                                u"USB010", u"FILE:", u"PORTPROMPT:", u"nul:",
                                                u"IP_10.0.0.5"}));
  EXPECT_EQ(entries[0].description, En(175));  // "Printer port"
  EXPECT_EQ(entries[1].description, En(174));  // "Serial port"
  EXPECT_EQ(entries[2].description, En(174));
  // Other ports keep the system's description (a "Virtual" description is no reason to drop).
  EXPECT_EQ(entries[3].description, u"Virtual printer port for USB");
}

TEST_F(ListPortsTest, NameTestsAreCaseSensitive) {
  machine.spooler.AddPort(u"com7");
  machine.spooler.AddPort(u"virtual1");
  auto entries = ListPorts(*os);
  ASSERT_EQ(entries.size(), 7u);
  // "com7" is not a serial port by name: kind 4, number 7, after nul: (number 0).
  EXPECT_EQ(entries.back().name, u"com7");
  EXPECT_EQ(entries.back().description, u"Local Port");
}

TEST_F(ListPortsTest, DescriptionsFollowTheUiLanguage) {
  process->system.SetThreadUILanguage(1031);
  auto entries = ListPorts(*os);
  ASSERT_GE(entries.size(), 2u);
  EXPECT_EQ(entries[0].description, In(u"de", 175));
  EXPECT_NE(entries[0].description, En(175));
}

TEST_F(ListPortsTest, FailedEnumerationListsNothing) {
  machine.spooler.failListPorts = 5;
  EXPECT_TRUE(ListPorts(*os).empty());
}

TEST(PortSortKeys, KindAndFirstDigitRun) {
  EXPECT_EQ(PortKind(u"LPT1"), 1);
  EXPECT_EQ(PortKind(u"COM12"), 2);
  EXPECT_EQ(PortKind(u"USB003"), 3);
  EXPECT_EQ(PortKind(u"IP_1.2.3.4"), 4);
  EXPECT_EQ(PortNumber(u"USB010"), 10);
  EXPECT_EQ(PortNumber(u"IP_192.168.1.20"), 192);
  EXPECT_EQ(PortNumber(u"FILE:"), 0);
  EXPECT_EQ(PortNumber(u"X99999999999999999999"), 2147483647);
}

}  // namespace
}  // namespace lx
