// How a Windows program splits its command line (CommandLineToArgvW, for the
// arguments after the program name): an independent reading that the
// installer's command texts are checked against.
#pragma once

#include <string>
#include <vector>

namespace lx::testing_argv {

inline std::vector<std::u16string> SplitArgs(const std::u16string& line) {
  std::vector<std::u16string> args;
  size_t i = 0;
  const size_t n = line.size();
  while (true) {
    while (i < n && (line[i] == u' ' || line[i] == u'\t')) ++i;
    if (i >= n) break;
    std::u16string arg;
    bool quoted = false;
    while (i < n) {
      char16_t c = line[i];
      if (!quoted && (c == u' ' || c == u'\t')) break;
      if (c == u'\\') {
        size_t count = 0;
        while (i < n && line[i] == u'\\') ++count, ++i;
        if (i < n && line[i] == u'"') {
          arg.append(count / 2, u'\\');
          if (count % 2) {
            arg += u'"';
            ++i;
          }
        } else {
          arg.append(count, u'\\');
        }
        continue;
      }
      if (c == u'"') {
        if (quoted && i + 1 < n && line[i + 1] == u'"') {
          arg += u'"';  // a doubled quote inside quotes is one literal quote
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      arg += c;
      ++i;
    }
    args.push_back(arg);
  }
  return args;
}

}  // namespace lx::testing_argv
