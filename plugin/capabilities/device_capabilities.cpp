#include "plugin/capabilities/device_capabilities.h"

#include <cstring>
#include <string>

#include "common/format.h"
#include "common/text.h"

namespace lx {

namespace {

void SetCount(uint32_t* result, int32_t count) {
  *result = (*result & 0xFFFF0000u) | (static_cast<uint32_t>(count) & 0xFFFFu);
}

void WritePaperEntries(PaperContext& c, const PaperStore& store, uint16_t code, uint8_t* out) {
  for (const PaperRecord& r : store.records) {
    if (code == kDcPaperNames) {
      std::u16string name = PaperName(r);
      char16_t slot[kPaperNameSlotChars] = {};
      CopyToBuffer(slot, kPaperNameSlotChars, name);
      std::memcpy(out, slot, sizeof slot);
      out += sizeof slot;
      Trace(c.platform, FormatW(u"paper name = %s", name.c_str()));
    } else if (code == kDcPapers) {
      int16_t number = static_cast<int16_t>(r.number);
      std::memcpy(out, &number, sizeof number);
      out += sizeof number;
      Trace(c.platform, FormatW(u"papersize id =%d ", r.number));
    } else {
      int32_t point[2] = {MmToTenths(r.width), MmToTenths(r.height)};
      std::memcpy(out, point, sizeof point);
      out += sizeof point;
      Trace(c.platform, FormatW(u"paper Width=%d, Height = %d", point[0], point[1]));
    }
  }
}

HRESULT AnswerPapers(PaperContext& c, const char16_t* deviceName, uint16_t code, void* output,
                     uint32_t* result) {
  if (!result) return S_OK;
  const char16_t* query = code == kDcPaperNames ? u"PaperNames" : code == kDcPapers ? u"Papers" : u"PaperSize";
  Trace(c.platform, FormatW(u"Paper DevCap_%s", query));
  std::u16string name = deviceName ? std::u16string(deviceName) : std::u16string();
  const PaperStore& store = OpenPaperStore(c, name);
  SetCount(result, store.count());
  Trace(c.platform, FormatW(u"Paper DevCap_%s In, count = %d", query, store.count()));
  if (output) WritePaperEntries(c, store, code, static_cast<uint8_t*>(output));
  return S_OK;
}

}  // namespace

HRESULT AnswerDeviceCapabilities(PaperContext& papers, const char16_t* deviceName, uint16_t code,
                                 void* output, uint32_t* result) {
  Trace(papers.platform, FormatW(u"DeviceCapabilities wCapability=%d", static_cast<int>(code)));
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
