// The paper stores under many callers: DEVMODE merges, the paper
// capabilities (count, then fill), printer events and paper additions for
// two printers from several threads at once. Built alone so that the
// thread-sanitizer preset runs just this; every fill is checked against the
// count its own thread was answered.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/text.h"
#include "platform/debug_output.h"
#include "plugin/capabilities/device_capabilities.h"
#include "plugin/core/merge.h"
#include "plugin/papers/paper_lookup_adapter.h"
#include "plugin/papers/paper_printer_event.h"
#include "plugin/papers/tests/paper_world.h"

namespace lx::test {
namespace {

// The debugger output is thread-safe on Windows; the simulated one is not.
class LockedDebug : public IDebugOutput {
 public:
  void OutputA(const std::string&) override { ++lines; }
  void OutputW(const std::u16string&) override { ++lines; }
  std::atomic<int> lines{0};
};

constexpr uint16_t kGuard = 0xBEEF;

// A count call, then a fill into exactly that many entries plus guard words.
// False when the fill wrote past the count or answered more than it.
bool CountThenFill(PaperContext& papers, const char16_t* printer, uint16_t code) {
  uint32_t count = 0;
  if (AnswerDeviceCapabilities(papers, printer, code, nullptr, &count) != S_OK) return false;
  const size_t entryBytes = code == kDcPapers ? 2 : code == kDcPaperSize ? 8 : 2 * kPaperNameSlotChars;
  std::vector<uint16_t> buffer((count * entryBytes) / 2 + 16, kGuard);
  uint32_t written = 0;
  if (AnswerDeviceCapabilities(papers, printer, code, buffer.data(), &written) != S_OK) return false;
  for (size_t i = (count * entryBytes) / 2; i < buffer.size(); ++i)
    if (buffer[i] != kGuard) return false;
  return written <= count;
}

// A merge whose input names a paper by number and the output by form name.
void Merge(PaperContext& papers, const char16_t* printer, int16_t number) {
  DEVMODEW in{}, out{};
  for (DEVMODEW* dm : {&in, &out}) {
    dm->dmSize = sizeof(DEVMODEW);
    dm->dmDriverExtra = sizeof(PrivateDevmode);
  }
  in.dmFields = DM_PAPERSIZE | DM_FORMNAME;
  in.dmPaperSize = number;
  CopyToBuffer(reinterpret_cast<char16_t*>(in.dmFormName), CCHFORMNAME, u"4_x_6");
  PrivateDevmode privIn{}, privOut{};
  DefaultPrivateDevmode(privIn);
  DefaultPrivateDevmode(privOut);
  PaperStoreLookup lookup(papers, std::u16string(printer));
  MergeDevmode(&in, &out, &privIn, sizeof privIn, &privOut, &lookup);
}

void AddOne(PaperContext& papers, const char16_t* printer, int salt) {
  PaperLock hold = LockPapers(papers);
  PaperStore& store = OpenPaperStore(papers, printer);
  std::u16string name = u"t";
  for (char c : std::to_string(salt)) name.push_back(static_cast<char16_t>(c));
  AddPaper(store, MakePaperRecord(NextPaperNumber(store), name, 40.0f + salt % 50, 30.0f, false));
}

TEST(PaperThreads, ManyCallersForTwoPrintersKeepEveryFillWithinItsCount) {
  PaperWorld world;
  std::unique_ptr<PaperContext> papers = world.LoadModule();
  LockedDebug debug;
  papers->platform.debug = &debug;
  const char16_t* printers[] = {kPrinter, kOtherPrinter};
  std::atomic<int> overruns{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 60; ++i) {
        const char16_t* printer = printers[(t + i) % 2];
        switch ((t + i) % 4) {
          case 0:
            AddOne(*papers, printer, t * 1000 + i);
            break;
          case 1:
            Merge(*papers, printer, static_cast<int16_t>(119 + i % 30));
            break;
          case 2:
            PaperPrinterEvent(*papers, printer, i % 8 == 2 ? kPrinterEventDelete : kPrinterEventInitialize);
            break;
          default:
            break;
        }
        for (uint16_t code : {kDcPapers, kDcPaperSize, kDcPaperNames})
          if (!CountThenFill(*papers, printer, code)) ++overruns;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(overruns.load(), 0);
  EXPECT_GT(debug.lines.load(), 0);
  // Every addition went to its printer's store and none was lost.
  PaperLock hold = LockPapers(*papers);
  ASSERT_EQ(papers->stores.size(), 2u);
  int added = 0;
  for (const auto& store : papers->stores) added += store->count() - 11;
  EXPECT_EQ(added, 4 * 60 / 4);
}

}  // namespace
}  // namespace lx::test
