// The templates as real dialogs: every language module's pages can be created by
// the dialog manager with each control there, and every template keeps the rules
// of keyboard, screen reader and layout in its language's font.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "plugin/resources/tests/dialog_template.h"
#include "plugin/resources/tests/module_files.h"
#include "tests/shared/dialog_check_win.h"

namespace lxres {
namespace {

INT_PTR CALLBACK QuietProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::string Narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c < 0x80 ? char(c) : '?';
  return s;
}

dlgcheck::Page CheckedPage(WORD id, const DialogTemplate& dlg) {
  dlgcheck::Page page{"template " + std::to_string(id), dlg.cx, dlg.cy, {}};
  for (const DialogItem& item : dlg.items)
    page.controls.push_back({item.id,
                             dlgcheck::KindOf(item.windowClass.ordinal, dlgcheck::U16(item.windowClass.text), item.style),
                             item.style, item.x, item.y, item.cx, item.cy, dlgcheck::U16(item.title.text)});
  return page;
}

// The order Tab reaches each page's controls, the order it is read in.
const std::vector<std::pair<WORD, std::vector<uint32_t>>>& ReadingOrders() {
  static const std::vector<std::pair<WORD, std::vector<uint32_t>>> orders = {
      {101, {1023, 1016, 1018, 1020, 1029, 1038, 1039}},
      {102, {1106, 1005, 1007, 1041, 1042}},
      {105, {1051, 1053, 1052, 1021}},
      {107, {1062}},
      {108, {1110, 1121, 1107}},
      {153, {1027, 1054, 1132, 1111, 1131, 1055, 1056, 1112, 1106, 1110, 1047, 1048}},
  };
  return orders;
}

class DialogLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
  }
};

// Every template of every language keeps the template rules (tab stops, groups,
// a label before each field, controls inside the page, texts that fit in the
// page's font) and its reading order; the same pages translated 40 % longer are
// named control by control, and nothing else breaks.
TEST_F(DialogLayout, PagesCreateWithTheirControlsAndKeepTheTemplateRules) {
  int longerNamed = 0;
  for (const auto& m : LanguageModules()) {
    SCOPED_TRACE(Narrow(m.file));
    LoadedModule module(m.file, LoadMode::Image);
    ASSERT_NE(module.get(), nullptr);
    for (const auto& [id, order] : ReadingOrders()) {
      SCOPED_TRACE("template " + std::to_string(id));
      DialogTemplate dlg;
      ASSERT_TRUE(ParseDialogTemplateEx(ResourceBytes(module.get(), RT_DIALOG, MAKEINTRESOURCEW(id), m.lang), dlg));
      HWND page = CreateDialogParamW(module.get(), MAKEINTRESOURCEW(id), nullptr, QuietProc, 0);
      ASSERT_NE(page, nullptr) << "CreateDialogParamW error " << GetLastError();
      for (const DialogItem& item : dlg.items) {
        if (item.id == 0xFFFFFFFF) continue;  // unnamed group box: no handle to look up
        EXPECT_NE(GetDlgItem(page, static_cast<int>(item.id)), nullptr) << "control " << item.id << " was not created";
      }
      {
        dlgcheck::GdiMeasure measure(page);
        const dlgcheck::Page checked = CheckedPage(id, dlg);
        EXPECT_EQ(dlgcheck::Describe(dlgcheck::CheckPage(checked, &measure.metrics())), "");
        EXPECT_EQ(dlgcheck::TabOrder(checked), order) << "reading order";
        for (const auto& f : dlgcheck::CheckPage(dlgcheck::Lengthened(checked, 40), &measure.metrics())) {
          EXPECT_EQ(f.rule, "fit") << f.what;
          ++longerNamed;
        }
      }
      DestroyWindow(page);
    }
  }
  EXPECT_GT(longerNamed, 0) << "no text 40 % longer overflows: the check measures nothing";
}

}  // namespace
}  // namespace lxres
