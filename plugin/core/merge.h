// The OEMDM_MERGE step: settings of an incoming DEVMODE pair taken over into
// the driver's output pair, then the private part validated.
#pragma once

#include <cstddef>

#include "plugin/core/paper_lookup.h"
#include "plugin/core/private_devmode.h"

namespace lx {

// User sizes the printer accepts, in tenths of a millimetre.
inline constexpr int kMinUserWidth = 250;
inline constexpr int kMinUserLength = 30;
inline constexpr int kMaxUserSize = 17780;

// False (and nothing touched) when any of the four records is missing.
// `privInAvailable` bounds the read of the private input as in
// ConvertPrivateDevmode. `papers` may be null: then no paper is found.
bool MergeDevmode(const DEVMODEW* pubIn, DEVMODEW* pubOut, const void* privIn,
                  size_t privInAvailable, PrivateDevmode* privOut, IPaperLookup* papers);

}  // namespace lx
