// The core driver's OEM heap (OEMUIPSPARAM::hOEMHeap) as the place a
// document sheet's page context lives.
#pragma once

#include <windows.h>

#include "plugin/pages/page_context.h"

namespace lx {

// HeapAlloc with HEAP_ZERO_MEMORY and HeapFree on `heap`.
PageContextHeap OemHeap(HANDLE heap);

}  // namespace lx
