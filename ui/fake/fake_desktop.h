// An in-memory desktop: records what the program showed and answers message
// boxes as a test tells it to.
#pragma once

#include <deque>
#include <vector>

#include "ui/desktop.h"

namespace lx {

class FakeDesktop : public IDesktop {
 public:
  struct Box {
    std::u16string text;
    std::u16string caption;
    unsigned type;
  };

  bool InitCommonControls(uint32_t size, uint32_t classes) override {
    commonControlsSize = size;
    commonControlsClasses = classes;
    return true;
  }
  bool LoadRichEdit() override {
    richEditLoaded = true;
    return true;
  }
  int ShowMessageBox(const std::u16string& text, const std::u16string& caption, unsigned type) override {
    boxes.push_back({text, caption, type});
    if (answers.empty()) return (type & 0xF) == kMbYesNo ? kAnswerNo : kAnswerOk;
    int a = answers.front();
    answers.pop_front();
    return a;
  }

  uint32_t commonControlsSize = 0;
  uint32_t commonControlsClasses = 0;
  bool richEditLoaded = false;
  std::vector<Box> boxes;
  std::deque<int> answers;  // next answers; OK or No when empty
};

}  // namespace lx
