// Where the plug-in's shared paper file lives, and who may do what to it:
// the installer makes it, the plug-in uses it.
#pragma once

#include <cstdint>

namespace lx {

// <common application data>\ZORVIKA\LX-220\lx220uip.ini
inline constexpr char16_t kPaperCompanyFolder[] = u"ZORVIKA";
inline constexpr char16_t kPaperProductFolder[] = u"LX-220";
inline constexpr char16_t kPaperSharedFileName[] = u"lx220uip.ini";

// The largest shared file read; a larger one counts as damaged.
inline constexpr uint64_t kPaperFileMaxBytes = 1024 * 1024;

}  // namespace lx
