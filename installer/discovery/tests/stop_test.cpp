// The stop road: a stop always completes, and never releases the browse
// reference while the poll thread can still use it.
#include <chrono>

#include "installer/discovery/tests/discovery_fixture.h"

namespace lx::test {
namespace {

using Stop = DiscoveryTest;
using Ms = std::chrono::milliseconds;

template <typename F>
long long TimeMs(F f) {
  auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration_cast<Ms>(std::chrono::steady_clock::now() - start).count();
}

TEST_F(Stop, DuringAResolveThatNeverAnswers) {
  InstallLibrary();
  SimMdnsService silent = Printer("LX-220 Silent");
  silent.resolveSilent = true;
  mdns.services = {silent};
  search.StartNetSearch(&page);
  ASSERT_TRUE(WaitForCalls("DNSServiceResolve", 1));
  long long ms = TimeMs([&] { search.StopNetSearch(); });
  // Joined, not given up on: the nested wait looks at the stop flag.
  EXPECT_LT(ms, NetSearch::kStopWaitMs - 100);
  EXPECT_TRUE(WaitForNoLiveRefs());
  EXPECT_EQ(mdns.Faults(), 0);
  EXPECT_TRUE(page.Posts().empty());
}

TEST_F(Stop, ASilentResolveEndsAfterItsBoundAndTheNextInstanceIsHeard) {
  InstallLibrary();
  SimMdnsService silent = Printer("LX-220 Silent");
  silent.resolveSilent = true;
  SimMdnsService later = Printer("LX-220 Later");
  later.announceDelayMs = 10;
  mdns.services = {silent, later};
  search.StartNetSearch(&page);
  ASSERT_TRUE(page.WaitForPosts(1, NetSearch::kReplyWaitMs + 2000));
  search.StopNetSearch();
  EXPECT_TRUE(Traced("NetSearch: no resolve reply within 3000 ms"));
  EXPECT_EQ(search.List().Copy().at(0).name, u"LX-220 Later");
  EXPECT_EQ(mdns.Faults(), 0);
}

TEST_F(Stop, ALibraryStuckInsideItsCallKeepsTheBrowseUntilTheThreadEnds) {
  InstallLibrary();
  SimMdnsService stuck = Printer("LX-220 Stuck");
  stuck.resolveStallMs = 3000;  // well past the stop's bound
  mdns.services = {stuck};
  search.StartNetSearch(&page);
  ASSERT_TRUE(WaitForCalls("DNSServiceProcessResult", 2));
  long long ms = TimeMs([&] { search.StopNetSearch(); });
  EXPECT_GE(ms, NetSearch::kStopWaitMs - 100);
  EXPECT_LT(ms, NetSearch::kStopWaitMs + 1000) << "the stop waits its bound, no longer";
  EXPECT_FALSE(search.Searching());
  EXPECT_GE(mdns.LiveRefs(), 1) << "the browse is still in use";

  // A new search meanwhile: the old thread's late reply stays out of it.
  mdns.services = {};
  search.StartNetSearch(&page);
  std::this_thread::sleep_for(Ms(2500));  // the stuck call has returned by then
  search.StopNetSearch();
  EXPECT_TRUE(Traced("NetSearch: resolve reply after the stop ignored"));
  EXPECT_EQ(search.List().Size(), 0u);
  EXPECT_TRUE(page.Posts().empty());
  EXPECT_TRUE(WaitForNoLiveRefs()) << "the thread released the browse when it ended";
  EXPECT_EQ(mdns.Faults(), 0);
}

}  // namespace
}  // namespace lx::test
