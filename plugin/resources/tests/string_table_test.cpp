// The string table of every language module: each id the plug-in reads (and the
// ids kept for completeness) exists in the module's own language, fits the buffer
// the plug-in loads it into, keeps the printf conversions of the English module,
// and is translated.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "plugin/resources/tests/module_files.h"

namespace lxres {
namespace {

// Longest text each id may have: the plug-in's LoadStringW buffer less the terminator.
constexpr size_t kUnit = 15;     // 16-character buffer
constexpr size_t kTitle = 31;    // 32: page titles
constexpr size_t kOption = 39;   // 40: option display texts
constexpr size_t kControl = 259; // 260: control texts and messages

struct StringId {
  UINT id;
  size_t maxLength;
};

const std::vector<StringId>& ExpectedStrings() {
  static const std::vector<StringId> ids = [] {
    std::vector<StringId> v;
    auto add = [&v](std::initializer_list<UINT> list, size_t max) {
      for (UINT id : list) v.push_back({id, max});
    };
    // Option display texts: printer settings, methods, media types, speeds,
    // resolution, paper sizes, effects, print languages, LEVEL and ON/OFF options.
    add({9, 10, 11, 12, 13, 14, 19, 42, 41, 112, 15, 16, 17, 108, 109, 110, 709,
         999, 1000, 1001, 1002, 1003, 900, 901, 902, 903, 904, 905, 210, 211, 313, 314,
         305, 312},
        kOption);
    add({31, 32, 35, 43, 315}, kTitle);
    add({37}, kUnit);
    add({26, 27, 28, 29, 30, 53, 38, 39, 51, 52, 20, 44, 45, 46, 47, 48, 49, 101}, kControl);
    for (UINT id = 201; id <= 231; ++id)
      if (id != 210 && id != 211 && id != 215) v.push_back({id, kControl});
    add({301, 302, 303, 304, 306, 307, 308, 309, 310, 311, 316, 317, 318}, kControl);
    add({401, 402, 403, 404, 405}, kControl);
    // Kept in the module although the plug-in does not read them.
    add({18, 33, 34, 36, 40, 50, 111, 113, 215, 319, 320, 321, 322}, kControl);
    return v;
  }();
  return ids;
}

// The printf conversions of a text, in order ("%s", "%.1f", "%%", ...).
std::vector<std::wstring> Conversions(const std::wstring& text) {
  std::vector<std::wstring> out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'%') continue;
    size_t j = i + 1;
    while (j < text.size() && wcschr(L"-+ #0123456789.lhI", text[j])) ++j;
    if (j < text.size()) ++j;
    out.push_back(text.substr(i, j - i));
    i = j - 1;
  }
  return out;
}

// True when the text has a word of three or more lower-case Latin letters, i.e.
// English prose that a translated module must not carry over unchanged.
bool HasEnglishWord(const std::wstring& text) {
  size_t run = 0;
  for (wchar_t c : text) {
    run = (c >= L'a' && c <= L'z') ? run + 1 : 0;
    if (run >= 3) return true;
  }
  return false;
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

class StringTable : public ::testing::TestWithParam<LoadMode> {};

TEST_P(StringTable, EveryIdExistsInTheModuleLanguageAndFitsItsBuffer) {
  for (const auto& m : LanguageModules()) {
    SCOPED_TRACE(Narrow(m.file));
    LoadedModule module(m.file, GetParam());
    ASSERT_NE(module.get(), nullptr) << "load error " << module.error();
    for (const StringId& s : ExpectedStrings()) {
      if (m.Lacks(s.id)) continue;
      std::wstring text;
      ASSERT_TRUE(FindString(module.get(), s.id, m.lang, text)) << "string " << s.id;
      EXPECT_LE(text.size(), s.maxLength) << "string " << s.id;
      // The plug-in's own call must return the whole text.
      wchar_t buffer[260] = {};
      int n = LoadStringW(module.get(), s.id, buffer, static_cast<int>(s.maxLength + 1));
      EXPECT_EQ(std::wstring(buffer, n > 0 ? n : 0), text) << "LoadStringW of string " << s.id;
    }
  }
}

TEST_P(StringTable, ConversionsMatchEnglishAndTextsAreTranslated) {
  LoadedModule english(L"lx220uienus.dll", GetParam());
  ASSERT_NE(english.get(), nullptr);
  for (const auto& m : LanguageModules()) {
    if (m.lang == kEnglish) continue;
    SCOPED_TRACE(Narrow(m.file));
    LoadedModule module(m.file, GetParam());
    ASSERT_NE(module.get(), nullptr);
    for (const StringId& s : ExpectedStrings()) {
      if (m.Lacks(s.id)) continue;
      std::wstring own, base;
      ASSERT_TRUE(FindString(english.get(), s.id, kEnglish, base)) << s.id;
      ASSERT_TRUE(FindString(module.get(), s.id, m.lang, own)) << s.id;
      EXPECT_EQ(Conversions(own), Conversions(base)) << "string " << s.id;
      if (m.SpelledAsEnglish(s.id)) {
        EXPECT_EQ(own, base) << "string " << s.id << " is listed as spelled as in English";
      } else if (HasEnglishWord(base)) {
        EXPECT_NE(own, base) << "string " << s.id << " not translated";
      }
    }
  }
}

// Ids a module leaves out are really absent, in every language the module
// could be asked in, so LoadStringW fails instead of finding a stray text.
TEST_P(StringTable, IdsDeclaredAbsentAreMissingAndOnlyThere) {
  for (const auto& m : LanguageModules()) {
    SCOPED_TRACE(Narrow(m.file));
    LoadedModule module(m.file, GetParam());
    ASSERT_NE(module.get(), nullptr);
    for (UINT id : m.absentStrings) {
      bool listed = false;
      for (const StringId& s : ExpectedStrings()) listed = listed || s.id == id;
      EXPECT_TRUE(listed) << "absent id " << id << " is not one the plug-in reads";
      for (WORD lang : {m.lang, kEnglish, WORD(0)}) {
        std::wstring text;
        EXPECT_FALSE(FindString(module.get(), id, lang, text)) << "string " << id;
      }
      wchar_t buffer[40] = {L'x'};
      EXPECT_EQ(0, LoadStringW(module.get(), id, buffer, 40)) << "string " << id;
    }
  }
  // The Russian module is the one that goes without them; the others carry them.
  const auto& modules = LanguageModules();
  for (UINT id : {20u, 900u, 901u, 902u, 903u, 904u, 905u}) {
    for (const auto& m : modules) {
      EXPECT_EQ(m.lang == 0x0419, m.Lacks(id)) << Narrow(m.file) << " string " << id;
    }
  }
}

TEST(StringTableHelpers, ConversionsAndEnglishWords) {
  EXPECT_EQ(Conversions(L"%s (%.1f %s x %.1f %s) "),
            (std::vector<std::wstring>{L"%s", L"%.1f", L"%s", L"%.1f", L"%s"}));
  EXPECT_EQ(Conversions(L"100%% %d"), (std::vector<std::wstring>{L"%%", L"%d"}));
  EXPECT_TRUE(Conversions(L"Size").empty());
  EXPECT_TRUE(HasEnglishWord(L"203 x 203 dots per inch"));
  EXPECT_FALSE(HasEnglishWord(L"4 x 6 in (101.6 x 152.4 mm)"));
  EXPECT_FALSE(HasEnglishWord(L"TSPL"));
}

INSTANTIATE_TEST_SUITE_P(BothLoadModes, StringTable,
                         ::testing::Values(LoadMode::Image, LoadMode::DataFile),
                         [](const auto& info) {
                           return std::string(info.param == LoadMode::Image ? "Image" : "DataFile");
                         });

}  // namespace
}  // namespace lxres
