#include "ui/fake/fake_sheet.h"

#include <algorithm>
#include <stdexcept>

namespace lx {

namespace {

FakeControl Button(int id, const char16_t* text, Rect rect) {
  FakeControl c;
  c.id = id;
  c.kind = ControlKind::kButton;
  c.className = u"Button";
  c.text = text;
  c.rect = rect;
  return c;
}

}  // namespace

FakeSheet::FakeSheet(const RcScripts& scripts) : scripts_(scripts), frame_(scripts, nullptr, nullptr) {
  // The wizard's own buttons where a 320 x 250 DLU wizard places them.
  frame_.AddControl(Button(kIdWizBack, u"< Back", {268, 412, 343, 435}));
  frame_.AddControl(Button(kIdWizNext, u"Next >", {343, 412, 418, 435}));
  FakeControl finish = Button(kIdWizFinish, u"Finish", {343, 412, 418, 435});
  finish.visible = false;
  frame_.AddControl(finish);
  frame_.AddControl(Button(kIdCancel, u"Cancel", {428, 412, 503, 435}));
  frame_.AddControl(Button(kIdHelp, u"Help", {513, 412, 588, 435}));
}

void FakeSheet::AddPage(IPropertyPage& page) {
  if (std::find(pages_.begin(), pages_.end(), &page) == pages_.end()) pages_.push_back(&page);
}

void FakeSheet::RemovePage(IPropertyPage& page) {
  pages_.erase(std::remove(pages_.begin(), pages_.end(), &page), pages_.end());
  built_.erase(&page);
  if (current_ == &page) current_ = nullptr;
}

void FakeSheet::SetCurrentPage(IPropertyPage& page) {
  if (std::find(pages_.begin(), pages_.end(), &page) == pages_.end()) {
    ++failedSelections;
    return;
  }
  auto& view = built_[&page];
  if (!view) {
    view = std::make_unique<FakeDialog>(scripts_, &page, scripts_.Dialog(page.TemplateId()));
    page.OnInitDialog(*view);
  }
  current_ = &page;
  page.OnSetActive();
}

void FakeSheet::SetWizardButtons(uint32_t flags) {
  wizardButtons = flags;
  frame_.Enable(kIdWizBack, (flags & kPswizbBack) != 0);
  frame_.Enable(kIdWizNext, (flags & kPswizbNext) != 0);
}

// The box's own message loop takes the queued input, and the sheet it has
// disabled ignores it.
int FakeSheet::ShowMessageBox(const std::u16string& text, const std::u16string& boxCaption, unsigned type) {
  boxes.push_back({text, boxCaption, type});
  queuedInput_.clear();
  if (answers.empty()) return kIdOkAnswer;
  int a = answers.front();
  answers.pop_front();
  return a;
}

void FakeSheet::PostSheetMessage(unsigned message) {
  std::lock_guard<std::mutex> lock(postedLock_);
  posted_.push_back(message);
  sheetMessages.push_back(message);
}

void FakeSheet::DropQueuedInput() {
  droppedInput += static_cast<int>(queuedInput_.size());
  queuedInput_.clear();
}

bool FakeSheet::Input(std::function<bool()> action) {
  if (handling_ > 0) {
    queuedInput_.push_back(std::move(action));
    return true;
  }
  // Free again however the handler ends, a throw included.
  struct Busy {
    int& depth;
    ~Busy() { --depth; }
  } busy{++handling_};
  bool done = action();
  while (!queuedInput_.empty()) {
    std::function<bool()> next = std::move(queuedInput_.front());
    queuedInput_.pop_front();
    next();
  }
  return done;
}

void FakeSheet::RunModal(ISheetEvents& events, IPropertyPage& firstPage) {
  events_ = &events;
  SetCurrentPage(firstPage);
  events.OnInitDialog();
}

FakeDialog& FakeSheet::Current() {
  FakeDialog* view = current_ ? ViewOf(*current_) : nullptr;
  if (!view) throw std::logic_error("no page is shown");
  return *view;
}

FakeDialog* FakeSheet::ViewOf(const IPropertyPage& page) {
  auto it = built_.find(&page);
  return it == built_.end() ? nullptr : it->second.get();
}

bool FakeSheet::ClickNext() {
  return Input([this] {
    if (ended || !events_ || !ButtonEnabled(kIdWizNext)) return false;
    events_->OnWizardNext();
    return true;
  });
}

bool FakeSheet::ClickBack() {
  return Input([this] {
    if (ended || !events_ || !ButtonEnabled(kIdWizBack)) return false;
    events_->OnWizardBack();
    return true;
  });
}

bool FakeSheet::ClickCancel() {
  return Input([this] {
    if (ended || !events_ || !ButtonEnabled(kIdCancel)) return false;
    events_->OnCancel();
    return true;
  });
}

bool FakeSheet::CloseBox() {
  return Input([this] {
    if (ended || !events_) return false;
    events_->OnCancel();
    return true;
  });
}

bool FakeSheet::Click(int id) {
  return Input([this, id] { return !ended && current_ && Current().Click(id); });
}

bool FakeSheet::SelectCombo(int id, int index) {
  return Input([this, id, index] { return !ended && current_ && Current().SelectCombo(id, index); });
}

bool FakeSheet::SelectRow(int id, int row) {
  return Input([this, id, row] { return !ended && current_ && Current().SelectRow(id, row); });
}

bool FakeSheet::ClickLink(int id) {
  return Input([this, id] { return !ended && current_ && Current().ClickLink(id); });
}

bool FakeSheet::Type(int id, const std::u16string& text) {
  return Input([this, id, text] { return !ended && current_ && Current().Type(id, text); });
}

int FakeSheet::DeliverPosted() {
  int delivered = 0;
  for (;;) {
    unsigned message = 0;
    bool have = false;
    {
      std::lock_guard<std::mutex> lock(postedLock_);
      if (!posted_.empty()) {
        message = posted_.front();
        posted_.pop_front();
        have = true;
      }
    }
    if (have) {
      // After the wizard has closed a posted message is lost.
      // Input made while the message is handled waits for it, as in a real
      // message loop.
      if (!ended && events_) Input([&] {
          events_->OnSheetMessage(message, 0, 0);
          return true;
        });
      ++delivered;
      continue;
    }
    if (!TakeOnePosted(built_, !ended)) return delivered;
    ++delivered;
  }
}

ControlColors FakeSheet::ColorsOf(int id) {
  FakeControl* c = current_ ? Current().Find(id) : nullptr;
  if (!c) return events_ ? events_->CtlColor(id, ControlKind::kButton) : ControlColors{};
  return current_->CtlColor(id, c->kind);
}

}  // namespace lx
