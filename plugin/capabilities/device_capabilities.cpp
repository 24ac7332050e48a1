#include "plugin/capabilities/device_capabilities.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "common/text.h"

namespace lx {

namespace {

void SetCount(uint32_t* result, int32_t count) {
  *result = (*result & 0xFFFF0000u) | (static_cast<uint32_t>(count) & 0xFFFFu);
}

// The counts this thread was last answered, per store. A caller sizes its
// buffer from its own count call; another thread's addition in between must
// not make the fill run past it. A few printers per thread are kept, the
// oldest forgotten first; a fill with no count of its own on record writes
// the store's present count, as it always did.
struct AnsweredCount {
  uint64_t serial = 0;  // no store has 0: an empty entry matches none
  int32_t count = 0;
};
thread_local std::array<AnsweredCount, 8> answeredCounts;
thread_local size_t nextAnswered = 0;

void RememberCount(const PaperStore& store) {
  for (AnsweredCount& a : answeredCounts)
    if (a.serial == store.serial) {
      a.count = store.count();
      return;
    }
  answeredCounts[nextAnswered] = {store.serial, store.count()};
  nextAnswered = (nextAnswered + 1) % answeredCounts.size();
}

// Entries a fill may write: the store's count, never more than this thread
// was told for the store.
int32_t FillCount(const PaperStore& store) {
  for (const AnsweredCount& a : answeredCounts)
    if (a.serial == store.serial) return std::min(a.count, store.count());
  return store.count();
}

// The answer first, then the per-record trace lines, so that the answer is
// one pass over the index's ready-made entries (or over the records when the
// index is stale) and the lines cost nothing when nobody takes them.
void WritePaperEntries(PaperContext& c, const PaperStore& store, uint16_t code, uint8_t* out, size_t n) {
  const bool indexed = store.indexed();
  if (code == kDcPaperNames) {
    std::memset(out, 0, n * kPaperNameSlotChars * sizeof(char16_t));
    for (size_t i = 0; i < n; ++i) {
      const PaperRecord& r = store.records[i];
      std::memcpy(out + i * kPaperNameSlotChars * sizeof(char16_t), r.name,
                  StrLen16(r.name, kPaperNameChars) * sizeof(char16_t));
    }
  } else if (code == kDcPapers) {
    if (indexed) {
      std::memcpy(out, store.index.numbers.data(), n * sizeof(int16_t));
    } else {
      for (size_t i = 0; i < n; ++i) {
        int16_t number = static_cast<int16_t>(store.records[i].number);
        std::memcpy(out + i * sizeof number, &number, sizeof number);
      }
    }
  } else {
    if (indexed) {
      std::memcpy(out, store.index.tenths.data(), n * 2 * sizeof(int32_t));
    } else {
      for (size_t i = 0; i < n; ++i) {
        int32_t point[2] = {MmToTenths(store.records[i].width), MmToTenths(store.records[i].height)};
        std::memcpy(out + i * sizeof point, point, sizeof point);
      }
    }
  }
  if (c.platform.debug == nullptr) return;
  for (size_t i = 0; i < n; ++i) {
    if (code == kDcPaperNames) {
      Trace(c.platform, u"paper name = %s", PaperName(store.records[i]).c_str());
    } else if (code == kDcPapers) {
      Trace(c.platform, u"papersize id =%d ", store.records[i].number);
    } else {
      int32_t point[2];
      std::memcpy(point, out + i * sizeof point, sizeof point);
      Trace(c.platform, u"paper Width=%d, Height = %d", point[0], point[1]);
    }
  }
}

HRESULT AnswerPapers(PaperContext& c, const char16_t* deviceName, uint16_t code, void* output,
                     uint32_t* result) {
  if (!result) return S_OK;
  const char16_t* query = code == kDcPaperNames ? u"PaperNames" : code == kDcPapers ? u"Papers" : u"PaperSize";
  Trace(c.platform, u"Paper DevCap_%s", query);
  const std::u16string_view name = deviceName ? std::u16string_view(deviceName) : std::u16string_view();
  PaperLock hold = LockPapers(c);
  PaperStore* open = FindOpenPaperStore(c, name);
  const PaperStore& store = open ? *open : OpenPaperStore(c, std::u16string(name));
  if (!output) RememberCount(store);
  const int32_t count = output ? FillCount(store) : store.count();
  SetCount(result, count);
  Trace(c.platform, u"Paper DevCap_%s In, count = %d", query, count);
  if (output) WritePaperEntries(c, store, code, static_cast<uint8_t*>(output), static_cast<size_t>(count));
  return S_OK;
}

}  // namespace

HRESULT AnswerDeviceCapabilities(PaperContext& papers, const char16_t* deviceName, uint16_t code,
                                 void* output, uint32_t* result) {
  Trace(papers.platform, u"DeviceCapabilities wCapability=%d", static_cast<int>(code));
  uint32_t fixed = 0;
  switch (code) {
    case kDcPapers:
    case kDcPaperSize:
    case kDcPaperNames:
      return AnswerPapers(papers, deviceName, code, output, result);
    case kDcMinExtent:
      fixed = (36u << 16) | 300u;  // 30.0 mm wide, 3.6 mm long
      break;
    case kDcMaxExtent:
      fixed = (10000u << 16) | 10000u;  // 1000.0 mm each way
      break;
    case kDcDuplex:
    case kDcColorDevice:
      fixed = 0;
      break;
    case kDcCopies:
      fixed = 9999;
      break;
    case kDcCollate:
      fixed = 1;
      break;
    default:
      return E_NOTIMPL;
  }
  if (result) *result = fixed;
  return S_OK;
}

}  // namespace lx
