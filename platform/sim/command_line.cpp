#include "platform/sim/command_line.h"

namespace lx {

namespace {

bool IsSeparator(char16_t c) { return c == u' ' || c == u'\t'; }

// Splits arguments from `pos` on with the rules for every argument but the first.
void SplitRest(const std::u16string& s, size_t pos, std::vector<std::u16string>& out) {
  while (pos < s.size()) {
    while (pos < s.size() && IsSeparator(s[pos])) ++pos;
    if (pos >= s.size()) break;
    std::u16string arg;
    bool quoted = false;
    while (pos < s.size() && (quoted || !IsSeparator(s[pos]))) {
      char16_t c = s[pos];
      if (c == u'\\') {
        size_t n = 0;
        while (pos < s.size() && s[pos] == u'\\') ++n, ++pos;
        if (pos < s.size() && s[pos] == u'"') {
          arg.append(n / 2, u'\\');
          if (n % 2 == 1) {
            arg += u'"';
            ++pos;
          }
          // An even run leaves the quote to the quote rule below.
        } else {
          arg.append(n, u'\\');
        }
        continue;
      }
      if (c == u'"') {
        // A run of quotes, counted with the quote that opened quoting: every
        // third gives a literal quote; two left over close quoting.
        int q = quoted ? 1 : 0;
        while (pos < s.size() && s[pos] == u'"') {
          ++pos;
          if (++q == 3) {
            arg += u'"';
            q = 0;
          }
        }
        if (q == 2) q = 0;
        quoted = q == 1;
        continue;
      }
      arg += c;
      ++pos;
    }
    out.push_back(arg);
  }
}

}  // namespace

std::vector<std::u16string> CommandLineToArgv(const std::u16string& commandLine, const std::u16string& program) {
  std::vector<std::u16string> out;
  if (commandLine.empty()) {
    out.push_back(program);
    return out;
  }
  size_t pos = 0;
  std::u16string first;
  if (commandLine[0] == u'"') {
    size_t close = commandLine.find(u'"', 1);
    if (close == std::u16string::npos) close = commandLine.size();
    first = commandLine.substr(1, close - 1);
    pos = close < commandLine.size() ? close + 1 : close;
  } else {
    while (pos < commandLine.size() && !IsSeparator(commandLine[pos])) ++pos;
    first = commandLine.substr(0, pos);
  }
  out.push_back(first);
  SplitRest(commandLine, pos, out);
  return out;
}

std::vector<std::u16string> SplitParameters(const std::u16string& parameters) {
  std::vector<std::u16string> out;
  SplitRest(parameters, 0, out);
  return out;
}

}  // namespace lx
