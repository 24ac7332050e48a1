#include "ui/fake/fake_property_sheet.h"

#include <stdexcept>

namespace lx {

FakePropertySheet::~FakePropertySheet() { Release(); }

void FakePropertySheet::Release() {
  std::vector<IPropertyPage*> pages;
  pages.swap(pages_);
  built_.clear();
  current_ = -1;
  for (IPropertyPage* page : pages) page->OnPageRelease();
}

bool FakePropertySheet::AddPage(IPropertyPage& page) {
  if (closed || !page.OnPageCreate()) return false;
  pages_.push_back(&page);
  // The sheet opens on its first page.
  if (current_ < 0) SelectTab(0);
  return true;
}

bool FakePropertySheet::SelectTab(int index) {
  if (closed || index < 0 || index >= PageCount()) return false;
  if (current_ >= 0 && pages_[current_]->OnKillActive()) return false;
  IPropertyPage* page = pages_[index];
  auto& view = built_[page];
  current_ = index;
  if (!view) {
    view = std::make_unique<FakeDialog>(scripts_, page, scripts_.Dialog(page->TemplateId()));
    page->OnInitDialog(*view);
  }
  page->OnSetActive();
  return true;
}

bool FakePropertySheet::ClickApply() {
  if (closed || current_ < 0) return false;
  if (pages_[current_]->OnKillActive()) return false;
  for (IPropertyPage* page : pages_) {
    if (!built_.count(page)) continue;
    if (page->OnApply() != kPsnretNoError) return false;
    built_[page]->SheetChanged(false);
  }
  return true;
}

bool FakePropertySheet::ClickOk() {
  if (!ClickApply()) return false;
  closed = true;
  Release();
  return true;
}

void FakePropertySheet::ClickCancel() {
  if (closed) return;
  for (IPropertyPage* page : pages_)
    if (built_.count(page)) page->OnReset();
  closed = true;
  Release();
}

void FakePropertySheet::PressHelp() {
  if (IPropertyPage* page = CurrentPage()) page->OnHelp();
}

int FakePropertySheet::DeliverPosted() {
  int delivered = 0;
  while (TakeOnePosted(built_, true)) ++delivered;
  return delivered;
}

FakeDialog& FakePropertySheet::Current() {
  FakeDialog* view = CurrentPage() ? ViewOf(*CurrentPage()) : nullptr;
  if (!view) throw std::logic_error("no page is shown");
  return *view;
}

FakeDialog* FakePropertySheet::ViewOf(const IPropertyPage& page) {
  auto it = built_.find(&page);
  return it == built_.end() ? nullptr : it->second.get();
}

bool FakePropertySheet::ApplyEnabled() const {
  for (const auto& [page, view] : built_)
    if (view->sheetChanged) return true;
  return false;
}

}  // namespace lx
