// The in-memory common property sheet of the printing preferences: it holds
// the pages a plug-in adds (CPSFUNC_ADD_PROPSHEETPAGEW), shows one tab at a
// time, and plays OK, Apply and Cancel as a user presses them.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "ui/fake/fake_dialog.h"
#include "ui/property_page.h"

namespace lx {

class FakePropertySheet {
 public:
  explicit FakePropertySheet(const RcScripts& scripts) : scripts_(scripts) {}
  // Releases every page still held (PSPCB_RELEASE), as closing the sheet does.
  ~FakePropertySheet();
  FakePropertySheet(const FakePropertySheet&) = delete;
  FakePropertySheet& operator=(const FakePropertySheet&) = delete;

  // Adds a page; false (nothing added) when its callback refuses the creation.
  bool AddPage(IPropertyPage& page);
  // The user picks a tab: the shown page may refuse to be left (PSN_KILLACTIVE);
  // the new page is built on its first showing, then activated.
  bool SelectTab(int index);
  // Apply: the shown page is asked to be left, then every built page applies
  // (PSN_APPLY); false when a page refused.
  bool ClickApply();
  // OK: Apply, and the sheet closes when every page agreed.
  bool ClickOk();
  // Cancel: every built page is reset (PSN_RESET) and the sheet closes.
  void ClickCancel();
  // F1 or the Help button on the shown page (PSN_HELP).
  void PressHelp();
  // Delivers the messages posted to the pages; answers how many.
  int DeliverPosted();

  int PageCount() const { return static_cast<int>(pages_.size()); }
  IPropertyPage* CurrentPage() const { return current_ < 0 ? nullptr : pages_[current_]; }
  FakeDialog& Current();  // throws when no page is shown
  FakeDialog* ViewOf(const IPropertyPage& page);
  // The Apply button is enabled while any page has reported a change.
  bool ApplyEnabled() const;
  bool closed = false;

 private:
  void Release();
  const RcScripts& scripts_;
  std::vector<IPropertyPage*> pages_;
  FakePageViews built_;
  int current_ = -1;
};

}  // namespace lx
