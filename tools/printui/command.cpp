#include "tools/printui/command.h"

#include <windows.h>
#include <shellapi.h>

namespace printui {

std::vector<std::wstring> SplitArguments(const wchar_t* commandLine) {
  // CommandLineToArgvW reads its first token by the program-name rules and
  // answers the module path for an empty line; a leading dummy name puts every
  // switch under the ordinary argument rules.
  std::wstring line = L"printui ";
  if (commandLine) line += commandLine;
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(line.c_str(), &count);
  std::vector<std::wstring> args;
  if (!argv) return args;
  for (int i = 1; i < count; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);
  return args;
}

namespace {

struct ActionSwitch {
  const wchar_t* text;
  Action action;
};
const ActionSwitch kActions[] = {
    {L"/if", Action::InstallPrinter}, {L"/ia", Action::InstallDriver}, {L"/dl", Action::DeletePrinter},
    {L"/dd", Action::DeleteDriver},   {L"/y", Action::SetDefault},     {L"/k", Action::TestPage},
};

std::wstring* ValueSlot(Command& cmd, wchar_t letter) {
  switch (letter) {
    case L'b': return &cmd.baseName;
    case L'r': return &cmd.port;
    case L'm': return &cmd.model;
    case L'f': return &cmd.infFile;
    case L'n': return &cmd.name;
    default: return nullptr;
  }
}

Command Reject(std::wstring why) {
  Command cmd;
  cmd.error = std::move(why);
  return cmd;
}

}  // namespace

Command ParseArguments(const std::vector<std::wstring>& args) {
  Command cmd;
  bool seen[128] = {};
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (arg.size() < 2 || arg[0] != L'/') return Reject(L"stray argument \"" + arg + L"\"");

    bool isAction = false;
    for (const auto& a : kActions) {
      if (arg == a.text) {
        if (cmd.action != Action::None) return Reject(L"second action " + arg);
        cmd.action = a.action;
        isAction = true;
      }
    }
    if (isAction) continue;
    if (arg == L"/z" || arg == L"/Z" || arg == L"/q") {
      (arg == L"/z" ? cmd.noShare : arg == L"/Z" ? cmd.share : cmd.quiet) = true;
      continue;
    }

    // Value switches take the rest of the argument ("/bName") or the next one.
    wchar_t letter = arg[1];
    std::wstring* slot = ValueSlot(cmd, letter);
    if (!slot) return Reject(L"unknown switch " + arg);
    if (seen[letter]) return Reject(L"repeated switch " + arg.substr(0, 2));
    seen[letter] = true;
    if (arg.size() > 2) {
      *slot = arg.substr(2);
    } else {
      if (i + 1 >= args.size()) return Reject(L"no value after " + arg);
      *slot = args[++i];
    }
  }

  struct Need {
    Action action;
    const wchar_t* letters;
  };
  const Need needs[] = {
      {Action::InstallPrinter, L"brmf"}, {Action::InstallDriver, L"mf"}, {Action::DeletePrinter, L"n"},
      {Action::DeleteDriver, L"m"},      {Action::SetDefault, L"n"},     {Action::TestPage, L"n"},
  };
  if (cmd.action == Action::None) return Reject(L"no action switch");
  if (cmd.share && (cmd.noShare || cmd.action != Action::InstallPrinter)) return Reject(L"/Z needs /if and no /z");
  for (const auto& need : needs) {
    if (need.action != cmd.action) continue;
    for (const wchar_t* l = need.letters; *l; ++l) {
      if (ValueSlot(cmd, *l)->empty()) return Reject(std::wstring(L"missing /") + *l + L" for " + ActionName(cmd.action));
    }
  }
  return cmd;
}

const wchar_t* ActionName(Action action) {
  switch (action) {
    case Action::InstallPrinter: return L"/if";
    case Action::InstallDriver: return L"/ia";
    case Action::DeletePrinter: return L"/dl";
    case Action::DeleteDriver: return L"/dd";
    case Action::SetDefault: return L"/y";
    case Action::TestPage: return L"/k";
    case Action::None: break;
  }
  return L"(none)";
}

}  // namespace printui
