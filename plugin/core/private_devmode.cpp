#include "plugin/core/private_devmode.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lx {

void DefaultPrivateDevmode(PrivateDevmode& dm) {
  dm.header.dwSize = kPrivateDevmodeSize;
  dm.header.dwSignature = kPluginSignature;
  dm.header.dwVersion = kPrivateDevmodeVersion;
  dm.paperId = -1;
  dm.mirror = 0;
  dm.negative = 0;
  dm.reserved1C = 0;
  dm.useDeviceSettings = 1;
  dm.reserved24 = 0;
  dm.reserved28 = 0;
  dm.reserved2C = 0;
  dm.reserved30 = 0;
  dm.reserved34 = 0;
  dm.reserved38 = 0;
  dm.reserved3C = 0;
  dm.reserved40 = 0;
  dm.density = 8;
  dm.offsetX = 0;
  dm.offsetY = 0;
  dm.collate = 0;
  dm.speed = 3;
  dm.reserved58 = 0;
  dm.feedOffset = 0;
  dm.reserved60 = 0;
  dm.reserved64 = 0;
  dm.reserved68 = 1;
  dm.gapHeight = 2.0f;
  dm.grayFactor = 1.8f;
  dm.boldLines = 0;
  dm.imageOption2 = 0;
  dm.paperSaving = 0;
  dm.postAction = 1;
  dm.postActionTiming = 0;
  dm.postActionInterval = 1;
}

void ConvertPrivateDevmode(const void* in, size_t inAvailable, PrivateDevmode& out) {
  // The input is copied aside first: the core driver may pass one buffer as
  // both input and output, and defaulting the output must not erase it.
  uint8_t taken[kPrivateDevmodeSize];
  size_t take = 0;
  if (in != nullptr && inAvailable >= sizeof(OEM_DMEXTRAHEADER)) {
    OEM_DMEXTRAHEADER header;
    std::memcpy(&header, in, sizeof header);
    // A claimed size below the header is not a record of any version.
    if (header.dwSignature == out.header.dwSignature &&
        header.dwSize >= sizeof(OEM_DMEXTRAHEADER)) {
      take = std::min<size_t>({header.dwSize, inAvailable, kPrivateDevmodeSize});
      std::memcpy(taken, in, take);
    }
  }
  DefaultPrivateDevmode(out);
  if (take > 0) {
    std::memcpy(&out, taken, take);
    out.header.dwSize = kPrivateDevmodeSize;
    out.header.dwVersion = kPrivateDevmodeVersion;
  }
}

namespace {

void ZeroOrOne(int32_t& v, int32_t otherwise) {
  if (v != 0 && v != 1) v = otherwise;
}

void WithinOr(int32_t& v, int32_t lo, int32_t hi, int32_t otherwise) {
  if (v < lo || v > hi) v = otherwise;
}

template <typename T>
void Clamp(T& v, T lo, T hi) {
  if (v < lo) v = lo;
  if (v > hi) v = hi;
}

// An application's NaN or infinity has no place in any range: the field
// takes its default, which every page shows and compares as a number.
void FiniteOr(float& v, float otherwise) {
  if (!std::isfinite(v)) v = otherwise;
}

}  // namespace

void ValidatePrivateDevmode(PrivateDevmode& dm) {
  dm.header.dwSize = kPrivateDevmodeSize;
  dm.header.dwSignature = kPluginSignature;
  dm.header.dwVersion = kPrivateDevmodeVersion;
  ZeroOrOne(dm.mirror, 0);
  ZeroOrOne(dm.negative, 0);
  ZeroOrOne(dm.reserved1C, 1);
  ZeroOrOne(dm.useDeviceSettings, 1);
  for (float* v : {&dm.reserved2C, &dm.reserved30, &dm.reserved34, &dm.reserved38, &dm.reserved3C, &dm.reserved40,
                   &dm.offsetX, &dm.offsetY, &dm.feedOffset, &dm.reserved64})
    FiniteOr(*v, 0.0f);
  FiniteOr(dm.gapHeight, 2.0f);
  FiniteOr(dm.grayFactor, 1.8f);
  WithinOr(dm.reserved24, -100, 100, 0);
  WithinOr(dm.reserved28, -100, 100, 0);
  Clamp(dm.reserved2C, 0.0f, 1016.0f);
  Clamp(dm.reserved30, -2539.7f, 2539.7f);
  Clamp(dm.reserved34, 0.0f, 1016.0f);
  Clamp(dm.reserved38, 0.0f, 2539.7f);
  Clamp(dm.reserved3C, -10.0f, 10.0f);
  Clamp(dm.reserved40, 0.0f, 6.0f);
  Clamp(dm.density, 0, 15);
  Clamp(dm.offsetX, -25.0f, 25.0f);
  Clamp(dm.offsetY, -25.0f, 25.0f);
  Clamp(dm.feedOffset, -10.0f, 30.0f);
  ZeroOrOne(dm.reserved60, 0);
  Clamp(dm.reserved64, -1000.0f, 1000.0f);
  ZeroOrOne(dm.reserved68, 1);
}

}  // namespace lx
