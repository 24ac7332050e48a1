// The command frames the installer writes to a label printer on USB, and the
// reading of its answers: 1B FF FE, kind (01 set, 02 query), code,
// parameters, 1B FE FF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lx {

using UsbCommandFrame = std::vector<uint8_t>;

constexpr uint8_t kUsbKindSet = 0x01;
constexpr uint8_t kUsbKindQuery = 0x02;
constexpr uint8_t kUsbWifiCredentials = 0x26;
constexpr uint8_t kUsbWifiAddressText = 0x27;   // answer format 2
constexpr uint8_t kUsbWifiAddressBytes = 0x28;  // answer format 1
constexpr uint8_t kUsbAnswerFormat = 0x30;
constexpr uint8_t kUsbWiredAddress = 0x0D;
// Every answer is read into a buffer of this size, zero-filled first.
constexpr size_t kUsbAnswerBytes = 256;

UsbCommandFrame BuildUsbFrame(uint8_t kind, uint8_t code, const std::vector<uint8_t>& parameters);
// 1B FF FE 01 30 01 01 1B FE FF.
UsbCommandFrame WifiPreambleFrame();
// 1B FF FE 01 26, L, the name in UTF-8 and 00, the password in UTF-8 and 00,
// 1B FE FF. L is the two texts' byte counts with their 00 bytes, modulo 256:
// it wraps for more than 255 bytes while the frame still carries them all.
UsbCommandFrame WifiCredentialsFrame(const std::u16string& name, const std::u16string& password);
// 1B FF FE 02 <code> 00 1B FE FF: the answer-format probe and the address queries.
UsbCommandFrame QueryFrame(uint8_t code);

// True when the bytes read answer the query with `code`: they begin with
// the frame start, the query kind and that code, and hold what is taken from
// them (byte 6 of the probe's answer, bytes 7 to 10 of an address in bytes).
// Anything else, a stale answer to another query included, is no answer.
bool AnswersQuery(const uint8_t* answer, size_t read, uint8_t code);
// Byte 6 of the probe's answer; 0 when the answer is shorter.
int AnswerFormatOf(const uint8_t* answer, size_t read);
// Bytes 7 to 10 of a zero-filled answer buffer as "%d.%d.%d.%d".
std::u16string AddressFromBytes(const uint8_t (&answer)[kUsbAnswerBytes]);
// The 8-bit text after the second 00 byte among the bytes read, up to the
// next 00 byte or their end, each byte one character; empty with fewer than
// two 00 bytes.
std::u16string AddressFromText(const uint8_t* answer, size_t read);

}  // namespace lx
