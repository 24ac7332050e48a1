#include "platform/sim/sim_tools.h"

#include <functional>
#include <map>
#include <optional>
#include <set>

#include "common/ini.h"
#include "common/text.h"
#include "platform/sim/command_line.h"
#include "platform/sim/wildcard.h"

namespace lx {

namespace {

std::u16string FileNameOf(const std::u16string& path) {
  size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

// PrintUIEntry's switches. Case matters: /y and /Y, /k and /K differ.
const std::set<std::u16string> kPrintUiActions = {u"/if", u"/ia", u"/dl", u"/dd", u"/y", u"/k"};
const std::set<std::u16string> kPrintUiFlags = {u"/q", u"/z", u"/Z", u"/u", u"/Y", u"/K", u"/x", u"/w"};
const std::set<char16_t> kPrintUiValues = {u'b', u'r', u'm', u'f', u'n', u'h', u'v', u'l', u'c', u't', u'j'};

struct PrintUiCommand {
  std::u16string action;
  std::map<char16_t, std::u16string> values;
};

// What printui does with its arguments, from Microsoft's reference page
// "rundll32 printui.dll,PrintUIEntry" (Windows Commands, learn.microsoft.com):
// - "rundll32 printui.dll PrintUIEntry [BaseParameter] [ModificationParameter...]",
//   also "printui.dll,PrintUIEntry", "printui PrintUIEntry"; the entry point's
//   name is case-sensitive;
// - every parameter is a `/` switch: one base parameter (/if, /ia, /dl, /dd,
//   /y, /k, ...) and modification parameters written "/n[name]", "/r[port]",
//   "/m[model]", "/f[file]", "/b[base printer name]": the value may be
//   joined to its switch (the examples write "/n\\client1\printer1");
// - "@[file]": "Specifies a command-line argument file and directly inserts
//   the text in that file into the command line".
// The page says nothing of how a quoted value is split, nor of `-`. So here:
// the line is split by the CommandLineToArgvW rules; an argument beginning
// with `@` is replaced by the arguments of the file it names (a missing file
// fails the line), wherever it stands; a separate value that begins with `/`
// is taken as the next switch, not as the value, the strict reading. A
// name that begins with `/` or `@` therefore never arrives as a name.
std::optional<std::vector<std::u16string>> InsertCommandFiles(
    const std::vector<std::u16string>& args, size_t from,
    const std::function<std::optional<std::string>(const std::u16string&)>& read) {
  std::vector<std::u16string> out(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(from));
  for (size_t i = from; i < args.size(); ++i) {
    if (args[i].empty() || args[i][0] != u'@') {
      out.push_back(args[i]);
      continue;
    }
    std::optional<std::string> text = read(args[i].substr(1));
    if (!text) return std::nullopt;
    for (auto& a : SplitParameters(IniDocument::DecodeBytes(*text))) out.push_back(a);
  }
  return out;
}

// Switches after the entry point; a value follows its switch as the next
// argument or is joined to it ("/nName"). Nothing when the line is not one
// clear command.
std::optional<PrintUiCommand> ParsePrintUi(const std::vector<std::u16string>& args, size_t from) {
  PrintUiCommand cmd;
  for (size_t i = from; i < args.size(); ++i) {
    const std::u16string& a = args[i];
    if (a.size() < 2 || a[0] != u'/') return std::nullopt;
    if (kPrintUiActions.count(a)) {
      if (!cmd.action.empty()) return std::nullopt;
      cmd.action = a;
    } else if (kPrintUiFlags.count(a)) {
      continue;
    } else if (kPrintUiValues.count(a[1])) {
      std::u16string value;
      if (a.size() > 2) {
        value = a.substr(2);
      } else {
        if (i + 1 >= args.size() || (!args[i + 1].empty() && args[i + 1][0] == u'/')) return std::nullopt;
        value = args[++i];
      }
      if (cmd.values.count(a[1])) return std::nullopt;
      cmd.values[a[1]] = value;
    } else {
      return std::nullopt;
    }
  }
  if (cmd.action.empty()) return std::nullopt;
  return cmd;
}

}  // namespace

void SimPrinterTools::Register(SimShell& shell) {
  shell.AddProgram(u"rundll32.exe", [this](const SimShell::Launch& l) { StartPrintUi(l); });
  shell.AddProgram(u"pnputil.exe", [this](const SimShell::Launch& l) { StartPnpUtil(l); });
  shell.AddProgram(u"cscript.exe", [this](const SimShell::Launch& l) { StartScript(l); });
  files_.AddFolder(InfFolder());
  std::u16string system32 = files_.known.windows + u"\\System32\\";
  for (const char16_t* exe : {u"rundll32.exe", u"pnputil.exe", u"cscript.exe", u"printui.dll"})
    files_.AddFile(system32 + exe, "MZ");
  files_.AddFile(system32 + u"Printing_Admin_Scripts\\en-US\\prnport.vbs", "' port script");
}

size_t SimPrinterTools::Record(const std::u16string& program, const std::u16string& parameters) {
  SimToolRun run;
  run.program = program;
  run.argv = SplitParameters(parameters);
  run.startedAt = clock_.now;
  runs.push_back(run);
  return runs.size() - 1;
}

void SimPrinterTools::Schedule(size_t run, uint64_t delay, std::function<uint32_t()> action) {
  runs[run].accepted = true;
  clock_.After(delay, [this, run, action] {
    runs[run].result = action();
    runs[run].done = true;
    runs[run].actedAt = clock_.now;
  });
}

std::vector<std::u16string> SimPrinterTools::OemInfs() const {
  std::vector<std::u16string> out;
  for (const auto& path : files_.FilesIn(InfFolder()))
    if (MatchesWildcard(u"oem*.inf", FileNameOf(path))) out.push_back(FileNameOf(path));
  return out;
}

std::u16string SimPrinterTools::PublishInf(const std::string& bytes) {
  std::set<std::u16string> taken;
  for (const auto& name : OemInfs()) {
    auto existing = files_.ReadFile(InfFolder() + u"\\" + name);
    if (existing && *existing == bytes) return name;
    taken.insert(ToLowerAscii(name));
  }
  for (int n = 0;; ++n) {
    std::u16string name = u"oem" + Utf8ToUtf16(std::to_string(n)) + u".inf";
    if (!taken.count(name)) {
      files_.AddFile(InfFolder() + u"\\" + name, bytes);
      return name;
    }
  }
}

uint32_t SimPrinterTools::InstallFromInf(const std::u16string& model, const std::u16string& infPath) {
  auto bytes = files_.ReadFile(infPath);
  if (!bytes) return kErrorFileNotFound;
  // The INF must name the model (in a models line or its [Strings]).
  // INF files come as UTF-16 with a byte-order mark or in the ANSI code page.
  std::u16string text = ToLowerAscii(IniDocument::DecodeBytes(*bytes));
  if (model.empty() || !Contains(text, u"\"" + ToLowerAscii(model) + u"\"")) return kErrorUnknownPrinterDriver;
  PublishInf(*bytes);
  return spooler_.InstallDriver(model);
}

void SimPrinterTools::StartPrintUi(const SimShell::Launch& launch) {
  size_t run = Record(u"rundll32.exe", launch.parameters);
  const auto& argv = runs[run].argv;
  if (argv.empty()) return;
  // "printui.dll,PrintUIEntry" or "printui.dll PrintUIEntry".
  std::u16string dll = argv[0], entry;
  size_t next = 1;
  size_t comma = dll.find(u',');
  if (comma != std::u16string::npos) {
    entry = dll.substr(comma + 1);
    dll = dll.substr(0, comma);
  } else if (argv.size() > 1) {
    entry = argv[1];
    next = 2;
  }
  std::u16string dllName = ToLowerAscii(FileNameOf(dll));
  if ((dllName != u"printui.dll" && dllName != u"printui") || entry != u"PrintUIEntry") return;
  auto expanded = InsertCommandFiles(argv, next, [this, run](const std::u16string& path) {
    runs[run].commandFiles.push_back(path);
    return files_.ReadFile(path);
  });
  if (!expanded) return;
  runs[run].argv = *expanded;
  auto cmd = ParsePrintUi(*expanded, next);
  if (!cmd) return;
  runs[run].action = cmd->action;
  auto value = [&](char16_t k) { return cmd->values.count(k) ? cmd->values.at(k) : std::u16string(); };
  const std::u16string& a = cmd->action;
  if (a == u"/if") {
    if (!cmd->values.count(u'r') || !cmd->values.count(u'm') || !cmd->values.count(u'f')) return;
    std::u16string name = cmd->values.count(u'b') ? value(u'b') : value(u'm');
    Schedule(run, printUiDelayMs, [this, name, port = value(u'r'), model = value(u'm'), inf = value(u'f')] {
      uint32_t r = InstallFromInf(model, inf);
      return r ? r : spooler_.AddPrinter(name, port, model);
    });
  } else if (a == u"/ia") {
    if (!cmd->values.count(u'm') || !cmd->values.count(u'f')) return;
    Schedule(run, printUiDelayMs, [this, model = value(u'm'), inf = value(u'f')] { return InstallFromInf(model, inf); });
  } else if (a == u"/dd") {
    if (!cmd->values.count(u'm')) return;
    Schedule(run, printUiDelayMs, [this, model = value(u'm')] { return spooler_.DeleteDriver(model); });
  } else {
    if (!cmd->values.count(u'n')) return;
    std::u16string name = value(u'n');
    if (a == u"/dl")
      Schedule(run, printUiDelayMs, [this, name] { return spooler_.DeletePrinter(name); });
    else if (a == u"/y")
      Schedule(run, printUiDelayMs, [this, name] {
        return spooler_.SetDefaultPrinterName(name) ? kErrorSuccess : kErrorInvalidPrinterName;
      });
    else if (a == u"/k")
      Schedule(run, printUiDelayMs, [this, name] { return spooler_.PrintTestPage(name); });
  }
}

void SimPrinterTools::StartPnpUtil(const SimShell::Launch& launch) {
  size_t run = Record(u"pnputil.exe", launch.parameters);
  const auto& argv = runs[run].argv;
  // The classic form: [-f] -d oemN.inf (switches in any order).
  std::u16string package;
  bool remove = false;
  for (size_t i = 0; i < argv.size(); ++i) {
    std::u16string a = ToLowerAscii(argv[i]);
    if (a == u"-f") continue;
    if (a == u"-d" && !remove && i + 1 < argv.size()) {
      remove = true;
      package = argv[++i];
      continue;
    }
    return;
  }
  // Only a published name of the store is accepted, never a path.
  if (!remove || !MatchesWildcard(u"oem*.inf", package) || package.find_first_of(u"\\/:") != std::u16string::npos)
    return;
  runs[run].action = u"-d";
  Schedule(run, pnputilDelayMs, [this, package] {
    return files_.RemoveFile(InfFolder() + u"\\" + package) ? kErrorSuccess : kErrorFileNotFound;
  });
}

void SimPrinterTools::StartScript(const SimShell::Launch& launch) {
  size_t run = Record(u"cscript.exe", launch.parameters);
  const auto& argv = runs[run].argv;
  if (argv.empty() || ToLowerAscii(FileNameOf(argv[0])) != u"prnport.vbs" || !files_.FileExists(argv[0])) return;
  bool add = false;
  std::map<std::u16string, std::u16string> values;
  for (size_t i = 1; i < argv.size(); ++i) {
    std::u16string a = ToLowerAscii(argv[i]);
    if (a == u"-a") {
      add = true;
    } else if (a == u"-r" || a == u"-h" || a == u"-o" || a == u"-n") {
      if (i + 1 >= argv.size() || values.count(a)) return;
      values[a] = argv[++i];
    } else {
      return;
    }
  }
  if (!add || !values.count(u"-r") || !values.count(u"-h")) return;
  SimTcpPort port;
  port.address = values[u"-h"];
  std::u16string protocol = values.count(u"-o") ? ToLowerAscii(values[u"-o"]) : u"raw";
  if (protocol != u"raw" && protocol != u"lpr") return;
  port.protocol = protocol == u"raw" ? 1 : 2;
  if (values.count(u"-n")) {
    uint32_t n = 0;
    for (char16_t c : values[u"-n"]) {
      if (c < u'0' || c > u'9' || n > 65535) return;
      n = n * 10 + (c - u'0');
    }
    port.portNumber = n;
  }
  runs[run].action = u"-a";
  Schedule(run, scriptDelayMs, [this, name = values[u"-r"], port] { return spooler_.AddTcpPort(name, port); });
}

}  // namespace lx
