// Arguments pasted into the command lines of the programs the installer starts
// (rundll32 printui.dll, pnputil). Those programs split their command line by
// the CommandLineToArgvW rules, and the installer runs elevated: a printer,
// model or port name must come back as exactly one argument, never as an
// extra switch.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "platform/os.h"

namespace lx {

// Printer, driver and port names longer than this are refused: no such name
// is ever needed, and a long one could push the command line past its limit.
constexpr size_t kMaxPrintUiNameChars = 260;

// Why a printer, driver or port name may not reach a printui line; null
// when it may. Refused: empty, longer than kMaxPrintUiNameChars, beginning
// with `/` or `-` (a switch) or `@` (printui reads a command file), holding a
// quote (nothing shows printui undoes our escaping) or a control character.
const char16_t* PrintUiNameFault(std::u16string_view name);

// True when every name may reach a printui line; otherwise traces the first
// refused name and why, and nothing may be built from them.
bool AcceptPrintUiNames(const Os& os, std::initializer_list<std::u16string_view> names);

// False for text that no quoting can carry (an embedded NUL ends the command line).
bool IsQuotableArgument(std::u16string_view text);

// The text in double quotes, with quotes and the backslashes before them
// escaped, so that CommandLineToArgvW gives back exactly `text`. Plain names
// and paths come out as a quote, the text and a quote.
std::u16string QuoteArgument(std::u16string_view text);

// The text unchanged when it is one argument as it stands (non-empty, no
// blank, tab or quote); otherwise QuoteArgument of it.
std::u16string QuoteArgumentIfNeeded(std::u16string_view text);

// Parameter texts of rundll32 printui.dll PrintUIEntry; nothing when an
// argument cannot be quoted.
std::optional<std::u16string> PrintUiInstallPrinter(std::u16string_view printerName,
                                                    std::u16string_view portName,
                                                    std::u16string_view driverName,
                                                    std::u16string_view infPath);
// The driver alone; the text ends with one blank after the last quote.
std::optional<std::u16string> PrintUiInstallDriver(std::u16string_view driverName,
                                                   std::u16string_view infPath);
std::optional<std::u16string> PrintUiDeletePrinter(std::u16string_view printerName);
std::optional<std::u16string> PrintUiDeleteDriver(std::u16string_view driverName);
std::optional<std::u16string> PrintUiSetDefault(std::u16string_view printerName);
std::optional<std::u16string> PrintUiTestPage(std::u16string_view printerName);
// pnputil parameters deleting the OEM INF package `infFileName` (a bare file name).
std::optional<std::u16string> PnputilDeletePackage(std::u16string_view infFileName);

}  // namespace lx
