#include "installer/usb/usb_command_frame.h"

#include "common/format.h"
#include "common/text.h"

namespace lx {

namespace {

void AppendText(UsbCommandFrame& frame, const std::u16string& text) {
  std::string utf8 = Utf16ToUtf8(text);
  frame.insert(frame.end(), utf8.begin(), utf8.end());
  frame.push_back(0x00);
}

}  // namespace

UsbCommandFrame BuildUsbFrame(uint8_t kind, uint8_t code, const std::vector<uint8_t>& parameters) {
  UsbCommandFrame frame = {0x1B, 0xFF, 0xFE, kind, code};
  frame.insert(frame.end(), parameters.begin(), parameters.end());
  frame.insert(frame.end(), {0x1B, 0xFE, 0xFF});
  return frame;
}

UsbCommandFrame WifiPreambleFrame() { return BuildUsbFrame(kUsbKindSet, kUsbAnswerFormat, {0x01, 0x01}); }

UsbCommandFrame WifiCredentialsFrame(const std::u16string& name, const std::u16string& password) {
  UsbCommandFrame texts;
  AppendText(texts, name);
  AppendText(texts, password);
  std::vector<uint8_t> parameters = {static_cast<uint8_t>(texts.size() % 256)};
  parameters.insert(parameters.end(), texts.begin(), texts.end());
  return BuildUsbFrame(kUsbKindSet, kUsbWifiCredentials, parameters);
}

UsbCommandFrame QueryFrame(uint8_t code) { return BuildUsbFrame(kUsbKindQuery, code, {0x00}); }

bool AnswersQuery(const uint8_t* answer, size_t read, uint8_t code) {
  size_t needed = code == kUsbAnswerFormat ? 7 : code == kUsbWifiAddressText ? 5 : 11;
  return read >= needed && answer[0] == 0x1B && answer[1] == 0xFF && answer[2] == 0xFE &&
         answer[3] == kUsbKindQuery && answer[4] == code;
}

int AnswerFormatOf(const uint8_t* answer, size_t read) { return read > 6 ? answer[6] : 0; }

std::u16string AddressFromBytes(const uint8_t (&answer)[kUsbAnswerBytes]) {
  return FormatW(u"%d.%d.%d.%d", answer[7], answer[8], answer[9], answer[10]);
}

std::u16string AddressFromText(const uint8_t* answer, size_t read) {
  size_t zeros = 0, pos = 0;
  while (pos < read && zeros < 2)
    if (answer[pos++] == 0x00) ++zeros;
  if (zeros < 2) return u"";
  std::u16string text;
  for (; pos < read && answer[pos] != 0x00; ++pos) text.push_back(static_cast<char16_t>(answer[pos]));
  return text;
}

}  // namespace lx
