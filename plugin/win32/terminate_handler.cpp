// The plug-in's terminate handler. libstdc++'s default one writes the
// demangled type of the exception to standard error, which the spooler and
// most applications that print do not have, and links in its 45 KB
// demangler. COM methods stop every exception (plugin/core/exception_barrier.h);
// whatever still reaches std::terminate ends the process, as it would have.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
