// Checks the licence and privacy documents of the medium the way the welcome
// pages use them: every UI language folder has both documents in RTF and PDF
// form, and each RTF file streams into a rich edit control as readable text.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

const char* const kFolders[] = {"English", "Simplified_Chinese", "Russian", "Japanese", "Traditional_Chinese",
                                "Italian", "Spanish", "Turkish", "Polish", "Thailand",
                                "Portugal", "German", "French", "Dutch"};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return in ? s.str() : std::string();
}

std::string DocPath(const char* folder, const char* file) {
  return std::string(LX_MEDIUM_SETUP_DIR) + "/" + folder + "/" + file;
}

struct StreamSource {
  const std::string* data;
  size_t pos;
};

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
  auto* src = reinterpret_cast<StreamSource*>(cookie);
  size_t n = std::min(static_cast<size_t>(size), src->data->size() - src->pos);
  std::memcpy(buffer, src->data->data() + src->pos, n);
  src->pos += n;
  *done = static_cast<LONG>(n);
  return 0;
}

TEST(MediumDocuments, EveryLanguageHasBothDocumentsInBothForms) {
  for (const char* folder : kFolders) {
    for (const char* file : {"licence.rtf", "privacy.rtf"}) {
      std::string rtf = ReadAll(DocPath(folder, file));
      ASSERT_EQ(rtf.rfind("{\\rtf1", 0), 0u) << folder << "/" << file;
      // Plain 7-bit text: the reader never depends on a code page.
      for (unsigned char c : rtf) ASSERT_LT(c, 0x80) << folder << "/" << file;
    }
    for (const char* file : {"licence.pdf", "privacy.pdf"}) {
      std::string pdf = ReadAll(DocPath(folder, file));
      ASSERT_EQ(pdf.rfind("%PDF-", 0), 0u) << folder << "/" << file;
      EXPECT_NE(pdf.find("%%EOF"), std::string::npos) << folder << "/" << file;
    }
  }
}

TEST(MediumDocuments, RtfStreamsIntoRichEditAsText) {
  ASSERT_NE(LoadLibraryW(L"riched20.dll"), nullptr);
  HWND view = CreateWindowExW(0, L"RichEdit20W", L"", WS_POPUP | ES_MULTILINE | ES_READONLY, 0, 0, 300, 300,
                              nullptr, nullptr, nullptr, nullptr);
  if (!view) GTEST_SKIP() << "no display for windows";
  for (const char* folder : kFolders) {
    for (const char* file : {"licence.rtf", "privacy.rtf"}) {
      std::string rtf = ReadAll(DocPath(folder, file));
      StreamSource src{&rtf, 0};
      EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&src), 0, ReadChunk};
      SendMessageW(view, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
      EXPECT_EQ(es.dwError, 0u) << folder << "/" << file;
      std::wstring text(static_cast<size_t>(GetWindowTextLengthW(view)) + 1, L'\0');
      text.resize(static_cast<size_t>(GetWindowTextW(view, text.data(), static_cast<int>(text.size()))));
      EXPECT_NE(text.find(L"Label Printer Driver"), std::wstring::npos) << folder << "/" << file;
      // A '?' would be the fallback of a \uN escape the reader did not take.
      EXPECT_EQ(text.find(L'?'), std::wstring::npos) << folder << "/" << file;
      EXPECT_GT(text.size(), 200u) << folder << "/" << file;
      if (std::string(folder) != "English") {
        size_t foreign = 0;
        for (wchar_t c : text) foreign += c > 0x7F;
        EXPECT_GT(foreign, 0u) << folder << "/" << file << " holds no translated text";
      }
    }
  }
  DestroyWindow(view);
}

}  // namespace
