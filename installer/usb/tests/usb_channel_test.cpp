#include <gtest/gtest.h>

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
  EXPECT_EQ(AnswerFormatOf(bytes, 6), 0);  // too short to hold the format
  EXPECT_EQ(AnswerFormatOf(bytes, 7), 0x00);
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
  }
  SimLabelPrinter& Label() { return machine.devices.printers[0].label; }
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
  // A garbled probe answer is no format 2; the garbled address bytes are read as they come.
  Label().answers = SimLabelPrinter::Answer::kGarbled;
  EXPECT_EQ(QueryPrinterAddress(os, kPath, kAddressOfWifi), u"246.74.90.83");
  EXPECT_EQ(Label().writes.back(), QueryFrame(kUsbWifiAddressBytes));

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

}  // namespace
}  // namespace lx
