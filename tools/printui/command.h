// The PrintUIEntry command line as the stand-in understands it: one action
// switch and the values it needs. Anything else rejects the whole line, so a
// switch smuggled in through a badly quoted name shows up instead of acting.
#pragma once
#include <string>
#include <vector>

namespace printui {

enum class Action { None, InstallPrinter, InstallDriver, DeletePrinter, DeleteDriver, SetDefault, TestPage };

struct Command {
  Action action = Action::None;
  std::wstring baseName;  // /b printer name to create
  std::wstring port;      // /r
  std::wstring model;     // /m driver (model) name
  std::wstring infFile;   // /f
  std::wstring name;      // /n existing printer
  bool noShare = false;   // /z do not share
  bool share = false;     // /Z share (with /if only)
  bool quiet = false;     // /q
  std::wstring error;     // why the line was rejected; empty when accepted
};

// Splits a command line exactly as CommandLineToArgvW does for arguments
// after the program name.
std::vector<std::wstring> SplitArguments(const wchar_t* commandLine);

// Reads the switches. The result's error is set when the line is rejected.
Command ParseArguments(const std::vector<std::wstring>& args);

const wchar_t* ActionName(Action action);

}  // namespace printui
