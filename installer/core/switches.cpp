#include "installer/core/switches.h"

#include "common/text.h"

namespace lx {

namespace {

constexpr size_t kShownChars = 80;

enum class Kind { kFlag, kValue };

struct Known {
  const char16_t* name;
  Kind kind;
};

const Known kKnown[] = {
    {u"quiet", Kind::kFlag}, {u"q", Kind::kFlag},       {u"help", Kind::kFlag},    {u"?", Kind::kFlag},
    {u"usb", Kind::kFlag},   {u"norestart", Kind::kFlag}, {u"log", Kind::kValue},  {u"port", Kind::kValue},
    {u"address", Kind::kValue}, {u"model", Kind::kValue}, {u"name", Kind::kValue}, {u"lang", Kind::kValue},
};

bool IsSeparator(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string Shown(const std::u16string& token) {
  return token.size() <= kShownChars ? token : token.substr(0, kShownChars) + u"...";
}

bool HasRemovalWord(std::u16string_view text) { return Contains(ToLowerAscii(text), u"uninstall"); }

class Parser {
 public:
  explicit Parser(ParsedSwitches& out) : out_(out), s_(out.switches) {}

  void Refuse(const std::u16string& token, const std::u16string& reason) {
    if (!out_.error) out_.error = SwitchError{Shown(token), reason};
  }

  void Take(const std::u16string& token) {
    if (token.empty() || (token[0] != u'/' && token[0] != u'-')) {
      Refuse(token, u"not a switch");
      return;
    }
    std::u16string body = token.substr(1);
    size_t colon = body.find(u':');
    std::u16string name = ToLowerAscii(body.substr(0, colon));
    std::optional<std::u16string> value;
    if (colon != std::u16string::npos) value = body.substr(colon + 1);

    if (HasRemovalWord(name)) {
      if (value) return Refuse(token, u"the removal switch takes no value");
      return Set(token, s_.removal);
    }
    const Known* known = nullptr;
    for (const Known& k : kKnown)
      if (name == k.name) known = &k;
    if (!known) return Refuse(token, u"unknown switch");
    if (known->kind == Kind::kFlag) {
      if (value) return Refuse(token, u"this switch takes no value");
      if (name == u"quiet" || name == u"q") return Set(token, s_.quiet);
      if (name == u"help" || name == u"?") return Set(token, s_.help);
      if (name == u"norestart") return Set(token, s_.noRestart);
      return Set(token, usb_);
    }
    if (!value || value->empty()) return Refuse(token, u"this switch needs a value after a colon");
    if (value->size() > kMaxSwitchValue) return Refuse(token, u"the value is too long");
    if (value->find(u'\0') != std::u16string::npos) return Refuse(token, u"the value holds a null character");
    if (HasRemovalWord(*value)) return Refuse(token, u"the word uninstall inside a value");
    std::u16string* field = name == u"log"       ? &s_.logPath
                            : name == u"port"    ? &s_.port
                            : name == u"address" ? &s_.address
                            : name == u"model"   ? &s_.model
                            : name == u"name"    ? &s_.printerName
                                                 : &s_.language;
    if (!field->empty()) return Refuse(token, u"repeated switch");
    *field = *value;
  }

  // The combination: one road, what it needs, and nothing that removes
  // while a command asks for an installation.
  void Check() {
    int roads = (usb_ ? 1 : 0) + (s_.port.empty() ? 0 : 1) + (s_.address.empty() ? 0 : 1);
    bool installing = roads > 0 || !s_.model.empty() || !s_.printerName.empty() || !s_.language.empty();
    if (s_.help) return;
    if (s_.removal && installing) return Refuse(u"/uninstall", u"removal and installation switches together");
    if (roads > 1) return Refuse(usb_ ? u"/usb" : u"/address:" + s_.address, u"more than one road");
    if (usb_) {
      s_.road = Road::kUsb;
      if (!s_.model.empty()) return Refuse(u"/model:" + s_.model, u"the USB road takes the model of the attached printer");
      if (!s_.printerName.empty())
        return Refuse(u"/name:" + s_.printerName, u"the USB road takes the name of the attached printer's model");
    } else if (!s_.port.empty() || !s_.address.empty()) {
      s_.road = s_.port.empty() ? Road::kNetwork : Road::kPort;
      if (s_.model.empty()) return Refuse(s_.port.empty() ? u"/address:" + s_.address : u"/port:" + s_.port,
                                          u"this road needs /model");
    } else if (!s_.model.empty()) {
      s_.road = Road::kDriverOnly;
      if (!s_.printerName.empty()) return Refuse(u"/name:" + s_.printerName, u"a printer name needs a road");
    } else if (!s_.printerName.empty() || !s_.language.empty()) {
      return Refuse(s_.printerName.empty() ? u"/lang:" + s_.language : u"/name:" + s_.printerName,
                    u"this switch needs a road");
    }
    if (!s_.quiet) {
      if (installing) return Refuse(FirstInstallSwitch(), u"installation switches need /quiet");
      if (s_.noRestart) return Refuse(u"/norestart", u"this switch needs /quiet");
    } else if (!s_.removal && s_.road == Road::kNone) {
      Refuse(u"/quiet", u"a quiet run needs a road or /uninstall");
    }
  }

 private:
  void Set(const std::u16string& token, bool& flag) {
    if (flag) return Refuse(token, u"repeated switch");
    flag = true;
  }
  std::u16string FirstInstallSwitch() const {
    if (usb_) return u"/usb";
    if (!s_.port.empty()) return u"/port:" + s_.port;
    if (!s_.address.empty()) return u"/address:" + s_.address;
    if (!s_.model.empty()) return u"/model:" + s_.model;
    return u"/lang:" + s_.language;
  }

  ParsedSwitches& out_;
  Switches& s_;
  bool usb_ = false;
};

// A token that names one of our switches (the removal word aside).
bool IsOurSwitch(const std::u16string& token) {
  if (token.size() < 2 || (token[0] != u'/' && token[0] != u'-')) return false;
  std::u16string name = ToLowerAscii(token.substr(1, token.find(u':') == std::u16string::npos
                                                         ? std::u16string::npos
                                                         : token.find(u':') - 1));
  for (const Known& k : kKnown)
    if (name == k.name) return true;
  return false;
}

}  // namespace

std::vector<std::u16string> SplitArguments(std::u16string_view text) {
  std::vector<std::u16string> args;
  size_t i = 0;
  const size_t n = text.size();
  while (true) {
    while (i < n && IsSeparator(text[i])) ++i;
    if (i >= n) break;
    std::u16string arg;
    bool quoted = false;
    while (i < n && (quoted || !IsSeparator(text[i]))) {
      if (text[i] == u'\\') {
        size_t slashes = 0;
        while (i < n && text[i] == u'\\') ++slashes, ++i;
        if (i < n && text[i] == u'"') {
          arg.append(slashes / 2, u'\\');
          if (slashes % 2) {
            arg.push_back(u'"');
            ++i;
          }
        } else {
          arg.append(slashes, u'\\');
        }
      } else if (text[i] == u'"') {
        // A run of quotes, counted with the one that opened quoting: every
        // third is a literal quote; two left over close quoting.
        int q = quoted ? 1 : 0;
        while (i < n && text[i] == u'"') {
          ++i;
          if (++q == 3) {
            arg.push_back(u'"');
            q = 0;
          }
        }
        if (q == 2) q = 0;
        quoted = q == 1;
      } else {
        arg.push_back(text[i++]);
      }
    }
    args.push_back(std::move(arg));
  }
  return args;
}

ParsedSwitches ParseSwitches(const std::u16string& commandLine) {
  ParsedSwitches out;
  std::vector<std::u16string> args = SplitArguments(commandLine);
  for (const std::u16string& arg : args) out.switches.any = out.switches.any || IsOurSwitch(arg);
  bool slashWord = false;
  for (const std::u16string& arg : args)
    slashWord = slashWord || (!arg.empty() && (arg[0] == u'/' || arg[0] == u'-') && !HasRemovalWord(arg));
  if (!out.switches.any && !slashWord) {
    // The command lines of before: the word anywhere, nothing else read.
    out.switches.removal = HasRemovalWord(commandLine);
    return out;
  }
  out.switches.any = true;
  Parser parser(out);
  for (const std::u16string& arg : args) parser.Take(arg);
  parser.Check();
  return out;
}

}  // namespace lx
