// The stand-in's trace on the debugger output (WINEDEBUG=+debugstr shows it).
#pragma once

namespace printui {
void Trace(const wchar_t* fmt, ...);
}
