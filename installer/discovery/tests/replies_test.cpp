// The replies road: what each reply handler makes of what a host on the link
// announces, hostile or broken text included.
#include <arpa/inet.h>
#include <netinet/in.h>

#include "installer/discovery/service_names.h"
#include "installer/discovery/tests/discovery_fixture.h"

namespace lx::test {
namespace {

class Replies : public DiscoveryTest {
 protected:
  Replies() {
    // No address lookup, as with Avahi: the resolve handler returns at once.
    InstallLibrary({"DNSServiceGetAddrInfo"});
    session = search.NewSession();
    session->notify = &page;
  }
  void Resolve(const std::string& fullName, uint16_t hostPort = 9100, const std::string& txt = "\x0eproduct=LX-220",
               dnssd::ErrorType error = 0, const char* hostTarget = "lx.local.") {
    NetSearch::OnResolveReply(nullptr, 0, 1, error, fullName.c_str(), hostTarget, htons(hostPort),
                              static_cast<uint16_t>(txt.size()),
                              reinterpret_cast<const unsigned char*>(txt.data()), session.get());
  }
  std::u16string LastName() {
    auto list = search.List().Copy();
    return list.empty() ? u"<none>" : list.back().name;
  }
  std::shared_ptr<NetSearchSession> session;
};

TEST_F(Replies, InstanceNamesAreCutAndUnescaped) {
  EXPECT_EQ(InstanceNameOf("LX-220\\032Label._pdl-datastream._tcp.local."), "LX-220 Label");
  // An escaped dot belongs to the name, also when the suffix follows it.
  EXPECT_EQ(InstanceNameOf("LX-220\\.v2._pdl-datastream._tcp.local."), "LX-220.v2");
  EXPECT_EQ(InstanceNameOf("LX-220\\._pdl-datastream._tcp._pdl-datastream._tcp.local."),
            "LX-220._pdl-datastream._tcp");
  EXPECT_EQ(InstanceNameOf("LX\\\\220\\\"x\\\"._pdl-datastream._tcp.local."), "LX\\220\"x\"");
  // No suffix, or the suffix first: the whole name.
  EXPECT_EQ(InstanceNameOf("LX-220.local."), "LX-220.local.");
  EXPECT_EQ(InstanceNameOf("._pdl-datastream._tcp.local."), "._pdl-datastream._tcp.local.");
  // \DDD anywhere, up to its last character, and up to 255.
  EXPECT_EQ(InstanceNameOf("LX-220\\065._pdl-datastream._tcp.local."), "LX-220A");
  EXPECT_EQ(UnescapeDnsName("end\\065"), "endA");
  EXPECT_EQ(UnescapeDnsName("\\255\\256"), "\xff\\256");
  // Broken escapes stay visible as received.
  EXPECT_EQ(UnescapeDnsName("a\\999b\\12"), "a\\999b\\12");
  EXPECT_EQ(UnescapeDnsName("a\\12xb\\1"), "a\\12xb\\1") << "two digits are no \\DDD";
  EXPECT_EQ(UnescapeDnsName("end\\"), "end\\");
  EXPECT_EQ(UnescapeDnsName("\\000x"), std::string("\0x", 2));
}

TEST_F(Replies, PortsArriveInHostOrder) {
  Resolve("LX-220 a._pdl-datastream._tcp.local.", 9100);
  Resolve("LX-220 b._pdl-datastream._tcp.local.", 0);
  Resolve("LX-220 c._pdl-datastream._tcp.local.", 65535);
  auto list = search.List().Copy();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].port, 9100);
  EXPECT_EQ(list[1].port, 0);
  EXPECT_EQ(list[2].port, 65535);
  EXPECT_EQ(page.Posts(), (std::vector<unsigned>{kWmNetSearchOne, kWmNetSearchMore, kWmNetSearchMore}));
}

// Only a host target that can be a host name is kept; the record stays
// either way, to be installed by its address.
TEST_F(Replies, HostTargetsAreKeptOnlyWhereAHostNameCanBe) {
  std::string label63(63, 'a');
  std::string longest = label63 + "." + label63 + "." + label63 + "." + std::string(61, 'b');  // 253
  struct Case {
    std::string target;
    const char16_t* kept;
  } cases[] = {
      {"lx220-0a1b.local.", u"lx220-0a1b.local"},
      {"LX220_0A1B.local", u"LX220_0A1B.local"},
      {"zz.local.", u"zz.local"},
      {"\xe5\x8d\xb0\xe5\x88\xb7.local.", u"\u5370\u5237.local"},
      {label63 + ".local.", nullptr},
      {longest + ".", nullptr},
      {"", u""},
      {".", u""},
      {std::string(256, 'a'), u""},
      {longest + "x.", u""},
      {"lx\xff\xfe.local.", u""},
      {"lx\xc3.local.", u""},
      {"lx 220.local.", u""},
      {"lx\\032220.local.", u""},
      {"lx\"x\".local", u""},
      {"lx;calc.local", u""},
      {"lx\xc2\xa0" "220.local", u""},
      {"a..local.", u""},
      {"-x.local.", u""},
      {"lx.-h.local.", u""},
      {std::string(64, 'a') + ".local.", u""},
  };
  int n = 0;
  for (const auto& c : cases) {
    std::string instance = "LX-220 n" + std::to_string(n++);
    Resolve(instance + "._pdl-datastream._tcp.local.", 9100, "\x0eproduct=LX-220", 0, c.target.c_str());
    auto list = search.List().Copy();
    ASSERT_EQ(list.size(), static_cast<size_t>(n)) << c.target;
    std::u16string want = c.kept ? std::u16string(c.kept) : Utf8ToUtf16(c.target.substr(0, c.target.size() - 1));
    EXPECT_EQ(list.back().hostTarget, want) << c.target;
  }
  NetSearch::OnResolveReply(nullptr, 0, 1, 0, "LX-220 null._pdl-datastream._tcp.local.", nullptr, htons(9100), 15,
                            reinterpret_cast<const unsigned char*>("\x0eproduct=LX-220"), session.get());
  EXPECT_EQ(search.List().Copy().back().hostTarget, u"");
  for (const char* why : {"empty", "over 255 bytes", "over 253 characters", "not UTF-8", "a character no host name holds",
                          "an empty label", "a label starting with '-'", "a label over 63 bytes"})
    EXPECT_TRUE(Traced(std::string("NetSearch: host target not kept (") + why + "); the printer installs by its address"))
        << why;
}

// One record per name; a name heard again updates it, also on a full list.
TEST_F(Replies, ANameHeardAgainUpdatesItsRecordAndTheListHoldsAtMost64) {
  Resolve("LX-220 a._pdl-datastream._tcp.local.", 9100, "\x0eproduct=LX-220", 0, "old.local.");
  Resolve("LX-220 A._pdl-datastream._tcp.local.", 9101, "\x0eproduct=LX-221", 0, "new.local.");
  auto list = search.List().Copy();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, u"LX-220 a") << "listed under its first name";
  EXPECT_EQ(list[0].port, 9101);
  EXPECT_EQ(list[0].product, u"LX-221");
  EXPECT_EQ(list[0].hostTarget, u"new.local");
  EXPECT_EQ(page.Posts(), (std::vector<unsigned>{kWmNetSearchOne, kWmNetSearchOne}));

  for (int i = 1; i < 70; ++i) Resolve("LX-220 n" + std::to_string(i) + "._pdl-datastream._tcp.local.");
  list = search.List().Copy();
  ASSERT_EQ(list.size(), NetPrinterList::kMaxRecords);
  EXPECT_EQ(list.back().name, u"LX-220 n63");
  EXPECT_TRUE(Traced("NetSearch: the list holds 64 printers; a new one is not kept"));
  Resolve("LX-220 n5._pdl-datastream._tcp.local.", 9105);
  EXPECT_EQ(search.List().Copy()[5].port, 9105);
  EXPECT_EQ(page.Posts().size(), 72u) << "every reply still counts";
  EXPECT_EQ(page.Posts().back(), kWmNetSearchMore);
}

TEST_F(Replies, BrokenTxtRecordsGiveNoProduct) {
  config.install.PRODUCT.clear();
  Resolve("LX-220 a._pdl-datastream._tcp.local.", 9100, "\x20product=LX-220");  // length runs past the end
  Resolve("LX-220 b._pdl-datastream._tcp.local.", 9100, "\x07product");        // key without value
  Resolve("LX-220 c._pdl-datastream._tcp.local.", 9100, "\x08product=");       // empty value
  Resolve("LX-220 d._pdl-datastream._tcp.local.", 9100, "");
  Resolve("LX-220 e._pdl-datastream._tcp.local.", 9100, "\x0dPRODUCT=LX-22");  // keys ignore case
  auto list = search.List().Copy();
  ASSERT_EQ(list.size(), 5u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list[i].product, u"") << i;
  EXPECT_EQ(list[4].product, u"LX-22");
  // With a product wanted, none of them but the last would pass.
  config.install.PRODUCT = u"LX";
  Resolve("LX-220 f._pdl-datastream._tcp.local.", 9100, "\x07product");
  EXPECT_EQ(search.List().Size(), 5u);
}

TEST_F(Replies, HostileNamesAreKeptWholeAndVisible) {
  std::string longName = "LX-220 " + std::string(300, 'x');
  Resolve(longName + "._pdl-datastream._tcp.local.");
  EXPECT_EQ(LastName().size(), longName.size()) << "never cut";
  Resolve("LX-220 \xff\xfe\xc3._pdl-datastream._tcp.local.");
  EXPECT_EQ(LastName(), u"LX-220 \xfffd\xfffd\xfffd") << "bad bytes become visible";
  Resolve("LX-220\\034 /r \\\"evil\\\" %s\\009\\010x._pdl-datastream._tcp.local.");
  EXPECT_EQ(LastName(), u"LX-220\" /r \"evil\" %s\t\nx") << "kept as received, for the installation to quote";
  Resolve("._pdl-datastream._tcp.local.");
  EXPECT_EQ(search.List().Size(), 3u) << "no model in the whole name";
  config.models[u"LX220"].HOSTNAME.clear();
  config.install.PRODUCT.clear();
  NetSearch::OnResolveReply(nullptr, 0, 1, 0, nullptr, nullptr, 0, 5, nullptr, session.get());
  EXPECT_EQ(LastName(), u"") << "a missing name gives an empty one";
}

TEST_F(Replies, ErrorsAndStrayRepliesAddNothing) {
  Resolve("LX-220 a._pdl-datastream._tcp.local.", 9100, "\x0eproduct=LX-220", dnssd::kNoSuchName);
  EXPECT_TRUE(Traced("ResolveCallback return Error=-65538"));
  EXPECT_EQ(search.List().Size(), 0u);
  EXPECT_TRUE(page.Posts().empty());

  sockaddr_in address = {};
  address.sin_family = AF_INET;
  inet_pton(AF_INET, "192.0.2.99", &address.sin_addr);
  Resolve("LX-220 a._pdl-datastream._tcp.local.");
  NetSearch::OnAddressReply(nullptr, 0, 1, 0, "lx.local.", reinterpret_cast<sockaddr*>(&address), 120,
                            session.get());
  EXPECT_TRUE(Traced("NetSearch: address reply for no resolved instance ignored"));
  EXPECT_EQ(search.List().Copy()[0].address, u"");
  NetSearch::OnAddressReply(nullptr, 0, 1, 0, "lx.local.", nullptr, 120, session.get());

  session->stop = true;
  Resolve("LX-220 b._pdl-datastream._tcp.local.");
  NetSearch::OnAddressReply(nullptr, 0, 1, 0, "lx.local.", reinterpret_cast<sockaddr*>(&address), 120,
                            session.get());
  NetSearch::OnBrowseReply(nullptr, 0, 1, 0, "LX-220 b", "_pdl-datastream._tcp.", "local.", session.get());
  EXPECT_TRUE(Traced("NetSearch: resolve reply after the stop ignored"));
  EXPECT_EQ(search.List().Size(), 1u);
  EXPECT_EQ(mdns.Calls("DNSServiceResolve"), 0);
  EXPECT_EQ(page.Posts().size(), 1u);
}

TEST_F(Replies, AnAddressReplyFillsTheRecordBeingLookedUp) {
  Resolve("LX-220 a._pdl-datastream._tcp.local.");
  Resolve("LX-220 b._pdl-datastream._tcp.local.");
  session->awaitingAddress = 0;
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  inet_pton(AF_INET, "192.0.2.7", &address.sin_addr);
  NetSearch::OnAddressReply(nullptr, 0, 1, 0, "a.local.", reinterpret_cast<sockaddr*>(&address), 120, session.get());
  auto list = search.List().Copy();
  EXPECT_EQ(list[0].address, u"192.0.2.7");
  EXPECT_EQ(list[1].address, u"");
  // A newer search's list is out of reach of this one.
  auto newer = search.NewSession();
  Resolve("LX-220 c._pdl-datastream._tcp.local.");
  EXPECT_EQ(search.List().Size(), 0u);
}

}  // namespace
}  // namespace lx::test
