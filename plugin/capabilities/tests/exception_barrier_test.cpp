// The entry points' exception barrier around the DEVMODE and capability
// answers: an allocation failure or any other exception thrown deep inside
// (here by the platform, at each call in turn) comes back as an HRESULT with
// a trace line, and nothing stored is damaged: the same module, and one
// loaded afresh, answer as before.
#include "plugin/core/exception_barrier.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "plugin/capabilities/device_capabilities.h"
#include "plugin/core/frame_logic.h"
#include "plugin/core/private_devmode.h"
#include "plugin/papers/paper_lookup_adapter.h"
#include "plugin/papers/tests/paper_world.h"

namespace lx::test {
namespace {

// Debugger output whose `failAt`-th line (from 0) throws, as formatting a
// line does when memory runs out; a negative `failAt` never throws.
struct FailingOutput : IDebugOutput {
  int failAt = -1;
  bool badAlloc = true;
  int seen = 0;
  std::vector<std::u16string> lines;
  void OutputA(const std::string&) override {}
  void OutputW(const std::u16string& line) override {
    if (seen++ == failAt) {
      if (badAlloc) throw std::bad_alloc();
      throw std::runtime_error("injected");
    }
    lines.push_back(line);
  }
  bool Has(const std::u16string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
};

struct Barriers : ::testing::Test {
  PaperWorld world;
  FailingOutput output;
  std::unique_ptr<PaperContext> papers = world.LoadModule();
  PluginPlatform platform;

  Barriers() {
    platform.debug = &output;
    papers->platform.debug = &output;
  }

  // DC_PAPERNAMES through the barrier, count then fill, as the core driver asks.
  HRESULT PaperNames(std::vector<char16_t>& names) {
    return Barrier(platform, u"DeviceCapabilities", [&] {
      uint32_t count = 0;
      HRESULT hr = AnswerDeviceCapabilities(*papers, kPrinter, kDcPaperNames, nullptr, &count);
      if (FAILED(hr)) return hr;
      names.assign(count * kPaperNameSlotChars, u'#');
      return AnswerDeviceCapabilities(*papers, kPrinter, kDcPaperNames, names.data(), &count);
    });
  }

  // An application's DEVMODE naming paper 122, merged through the barrier;
  // the printer's store opens inside.
  HRESULT Merge(PrivateDevmode& out) {
    DEVMODEW publicIn{}, publicOut{};
    publicIn.dmSize = publicOut.dmSize = sizeof(DEVMODEW);
    publicIn.dmFields = DM_PAPERSIZE;
    publicIn.dmPaperSize = 122;
    PrivateDevmode in;
    std::memset(&in, 0, sizeof in);
    std::memset(&out, 0, sizeof out);
    DefaultPrivateDevmode(in);
    DefaultPrivateDevmode(out);
    OEMDMPARAM param{};
    param.pPublicDMIn = &publicIn;
    param.pPublicDMOut = &publicOut;
    param.pOEMDMIn = &in;
    param.pOEMDMOut = &out;
    PaperStoreLookup lookup(*papers, std::u16string(kPrinter));
    return Barrier(platform, u"DevMode", [&] { return AnswerDevMode(OEMDM_MERGE, &param, &lookup).hr; });
  }
};

TEST_F(Barriers, EveryFailureInsideDeviceCapabilitiesIsAnHresult) {
  std::vector<char16_t> names;
  ASSERT_EQ(S_OK, PaperNames(names));
  const std::vector<char16_t> whole = names;
  const int lines = output.seen;
  ASSERT_GT(lines, 2);
  for (bool badAlloc : {true, false}) {
    for (int at = 0; at < lines; ++at) {
      papers = world.LoadModule();
      papers->platform.debug = &output;
      output.seen = 0;
      output.failAt = at;
      output.badAlloc = badAlloc;
      EXPECT_EQ(badAlloc ? E_OUTOFMEMORY : E_FAIL, PaperNames(names)) << at;
      // The barrier's own line went out, the failing line did not.
      EXPECT_TRUE(output.Has(badAlloc ? u"DeviceCapabilities: out of memory"
                                      : u"DeviceCapabilities: failed (exception)")) << at;
      // The same module answers whole afterwards: no half-loaded store stays.
      output.failAt = -1;
      ASSERT_EQ(S_OK, PaperNames(names)) << at;
      EXPECT_EQ(whole, names) << at;
    }
  }
}

TEST_F(Barriers, EveryFailureInsideTheMergeIsAnHresult) {
  PrivateDevmode clean;
  ASSERT_EQ(S_OK, Merge(clean));
  const int lines = output.seen;
  for (int at = 0; at < lines; ++at) {
    papers = world.LoadModule();
    papers->platform.debug = &output;
    output.seen = 0;
    output.failAt = at;
    PrivateDevmode out;
    EXPECT_EQ(E_OUTOFMEMORY, Merge(out)) << at;
    output.failAt = -1;
    papers = world.LoadModule();
    papers->platform.debug = &output;
    ASSERT_EQ(S_OK, Merge(out)) << at;
    EXPECT_EQ(0, std::memcmp(&clean, &out, sizeof out)) << at;
  }
}

TEST(BarrierTrace, AFailingTraceLineStillLetsTheAnswerOut) {
  FailingOutput output;
  output.failAt = 0;  // the barrier's own line fails too
  PluginPlatform platform;
  platform.debug = &output;
  EXPECT_EQ(E_OUTOFMEMORY, Barrier(platform, u"DevMode", []() -> HRESULT { throw std::bad_alloc(); }));
  EXPECT_EQ(E_FAIL, Barrier(platform, u"DevMode", []() -> HRESULT { throw 42; }));
  EXPECT_EQ(S_FALSE, Barrier(platform, u"DevMode", [] { return S_FALSE; }));
  PluginPlatform silent;  // no output at all
  EXPECT_EQ(E_OUTOFMEMORY, Barrier(silent, u"DevMode", []() -> HRESULT { throw std::bad_alloc(); }));
}

}  // namespace
}  // namespace lx::test
