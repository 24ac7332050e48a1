// Host benchmarks of the plug-in's paper logic, each beside a floor measured
// in the same run (a memcpy of the bytes the call produces, a std::sort of
// the records). scripts/bench.sh reads the JSON and checks the ratios.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "common/text.h"
#include "platform/sim/sim_machine.h"
#include "plugin/capabilities/device_capabilities.h"
#include "plugin/core/merge.h"
#include "plugin/papers/paper_lookup_adapter.h"
#include "plugin/papers/paper_persistence.h"

namespace lx {
namespace {

constexpr char16_t kPrinter[] = u"LX-220 Label";

// A trace that goes nowhere: the lines are formatted, as for a debugger.
class SinkOutput : public IDebugOutput {
 public:
  void OutputA(const std::string& text) override { benchmark::DoNotOptimize(text.data()); }
  void OutputW(const std::u16string& text) override { benchmark::DoNotOptimize(text.data()); }
};

// The built-in eleven, then users' sizes up to `count`, in store order.
std::vector<PaperRecord> Papers(size_t count) {
  std::vector<PaperRecord> list = BuiltInPapers();
  for (size_t i = list.size(); i < count; ++i) {
    std::u16string name = u"user label ";
    for (char c : std::to_string(100000 + i)) name.push_back(static_cast<char16_t>(c));
    list.push_back(MakePaperRecord(static_cast<int32_t>(1000 + i), name, 20.0f + (i % 900) * 0.1f,
                                   10.0f + (i / 900), false));
  }
  return list;
}

struct Fixture {
  explicit Fixture(size_t count, bool traced) : context(Platform(traced), u"lx220uip.ini") {
    // The printer's store as if loaded, without a machine to load it from.
    context.stores.push_back(std::make_unique<PaperStore>());
    std::unique_ptr<PaperStore>& slot = context.stores.back();
    slot->printerName = kPrinter;
    slot->records = Papers(count);
    SortPapers(*slot);
    store_ = slot.get();
  }
  PluginPlatform Platform(bool traced) {
    PluginPlatform p;
    p.debug = traced ? &sink : nullptr;
    return p;
  }
  PaperStore& store() { return *store_; }
  SinkOutput sink;
  PaperContext context;
  PaperStore* store_ = nullptr;
};

size_t Count(const benchmark::State& state) { return static_cast<size_t>(state.range(0)); }

// --- floors ---

void BM_Floor_Memcpy(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0));
  std::vector<uint8_t> from(bytes + 1, 7), to(bytes + 1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(from.data());
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::ClobberMemory();
  }
}

void BM_Floor_SortRecords(benchmark::State& state) {
  std::vector<PaperRecord> records = Papers(Count(state));
  std::reverse(records.begin() + 1, records.end());
  std::vector<PaperRecord> work;
  for (auto _ : state) {
    work = records;
    std::sort(work.begin(), work.end(), [](const PaperRecord& a, const PaperRecord& b) {
      return std::u16string_view(a.name) < std::u16string_view(b.name);
    });
    benchmark::DoNotOptimize(work.data());
  }
}

// --- the store ---

void BM_StoreLoad(benchmark::State& state) {
  SimMachine machine;
  machine.spooler.InstallDriver(u"LX-220");
  machine.spooler.AddPort(u"USB001");
  machine.spooler.AddPrinter(kPrinter, u"USB001", u"LX-220");
  auto process = machine.StartProcess(u"C:\\app.exe");
  std::vector<PaperRecord> records = Papers(Count(state));
  std::reverse(records.begin() + 1, records.end());
  std::vector<uint8_t> block(records.size() * sizeof(PaperRecord));
  std::memcpy(block.data(), records.data(), block.size());
  std::vector<uint8_t> size(4);
  uint32_t n = static_cast<uint32_t>(block.size());
  std::memcpy(size.data(), &n, 4);
  machine.spooler.Find(kPrinter)->data[u"papersdatasize"] = {kRegDword, size};
  machine.spooler.Find(kPrinter)->data[u"papersdata"] = {kRegBinary, block};
  PluginPlatform p;
  p.spooler = &machine.spooler;
  p.profile = &process->profile;
  p.files = &machine.files;
  p.system = &process->system;
  for (auto _ : state) {
    PaperContext context(p, u"lx220uip.ini");
    benchmark::DoNotOptimize(OpenPaperStore(context, kPrinter).count());
  }
}

void BM_StoreSort(benchmark::State& state) {
  Fixture f(Count(state), false);
  std::vector<PaperRecord> records = f.store().records;
  std::reverse(records.begin() + 1, records.end());
  for (auto _ : state) {
    f.store().records = records;
    SortPapers(f.store());
    benchmark::DoNotOptimize(f.store().records.data());
  }
}

// --- lookups: the worst place in the list for each rule ---

void BM_FindByNumber(benchmark::State& state) {
  Fixture f(Count(state), false);
  const int32_t first = f.store().records.front().number;  // searched from the end
  for (auto _ : state) benchmark::DoNotOptimize(FindPaperByNumber(f.store(), first));
}

void BM_FindByName(benchmark::State& state) {
  Fixture f(Count(state), false);
  const std::u16string last = PaperName(f.store().records.back());
  for (auto _ : state) benchmark::DoNotOptimize(FindPaperByName(f.store(), last));
}

void BM_FindByNameMissing(benchmark::State& state) {
  Fixture f(Count(state), false);
  const std::u16string missing = u"no such label";
  for (auto _ : state) benchmark::DoNotOptimize(FindPaperByName(f.store(), missing));
}

void BM_FindBySize(benchmark::State& state) {
  Fixture f(Count(state), false);
  const PaperRecord& last = f.store().records.back();
  const int32_t w = MmToTenths(last.width), h = MmToTenths(last.height);
  for (auto _ : state) benchmark::DoNotOptimize(FindPaperBySize(f.store(), w, h));
}

void BM_IsPaperNameFree(benchmark::State& state) {
  Fixture f(Count(state), false);
  const std::u16string last = PaperName(f.store().records.back());
  for (auto _ : state) benchmark::DoNotOptimize(IsPaperNameFree(f.store(), last, 121));
}

// --- merge paths through the store's lookup ---

void Merge(benchmark::State& state, int paperSize, const char16_t* formName) {
  Fixture f(Count(state), false);
  PaperStoreLookup lookup(f.context, std::u16string(kPrinter));
  DEVMODEW in{}, out{};
  for (DEVMODEW* dm : {&in, &out}) {
    dm->dmSize = sizeof(DEVMODEW);
    dm->dmDriverExtra = sizeof(PrivateDevmode);
  }
  in.dmFields = DM_PAPERSIZE | DM_FORMNAME | DM_ORIENTATION | DM_COPIES;
  in.dmPaperSize = static_cast<short>(paperSize);
  in.dmOrientation = DMORIENT_PORTRAIT;
  in.dmCopies = 1;
  CopyToBuffer(reinterpret_cast<char16_t*>(in.dmFormName), CCHFORMNAME, formName);
  PrivateDevmode privIn{}, privOut{};
  DefaultPrivateDevmode(privIn);
  for (auto _ : state) {
    DEVMODEW o = out;
    benchmark::DoNotOptimize(MergeDevmode(&in, &o, &privIn, sizeof privIn, &privOut, &lookup));
    benchmark::DoNotOptimize(o);
  }
}

void BM_MergeByNumber(benchmark::State& state) { Merge(state, 119, u""); }
void BM_MergeByFormName(benchmark::State& state) {
  Fixture f(Count(state), false);
  Merge(state, 9999, PaperName(f.store().records.back()).c_str());
}
void BM_MergeUnknownPaper(benchmark::State& state) { Merge(state, 9999, u"no such label"); }

// --- conversion and validation of the private part ---

void BM_ConvertPrivateDevmode(benchmark::State& state) {
  PrivateDevmode in{}, out{};
  DefaultPrivateDevmode(in);
  for (auto _ : state) {
    ConvertPrivateDevmode(&in, sizeof in, out);
    benchmark::DoNotOptimize(out);
  }
}

void BM_ValidatePrivateDevmode(benchmark::State& state) {
  PrivateDevmode dm{};
  DefaultPrivateDevmode(dm);
  for (auto _ : state) {
    PrivateDevmode work = dm;
    ValidatePrivateDevmode(work);
    benchmark::DoNotOptimize(work);
  }
}

void BM_MmToTenths(benchmark::State& state) {
  float mm = 56.049f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(mm);
    benchmark::DoNotOptimize(MmToTenths(mm));
  }
}

// --- capabilities: own work (no trace output) and with the lines formatted ---

void Capability(benchmark::State& state, uint16_t code, size_t entryBytes, bool traced) {
  Fixture f(Count(state), traced);
  std::vector<uint8_t> out(Count(state) * entryBytes);
  for (auto _ : state) {
    uint32_t result = 0;
    AnswerDeviceCapabilities(f.context, kPrinter, code, out.data(), &result);
    benchmark::DoNotOptimize(result);
    benchmark::ClobberMemory();
  }
}

void BM_DcPapers(benchmark::State& s) { Capability(s, kDcPapers, 2, false); }
void BM_DcPaperSize(benchmark::State& s) { Capability(s, kDcPaperSize, 8, false); }
void BM_DcPaperNames(benchmark::State& s) { Capability(s, kDcPaperNames, 128, false); }
void BM_DcPapersTraced(benchmark::State& s) { Capability(s, kDcPapers, 2, true); }
void BM_DcPaperSizeTraced(benchmark::State& s) { Capability(s, kDcPaperSize, 8, true); }
void BM_DcPaperNamesTraced(benchmark::State& s) { Capability(s, kDcPaperNames, 128, true); }

// --- one trace line, formatted, beside swprintf of the same line ---

void BM_TraceLine_Name(benchmark::State& state) {
  const std::u16string name = u"user label 101234";
  for (auto _ : state) benchmark::DoNotOptimize(FormatW(u"paper name = %s", name.c_str()));
}
void BM_Swprintf_Name(benchmark::State& state) {
  const std::wstring name = L"user label 101234";
  wchar_t buf[128];
  for (auto _ : state) {
    benchmark::DoNotOptimize(std::swprintf(buf, 128, L"paper name = %ls", name.c_str()));
    benchmark::ClobberMemory();
  }
}
void BM_TraceLine_Number(benchmark::State& state) {
  int number = 1234;
  for (auto _ : state) {
    benchmark::DoNotOptimize(number);
    benchmark::DoNotOptimize(FormatW(u"papersize id =%d ", number));
  }
}
void BM_Swprintf_Number(benchmark::State& state) {
  int number = 1234;
  wchar_t buf[128];
  for (auto _ : state) {
    benchmark::DoNotOptimize(number);
    benchmark::DoNotOptimize(std::swprintf(buf, 128, L"papersize id =%d ", number));
    benchmark::ClobberMemory();
  }
}
void BM_TraceLine_Size(benchmark::State& state) {
  int w = 1016, h = 1524;
  for (auto _ : state) {
    benchmark::DoNotOptimize(w);
    benchmark::DoNotOptimize(FormatW(u"paper Width=%d, Height = %d", w, h));
  }
}
void BM_Swprintf_Size(benchmark::State& state) {
  int w = 1016, h = 1524;
  wchar_t buf[128];
  for (auto _ : state) {
    benchmark::DoNotOptimize(w);
    benchmark::DoNotOptimize(std::swprintf(buf, 128, L"paper Width=%d, Height = %d", w, h));
    benchmark::ClobberMemory();
  }
}

#define AT_BOTH_SIZES(bm) BENCHMARK(bm)->Arg(11)->Arg(2049)

// The floors: bytes of DC_PAPERS, DC_PAPERSIZE, DC_PAPERNAMES answers at 11
// and 2049 papers, a DEVMODE pair's private part, the stored block.
BENCHMARK(BM_Floor_Memcpy)->Arg(11 * 2)->Arg(2049 * 2)->Arg(11 * 8)->Arg(2049 * 8)->Arg(11 * 128)
    ->Arg(2049 * 128)->Arg(148)->Arg(11 * 124)->Arg(2049 * 124);
AT_BOTH_SIZES(BM_Floor_SortRecords);
AT_BOTH_SIZES(BM_StoreLoad);
AT_BOTH_SIZES(BM_StoreSort);
AT_BOTH_SIZES(BM_FindByNumber);
AT_BOTH_SIZES(BM_FindByName);
AT_BOTH_SIZES(BM_FindByNameMissing);
AT_BOTH_SIZES(BM_FindBySize);
AT_BOTH_SIZES(BM_IsPaperNameFree);
AT_BOTH_SIZES(BM_MergeByNumber);
AT_BOTH_SIZES(BM_MergeByFormName);
AT_BOTH_SIZES(BM_MergeUnknownPaper);
BENCHMARK(BM_ConvertPrivateDevmode);
BENCHMARK(BM_ValidatePrivateDevmode);
BENCHMARK(BM_MmToTenths);
AT_BOTH_SIZES(BM_DcPapers);
AT_BOTH_SIZES(BM_DcPaperSize);
AT_BOTH_SIZES(BM_DcPaperNames);
AT_BOTH_SIZES(BM_DcPapersTraced);
AT_BOTH_SIZES(BM_DcPaperSizeTraced);
AT_BOTH_SIZES(BM_DcPaperNamesTraced);
BENCHMARK(BM_TraceLine_Name);
BENCHMARK(BM_Swprintf_Name);
BENCHMARK(BM_TraceLine_Number);
BENCHMARK(BM_Swprintf_Number);
BENCHMARK(BM_TraceLine_Size);
BENCHMARK(BM_Swprintf_Size);

}  // namespace
}  // namespace lx

BENCHMARK_MAIN();
