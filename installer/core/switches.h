// The command line of an unattended run. The text after the program name is
// split by CommandLineToArgvW's rules; switch names take '/' or '-' and any
// letter case, values follow a colon. Without any switch of ours the old
// rule alone decides: the word uninstall anywhere selects removal.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lx {

// Longest value a switch takes: MAX_PATH for the log, ample for the names.
constexpr size_t kMaxSwitchValue = 260;

enum class Road {
  kNone,
  kUsb,         // /usb: the attached printer, as the wizard's USB road
  kPort,        // /port:<port> with /model
  kNetwork,     // /address:<IPv4 address or host name> with /model
  kDriverOnly,  // /model alone: the driver is staged without a printer
};

struct Switches {
  bool any = false;  // a switch of ours was given
  bool quiet = false;
  bool help = false;
  bool removal = false;
  bool noRestart = false;
  Road road = Road::kNone;
  std::u16string model;
  std::u16string port;
  std::u16string address;
  std::u16string printerName;
  std::u16string language;
  std::u16string logPath;
};

// The first switch refused: as given (cut for a message) and why, in English
// for the trace.
struct SwitchError {
  std::u16string token;
  std::u16string reason;
};

struct ParsedSwitches {
  Switches switches;  // what was read, also past an error (the log path)
  std::optional<SwitchError> error;
};

// CommandLineToArgvW's splitting of arguments: blanks and tabs separate,
// quotes group, 2n backslashes before a quote give n and a quote, 2n+1 give
// n and a literal quote; in a run of quotes every third is a literal one.
std::vector<std::u16string> SplitArguments(std::u16string_view text);

ParsedSwitches ParseSwitches(const std::u16string& commandLine);

}  // namespace lx
