// Command-line splitting with the rules of CommandLineToArgvW, so that the
// simulated tools see exactly the arguments the real ones would:
// - arguments are separated by blanks and tabs;
// - the first argument (the program) ends at the next blank, or at the
//   closing quote when it starts with one; backslashes are plain there;
// - elsewhere 2n backslashes before a quote give n backslashes and the quote
//   opens or closes quoting; 2n+1 give n backslashes and a literal quote;
//   backslashes not before a quote are literal;
// - a run of quotes is counted together with the quote that opened quoting:
//   every third gives a literal quote, and quoting stays open when one is
//   left over, closes when none or two are (so inside quotes "" gives one
//   literal quote and closes quoting).
#pragma once

#include <string>
#include <vector>

namespace lx {

// The whole command line, program first. An empty line gives `program`.
std::vector<std::u16string> CommandLineToArgv(const std::u16string& commandLine,
                                              const std::u16string& program = u"");

// The parameters alone (what follows the program on its command line).
std::vector<std::u16string> SplitParameters(const std::u16string& parameters);

}  // namespace lx
