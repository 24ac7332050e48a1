// INI cases that run against our reader on every host and against the real
// profile functions under Wine: the two must give the same answers.
#pragma once

#include <string>
#include <vector>

namespace lx::testing {

struct IniCase {
  const char* name;
  std::string file;  // bytes on disk
  enum Kind { kString, kSection, kInt } kind;
  std::u16string section;
  std::u16string key;
  std::u16string def;  // default text, or decimal default for kInt
  size_t buffer;
  std::u16string expected;  // buffer contents up to the returned count
  unsigned expectedCount;
};

inline std::vector<IniCase> IniCases() {
  const std::string models =
      "[Support_Driver]\r\nLX-220\r\n\r\nB=1\r\n[LX-220]\r\nDriverName=LX-220 Label\r\n";
  using namespace std::string_literals;
  return {
      {"names ignore case", "[Install]\r\nShowLogo=5\r\n", IniCase::kString, u"install", u"SHOWLOGO",
       u"", 64, u"5", 1},
      {"blanks around names and values", "[ A ]\r\n  key  =   v a l   \r\n[A]\r\nkey=x\r\n",
       IniCase::kString, u"A", u"key", u"", 64, u"v a l", 5},
      {"section name with blanks inside brackets", "[ A ]\r\nkey=1\r\n", IniCase::kString, u" A ",
       u"key", u"d", 64, u"1", 1},
      {"double quotes stripped", "[S]\r\nk=\"quoted value\"\r\n", IniCase::kString, u"S", u"k", u"",
       64, u"quoted value", 12},
      {"single quotes stripped", "[S]\r\nk='x'\r\n", IniCase::kString, u"S", u"k", u"", 64, u"x", 1},
      {"inner quotes kept", "[S]\r\nk=\"A\",\"B\"\r\n", IniCase::kString, u"S", u"k", u"", 64,
       u"A\",\"B", 5},
      {"unmatched quote kept", "[S]\r\nk=\"abc\r\n", IniCase::kString, u"S", u"k", u"", 64, u"\"abc", 4},
      {"first duplicate key wins", "[S]\r\nk=1\r\nk=2\r\n", IniCase::kString, u"S", u"k", u"", 64,
       u"1", 1},
      {"missing key gives default", "[S]\r\nk=1\r\n", IniCase::kString, u"S", u"none", u"dflt", 64,
       u"dflt", 4},
      {"default loses trailing blanks", "[S]\r\n", IniCase::kString, u"S", u"none", u"d  ", 64, u"d", 1},
      {"value cut at the buffer", "[S]\r\nk=abcdefghij\r\n", IniCase::kString, u"S", u"k", u"", 5,
       u"abcd", 4},
      {"line without equals has no value", "[S]\r\nflag\r\n", IniCase::kString, u"S", u"flag", u"d",
       64, u"d", 1},
      {"LF-only line ends", "[S]\nk=lf\n", IniCase::kString, u"S", u"k", u"", 64, u"lf", 2},
      {"UTF-16 file with BOM", "\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\x2D\x04\r\0\n\0"s, IniCase::kString,
       u"S", u"k", u"", 64, u"\u042D", 1},
      {"UTF-8 file with BOM", "\xEF\xBB\xBF[S]\r\nk=\xD0\xAD\r\n", IniCase::kString, u"S", u"k", u"", 64,
       u"\u042D", 1},
      {"empty quotes give an empty value", "[S]\r\nk=\"\"\r\n", IniCase::kString, u"S", u"k", u"d", 64,
       u"", 0},
      {"an empty header starts a section", "[S]\r\n[]\r\nk=1\r\n", IniCase::kString, u"S", u"k", u"d",
       64, u"d", 1},
      {"section lines in order, empty lines skipped", models, IniCase::kSection, u"Support_Driver",
       u"", u"", 1024, u"LX-220\0B=1\0"s, 11},
      {"section cut at the buffer", models, IniCase::kSection, u"Support_Driver", u"", u"", 8,
       u"LX-220"s, 6},
      {"comment lines not listed", "[S]\r\n;note\r\na=1\r\n", IniCase::kSection, u"S", u"", u"", 64,
       u"a=1\0"s, 4},
      {"missing section is empty", "[S]\r\na=1\r\n", IniCase::kSection, u"T", u"", u"", 64, u"", 0},
      {"integer", "[S]\r\nn=42\r\n", IniCase::kInt, u"S", u"n", u"7", 0, u"", 42},
      {"integer with trailing text", "[S]\r\nn=12abc\r\n", IniCase::kInt, u"S", u"n", u"7", 0, u"", 12},
      {"non-numeric integer is 0", "[S]\r\nn=abc\r\n", IniCase::kInt, u"S", u"n", u"7", 0, u"", 0},
      {"negative integer", "[S]\r\nn=-3\r\n", IniCase::kInt, u"S", u"n", u"7", 0, u"", 0xFFFFFFFDu},
      {"missing integer gives default", "[S]\r\n", IniCase::kInt, u"S", u"n", u"7", 0, u"", 7},
      {"empty integer gives default", "[S]\r\nn=\r\n", IniCase::kInt, u"S", u"n", u"7", 0, u"", 7},
  };
}

}  // namespace lx::testing
