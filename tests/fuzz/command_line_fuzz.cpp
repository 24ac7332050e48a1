// Any printer, port or model name: quoted for a command line, it comes back
// from the Windows splitting rules as exactly one argument, itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "installer/engine/command_line.h"
#include "platform/sim/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  if (!lx::IsQuotableArgument(text)) return 0;
  std::u16string quoted = lx::QuoteArgument(text);
  auto args = lx::SplitParameters(u"/n " + quoted + u" /q");
  if (args.size() != 3 || args[0] != u"/n" || args[1] != text || args[2] != u"/q") abort();
  auto bare = lx::SplitParameters(lx::QuoteArgumentIfNeeded(text));
  if (!text.empty() && (bare.size() != 1 || bare[0] != text)) abort();
  return 0;
}
