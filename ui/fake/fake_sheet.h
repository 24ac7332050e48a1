// The in-memory wizard sheet. A test builds it over the resource scripts,
// lets the program run its sheet on it, and then acts as the user: clicks
// Next, Back, Cancel and page buttons, ticks boxes, picks list entries, types
// text, answers message boxes, and reads what is shown.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/fake/fake_dialog.h"
#include "ui/sheet_view.h"

namespace lx {

class FakeSheet : public ISheetView {
 public:
  struct Box {
    std::u16string text;
    std::u16string caption;
    unsigned type;
  };

  explicit FakeSheet(const RcScripts& scripts);

  // ISheetView
  void SetCaption(const std::u16string& c) override { caption = c; }
  void AddPage(IPropertyPage& page) override;
  void RemovePage(IPropertyPage& page) override;
  void SetCurrentPage(IPropertyPage& page) override;
  void SetWizardButtons(uint32_t flags) override;
  IDialogView& Frame() override { return frame_; }
  void BringToFront() override { ++frontRequests; }
  uintptr_t WindowHandle() const override { return kWindowHandle; }
  static constexpr uintptr_t kWindowHandle = 0x5EE7;
  int ShowMessageBox(const std::u16string& text, const std::u16string& caption, unsigned type) override;
  void PostSheetMessage(unsigned message) override;
  void DropQueuedInput() override;
  void EndWizard() override { ended = true; }
  // Builds the first page and returns at once: the test drives the run.
  void RunModal(ISheetEvents& events, IPropertyPage& firstPage) override;

  // The user's actions. Each answers false when the control was not there
  // for the user (no page, hidden or disabled), and then does nothing. An
  // action made while another is being handled (from an action the virtual
  // clock runs during a pause) is queued as Windows queues input for a busy
  // thread: it answers true and takes effect, on whatever is shown then,
  // once the outer action has returned, unless the program drops it.
  bool ClickNext();
  bool ClickBack();
  bool ClickCancel();
  bool CloseBox();
  bool Click(int id);
  bool SelectCombo(int id, int index);
  bool SelectRow(int id, int row);
  bool ClickLink(int id);
  bool Type(int id, const std::u16string& text);
  // Delivers the messages posted to the sheet and its pages; answers how many.
  int DeliverPosted();

  // What the user sees.
  IPropertyPage* CurrentPage() const { return current_; }
  FakeDialog& Current();
  FakeDialog* ViewOf(const IPropertyPage& page);
  FakeDialog& FrameView() { return frame_; }
  const std::vector<IPropertyPage*>& Pages() const { return pages_; }
  bool ButtonEnabled(int id) { return frame_.IsEnabled(id) && frame_.IsVisible(id); }
  std::u16string ButtonText(int id) { return frame_.GetText(id); }
  ControlColors ColorsOf(int id);
  const RcScripts& scripts() const { return scripts_; }

  std::u16string caption;
  uint32_t wizardButtons = 0;
  int frontRequests = 0;
  bool ended = false;
  std::vector<Box> boxes;
  std::deque<int> answers;  // next message-box answers; the first button when empty
  std::vector<unsigned> sheetMessages;  // every message posted to the sheet, in order
  int failedSelections = 0;  // SetCurrentPage with a page not in the list
  int droppedInput = 0;      // queued actions the program dropped

 private:
  const RcScripts& scripts_;
  ISheetEvents* events_ = nullptr;
  FakeDialog frame_;
  std::vector<IPropertyPage*> pages_;
  FakePageViews built_;
  IPropertyPage* current_ = nullptr;
  // Runs a user action now, or queues it while another is being handled.
  bool Input(std::function<bool()> action);
  int handling_ = 0;
  std::deque<std::function<bool()>> queuedInput_;
  std::mutex postedLock_;
  std::deque<unsigned> posted_;
};

}  // namespace lx
