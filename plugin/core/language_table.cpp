#include "plugin/core/language_table.h"

#include <algorithm>
#include <iterator>

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

bool IsUiLanguageCode(std::u16string_view suffix) {
  return std::any_of(std::begin(kUiLanguageCodes), std::end(kUiLanguageCodes),
                     [suffix](const char16_t* code) { return EqualsIgnoreCase(suffix, code); });
}

const char16_t* UiLanguageCode(int index) {
  return (index >= 0 && index < kUiLanguageCount) ? kUiLanguageCodes[index] : kUiLanguageCodes[0];
}

namespace {

// One row of the Windows-language table: the codes of sublanguages
// `first`, `first`+1, ...; an empty code is a missing cell. A row with
// `repeat` holds one code for that many sublanguages. Constant data rather
// than a built container: nothing to construct at attach, and less code.
struct Row {
  int primary;
  int first;
  int repeat;
  const char16_t* cells[9];
};

// Sorted by primary language.
constexpr Row kTable[] = {
      {0x00, 0, 6, {u"NEUT"}},
      {0x01, 1, 16, {u"ar"}},
      {0x02, 1, 0, {u"bu"}},
      {0x03, 1, 0, {u"caES"}},
      {0x04, 1, 0, {u"zhTW", u"zhCN", u"zhHK", u"zhSG", u"zhMO"}},
      {0x05, 1, 0, {u"cs"}},
      {0x06, 1, 0, {u"daDK"}},
      {0x07, 1, 5, {u"de"}},
      {0x08, 1, 0, {u"el"}},
      {0x09, 1, 16, {u"enUS"}},
      {0x0A, 1, 21, {u"esmx"}},
      {0x0B, 1, 0, {u"fiFI"}},
      {0x0C, 1, 6, {u"fr"}},
      {0x0D, 1, 0, {u"he"}},
      {0x0E, 1, 0, {u"hu"}},
      {0x0F, 1, 0, {u"isIS"}},
      {0x10, 1, 2, {u"it"}},
      {0x11, 1, 0, {u"jaJP"}},
      {0x12, 1, 2, {u"ko"}},
      {0x13, 1, 0, {u"nlNL", u"nlBE"}},
      {0x14, 1, 0, {u"noNO", u"noNY"}},
      {0x15, 1, 0, {u"pl"}},
      {0x16, 1, 2, {u"pt"}},
      {0x17, 1, 0, {u"rhCH"}},
      {0x18, 1, 2, {u"ro"}},
      {0x19, 1, 0, {u"ru"}},
      {0x1A, 1, 0, {u"hrHR", u"srLA", u"srCY", u"hrBA", u"", u"srBL", u"srBC"}},
      {0x1B, 1, 0, {u"skSK"}},
      {0x1C, 1, 0, {u"sqAL"}},
      {0x1D, 1, 0, {u"svSE", u"svFI"}},
      {0x1E, 1, 0, {u"th"}},
      {0x1F, 1, 0, {u"tr"}},
      {0x20, 1, 0, {u"urPK", u"urIN"}},
      {0x21, 1, 0, {u"idID"}},
      {0x22, 1, 0, {u"ukUA"}},
      {0x23, 1, 0, {u"beBY"}},
      {0x24, 1, 0, {u"slSI"}},
      {0x25, 1, 0, {u"etEE"}},
      {0x26, 1, 0, {u"lvLV"}},
      {0x27, 1, 0, {u"ltLT"}},
      {0x28, 1, 0, {u"tgTJ"}},
      {0x29, 1, 0, {u"faFA"}},
      {0x2A, 1, 0, {u"vi"}},
      {0x2B, 1, 0, {u"hyAM"}},
      {0x2C, 1, 0, {u"azLA", u"azCY"}},
      {0x2D, 1, 0, {u"euEU"}},
      {0x2E, 1, 0, {u"", u"lsDE"}},
      {0x2F, 1, 0, {u"mkMK"}},
      {0x32, 1, 0, {u"tnZA"}},
      {0x36, 1, 0, {u"afZA"}},
      {0x37, 1, 0, {u"kaGE"}},
      {0x38, 1, 0, {u"foFO"}},
      {0x39, 1, 0, {u"hiIN"}},
      {0x3A, 1, 0, {u"mtMT"}},
      {0x3B, 1, 0, {u"siNN", u"siNS", u"siNF", u"siLN", u"siLS", u"siSN", u"siSS", u"siSF",
                    u"siIF"}},
      {0x3C, 1, 0, {u"gaIE"}},
      {0x3E, 1, 0, {u"msMY", u"msBN"}},
      {0x3F, 1, 0, {u"kkKZ"}},
      {0x40, 1, 0, {u"kyKG"}},
      {0x41, 1, 0, {u"swKE"}},
      {0x42, 1, 0, {u"tkTM"}},
      {0x43, 1, 0, {u"uzLA", u"uzCY"}},
      {0x44, 1, 0, {u"ttRU"}},
      {0x45, 1, 0, {u"bnIN", u"bnBD"}},
      {0x46, 1, 0, {u"paIN"}},
      {0x47, 1, 0, {u"guIN"}},
      {0x48, 1, 0, {u"orIN"}},
      {0x49, 1, 0, {u"taIN"}},
      {0x4A, 1, 0, {u"teIN"}},
      {0x4B, 1, 0, {u"knIN"}},
      {0x4C, 1, 0, {u"mlIN"}},
      {0x4D, 1, 0, {u"asIN"}},
      {0x4E, 1, 0, {u"mrIN"}},
      {0x4F, 1, 0, {u"saIN"}},
      {0x50, 1, 0, {u"mnMN", u"mnCN"}},
      {0x51, 1, 0, {u"boCN"}},
      {0x52, 1, 0, {u"cyGB"}},
      {0x53, 1, 0, {u"khKH"}},
      {0x54, 1, 0, {u"loLA"}},
      {0x56, 1, 0, {u"glES"}},
      {0x57, 1, 0, {u"koIN"}},
      {0x58, 1, 0, {u"maIN"}},
      {0x59, 1, 0, {u"sdIN", u"sdPK", u"sdAF"}},
      {0x5A, 1, 0, {u"sySY"}},
      {0x5B, 1, 0, {u"siLK"}},
      {0x5D, 1, 0, {u"iuCA", u"iuLA"}},
      {0x5E, 1, 0, {u"amET"}},
      {0x5F, 1, 0, {u"tzDZ"}},
      {0x60, 1, 2, {u"ksIN"}},
      {0x61, 1, 0, {u"neNP", u"neIN"}},
      {0x62, 1, 0, {u"fyNL"}},
      {0x63, 1, 0, {u"psAF"}},
      {0x64, 1, 0, {u"flPH"}},
      {0x65, 1, 0, {u"diMV"}},
      {0x68, 1, 0, {u"haNG"}},
      {0x6A, 1, 0, {u"yoNG"}},
      {0x6B, 1, 0, {u"quBO", u"quEC", u"quPE"}},
      {0x6C, 1, 0, {u"stZA"}},
      {0x6D, 1, 0, {u"baRU"}},
      {0x6E, 1, 0, {u"lbLU"}},
      {0x6F, 1, 0, {u"klGL"}},
      {0x70, 1, 0, {u"igNG"}},
      {0x73, 1, 0, {u"tiER"}},
      {0x7A, 1, 0, {u"mpCL"}},
      {0x7C, 1, 0, {u"mwMW"}},
      {0x7E, 1, 0, {u"brFR"}},
      {0x7F, 1, 0, {u"NEUT"}},
      {0x80, 1, 0, {u"ugCN"}},
      {0x81, 1, 0, {u"miNZ"}},
      {0x82, 1, 0, {u"ocFR"}},
      {0x83, 1, 0, {u"coFR"}},
      {0x84, 1, 0, {u"alFR"}},
      {0x85, 1, 0, {u"ykRU"}},
      {0x86, 1, 0, {u"kiGT"}},
      {0x87, 1, 0, {u"rwRW"}},
      {0x88, 1, 0, {u"woSN", u"", u"drAF"}},
};

}  // namespace

std::optional<std::u16string> WindowsLanguageCode(LangId lang) {
  const int primary = lang & 0x3FF;
  const int sub = lang >> 10;
  const Row* row = std::lower_bound(std::begin(kTable), std::end(kTable), primary,
                                    [](const Row& r, int p) { return r.primary < p; });
  if (row == std::end(kTable) || row->primary != primary) return std::nullopt;
  const int at = sub - row->first;
  int count = row->repeat;
  if (count == 0)
    while (count < 9 && row->cells[count] != nullptr) ++count;
  if (at < 0 || at >= count) return std::nullopt;
  const char16_t* code = row->repeat != 0 ? row->cells[0] : row->cells[at];
  if (*code == u'\0') return std::nullopt;
  return std::u16string(code);
}

}  // namespace lx
