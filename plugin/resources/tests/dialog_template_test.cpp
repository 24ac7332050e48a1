// The six dialog templates of every language module: extended templates of the
// page frame's size, style and font, with exactly the controls the plug-in's pages
// address, in order, of the right kind and place, captioned in the module language.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "plugin/resources/tests/dialog_template.h"
#include "plugin/resources/tests/module_files.h"

namespace lxres {
namespace {

enum Kind { Push, RadioFirst, Radio, Check, CheckFirst, Group, GroupFirst, Text, CText, Picture, Edit, EditDigits, Combo, Trackbar };

struct Control {
  DWORD id;
  Kind kind;
  short x, y, cx, cy;
  UINT textId;  // string whose text the template shows; 0: the template shows none
};

struct Template {
  WORD id;
  UINT titleId;
  std::vector<Control> controls;
};

constexpr DWORD kNoId = 0xFFFFFFFF;

const std::vector<Template>& ExpectedTemplates() {
  static const std::vector<Template> templates = {
      {101, 32, {
           {1071, Text, 51, 34, 51, 8, 202},
           {1023, Combo, 109, 32, 195, 70, 0},
           {1016, Push, 92, 50, 60, 15, 203},
           {1018, Push, 160, 50, 80, 15, 204},
           {1020, Push, 245, 50, 60, 15, 205},
           {1029, RadioFirst, 180, 104, 71, 10, 206},
           {1031, Radio, 180, 123, 78, 10, 207},
           {1033, Radio, 180, 140, 90, 10, 208},
           {1035, Radio, 180, 158, 95, 10, 209},
           {1038, CheckFirst, 180, 206, 116, 10, 210},
           {1039, Check, 180, 222, 118, 10, 211},
           {kNoId, Group, 36, 14, 280, 64, 201},
           {1072, Group, 36, 90, 122, 152, 212},
           {1036, Picture, 48, 115, 97, 107, 0},
           {1073, Group, 170, 91, 146, 85, 213},
           {1074, Group, 170, 191, 146, 51, 214},
       }},
      {102, 215, {
           {1117, Group, 32, 12, 282, 49, 201},
           {1097, Text, 59, 34, 50, 8, 202},
           {1106, Edit, 118, 32, 171, 14, 0},
           {1118, Group, 31, 75, 282, 100, 216},
           {1099, Text, 58, 103, 46, 11, 217},
           {1005, Edit, 117, 100, 173, 14, 0},
           {1100, Text, 58, 137, 41, 8, 218},
           {1007, Edit, 116, 134, 174, 14, 0},
           {1041, Push, 67, 198, 72, 14, 219},
           {1042, Push, 206, 198, 69, 14, 220},
       }},
      {105, 35, {
           {1089, Group, 30, 15, 289, 80, 304},
           {1051, CheckFirst, 43, 30, 186, 10, 312},
           {1087, Text, 44, 50, 74, 8, 305},
           {1053, Trackbar, 120, 50, 175, 12, 0},
           {1067, Text, 306, 52, 8, 8, 308},
           {1088, Text, 44, 71, 60, 8, 306},
           {1052, Trackbar, 120, 69, 175, 12, 0},
           {1066, Text, 306, 70, 8, 8, 307},
           {1071, Group, 30, 107, 289, 54, 401},
           {1104, CText, 31, 133, 67, 8, 402},
           {1021, Combo, 110, 131, 171, 30, 0},
       }},
      {107, 31, {
           {1062, Push, 110, 84, 131, 14, 405},
           {1070, Group, 25, 12, 301, 99, 404},
           {1090, CText, 114, 22, 123, 8, 0},
           {1091, CText, 134, 38, 83, 8, 0},
           {1092, CText, 151, 52, 48, 8, 0},
           {1093, CText, 27, 68, 295, 8, 0},
           {1103, Picture, 55, 154, 240, 60, 0},
       }},
      {108, 43, {
           {1108, Group, 29, 11, 289, 152, 43},
           {1116, Picture, 150, 30, 150, 110, 0},
           {1110, RadioFirst, 46, 36, 84, 10, 45},
           {1111, Radio, 46, 56, 84, 10, 44},
           {1112, Radio, 46, 76, 84, 10, 46},
           {1120, GroupFirst, 29, 168, 289, 48, 49},
           {1114, Text, 41, 188, 51, 8, 47},
           {1121, Edit, 103, 186, 70, 14, 0},
           {1107, Check, 192, 187, 109, 10, 48},
       }},
      {153, 315, {
           {1084, Group, 25, 7, 300, 80, 301},
           {1081, Text, 45, 22, 43, 8, 302},
           {1027, Combo, 108, 21, 191, 30, 0},
           {1082, Text, 45, 39, 49, 8, 303},
           {1054, Combo, 107, 37, 192, 30, 0},
           {1132, Check, 44, 55, 237, 10, 320},
           {1109, Text, 46, 70, 56, 8, 316},
           {1111, Edit, 107, 68, 191, 14, 0},
           {1133, Group, 25, 95, 300, 94, 319},
           {1107, Text, 40, 110, 59, 8, 318},
           {1131, Check, 112, 110, 96, 10, 101},
           {1134, Text, 39, 129, 94, 8, 221},
           {1055, Combo, 145, 127, 117, 30, 0},
           {1135, Text, 39, 148, 63, 8, 226},
           {1056, Combo, 111, 146, 117, 30, 0},
           {1136, Text, 237, 148, 36, 8, 231},
           {1112, EditDigits, 277, 146, 33, 14, 0},
           {1105, Text, 39, 169, 67, 8, 403},
           {1106, Edit, 113, 167, 62, 14, 0},
           {1110, Check, 180, 169, 131, 10, 9},
           {1094, Group, 25, 192, 300, 55, 309},
           {1075, Text, 46, 210, 113, 8, 311},
           {1047, Edit, 162, 207, 114, 14, 0},
           {1076, Text, 47, 230, 103, 8, 310},
           {1048, Edit, 162, 227, 114, 14, 0},
       }},
  };
  return templates;
}

bool IsClass(const NameOrOrdinal& cls, WORD ordinal, const wchar_t* name) {
  if (cls.ordinal) return cls.ordinal == ordinal;
  return lstrcmpiW(cls.text.c_str(), name) == 0;  // window classes ignore case
}

// Checks class and the style bits that make the control what the page expects.
void ExpectKind(const DialogItem& item, Kind kind) {
  const DWORD s = item.style;
  EXPECT_EQ(s & (WS_CHILD | WS_VISIBLE), DWORD(WS_CHILD | WS_VISIBLE));
  const bool groupStart = kind == RadioFirst || kind == CheckFirst || kind == GroupFirst;
  switch (kind) {
    case Push:
    case RadioFirst:
    case Radio:
    case Check:
    case CheckFirst:
    case Group:
    case GroupFirst: {
      EXPECT_TRUE(IsClass(item.windowClass, 0x0080, L"Button"));
      DWORD type = kind == Push ? BS_PUSHBUTTON
                   : (kind == Group || kind == GroupFirst) ? BS_GROUPBOX
                   : (kind == Check || kind == CheckFirst) ? BS_AUTOCHECKBOX
                                                           : BS_AUTORADIOBUTTON;
      EXPECT_EQ(s & BS_TYPEMASK, type);
      EXPECT_EQ((s & WS_GROUP) != 0, groupStart) << "WS_GROUP";
      break;
    }
    case Text:
    case CText:
    case Picture:
      EXPECT_TRUE(IsClass(item.windowClass, 0x0082, L"Static"));
      if (kind == Picture) {
        EXPECT_EQ(s & SS_TYPEMASK, DWORD(SS_BITMAP));
        EXPECT_TRUE(s & SS_CENTERIMAGE);
      } else {
        EXPECT_EQ(s & SS_TYPEMASK, DWORD(kind == CText ? SS_CENTER : SS_LEFT));
      }
      break;
    case Edit:
    case EditDigits:
      EXPECT_TRUE(IsClass(item.windowClass, 0x0081, L"Edit"));
      EXPECT_TRUE(s & WS_BORDER);
      EXPECT_TRUE(s & ES_AUTOHSCROLL);
      EXPECT_EQ((s & ES_NUMBER) != 0, kind == EditDigits) << "ES_NUMBER";
      break;
    case Combo:
      EXPECT_TRUE(IsClass(item.windowClass, 0x0085, L"ComboBox"));
      EXPECT_EQ(s & 0x3u, DWORD(CBS_DROPDOWNLIST));
      EXPECT_TRUE(s & WS_VSCROLL);
      break;
    case Trackbar:
      EXPECT_TRUE(IsClass(item.windowClass, 0, L"msctls_trackbar32")) << "class";
      EXPECT_EQ(s & (TBS_AUTOTICKS | TBS_TOOLTIPS), DWORD(TBS_AUTOTICKS | TBS_TOOLTIPS));
      break;
  }
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

class DialogTemplates : public ::testing::TestWithParam<LoadMode> {};

TEST_P(DialogTemplates, MatchThePagesInEveryLanguage) {
  for (const auto& m : LanguageModules()) {
    SCOPED_TRACE(Narrow(m.file));
    LoadedModule module(m.file, GetParam());
    ASSERT_NE(module.get(), nullptr) << "load error " << module.error();
    for (const Template& t : ExpectedTemplates()) {
      SCOPED_TRACE("template " + std::to_string(t.id));
      std::vector<BYTE> bytes = ResourceBytes(module.get(), RT_DIALOG, MAKEINTRESOURCEW(t.id), m.lang);
      ASSERT_FALSE(bytes.empty()) << "absent in the module language";
      DialogTemplate dlg;
      ASSERT_TRUE(ParseDialogTemplateEx(bytes, dlg)) << "not a well-formed DIALOGEX";

      DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT;
      DWORD exStyle = WS_EX_CONTEXTHELP;
      if (t.id == 102) {
        style |= DS_CONTEXTHELP;
        exStyle |= WS_EX_TOPMOST;
      }
      EXPECT_EQ(dlg.style, style);
      EXPECT_EQ(dlg.exStyle, exStyle);
      EXPECT_EQ(dlg.cx, 350);
      EXPECT_EQ(dlg.cy, 260);
      EXPECT_EQ(dlg.pointSize, 8);
      EXPECT_EQ(dlg.weight, 400);
      EXPECT_EQ(dlg.italic, 0);
      EXPECT_EQ(dlg.typeface, L"MS Shell Dlg");
      std::wstring title;
      ASSERT_TRUE(FindString(module.get(), t.titleId, m.lang, title));
      EXPECT_EQ(dlg.title, title);

      std::vector<DWORD> ids, expectedIds;
      for (const auto& item : dlg.items) ids.push_back(item.id);
      for (const auto& c : t.controls) expectedIds.push_back(c.id);
      ASSERT_EQ(ids, expectedIds) << "control ids, order and count";

      for (size_t i = 0; i < t.controls.size(); ++i) {
        const Control& c = t.controls[i];
        const DialogItem& item = dlg.items[i];
        SCOPED_TRACE("control " + std::to_string(static_cast<int>(c.id)));
        EXPECT_EQ(item.x, c.x);
        EXPECT_EQ(item.y, c.y);
        EXPECT_EQ(item.cx, c.cx);
        EXPECT_EQ(item.cy, c.cy);
        EXPECT_EQ(item.exStyle, 0u);
        ExpectKind(item, c.kind);
        EXPECT_EQ(item.title.ordinal, 0);
        if (c.textId) {
          std::wstring text;
          ASSERT_TRUE(FindString(module.get(), c.textId, m.lang, text));
          EXPECT_EQ(item.title.text, text) << "caption should be string " << c.textId;
        } else {
          EXPECT_TRUE(item.title.text.empty());
        }
      }
    }
  }
}

TEST(DialogTemplateReader, RejectsTruncatedAndClassicTemplates) {
  LoadedModule module(L"lx220uienus.dll", LoadMode::DataFile);
  ASSERT_NE(module.get(), nullptr);
  std::vector<BYTE> bytes = ResourceBytes(module.get(), RT_DIALOG, MAKEINTRESOURCEW(153), kEnglish);
  ASSERT_GT(bytes.size(), 64u);
  DialogTemplate dlg;
  ASSERT_TRUE(ParseDialogTemplateEx(bytes, dlg));
  // Cut inside the last control: the reader must refuse instead of reading past the end.
  std::vector<BYTE> cut(bytes.begin(), bytes.end() - 6);
  EXPECT_FALSE(ParseDialogTemplateEx(cut, dlg));
  std::vector<BYTE> classic = bytes;
  classic[2] = 0;  // signature 0xFFFF marks the extended form
  classic[3] = 0;
  EXPECT_FALSE(ParseDialogTemplateEx(classic, dlg));
  EXPECT_FALSE(ParseDialogTemplateEx({}, dlg));
}

INSTANTIATE_TEST_SUITE_P(BothLoadModes, DialogTemplates,
                         ::testing::Values(LoadMode::Image, LoadMode::DataFile),
                         [](const auto& info) {
                           return std::string(info.param == LoadMode::Image ? "Image" : "DataFile");
                         });

}  // namespace
}  // namespace lxres
