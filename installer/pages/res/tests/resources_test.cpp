// Checks the installer resources as linked into a program: the string table in
// every UI language, the page templates and the page bitmaps. Strings are read
// straight from the RT_STRING blocks of one language, so no result depends on
// the thread's UI language or on the loader's language fallback.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "installer/core/resource_ids.h"
#include "tests/shared/dialog_check_win.h"

namespace {

const LANGID kLanguages[] = {1033, 2052, 1049, 1041, 1028, 1040, 2058,
                             1055, 1045, 1054, 1046, 1031, 1036, 1043};
const LANGID kEnglish = 1033;
const LANGID kTemplateLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT);

bool IsUnusedStringId(UINT id) { return id == 160 || id == 170 || id == 191; }

std::vector<UINT> StringIds() {
  std::vector<UINT> ids;
  for (UINT id = 135; id <= IDS_PROTECTED_PRINT; ++id)
    if (!IsUnusedStringId(id)) ids.push_back(id);
  return ids;
}

// The string at `id` in the block of language `lang`; nullopt when the block is
// missing or malformed, an empty string when the slot is empty.
std::optional<std::wstring> StringOf(UINT id, LANGID lang) {
  HRSRC info = FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), lang);
  if (!info) return std::nullopt;
  const auto* p = static_cast<const WCHAR*>(LockResource(LoadResource(nullptr, info)));
  const WCHAR* end = p + SizeofResource(nullptr, info) / sizeof(WCHAR);
  for (UINT i = 0; i < id % 16; ++i) {
    if (p >= end) return std::nullopt;
    p += 1 + *p;
  }
  if (p >= end || p + 1 + *p > end) return std::nullopt;
  return std::wstring(p + 1, p + 1 + *p);
}

TEST(InstallerStrings, EveryLanguageHoldsEveryUsedId) {
  for (LANGID lang : kLanguages) {
    for (UINT id : StringIds()) {
      auto text = StringOf(id, lang);
      ASSERT_TRUE(text.has_value()) << "language " << lang << " id " << id;
      EXPECT_FALSE(text->empty()) << "language " << lang << " id " << id;
    }
    for (UINT id : {160u, 170u, 191u}) {
      auto text = StringOf(id, lang);
      EXPECT_TRUE(!text || text->empty()) << "language " << lang << " defines unused id " << id;
    }
  }
}

TEST(InstallerStrings, EnglishTextsAreExact) {
  const struct {
    UINT id;
    const wchar_t* text;
  } expected[] = {
      {135, L"Select Language"},
      {137, L"I agree to <a>License Agreement</a> and"},
      {138, L"<a>Privacy Policy</a>."},
      {139, L"Installation Options\r\n    Install or Uninstall Printer Driver"},
      {153, L"The program is running."},
      {158, L"            Please enter the printer IP before installation"},
      {183, L"IP Auto Get(WiFi)"},
      {186, L"            Please enter the WiFi name and password"},
      {203, L"External cutter unit installed "},
      {204, L"Please select according to the accessories currently installed on your machine:"},
      {205, L"No external accessories installed "},
      {206, L"External peeler unit installed "},
      {207, L"Setting up..."},
  };
  for (const auto& e : expected) {
    auto text = StringOf(e.id, kEnglish);
    ASSERT_TRUE(text.has_value()) << e.id;
    EXPECT_EQ(*text, std::wstring(e.text)) << e.id;
  }
}

// The blanks, the line break and the link markup are layout, not wording:
// every translation must keep them or the pages break.
TEST(InstallerStrings, TranslationsKeepLayoutCharacters) {
  const std::wstring twelve(12, L' ');
  for (LANGID lang : kLanguages) {
    for (UINT id : {158u, 186u}) {
      auto text = StringOf(id, lang).value_or(L"");
      ASSERT_GT(text.size(), 12u) << lang << " " << id;
      EXPECT_EQ(text.substr(0, 12), twelve) << lang << " " << id;
      EXPECT_NE(text[12], L' ') << lang << " " << id;
    }
    for (UINT id : {203u, 205u, 206u}) {
      auto text = StringOf(id, lang).value_or(L"");
      ASSERT_GE(text.size(), 2u) << lang << " " << id;
      EXPECT_EQ(text.back(), L' ') << lang << " " << id;
      EXPECT_NE(text[text.size() - 2], L' ') << lang << " " << id;
    }
    auto heading = StringOf(139, lang).value_or(L"");
    auto br = heading.find(L"\r\n    ");
    ASSERT_NE(br, std::wstring::npos) << lang;
    EXPECT_GT(br, 0u) << lang;
    EXPECT_NE(heading[br + 6], L' ') << lang;
    for (UINT id : {137u, 138u}) {
      auto text = StringOf(id, lang).value_or(L"");
      auto open = text.find(L"<a>");
      auto close = text.find(L"</a>");
      ASSERT_NE(open, std::wstring::npos) << lang << " " << id;
      ASSERT_NE(close, std::wstring::npos) << lang << " " << id;
      EXPECT_GT(close, open + 3) << lang << " " << id;
    }
  }
}

TEST(InstallerStrings, LongSentencesAreTranslated) {
  for (LANGID lang : kLanguages) {
    if (lang == kEnglish) continue;
    for (UINT id : {136u, 154u, 155u, 164u, 166u, 173u, 181u, 182u, 204u, 208u, 217u, 218u, 219u}) {
      EXPECT_NE(StringOf(id, lang).value_or(L""), StringOf(id, kEnglish).value_or(L""))
          << "language " << lang << " id " << id << " is a copy of English";
    }
  }
}

// ---- dialog templates ----------------------------------------------------

struct Control {
  DWORD id;
  std::wstring cls;  // class name, or "#n" for an atom
  DWORD style;
  short x, y, cx, cy;
  std::wstring text;
};

struct Template {
  WORD version = 0, signature = 0;
  DWORD style = 0;
  WORD count = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  WORD pointSize = 0;
  std::wstring font;
  std::vector<Control> controls;
  bool ok = false;
};

// Bounds-checked reader over one resource.
class Reader {
 public:
  Reader(const BYTE* p, size_t n) : begin_(p), p_(p), end_(p + n) {}
  bool Word(WORD* v) { return Take(v, 2); }
  bool Dword(DWORD* v) { return Take(v, 4); }
  bool Short(short* v) { return Take(v, 2); }
  bool Byte(BYTE* v) { return Take(v, 1); }
  bool Align4() {
    size_t off = static_cast<size_t>(p_ - begin_);
    size_t pad = (4 - off % 4) % 4;
    if (static_cast<size_t>(end_ - p_) < pad) return false;
    p_ += pad;
    return true;
  }
  bool Skip(size_t n) {
    if (static_cast<size_t>(end_ - p_) < n) return false;
    p_ += n;
    return true;
  }
  // sz_Or_Ord: 0x0000 none, 0xFFFF + ordinal, or a null-terminated string.
  bool SzOrOrd(std::wstring* out) {
    WORD w;
    if (!Word(&w)) return false;
    if (w == 0) { out->clear(); return true; }
    if (w == 0xFFFF) {
      WORD ord;
      if (!Word(&ord)) return false;
      *out = L"#" + std::to_wstring(ord);
      return true;
    }
    out->assign(1, static_cast<wchar_t>(w));
    return Sz(out, true);
  }
  bool Sz(std::wstring* out, bool append = false) {
    if (!append) out->clear();
    for (;;) {
      WORD w;
      if (!Word(&w)) return false;
      if (w == 0) return true;
      out->push_back(static_cast<wchar_t>(w));
    }
  }

 private:
  bool Take(void* v, size_t n) {
    if (static_cast<size_t>(end_ - p_) < n) return false;
    std::memcpy(v, p_, n);
    p_ += n;
    return true;
  }
  const BYTE* begin_;
  const BYTE* p_;
  const BYTE* end_;
};

Template ParseTemplate(const BYTE* data, size_t size) {
  Template t;
  Reader r(data, size);
  DWORD helpId, exStyle;
  std::wstring menu, cls, title;
  if (!r.Word(&t.version) || !r.Word(&t.signature) || t.version != 1 || t.signature != 0xFFFF)
    return t;
  if (!r.Dword(&helpId) || !r.Dword(&exStyle) || !r.Dword(&t.style) || !r.Word(&t.count) ||
      !r.Short(&t.x) || !r.Short(&t.y) || !r.Short(&t.cx) || !r.Short(&t.cy) || !r.SzOrOrd(&menu) ||
      !r.SzOrOrd(&cls) || !r.Sz(&title))
    return t;
  if (t.style & DS_SETFONT) {
    WORD weight;
    BYTE italic, charset;
    if (!r.Word(&t.pointSize) || !r.Word(&weight) || !r.Byte(&italic) || !r.Byte(&charset) ||
        !r.Sz(&t.font))
      return t;
  }
  for (WORD i = 0; i < t.count; ++i) {
    Control c{};
    DWORD itemHelp, itemEx;
    WORD extra;
    if (!r.Align4() || !r.Dword(&itemHelp) || !r.Dword(&itemEx) || !r.Dword(&c.style) ||
        !r.Short(&c.x) || !r.Short(&c.y) || !r.Short(&c.cx) || !r.Short(&c.cy) || !r.Dword(&c.id) ||
        !r.SzOrOrd(&c.cls) || !r.SzOrOrd(&c.text) || !r.Word(&extra) || !r.Skip(extra))
      return t;
    t.controls.push_back(c);
  }
  t.ok = true;
  return t;
}

struct ExpectedTemplate {
  UINT id;
  std::vector<DWORD> controls;  // in template order
};

const std::vector<ExpectedTemplate>& ExpectedTemplates() {
  static const std::vector<ExpectedTemplate> all = {
      {IDD_STEP_INIT, {1030, 1013}},
      {IDD_STEP_MAIN, {1022, 1023, 1027, 1026, 1031, 1024, 1025, 1005}},
      {IDD_STEP_INSTALLER_TYPE, {1032, 1014, 1016, 1017, 1015, 1066, 1019}},
      {IDD_STEP_INSTALLING, {1059, 1033, 1019}},
      {IDD_STEP_SEARCHING, {1057, 1010, 1019}},
      {IDD_STEP_SETPRINTER,
       {1039, 1038, 1035, 1034, 1036, 1011, 1037, 1012, 1052, 1044, 1045, 1043, 1018, 1019}},
      {IDD_STEP_SELECT_PORT, {1041, 1042, 1035, 1034, 1036, 1011, 1021, 1020, 1040, 1019}},
      {IDD_STEP_FINISH, {1027, 1029, 1028, 1019}},
      {IDD_STEP_MAIN_NOPIC, {1022, 1023, 1026, 1031, 1024, 1025}},
      {IDD_STEP_SET_WIFI, {1050, 1051, 1046, 1048, 1047, 1049, 1019}},
      {IDD_STEP_SELECT_NET_PRINTER, {1053, 1054, 1055, 1052, 1058, 1056, 1019}},
      {IDD_STEP_MAIN_NOLP, {1026, 1031, 1024, 1025, 1005}},
      {IDD_STEP_PRINTER_ACCESSORIES, {1064, 1065, 1060, 1061, 1062, 1019}},
  };
  return all;
}

Template LoadTemplate(UINT id) {
  HRSRC info = FindResourceExW(nullptr, RT_DIALOG, MAKEINTRESOURCEW(id), kTemplateLanguage);
  if (!info) return {};
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, info)));
  return ParseTemplate(data, SizeofResource(nullptr, info));
}

const Control* FindControl(const Template& t, DWORD id) {
  for (const auto& c : t.controls)
    if (c.id == id) return &c;
  return nullptr;
}

TEST(InstallerTemplates, PagesHaveTheirControlsAndPageFrame) {
  for (const auto& e : ExpectedTemplates()) {
    Template t = LoadTemplate(e.id);
    ASSERT_TRUE(t.ok) << "template " << e.id << " missing or malformed in LANGID 2048";
    EXPECT_EQ(t.count, e.controls.size()) << e.id;
    EXPECT_EQ(t.cx, 320) << e.id;
    EXPECT_EQ(t.cy, 250) << e.id;
    EXPECT_EQ(t.style & (WS_CHILD | WS_CAPTION | DS_SHELLFONT), DWORD(WS_CHILD | DS_SHELLFONT)) << e.id;
    EXPECT_EQ(t.font, L"MS Shell Dlg") << e.id;
    EXPECT_EQ(t.pointSize, 8) << e.id;
    std::vector<DWORD> ids;
    for (const auto& c : t.controls) ids.push_back(c.id);
    EXPECT_EQ(ids, e.controls) << e.id;
  }
}

TEST(InstallerTemplates, ControlKindsAndPlaces) {
  // Classes the pages rely on when they send control messages.
  const struct {
    UINT tmpl;
    DWORD id;
    const wchar_t* cls;
  } kinds[] = {
      {IDD_STEP_MAIN, 1027, L"RichEdit20W"},       {IDD_STEP_MAIN_NOPIC, 1022, L"RichEdit20W"},
      {IDD_STEP_MAIN_NOPIC, 1023, L"RichEdit20W"}, {IDD_STEP_MAIN_NOLP, 1024, L"SysLink"},
      {IDD_STEP_MAIN, 1025, L"SysLink"},           {IDD_STEP_SELECT_PORT, 1021, L"SysListView32"},
      {IDD_STEP_SELECT_NET_PRINTER, 1055, L"SysListView32"},
      {IDD_STEP_INSTALLING, 1033, L"msctls_progress32"},
      {IDD_STEP_SEARCHING, 1010, L"msctls_progress32"},
  };
  for (const auto& k : kinds) {
    Template t = LoadTemplate(k.tmpl);
    const Control* c = FindControl(t, k.id);
    ASSERT_NE(c, nullptr) << k.tmpl << "/" << k.id;
    EXPECT_EQ(0, lstrcmpiW(c->cls.c_str(), k.cls)) << k.tmpl << "/" << k.id;
  }
  // The logo sits at the same place on every page that has one.
  for (const auto& e : ExpectedTemplates()) {
    Template t = LoadTemplate(e.id);
    if (const Control* logo = FindControl(t, IDC_LOGO)) {
      EXPECT_EQ((logo->style & SS_TYPEMASK), DWORD(SS_BITMAP)) << e.id;
      EXPECT_EQ(logo->x, 217);
      EXPECT_EQ(logo->y, 0);
      EXPECT_EQ(logo->cx, 15);
      EXPECT_EQ(logo->cy, 13);
    }
  }
  // Port list: report view without border; several rows may be selected.
  const Template portPage = LoadTemplate(IDD_STEP_SELECT_PORT);
  const Template optionsPage = LoadTemplate(IDD_STEP_SETPRINTER);
  const Template wifiPage = LoadTemplate(IDD_STEP_SET_WIFI);
  const Control* ports = FindControl(portPage, IDC_PORT_LIST);
  ASSERT_NE(ports, nullptr);
  EXPECT_EQ(ports->style & LVS_TYPEMASK, DWORD(LVS_REPORT));
  EXPECT_EQ(ports->style & (WS_BORDER | LVS_SINGLESEL), 0u);
  // The driver list of the port page sorts itself, the one of the options page does not.
  const Control* sorted = FindControl(portPage, IDC_DRIVER_COMBO);
  const Control* unsorted = FindControl(optionsPage, IDC_DRIVER_COMBO);
  ASSERT_TRUE(sorted && unsorted);
  EXPECT_TRUE(sorted->style & CBS_SORT);
  EXPECT_FALSE(unsorted->style & CBS_SORT);
  // The WiFi password is shown in clear.
  const Control* password = FindControl(wifiPage, IDC_WIFI_PASSWORD_EDIT);
  ASSERT_NE(password, nullptr);
  EXPECT_FALSE(password->style & ES_PASSWORD);
}

INT_PTR CALLBACK NullProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Building each page window proves the templates and their control classes
// are usable by the dialog manager, not just well-formed bytes.
TEST(InstallerTemplates, EveryPageWindowCanBeBuilt) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&icc);
  ASSERT_NE(LoadLibraryW(L"riched20.dll"), nullptr);
  // Without a display (Wine outside Xvfb) no window at all can be made; that
  // says nothing about the templates.
  HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
  if (!probe) GTEST_SKIP() << "no display for windows";
  DestroyWindow(probe);
  for (const auto& e : ExpectedTemplates()) {
    HRSRC info = FindResourceExW(nullptr, RT_DIALOG, MAKEINTRESOURCEW(e.id), kTemplateLanguage);
    ASSERT_NE(info, nullptr) << e.id;
    auto tmpl = static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(nullptr, info)));
    // Shown as a top-level popup: drop WS_CHILD so no parent is needed.
    std::vector<BYTE> copy(reinterpret_cast<const BYTE*>(tmpl),
                           reinterpret_cast<const BYTE*>(tmpl) + SizeofResource(nullptr, info));
    DWORD style;
    std::memcpy(&style, copy.data() + 12, sizeof(style));
    style = (style & ~WS_CHILD) | WS_POPUP;
    std::memcpy(copy.data() + 12, &style, sizeof(style));
    HWND page = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()), nullptr, NullProc, 0);
    ASSERT_NE(page, nullptr) << "template " << e.id << " error " << GetLastError();
    for (DWORD id : e.controls) EXPECT_NE(GetDlgItem(page, static_cast<int>(id)), nullptr) << e.id << "/" << id;
    DestroyWindow(page);
  }
}

// ---- template rules in every language -----------------------------------

// Texts the pages put into their controls; the other controls keep the template's.
const std::vector<std::pair<DWORD, UINT>>& PageTexts(UINT page) {
  static const std::vector<std::pair<UINT, std::vector<std::pair<DWORD, UINT>>>> texts = {
      {IDD_STEP_INIT, {{IDC_LANGUAGE_LABEL, IDS_SELECT_LANGUAGE}}},
      {IDD_STEP_MAIN, {{IDC_WELCOME_TEXT, IDS_WELCOME}, {IDC_LICENCE_LINK, IDS_LICENCE_LINK},
                       {IDC_PRIVACY_LINK, IDS_PRIVACY_LINK}}},
      {IDD_STEP_INSTALLER_TYPE, {{IDC_INSTALL_TYPE_HEADING, IDS_INSTALL_OPTIONS}, {IDC_USB_INSTALL, IDS_USB_INSTALL},
                                 {IDC_NET_INSTALL, IDS_NET_INSTALL}, {IDC_UNINSTALL, IDS_UNINSTALL},
                                 {IDC_OTHER_PORT_INSTALL, IDS_OTHER_PORT_INSTALL},
                                 {IDC_PROTECTED_PRINT_NOTE, IDS_PROTECTED_PRINT}}},
      {IDD_STEP_INSTALLING, {{IDC_INSTALL_STATUS, IDS_INSTALLING}}},
      {IDD_STEP_SEARCHING, {{IDC_SEARCH_STATUS, IDS_SEARCHING}}},
      {IDD_STEP_SETPRINTER, {{IDC_OPTIONS_TITLE, IDS_PRINTER_OPTIONS}, {IDC_OPTIONS_HEADING, IDS_ENTER_PRINTER_IP},
                             {IDC_DRIVER_LABEL, IDS_DRIVER_NAME}, {IDC_PRINTER_NAME_LABEL, IDS_PRINTER_NAME},
                             {IDC_PRINTER_IP_LABEL, IDS_PRINTER_IP}, {IDC_IP_AUTO_WIFI, IDS_IP_AUTO_WIFI},
                             {IDC_IP_AUTO_NET, IDS_IP_AUTO_NET}, {IDC_WIFI_CONFIGURATOR, IDS_WIFI_CONFIGURATOR},
                             {IDC_SET_DEFAULT_PRINTER, IDS_SET_DEFAULT_PRINTER}}},
      {IDD_STEP_SELECT_PORT, {{IDC_PORT_TITLE, IDS_SPECIFYING_PORTS}, {IDC_PORT_HEADING, IDS_PORT_HEADING},
                              {IDC_DRIVER_LABEL, IDS_DRIVER_NAME}, {IDC_PRINTER_NAME_LABEL, IDS_PRINTER_NAME},
                              {IDC_PORT_CONFIGURE, IDS_CONFIGURATION}}},
      {IDD_STEP_FINISH, {{IDC_PRINT_TEST_PAGE, IDS_PRINT_TEST_PAGE}, {IDC_FINISH_RESULT, IDS_INSTALL_DONE},
                         {IDC_FINISH_NOTE, IDS_PRINTER_NOT_CONNECTED}}},
      {IDD_STEP_MAIN_NOPIC, {{IDC_WELCOME_TEXT, IDS_WELCOME}, {IDC_LICENCE_LINK, IDS_LICENCE_LINK},
                             {IDC_PRIVACY_LINK, IDS_PRIVACY_LINK}}},
      {IDD_STEP_SET_WIFI, {{IDC_WIFI_TITLE, IDS_WIFI_CONFIGURATION}, {IDC_WIFI_HEADING, IDS_ENTER_WIFI},
                           {IDC_WIFI_NAME_LABEL, IDS_WIFI_NAME}, {IDC_WIFI_PASSWORD_LABEL, IDS_WIFI_PASSWORD}}},
      {IDD_STEP_SELECT_NET_PRINTER, {{IDC_NET_LIST_TITLE, IDS_SELECT_PRINTER},
                                     {IDC_NET_LIST_HEADING, IDS_SELECT_PRINTER_HEADING},
                                     {IDC_BY_HOSTNAME, IDS_INSTALL_BY_HOSTNAME}, {IDC_MANUAL_SEARCH, IDS_MANUAL_SEARCH},
                                     {IDC_SEARCH_AGAIN, IDS_SEARCH_AGAIN}}},
      {IDD_STEP_MAIN_NOLP, {{IDC_WELCOME_TEXT, IDS_WELCOME}, {IDC_LICENCE_LINK, IDS_LICENCE_LINK},
                            {IDC_PRIVACY_LINK, IDS_PRIVACY_LINK}}},
      {IDD_STEP_PRINTER_ACCESSORIES, {{IDC_ACCESSORY_HEADING, IDS_ACCESSORY_HEADING},
                                      {IDC_ACCESSORY_NONE, IDS_ACCESSORY_NONE},
                                      {IDC_ACCESSORY_PEELER, IDS_ACCESSORY_PEELER},
                                      {IDC_ACCESSORY_CUTTER, IDS_ACCESSORY_CUTTER}}},
  };
  for (const auto& [id, pairs] : texts)
    if (id == page) return pairs;
  static const std::vector<std::pair<DWORD, UINT>> none;
  return none;
}

// Fields that no static text names: the pages give them their accessible name
// from a text they show (the links' texts, the port page's heading).
bool NamedByThePage(UINT page, DWORD control) {
  switch (control) {
    case IDC_LICENCE_VIEW:
    case IDC_PRIVACY_VIEW: return page == IDD_STEP_MAIN || page == IDD_STEP_MAIN_NOPIC;
    case IDC_MAIN_LICENCE_VIEW: return page == IDD_STEP_MAIN;
    case IDC_PORT_LIST: return page == IDD_STEP_SELECT_PORT;
  }
  return false;
}

// The order Tab reaches each page's controls, the order it is read in.
const std::vector<std::pair<UINT, std::vector<uint32_t>>>& ReadingOrders() {
  static const std::vector<std::pair<UINT, std::vector<uint32_t>>> orders = {
      {IDD_STEP_INIT, {1013}},
      {IDD_STEP_MAIN, {1022, 1023, 1027, 1026, 1024, 1025}},
      {IDD_STEP_INSTALLER_TYPE, {1014, 1016, 1017, 1015}},
      {IDD_STEP_INSTALLING, {}},
      {IDD_STEP_SEARCHING, {}},
      {IDD_STEP_SETPRINTER, {1034, 1011, 1012, 1052, 1044, 1045, 1043, 1018}},
      {IDD_STEP_SELECT_PORT, {1034, 1011, 1021, 1020, 1040}},
      {IDD_STEP_FINISH, {1028}},
      {IDD_STEP_MAIN_NOPIC, {1022, 1023, 1026, 1024, 1025}},
      {IDD_STEP_SET_WIFI, {1048, 1049}},
      {IDD_STEP_SELECT_NET_PRINTER, {1055, 1052, 1058, 1056}},
      {IDD_STEP_MAIN_NOLP, {1026, 1024, 1025}},
      {IDD_STEP_PRINTER_ACCESSORIES, {1065}},
  };
  return orders;
}

dlgcheck::Page CheckedPage(UINT id, const Template& t, LANGID lang) {
  dlgcheck::Page page{"template " + std::to_string(id), t.cx, t.cy, {}};
  for (const Control& c : t.controls) {
    std::wstring text = c.text;
    for (const auto& [control, stringId] : PageTexts(id))
      if (control == c.id) text = StringOf(stringId, lang).value_or(text);
    const bool ordinal = c.cls.size() > 1 && c.cls[0] == L'#';
    page.controls.push_back({c.id,
                             dlgcheck::KindOf(ordinal ? static_cast<uint16_t>(std::stoi(c.cls.substr(1))) : 0,
                                              dlgcheck::U16(ordinal ? L"" : c.cls), c.style),
                             c.style, c.x, c.y, c.cx, c.cy, dlgcheck::U16(text), NamedByThePage(id, c.id)});
  }
  return page;
}

// Every page in every language, with the texts and the font the page shows
// them in (Times New Roman 8.2 pt for Russian, MS Shell Dlg 7.2 pt otherwise),
// keeps the template rules and its reading order; 40 % longer texts are named
// control by control, and nothing else breaks.
TEST(InstallerTemplates, EveryPageKeepsTheTemplateRulesInEveryLanguage) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&icc);
  ASSERT_NE(LoadLibraryW(L"riched20.dll"), nullptr);
  HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr);
  if (!probe) GTEST_SKIP() << "no display for windows";
  DestroyWindow(probe);
  ASSERT_EQ(ReadingOrders().size(), ExpectedTemplates().size());
  int longerNamed = 0;
  for (const auto& [id, order] : ReadingOrders()) {
    SCOPED_TRACE("template " + std::to_string(id));
    const Template t = LoadTemplate(id);
    ASSERT_TRUE(t.ok);
    HRSRC info = FindResourceExW(nullptr, RT_DIALOG, MAKEINTRESOURCEW(id), kTemplateLanguage);
    std::vector<BYTE> copy(static_cast<const BYTE*>(LockResource(LoadResource(nullptr, info))),
                           static_cast<const BYTE*>(LockResource(LoadResource(nullptr, info))) +
                               SizeofResource(nullptr, info));
    DWORD style;
    std::memcpy(&style, copy.data() + 12, sizeof(style));
    style = (style & ~WS_CHILD) | WS_POPUP;
    std::memcpy(copy.data() + 12, &style, sizeof(style));
    HWND page = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()),
                                           nullptr, NullProc, 0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(dlgcheck::TabOrder(CheckedPage(id, t, kEnglish)), order) << "reading order";
    for (size_t i = 0; i < std::size(kLanguages); ++i) {
      const LANGID lang = kLanguages[i];
      SCOPED_TRACE("language " + std::to_string(lang));
      HDC dc = GetDC(page);
      const bool russian = i == 2;
      HFONT font = CreateFontW(-MulDiv(russian ? 82 : 72, GetDeviceCaps(dc, LOGPIXELSY), 720), 0, 0, 0, FW_NORMAL,
                               FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, russian ? L"Times New Roman" : L"MS Shell Dlg");
      ReleaseDC(page, dc);
      {
        dlgcheck::GdiMeasure measure(page, font);
        const dlgcheck::Page checked = CheckedPage(id, t, lang);
        EXPECT_EQ(dlgcheck::Describe(dlgcheck::CheckPage(checked, &measure.metrics())), "");
        for (const auto& f : dlgcheck::CheckPage(dlgcheck::Lengthened(checked, 40), &measure.metrics())) {
          EXPECT_EQ(f.rule, "fit") << f.what;
          ++longerNamed;
        }
      }
      DeleteObject(font);
    }
    DestroyWindow(page);
  }
  EXPECT_GT(longerNamed, 0) << "no text 40 % longer overflows: the check measures nothing";
}

// ---- bitmaps and icon ----------------------------------------------------

TEST(InstallerBitmaps, SizesAndDepth) {
  const struct {
    UINT id;
    LONG width, height;
  } bitmaps[] = {
      {133, 120, 40},  {134, 210, 390}, {166, 120, 64},  {167, 120, 54},  {170, 210, 24},
      {171, 210, 390}, {178, 210, 390}, {179, 120, 64},  {180, 120, 45},  {181, 500, 250},
      {192, 243, 242}, {193, 243, 242}, {194, 243, 242},
  };
  for (const auto& b : bitmaps) {
    HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(b.id), RT_BITMAP);
    ASSERT_NE(info, nullptr) << b.id;
    ASSERT_GE(SizeofResource(nullptr, info), sizeof(BITMAPINFOHEADER)) << b.id;
    BITMAPINFOHEADER h;
    std::memcpy(&h, LockResource(LoadResource(nullptr, info)), sizeof(h));
    EXPECT_EQ(h.biWidth, b.width) << b.id;
    EXPECT_EQ(std::abs(h.biHeight), b.height) << b.id;
    EXPECT_EQ(h.biBitCount, 24) << b.id;
    EXPECT_EQ(h.biCompression, DWORD(BI_RGB)) << b.id;
    // And the loader agrees.
    HBITMAP bmp = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(b.id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    ASSERT_NE(bmp, nullptr) << b.id;
    BITMAP info2{};
    GetObjectW(bmp, sizeof(info2), &info2);
    EXPECT_EQ(info2.bmWidth, b.width) << b.id;
    EXPECT_EQ(info2.bmHeight, b.height) << b.id;
    DeleteObject(bmp);
  }
}

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST(InstallerIcon, ProgramIconHasFourSizes) {
  HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(IDI_APP), RT_GROUP_ICON);
  ASSERT_NE(info, nullptr);
  const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, info)));
  WORD count;
  std::memcpy(&count, data + 4, 2);
  ASSERT_EQ(SizeofResource(nullptr, info), 6u + count * sizeof(GroupIconEntry));
  std::set<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    GroupIconEntry e;
    std::memcpy(&e, data + 6 + i * sizeof(e), sizeof(e));
    sizes.insert(e.width == 0 ? 256 : e.width);
    EXPECT_NE(FindResourceW(nullptr, MAKEINTRESOURCEW(e.id), RT_ICON), nullptr);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 32, 48, 256}));
  EXPECT_NE(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP)), nullptr);
}

}  // namespace
