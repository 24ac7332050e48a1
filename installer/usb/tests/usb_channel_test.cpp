#include <gtest/gtest.h>

#include "installer/core/trace.h"
#include "installer/usb/usb_channel.h"
#include "installer/usb/usb_command_frame.h"
#include "platform/sim/sim_machine.h"

namespace lx {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(UsbCommandFrameTest, FramesCarryTheirBytesAndTheCredentialsInUtf8) {
  EXPECT_EQ(WifiPreambleFrame(), (Bytes{0x1B, 0xFF, 0xFE, 0x01, 0x30, 0x01, 0x01, 0x1B, 0xFE, 0xFF}));
  EXPECT_EQ(QueryFrame(kUsbWiredAddress), (Bytes{0x1B, 0xFF, 0xFE, 0x02, 0x0D, 0x00, 0x1B, 0xFE, 0xFF}));
  // An empty password is its 00 byte alone.
  EXPECT_EQ(WifiCredentialsFrame(u"Lab", u""),
            (Bytes{0x1B, 0xFF, 0xFE, 0x01, 0x26, 0x05, 0x4C, 0x61, 0x62, 0x00, 0x00, 0x1B, 0xFE, 0xFF}));
  // Non-ASCII text goes out in UTF-8, several bytes a character.
  Bytes cafe = WifiCredentialsFrame(u"Caf\u00E9", u"\u5BC6");
  EXPECT_EQ(cafe, (Bytes{0x1B, 0xFF, 0xFE, 0x01, 0x26, 0x0A, 'C', 'a', 'f', 0xC3, 0xA9, 0x00, 0xE5, 0xAF, 0x86, 0x00,
                         0x1B, 0xFE, 0xFF}));
  // 300 bytes of texts: L wraps to 44 while every byte still goes out.
  Bytes wrapped = WifiCredentialsFrame(std::u16string(199, u'n'), std::u16string(99, u'p'));
  EXPECT_EQ(wrapped[5], 44);
  EXPECT_EQ(wrapped.size(), 9u + 300u);
}

TEST(UsbCommandFrameTest, AnswersGiveTheirAddressOrNothingWithoutReadingPastThem) {
  uint8_t buffer[kUsbAnswerBytes] = {};
  EXPECT_EQ(AddressFromBytes(buffer), u"0.0.0.0");  // nothing was said
  const uint8_t bytes[] = {0x1B, 0xFF, 0xFE, 0x02, 0x28, 0x04, 0x00, 192, 168, 1, 255};
  std::copy(std::begin(bytes), std::end(bytes), buffer);
  EXPECT_EQ(AddressFromBytes(buffer), u"192.168.1.255");

  const char text[] = "\x01\x00\x02\x00" "192.168.1.30\x00" "tail";
  EXPECT_EQ(AddressFromText(reinterpret_cast<const uint8_t*>(text), sizeof text - 1), u"192.168.1.30");
  // Without its closing 00 the text runs to the last byte read, and no further.
  EXPECT_EQ(AddressFromText(reinterpret_cast<const uint8_t*>(text), 8), u"192.");
  // Fewer than two 00 bytes: no text; 8-bit bytes become characters of their own value.
  EXPECT_EQ(AddressFromText(reinterpret_cast<const uint8_t*>(text), 3), u"");
  const uint8_t latin[] = {0x00, 0x00, 0xE9, 0x31};
  EXPECT_EQ(AddressFromText(latin, 4), u"\u00E91");
  // The format is byte 6 of the bytes read, never of the buffer beyond them.
  const uint8_t probe[] = {0x1B, 0xFF, 0xFE, 0x02, 0x30, 0x01, 0x02};
  EXPECT_EQ(AnswerFormatOf(probe, 6), 0);
  EXPECT_EQ(AnswerFormatOf(probe, 7), 2);
}

// Answers of 0 to 300 bytes with any header: only the frame start, the query
// kind and the code of the query just sent, with room for what is read from
// them, make an answer.
TEST(UsbCommandFrameTest, OnlyAnAnswerToTheQuerySentCounts) {
  struct Code {
    uint8_t code;
    size_t needed;
  } codes[] = {{kUsbAnswerFormat, 7}, {kUsbWifiAddressBytes, 11}, {kUsbWiredAddress, 11}, {kUsbWifiAddressText, 5}};
  for (const Code& c : codes) {
    for (size_t size = 0; size <= 300; ++size) {
      Bytes answer(size, 0x07);
      const uint8_t header[] = {0x1B, 0xFF, 0xFE, kUsbKindQuery, c.code};
      std::copy(header, header + std::min<size_t>(size, 5), answer.begin());
      EXPECT_EQ(AnswersQuery(answer.data(), size, c.code), size >= c.needed) << int(c.code) << " " << size;
      for (size_t at = 0; at < std::min<size_t>(size, 5); ++at) {
        Bytes wrong = answer;
        wrong[at] ^= 0x01;
        EXPECT_FALSE(AnswersQuery(wrong.data(), size, c.code)) << int(c.code) << " " << size << " @" << at;
      }
    }
  }
  // The probe's answer read in place of the address's: the stale answer that
  // read "27.254.255.0" as an address.
  const uint8_t late[] = {0x1B, 0xFF, 0xFE, 0x02, 0x30, 0x01, 0x01, 0x1B, 0xFE, 0xFF, 0x00};
  EXPECT_FALSE(AnswersQuery(late, sizeof late, kUsbWifiAddressBytes));
  // A set command's echo is no answer to a query.
  const uint8_t echo[] = {0x1B, 0xFF, 0xFE, 0x01, 0x28, 0x04, 0x00, 192, 168, 1, 2};
  EXPECT_FALSE(AnswersQuery(echo, sizeof echo, kUsbWifiAddressBytes));
}

class UsbChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SimUsbPrinter p;
    p.instanceId = u"USB\\VID_2D37&PID_0220\\LX0001";
    p.devicePath = kPath;
    p.label.addressOnJoin = {192, 168, 1, 30};
    p.label.wiredAddress = {10, 0, 0, 7};
    machine.AttachUsbPrinter(p, 1);
    debugEnabled = 1;
  }
  void TearDown() override { debugEnabled = 0; }
  SimLabelPrinter& Label() { return machine.devices.printers[0].label; }
  bool Traced(const char16_t* line) { return proc->debug.Has(line); }
  // The virtual time `exchange` takes.
  template <typename F>
  uint64_t Took(F exchange) {
    uint64_t start = machine.clock.now;
    exchange();
    return machine.clock.now - start;
  }
  static constexpr const char16_t* kPath =
      u"\\\\?\\usb#vid_2d37&pid_0220#lx0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

  SimMachine machine;
  std::unique_ptr<SimProcess> proc = machine.StartProcess(u"C:\\Medium\\Setup\\Qelvin64.exe");
  const Os& os = proc->os;
};

TEST_F(UsbChannelTest, CredentialsReachThePrinterWhichThenReportsItsAddress) {
  uint64_t start = machine.clock.now;
  ASSERT_TRUE(SendWifiCredentials(os, kPath, u"Caf\u00E9 Lab", u"s3cret"));
  EXPECT_EQ(machine.clock.now - start, 1500u);
  EXPECT_EQ(Label().credentialsReceived, 1);
  EXPECT_EQ(Label().wifiName, "Caf\xC3\xA9 Lab");
  EXPECT_EQ(Label().wifiPassword, "s3cret");
  EXPECT_EQ(Label().writes.front(), WifiPreambleFrame());

  // Answer format 1: the address bytes; format 2: the address text.
  start = machine.clock.now;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"192.168.1.30");
  EXPECT_EQ(machine.clock.now - start, 400u);
  Label().answerFormat = 2;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"192.168.1.30");
  EXPECT_EQ(Label().writes.back(), QueryFrame(kUsbWifiAddressText));

  // The wired port is asked without the probe.
  size_t writes = Label().writes.size();
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWiredPort), u"10.0.0.7");
  EXPECT_EQ(Label().writes.size(), writes + 1);
  EXPECT_EQ(Label().writes.back(), QueryFrame(kUsbWiredAddress));
  // Any other mode asks for the WiFi address in bytes, without the probe.
  EXPECT_EQ(QueryPrinterAddress(os, kPath, 7), u"192.168.1.30");
  EXPECT_EQ(Label().writes.back(), QueryFrame(kUsbWifiAddressBytes));
  EXPECT_EQ(machine.deviceIo.OpenHandles(), 0u);  // every exchange closes its device
}

TEST_F(UsbChannelTest, PrintersThatSayTooLittleOrTooMuchGiveADefinedAddress) {
  Label().wifiAddress = {172, 16, 0, 9};
  Label().answers = SimLabelPrinter::Answer::kSilent;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"0.0.0.0");
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWiredPort), u"0.0.0.0");
  Label().answers = SimLabelPrinter::Answer::kShort;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"0.0.0.0");
  Label().answers = SimLabelPrinter::Answer::kTooLong;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"172.16.0.9");
  Label().answerFormat = 2;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"172.16.0.9");
  // A garbled probe answer is no format 2, and a garbled address no address.
  Label().answers = SimLabelPrinter::Answer::kGarbled;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"0.0.0.0");
  EXPECT_EQ(Label().writes.back(), QueryFrame(kUsbWifiAddressBytes));
  // Empty transfers, and an address answer cut before its last byte.
  Label().answers = SimLabelPrinter::Answer::kEmpty;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWiredPort), u"0.0.0.0");
  Label().answers = SimLabelPrinter::Answer::kWhole;
  Label().answerEveryQueryWith = Bytes{0x1B, 0xFF, 0xFE, 0x02, 0x0D, 0x04, 0x00, 10, 0, 0};
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWiredPort), u"0.0.0.0");
  EXPECT_TRUE(Traced(u"USB answer of 10 bytes passed over: not an answer to command 0D"));
  Label().answerEveryQueryWith.reset();

  // No device, or none at that path: nothing is sent.
  size_t writes = Label().writes.size();
  EXPECT_EQ(QueryPrinterAddress(os, u"", kAddressOfWifi), u"");
  EXPECT_EQ(QueryPrinterAddress(os, u"\\\\?\\usb#other", kAddressOfWifi), u"");
  EXPECT_FALSE(SendWifiCredentials(os, u"", u"Lab", u""));
  EXPECT_FALSE(SendWifiCredentials(os, kPath, u"", u"pw"));
  EXPECT_FALSE(SendWifiCredentials(os, u"\\\\?\\usb#other", u"Lab", u""));
  machine.devices.printers[0].present = false;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWiredPort), u"");
  EXPECT_EQ(Label().writes.size(), writes);
  EXPECT_EQ(machine.deviceIo.OpenHandles(), 0u);
}

// A printer that is silent, stuck or failing costs an exchange at most one
// second beyond its fixed pauses, and gives the "no answer" result.
TEST_F(UsbChannelTest, SilentStuckOrFailingPrintersEndTheExchangeInTime) {
  Label().wifiAddress = {172, 16, 0, 9};
  Label().answers = SimLabelPrinter::Answer::kSilent;
  EXPECT_EQ(Took([&] { EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"0.0.0.0"); }), 400u + 1000u);
  EXPECT_EQ(Took([&] { EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWiredPort), u"0.0.0.0"); }), 200u + 500u);
  Label().answerFormat = 2;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"0.0.0.0");  // no probe answer: format 1
  EXPECT_TRUE(Traced(u"USB read for command 30 failed: error 995"));

  // Stuck: the first write is cancelled at its limit, and nothing follows it.
  Label().blocks = true;
  size_t written = Label().writes.size();
  EXPECT_EQ(Took([&] { EXPECT_FALSE(SendWifiCredentials(os, kPath, u"Lab", u"pw")); }), 500u);
  EXPECT_EQ(Took([&] { EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"0.0.0.0"); }), 500u);
  EXPECT_EQ(Label().writes.size(), written);
  EXPECT_TRUE(Traced(u"USB write of command 30 failed: 0 of 10 bytes, error 995"));
  Label().blocks = false;

  // A failed write is no hand-over, and the query after a failed probe is not sent.
  Label().answers = SimLabelPrinter::Answer::kWhole;
  Label().failingWrites = 1;
  EXPECT_FALSE(SendWifiCredentials(os, kPath, u"Lab", u"pw"));
  EXPECT_EQ(Label().credentialsReceived, 0);
  Label().failingWrites = 1;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"0.0.0.0");
  EXPECT_EQ(Label().writes.size(), written);
  Label().failingWrites = 1;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWiredPort), u"0.0.0.0");
  // The credentials that do not go out after the preamble did.
  machine.clock.After(500, [&] { Label().failingWrites = 1; });
  EXPECT_FALSE(SendWifiCredentials(os, kPath, u"Lab", u"pw"));
  EXPECT_EQ(Label().credentialsReceived, 0);
  EXPECT_EQ(Label().writes.size(), written + 1);
  // Once the printer takes writes again, the hand-over goes through.
  EXPECT_TRUE(SendWifiCredentials(os, kPath, u"Lab", u"pw"));
  EXPECT_EQ(Label().credentialsReceived, 1);

  // A failed read leaves no byte of what the driver put in the buffer: here
  // the very answer, which must not be taken all the same.
  Label().failingReads = 1;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWiredPort), u"0.0.0.0");
  Label().answerFormat = 2;
  Label().failingReads = 2;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"0.0.0.0");
  Label().answerFormat = 1;
  Label().failingReads = 1;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"192.168.1.30");  // only the probe's read failed

  // Slow writes and no answers: the second shared by all the I/O runs out
  // at the address query, which is then cancelled.
  Label().answers = SimLabelPrinter::Answer::kSilent;
  Label().writeTakesMs = 400;
  EXPECT_EQ(Took([&] { EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"0.0.0.0"); }), 200u + 1000u);
  EXPECT_EQ(Label().writes.back(), QueryFrame(kUsbAnswerFormat));
  // Two slow writes still fit in the second.
  EXPECT_EQ(Took([&] { EXPECT_TRUE(SendWifiCredentials(os, kPath, u"Lab", u"pw")); }), 1500u + 800u);
  // No limit beyond half a second.
  for (uint32_t limit : machine.deviceIo.timeouts) EXPECT_LE(limit, 500u);
  EXPECT_EQ(machine.deviceIo.OpenHandles(), 0u);
}

// Late, doubled and overlong answers leave bytes that a later read finds;
// they are passed over, never read as the address asked for.
TEST_F(UsbChannelTest, StaleAnswersArePassedOver) {
  Label().wifiAddress = {192, 168, 1, 30};
  Label().wiredAddress = {10, 0, 0, 7};
  // Late within the limits: each answer is waited for.
  Label().answerDelayMs = 600;
  EXPECT_EQ(Took([&] { EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"192.168.1.30"); }), 1200u);
  // Later: the probe's answer comes while the address is awaited and is not
  // taken for it ("27.254.255.0"); the address comes too late.
  Label().answerDelayMs = 800;
  EXPECT_EQ(Took([&] { EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"0.0.0.0"); }), 1400u);
  EXPECT_TRUE(Traced(u"USB answer of 10 bytes passed over: not an answer to command 28"));
  // Its address answer, still unread, is no answer to the wired query.
  Label().answerDelayMs = 0;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWiredPort), u"10.0.0.7");
  Label().pending.clear();

  // Every answer twice: the copies are passed over, in this exchange and the next.
  Label().answersTwice = true;
  Label().answerFormat = 2;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"192.168.1.30");
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWiredPort), u"10.0.0.7");
  Label().answersTwice = false;
  Label().pending.clear();

  // Answers longer than the buffer leave a tail for the next read.
  Label().answers = SimLabelPrinter::Answer::kTooLong;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"192.168.1.30");
  EXPECT_FALSE(Label().pending.empty());
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWiredPort), u"10.0.0.7");
  Label().answerFormat = 1;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"192.168.1.30");
  EXPECT_EQ(machine.deviceIo.OpenHandles(), 0u);
}

}  // namespace
}  // namespace lx
