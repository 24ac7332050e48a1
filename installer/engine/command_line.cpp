#include "installer/engine/command_line.h"

#include <initializer_list>

#include "installer/core/trace.h"

namespace lx {

const char16_t* PrintUiNameFault(std::u16string_view name) {
  if (name.empty()) return u"empty";
  if (name.size() > kMaxPrintUiNameChars) return u"too long";
  if (name[0] == u'/' || name[0] == u'-') return u"begins like a switch";
  if (name[0] == u'@') return u"begins like a command file";
  for (char16_t c : name) {
    if (c == u'"') return u"holds a quote";
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)) return u"holds a control character";
  }
  return nullptr;
}

bool AcceptPrintUiNames(const Os& os, std::initializer_list<std::u16string_view> names) {
  for (std::u16string_view name : names) {
    const char16_t* fault = PrintUiNameFault(name);
    if (!fault) continue;
    // The name itself is shown cut, and without what would break the line.
    std::u16string shown;
    for (char16_t c : name.substr(0, 64)) shown += c < 0x20 || c == 0x7F ? u'?' : c;
    DebugTraceWAlways(os, u"Refused the name \"%s\"%s (%u characters): it %s", shown.c_str(),
                      name.size() > 64 ? u"..." : u"", static_cast<unsigned>(name.size()), fault);
    return false;
  }
  return true;
}

bool IsQuotableArgument(std::u16string_view text) {
  return text.find(u'\0') == std::u16string_view::npos;
}

std::u16string QuoteArgument(std::u16string_view text) {
  std::u16string out = u"\"";
  size_t backslashes = 0;
  for (char16_t c : text) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    if (c == u'"') {
      // Backslashes before a quote are halved by the parser: double them and
      // escape the quote itself.
      out.append(backslashes * 2 + 1, u'\\');
    } else {
      out.append(backslashes, u'\\');
    }
    backslashes = 0;
    out += c;
  }
  // Trailing backslashes stand before the closing quote.
  out.append(backslashes * 2, u'\\');
  out += u'"';
  return out;
}

std::u16string QuoteArgumentIfNeeded(std::u16string_view text) {
  if (!text.empty() && text.find_first_of(u" \t\"") == std::u16string_view::npos)
    return std::u16string(text);
  return QuoteArgument(text);
}

namespace {

constexpr std::u16string_view kPrintUi = u"printui.dll PrintUIEntry ";

bool AllQuotable(std::initializer_list<std::u16string_view> args) {
  for (auto a : args)
    if (!IsQuotableArgument(a)) return false;
  return true;
}

std::u16string Q(std::u16string_view text) { return QuoteArgument(text); }

}  // namespace

std::optional<std::u16string> PrintUiInstallPrinter(std::u16string_view printerName,
                                                    std::u16string_view portName,
                                                    std::u16string_view driverName,
                                                    std::u16string_view infPath) {
  if (!AllQuotable({printerName, portName, driverName, infPath})) return std::nullopt;
  return std::u16string(kPrintUi) + u"/if /b " + Q(printerName) + u" /r " + Q(portName) +
         u" /m " + Q(driverName) + u" /f " + Q(infPath) + u" /z";
}

std::optional<std::u16string> PrintUiInstallDriver(std::u16string_view driverName,
                                                   std::u16string_view infPath) {
  if (!AllQuotable({driverName, infPath})) return std::nullopt;
  return std::u16string(kPrintUi) + u"/ia /m " + Q(driverName) + u" /f " + Q(infPath) + u" ";
}

std::optional<std::u16string> PrintUiDeletePrinter(std::u16string_view printerName) {
  if (!IsQuotableArgument(printerName)) return std::nullopt;
  return std::u16string(kPrintUi) + u"/dl /n " + Q(printerName) + u" /q";
}

std::optional<std::u16string> PrintUiDeleteDriver(std::u16string_view driverName) {
  if (!IsQuotableArgument(driverName)) return std::nullopt;
  return std::u16string(kPrintUi) + u"/dd /m " + Q(driverName) + u" /q";
}

std::optional<std::u16string> PrintUiSetDefault(std::u16string_view printerName) {
  if (!IsQuotableArgument(printerName)) return std::nullopt;
  return std::u16string(kPrintUi) + u"/y /n " + Q(printerName);
}

std::optional<std::u16string> PrintUiTestPage(std::u16string_view printerName) {
  if (!IsQuotableArgument(printerName)) return std::nullopt;
  return std::u16string(kPrintUi) + u"/n " + Q(printerName) + u" /k";
}

std::optional<std::u16string> PnputilDeletePackage(std::u16string_view infFileName) {
  if (!IsQuotableArgument(infFileName)) return std::nullopt;
  return u" -f -d " + QuoteArgumentIfNeeded(infFileName);
}

}  // namespace lx
