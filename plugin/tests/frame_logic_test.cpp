#include "plugin/core/frame_logic.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "plugin/core/private_devmode.h"
#include "plugin/tests/expected_default_devmode.h"

namespace lx {
namespace {

TEST(GetInfo, AnswersSignatureVersionAndHelperRequest) {
  DWORD value = 0, needed = 0;
  FrameResult r = AnswerGetInfo(OEMGI_GETSIGNATURE, &value, 4, &needed);
  EXPECT_EQ(S_OK, r.hr);
  EXPECT_EQ(0x515A4C31u, value);
  EXPECT_EQ(4u, needed);
  EXPECT_EQ(S_OK, AnswerGetInfo(OEMGI_GETVERSION, &value, 4, &needed).hr);
  EXPECT_EQ(1u, value);
  EXPECT_EQ(S_OK, AnswerGetInfo(OEMGI_GETREQUESTEDHELPERINTERFACES, &value, 8, &needed).hr);
  EXPECT_EQ(static_cast<DWORD>(OEMPUBLISH_IPRINTCOREHELPER), value);
}

TEST(GetInfo, RefusesOtherModesAndSmallBuffers) {
  DWORD value = 7, needed = 0;
  for (DWORD mode : {0u, 2u, 4u, 6u}) {
    FrameResult r = AnswerGetInfo(mode, &value, 4, &needed);
    EXPECT_EQ(E_FAIL, r.hr);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), r.lastError);
  }
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER),
            AnswerGetInfo(OEMGI_GETSIGNATURE, &value, 4, nullptr).lastError);
  FrameResult small = AnswerGetInfo(OEMGI_GETVERSION, &value, 3, &needed);
  EXPECT_EQ(E_FAIL, small.hr);
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), small.lastError);
  EXPECT_EQ(4u, needed);
  EXPECT_EQ(7u, value);
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER),
            AnswerGetInfo(OEMGI_GETVERSION, nullptr, 4, &needed).lastError);
}

// A DEVMODE as the core driver lays it out: public part, a private part of
// the core driver, the plug-in's part at the end.
struct Layout {
  static constexpr size_t kCorePart = 40;
  std::vector<uint8_t> bytes = std::vector<uint8_t>(sizeof(DEVMODEW) + kCorePart + 148);
  DEVMODEW* pub() { return reinterpret_cast<DEVMODEW*>(bytes.data()); }
  uint8_t* plugin() { return bytes.data() + sizeof(DEVMODEW) + kCorePart; }
  Layout() {
    pub()->dmSize = sizeof(DEVMODEW);
    pub()->dmDriverExtra = kCorePart + 148;
  }
};

TEST(DevMode, SizeDefaultAndRefusals) {
  OEMDMPARAM param{};
  EXPECT_EQ(S_OK, AnswerDevMode(OEMDM_SIZE, &param, nullptr).hr);
  EXPECT_EQ(148u, param.cbBufSize);
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), AnswerDevMode(5, &param, nullptr).lastError);
  EXPECT_EQ(E_FAIL, AnswerDevMode(0, &param, nullptr).hr);
  EXPECT_EQ(E_FAIL, AnswerDevMode(OEMDM_SIZE, nullptr, nullptr).hr);
  // No output record to write into: refused instead of written through null.
  EXPECT_EQ(E_FAIL, AnswerDevMode(OEMDM_DEFAULT, &param, nullptr).hr);
  EXPECT_EQ(E_FAIL, AnswerDevMode(OEMDM_CONVERT, &param, nullptr).hr);
  EXPECT_EQ(S_OK, AnswerDevMode(OEMDM_MERGE, &param, nullptr).hr);  // merge does nothing
}

TEST(DevMode, DefaultWritesBothParts) {
  Layout out;
  out.pub()->dmOrientation = 2;
  OEMDMPARAM param{};
  param.pPublicDMOut = out.pub();
  param.pOEMDMOut = out.plugin();
  ASSERT_EQ(S_OK, AnswerDevMode(OEMDM_DEFAULT, &param, nullptr).hr);
  EXPECT_EQ(0, std::memcmp(out.plugin(), testing::ExpectedDefaultPrivateDevmode().data(), 148));
  EXPECT_EQ(DMORIENT_PORTRAIT, out.pub()->dmOrientation);
  EXPECT_NE(0u, out.pub()->dmFields & DM_ORIENTATION);
  EXPECT_EQ(220, out.pub()->dmSize);
  EXPECT_EQ(148, out.pub()->dmDriverExtra);
}

TEST(DevMode, ConvertReadsOnlyWhatTheInputDevmodeHolds) {
  Layout in, out;
  PrivateDevmode record;
  std::memset(&record, 0, sizeof record);
  DefaultPrivateDevmode(record);
  record.mirror = 1;
  record.postAction = 3;
  std::memcpy(in.plugin(), &record, sizeof record);
  // The input DEVMODE says its private parts end 0x18 bytes into ours.
  in.pub()->dmDriverExtra = Layout::kCorePart + 0x18;
  EXPECT_EQ(0x18u, PrivateInputAvailable(in.pub(), in.plugin()));

  OEMDMPARAM param{};
  param.pPublicDMIn = in.pub();
  param.pOEMDMIn = in.plugin();
  param.pPublicDMOut = out.pub();
  param.pOEMDMOut = out.plugin();
  DefaultPrivateDevmode(*reinterpret_cast<PrivateDevmode*>(out.plugin()));
  ASSERT_EQ(S_OK, AnswerDevMode(OEMDM_CONVERT, &param, nullptr).hr);
  const auto* converted = reinterpret_cast<const PrivateDevmode*>(out.plugin());
  EXPECT_EQ(1, converted->mirror);
  EXPECT_EQ(1, converted->postAction);  // beyond what the input holds: default

  EXPECT_EQ(148u, PrivateInputAvailable(nullptr, in.plugin()));
  EXPECT_EQ(0u, PrivateInputAvailable(in.pub(), nullptr));
}

TEST(HideStandardUI, OnlyForTheTwoSheets) {
  EXPECT_EQ(S_OK, AnswerHideStandardUI(OEMCUIP_DOCPROP));
  EXPECT_EQ(S_OK, AnswerHideStandardUI(OEMCUIP_PRNPROP));
  EXPECT_EQ(E_NOTIMPL, AnswerHideStandardUI(3));
  EXPECT_EQ(E_NOTIMPL, AnswerHideStandardUI(0));
}

PROPSHEETUI_INFO Info(WORD reason) {
  PROPSHEETUI_INFO info{};
  info.cbSize = sizeof info;
  info.Version = PROPSHEETUI_INFO_VERSION;
  info.Reason = reason;
  info.Result = 12345;
  return info;
}

TEST(PropertySheets, Reasons) {
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER),
            AnswerPropertySheets(nullptr, 0, nullptr).lastError);
  PROPSHEETUI_INFO old = Info(PROPSHEETUI_REASON_DESTROY);
  old.Version = 0x0200;
  EXPECT_EQ(E_FAIL, AnswerPropertySheets(&old, 0, nullptr).hr);
  EXPECT_EQ(12345u, old.Result);

  PROPSHEETUI_INFO_HEADER header{};
  PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_GET_INFO_HEADER);
  EXPECT_EQ(S_OK, AnswerPropertySheets(&info, reinterpret_cast<LPARAM>(&header), nullptr).hr);
  EXPECT_EQ(1u, info.Result);
  ASSERT_NE(nullptr, header.pTitle);
  EXPECT_EQ(0, std::memcmp(header.pTitle, kSheetTitle, sizeof kSheetTitle));
  EXPECT_EQ('K', header.pTitle[0]);
  EXPECT_EQ(0, header.pTitle[9]);

  SETRESULT_INFO set{};
  set.Result = 77;
  info = Info(PROPSHEETUI_REASON_SET_RESULT);
  AnswerPropertySheets(&info, reinterpret_cast<LPARAM>(&set), nullptr);
  EXPECT_EQ(77u, info.Result);

  info = Info(4);
  AnswerPropertySheets(&info, 0, nullptr);
  EXPECT_EQ(0u, info.Result);
  for (WORD reason : {WORD(2), WORD(5), WORD(9)}) {
    info = Info(reason);
    EXPECT_EQ(S_OK, AnswerPropertySheets(&info, 0, nullptr).hr);
    EXPECT_EQ(1u, info.Result) << reason;
  }
}

TEST(PropertySheets, InitReportsThePagesOutcome) {
  PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT);
  int calls = 0;
  auto added = [&](PROPSHEETUI_INFO&) {
    ++calls;
    return PageAddOutcome{S_OK, true, 4711};
  };
  EXPECT_EQ(S_OK, AnswerPropertySheets(&info, 0, added).hr);
  EXPECT_EQ(1, calls);
  EXPECT_EQ(4711u, info.Result);

  info = Info(PROPSHEETUI_REASON_INIT);
  auto failed = [](PROPSHEETUI_INFO&) { return PageAddOutcome{S_OK, false, 0}; };
  EXPECT_EQ(S_OK, AnswerPropertySheets(&info, 0, failed).hr);
  EXPECT_EQ(12345u, info.Result);

  auto noMemory = [](PROPSHEETUI_INFO&) { return PageAddOutcome{E_OUTOFMEMORY, false, 0}; };
  EXPECT_EQ(E_OUTOFMEMORY, AnswerPropertySheets(&info, 0, noMemory).hr);
}

TEST(PropertySheets, PageTitlesShowWhatAThirtyTwoCharacterBufferHolds) {
  // A translation longer than the tab allows is cut, not refused.
  const std::u16string longer = u"Параметры печати и обработки изображения";  // 40
  ASSERT_EQ(longer.size(), 40u);
  EXPECT_EQ(PageTitle(longer), longer.substr(0, 31));
  const std::u16string fits = u"Print parameters and image opts";  // 31
  ASSERT_EQ(fits.size(), 31u);
  EXPECT_EQ(PageTitle(fits), fits);
  EXPECT_EQ(PageTitle(fits + u"!"), fits);
  EXPECT_EQ(PageTitle(u""), u"");
}

std::vector<uint8_t> FilterBuffer(UINT allocated) {
  std::vector<uint8_t> buffer(offsetof(DOCEVENT_FILTER, aDocEventCall) + 4 * 10, 0xEE);
  auto* f = reinterpret_cast<DOCEVENT_FILTER*>(buffer.data());
  f->cbSize = static_cast<UINT>(buffer.size());
  f->cElementsAllocated = allocated;
  f->cElementsNeeded = 0;
  f->cElementsReturned = 0;
  return buffer;
}

TEST(DocumentEvent, QueryFilterListsTheEventsWithinTheBuffer) {
  std::vector<uint8_t> buffer = FilterBuffer(10);
  int result = 0;
  EXPECT_EQ(S_FALSE, AnswerDocumentEvent(DOCUMENTEVENT_QUERYFILTER, static_cast<ULONG>(buffer.size()),
                                         buffer.data(), &result));
  EXPECT_EQ(DOCUMENTEVENT_SUCCESS, result);
  auto* f = reinterpret_cast<DOCEVENT_FILTER*>(buffer.data());
  const DWORD expected[] = {7, 3, 4, 5, 5, 6, 7, 8};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(expected[i], f->aDocEventCall[i]) << i;
  EXPECT_EQ(0xEEEEEEEEu, f->aDocEventCall[8]);
  EXPECT_EQ(0u, f->cElementsReturned);  // counters stay as the spooler set them
  EXPECT_EQ(10u, f->cElementsAllocated);

  // A filter with room for three calls gets three.
  std::vector<uint8_t> small = FilterBuffer(3);
  AnswerDocumentEvent(DOCUMENTEVENT_QUERYFILTER, static_cast<ULONG>(small.size()), small.data(), &result);
  auto* s = reinterpret_cast<DOCEVENT_FILTER*>(small.data());
  EXPECT_EQ(4u, s->aDocEventCall[2]);
  EXPECT_EQ(0xEEEEEEEEu, s->aDocEventCall[3]);
  // A buffer shorter than its claimed allocation bounds the writes too.
  std::vector<uint8_t> shortBuffer = FilterBuffer(10);
  AnswerDocumentEvent(DOCUMENTEVENT_QUERYFILTER, offsetof(DOCEVENT_FILTER, aDocEventCall) + 8,
                      shortBuffer.data(), &result);
  EXPECT_EQ(0xEEEEEEEEu, reinterpret_cast<DOCEVENT_FILTER*>(shortBuffer.data())->aDocEventCall[2]);
}

TEST(DocumentEvent, ResultValues) {
  for (int event = 0; event <= 16; ++event) {
    int result = 0;
    HRESULT hr = AnswerDocumentEvent(event, 0, nullptr, &result);
    bool falseOnes = event == 1 || event == 5 || event == 6 || event == 7 || event == 13 ||
                     event == 14;
    EXPECT_EQ(falseOnes ? S_FALSE : S_OK, hr) << event;
    EXPECT_EQ(1, result);
  }
  EXPECT_EQ(S_OK, AnswerDocumentEvent(2, 0, nullptr, nullptr));
}

}  // namespace
}  // namespace lx
