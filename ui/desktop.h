// The few desktop services the installer needs before any window exists:
// common controls, the rich edit library and message boxes.
#pragma once

#include <cstdint>
#include <string>

namespace lx {

constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr unsigned kMbIconWarning = 0x30;
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

class IDesktop {
 public:
  virtual ~IDesktop() = default;
  // InitCommonControlsEx with the given structure size and class set.
  virtual bool InitCommonControls(uint32_t size, uint32_t classes) = 0;
  // Loads the rich edit 2.0 library ("RichEdit20W" controls).
  virtual bool LoadRichEdit() = 0;
  // MessageBoxW without owner window.
  virtual int ShowMessageBox(const std::u16string& text, const std::u16string& caption, unsigned type) = 0;
};

}  // namespace lx
