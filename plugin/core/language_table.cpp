#include "plugin/core/language_table.h"

#include <map>
#include <vector>

#include "common/text.h"

namespace lx {

const char16_t* const kUiLanguageCodes[kUiLanguageCount] = {
    u"enus", u"zhcn", u"ru", u"ja", u"zhtw", u"it", u"esmx",
    u"tr",   u"pl",   u"tl", u"pt", u"de",   u"fr", u"nl"};

int UiLanguageIndex(std::u16string_view suffix) {
  for (int i = 0; i < kUiLanguageCount; ++i) {
    if (EqualsIgnoreCase(suffix, kUiLanguageCodes[i])) return i;
  }
  return 0;
}

const char16_t* UiLanguageCode(int index) {
  return (index >= 0 && index < kUiLanguageCount) ? kUiLanguageCodes[index] : kUiLanguageCodes[0];
}

namespace {

// One row of the Windows-language table: the codes of sublanguages
// `first`, `first`+1, ...; an empty code is a missing cell.
struct Row {
  int first;
  std::vector<std::u16string> codes;
};

Row Repeat(const char16_t* code, int count, int first = 1) {
  return Row{first, std::vector<std::u16string>(count, code)};
}

Row Cells(std::initializer_list<const char16_t*> codes) {
  Row r{1, {}};
  for (const char16_t* c : codes) r.codes.emplace_back(c);
  return r;
}

const std::map<int, Row>& Table() {
  static const std::map<int, Row> table = {
      {0x00, Repeat(u"NEUT", 6, 0)},
      {0x01, Repeat(u"ar", 16)},
      {0x02, Cells({u"bu"})},
      {0x03, Cells({u"caES"})},
      {0x04, Cells({u"zhTW", u"zhCN", u"zhHK", u"zhSG", u"zhMO"})},
      {0x05, Cells({u"cs"})},
      {0x06, Cells({u"daDK"})},
      {0x07, Repeat(u"de", 5)},
      {0x08, Cells({u"el"})},
      {0x09, Repeat(u"enUS", 16)},
      {0x0A, Repeat(u"esmx", 21)},
      {0x0B, Cells({u"fiFI"})},
      {0x0C, Repeat(u"fr", 6)},
      {0x0D, Cells({u"he"})},
      {0x0E, Cells({u"hu"})},
      {0x0F, Cells({u"isIS"})},
      {0x10, Repeat(u"it", 2)},
      {0x11, Cells({u"jaJP"})},
      {0x12, Repeat(u"ko", 2)},
      {0x13, Cells({u"nlNL", u"nlBE"})},
      {0x14, Cells({u"noNO", u"noNY"})},
      {0x15, Cells({u"pl"})},
      {0x16, Repeat(u"pt", 2)},
      {0x17, Cells({u"rhCH"})},
      {0x18, Repeat(u"ro", 2)},
      {0x19, Cells({u"ru"})},
      {0x1A, Cells({u"hrHR", u"srLA", u"srCY", u"hrBA", u"", u"srBL", u"srBC"})},
      {0x1B, Cells({u"skSK"})},
      {0x1C, Cells({u"sqAL"})},
      {0x1D, Cells({u"svSE", u"svFI"})},
      {0x1E, Cells({u"th"})},
      {0x1F, Cells({u"tr"})},
      {0x20, Cells({u"urPK", u"urIN"})},
      {0x21, Cells({u"idID"})},
      {0x22, Cells({u"ukUA"})},
      {0x23, Cells({u"beBY"})},
      {0x24, Cells({u"slSI"})},
      {0x25, Cells({u"etEE"})},
      {0x26, Cells({u"lvLV"})},
      {0x27, Cells({u"ltLT"})},
      {0x28, Cells({u"tgTJ"})},
      {0x29, Cells({u"faFA"})},
      {0x2A, Cells({u"vi"})},
      {0x2B, Cells({u"hyAM"})},
      {0x2C, Cells({u"azLA", u"azCY"})},
      {0x2D, Cells({u"euEU"})},
      {0x2E, Cells({u"", u"lsDE"})},
      {0x2F, Cells({u"mkMK"})},
      {0x32, Cells({u"tnZA"})},
      {0x36, Cells({u"afZA"})},
      {0x37, Cells({u"kaGE"})},
      {0x38, Cells({u"foFO"})},
      {0x39, Cells({u"hiIN"})},
      {0x3A, Cells({u"mtMT"})},
      {0x3B, Cells({u"siNN", u"siNS", u"siNF", u"siLN", u"siLS", u"siSN", u"siSS", u"siSF",
                    u"siIF"})},
      {0x3C, Cells({u"gaIE"})},
      {0x3E, Cells({u"msMY", u"msBN"})},
      {0x3F, Cells({u"kkKZ"})},
      {0x40, Cells({u"kyKG"})},
      {0x41, Cells({u"swKE"})},
      {0x42, Cells({u"tkTM"})},
      {0x43, Cells({u"uzLA", u"uzCY"})},
      {0x44, Cells({u"ttRU"})},
      {0x45, Cells({u"bnIN", u"bnBD"})},
      {0x46, Cells({u"paIN"})},
      {0x47, Cells({u"guIN"})},
      {0x48, Cells({u"orIN"})},
      {0x49, Cells({u"taIN"})},
      {0x4A, Cells({u"teIN"})},
      {0x4B, Cells({u"knIN"})},
      {0x4C, Cells({u"mlIN"})},
      {0x4D, Cells({u"asIN"})},
      {0x4E, Cells({u"mrIN"})},
      {0x4F, Cells({u"saIN"})},
      {0x50, Cells({u"mnMN", u"mnCN"})},
      {0x51, Cells({u"boCN"})},
      {0x52, Cells({u"cyGB"})},
      {0x53, Cells({u"khKH"})},
      {0x54, Cells({u"loLA"})},
      {0x56, Cells({u"glES"})},
      {0x57, Cells({u"koIN"})},
      {0x58, Cells({u"maIN"})},
      {0x59, Cells({u"sdIN", u"sdPK", u"sdAF"})},
      {0x5A, Cells({u"sySY"})},
      {0x5B, Cells({u"siLK"})},
      {0x5D, Cells({u"iuCA", u"iuLA"})},
      {0x5E, Cells({u"amET"})},
      {0x5F, Cells({u"tzDZ"})},
      {0x60, Repeat(u"ksIN", 2)},
      {0x61, Cells({u"neNP", u"neIN"})},
      {0x62, Cells({u"fyNL"})},
      {0x63, Cells({u"psAF"})},
      {0x64, Cells({u"flPH"})},
      {0x65, Cells({u"diMV"})},
      {0x68, Cells({u"haNG"})},
      {0x6A, Cells({u"yoNG"})},
      {0x6B, Cells({u"quBO", u"quEC", u"quPE"})},
      {0x6C, Cells({u"stZA"})},
      {0x6D, Cells({u"baRU"})},
      {0x6E, Cells({u"lbLU"})},
      {0x6F, Cells({u"klGL"})},
      {0x70, Cells({u"igNG"})},
      {0x73, Cells({u"tiER"})},
      {0x7A, Cells({u"mpCL"})},
      {0x7C, Cells({u"mwMW"})},
      {0x7E, Cells({u"brFR"})},
      {0x7F, Cells({u"NEUT"})},
      {0x80, Cells({u"ugCN"})},
      {0x81, Cells({u"miNZ"})},
      {0x82, Cells({u"ocFR"})},
      {0x83, Cells({u"coFR"})},
      {0x84, Cells({u"alFR"})},
      {0x85, Cells({u"ykRU"})},
      {0x86, Cells({u"kiGT"})},
      {0x87, Cells({u"rwRW"})},
      {0x88, Cells({u"woSN", u"", u"drAF"})},
  };
  return table;
}

}  // namespace

std::optional<std::u16string> WindowsLanguageCode(LangId lang) {
  const int primary = lang & 0x3FF;
  const int sub = lang >> 10;
  auto row = Table().find(primary);
  if (row == Table().end()) return std::nullopt;
  const int at = sub - row->second.first;
  if (at < 0 || at >= static_cast<int>(row->second.codes.size())) return std::nullopt;
  const std::u16string& code = row->second.codes[at];
  if (code.empty()) return std::nullopt;
  return code;
}

}  // namespace lx
