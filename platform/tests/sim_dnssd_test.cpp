// The simulated dns_sd library and library loader: the TXT lookup answers as
// the host's real dns_sd library does, plain names are searched in the
// Windows order, and misuse of references is seen.
#include <gtest/gtest.h>

#include "platform/posix/posix_network.h"
#include "platform/sim/sim_dnssd.h"
#include "platform/sim/sim_libraries.h"

namespace lx {
namespace {

struct Lookup {
  bool found;
  std::string value;
};

Lookup Find(dnssd::TXTRecordGetValuePtrFn fn, const std::string& txt, const char* key) {
  uint8_t len = 0xEE;
  auto* p = static_cast<const char*>(fn(static_cast<uint16_t>(txt.size()), txt.data(), key, &len));
  return p ? Lookup{true, std::string(p, len)} : Lookup{false, ""};
}

const std::vector<std::string> kRecords = {
    SimTxt({"txtvers=1", "product=LX-220"}),
    SimTxt({"PRODUCT=LX"}),
    SimTxt({"product"}),
    SimTxt({"product="}),
    SimTxt({"productx=1", "product=a=b"}),
    std::string("\x20product=LX"),
    std::string("\x03" "abc\x09product=Z"),
    std::string(),
};

TEST(SimDnssd, TxtLookupAnswersAsTheHostLibrary) {
  auto sim = reinterpret_cast<dnssd::TXTRecordGetValuePtrFn>(SimDnssd::Entries()["TXTRecordGetValuePtr"]);
  SimDnssd mdns;
  EXPECT_EQ(Find(sim, kRecords[0], "product").value, "LX-220");
  EXPECT_FALSE(Find(sim, kRecords[2], "product").found) << "a key without value";
  EXPECT_TRUE(Find(sim, kRecords[3], "product").found) << "an empty value";
  EXPECT_FALSE(Find(sim, kRecords[5], "product").found) << "a length past the end";

  EXPECT_EQ(Find(sim, kRecords[1], "product").value, "LX");

  setenv("AVAHI_COMPAT_NOWARN", "1", 1);
  PosixLibraries libraries;
  ModuleHandle real = libraries.Load(u"libdns_sd.so.1");
  if (!real) GTEST_SKIP() << "the host has no libdns_sd.so.1 (libavahi-compat-libdnssd1)";
  auto host = reinterpret_cast<dnssd::TXTRecordGetValuePtrFn>(libraries.GetProcAddress(real, "TXTRecordGetValuePtr"));
  ASSERT_NE(host, nullptr);
  // Record 1 aside: Avahi compares keys by case, the published reference
  // (and the Windows library) does not, and the simulation follows that.
  for (size_t i = 0; i < kRecords.size(); ++i) {
    if (i == 1) continue;
    for (const char* key : {"product", "txtvers", "abc"}) {
      Lookup a = Find(sim, kRecords[i], key), b = Find(host, kRecords[i], key);
      EXPECT_EQ(a.found, b.found) << "record " << i << " key " << key;
      EXPECT_EQ(a.value, b.value) << "record " << i << " key " << key;
    }
  }
  libraries.Free(real);
}

TEST(SimLibraries, FullPathsLoadOnlyThatFilePlainNamesSearchLikeWindows) {
  SimLibraries libraries;
  int marker = 0;
  libraries.Install(u"C:\\Users\\Public\\dnssd.dll", {{"Entry", &marker}});
  EXPECT_EQ(libraries.Load(u"C:\\Setup\\dnssd.dll"), 0u);
  ModuleHandle planted = libraries.Load(u"DNSSD.DLL");
  ASSERT_NE(planted, 0u) << "the current directory is on the plain-name search";
  EXPECT_EQ(libraries.GetProcAddress(planted, "Entry"), &marker);
  EXPECT_EQ(libraries.GetProcAddress(planted, "Other"), nullptr);
  libraries.Install(u"C:\\Setup\\dnssd.dll", {});
  EXPECT_EQ(libraries.loaded.size(), 1u);
  libraries.Load(u"dnssd.dll");
  EXPECT_EQ(libraries.loaded.back(), u"C:\\Setup\\dnssd.dll") << "the program's folder comes first";
  libraries.Free(planted);
  EXPECT_EQ(libraries.openModules, 1);
}

TEST(SimDnssd, SeesAReferenceReleasedWhileInUseAndUsedAfterRelease) {
  SimDnssd mdns;
  SimMdnsService printer;
  printer.instance = "LX-220";
  mdns.services = {printer};
  auto entries = SimDnssd::Entries();
  auto browse = reinterpret_cast<dnssd::BrowseFn>(entries["DNSServiceBrowse"]);
  auto process = reinterpret_cast<dnssd::ProcessResultFn>(entries["DNSServiceProcessResult"]);
  auto release = reinterpret_cast<dnssd::RefDeallocateFn>(entries["DNSServiceRefDeallocate"]);
  static dnssd::RefDeallocateFn releaseInReply;
  releaseInReply = release;
  dnssd::ServiceRef ref = nullptr;
  ASSERT_EQ(browse(&ref, 0, 0, "_pdl-datastream._tcp", "local",
                   [](dnssd::ServiceRef r, dnssd::Flags, uint32_t, dnssd::ErrorType, const char* name, const char*,
                      const char*, void*) {
                     EXPECT_STREQ(name, "LX-220");
                     releaseInReply(r);
                   },
                   nullptr),
            0);
  EXPECT_EQ(mdns.WaitReadable(1000, 100), 1);
  EXPECT_EQ(process(ref), 0);
  EXPECT_EQ(mdns.Faults(), 1) << "released inside its own reply";
  EXPECT_NE(process(ref), 0);
  EXPECT_EQ(mdns.Faults(), 2) << "used after release";
  EXPECT_EQ(mdns.LiveRefs(), 0);
}

}  // namespace
}  // namespace lx
