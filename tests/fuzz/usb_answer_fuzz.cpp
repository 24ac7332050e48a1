// A USB label printer's answer, any bytes of any length: the answer check,
// the answer format and both address readings stay inside the bytes read
// and give text of a bounded size.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "installer/usb/usb_command_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint8_t answer[lx::kUsbAnswerBytes] = {};
  size_t read = std::min(size, sizeof answer);
  std::memcpy(answer, data, read);
  for (uint8_t code : {lx::kUsbAnswerFormat, lx::kUsbWifiAddressBytes, lx::kUsbWifiAddressText, lx::kUsbWiredAddress})
    if (lx::AnswersQuery(answer, read, code) && (read < 5 || answer[4] != code)) __builtin_trap();
  int format = lx::AnswerFormatOf(answer, read);
  if (format < 0 || format > 255) __builtin_trap();
  std::u16string text = lx::AddressFromText(answer, read);
  if (text.size() > read) __builtin_trap();
  std::u16string bytes = lx::AddressFromBytes(answer);
  if (bytes.size() < 7 || bytes.size() > 15) __builtin_trap();
  return 0;
}
