#include "plugin/pages/tests/page_rig.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/text.h"

namespace lx::testing {

namespace {

std::string ResPath(const std::string& name) { return std::string(LX_PLUGIN_RES_DIR) + "/" + name; }

}  // namespace

const RcScripts& PluginScripts() {
  static const RcScripts scripts = [] {
    RcScripts s;
    EXPECT_TRUE(s.ReadDefines(ResPath("resource_ids.h")));
    EXPECT_TRUE(s.ReadDialogs(ResPath("dialogs.rci")));
    EXPECT_TRUE(s.ReadBitmaps(ResPath("lx220uibmp.rc")));
    return s;
  }();
  return scripts;
}

// The module's texts are "#define S_<id> "text"" lines.
const std::map<unsigned, std::u16string>& ModuleTexts(const std::string& language) {
  static std::map<std::string, std::map<unsigned, std::u16string>> cache;
  auto it = cache.find(language);
  if (it != cache.end()) return it->second;
  std::map<unsigned, std::u16string>& texts = cache[language];
  std::ifstream in(ResPath("texts/" + language + ".rci"));
  EXPECT_TRUE(in.good()) << language;
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, 10, "#define S_") != 0) continue;
    size_t open = line.find('"'), close = line.rfind('"');
    if (open == std::string::npos || close <= open) continue;
    std::string text;
    for (size_t i = open + 1; i < close; ++i) {
      if (line[i] == '\\' && i + 1 < close) ++i;
      text += line[i];
    }
    texts[static_cast<unsigned>(std::stoul(line.substr(10)))] = Utf8ToUtf16(text);
  }
  return texts;
}

PageContextHeap CountingHeap::heap() {
  PageContextHeap h;
  h.state = this;
  h.allocate = [](void* state, size_t size) -> void* {
    auto* self = static_cast<CountingHeap*>(state);
    if (self->refuse) return nullptr;
    ++self->allocated;
    return ::operator new(size);
  };
  h.free = [](void* state, void* block) {
    ++static_cast<CountingHeap*>(state)->freed;
    ::operator delete(block);
  };
  return h;
}

PageRig::PageRig()
    : papers(world.LoadModule()), options([](unsigned id) {
        const auto& texts = ModuleTexts("enus");
        auto it = texts.find(id);
        return it == texts.end() ? std::u16string() : it->second;
      }) {
  publicDm.dmSize = sizeof(DEVMODEW);
  publicDm.dmPaperSize = 121;  // 4_x_6
  publicDm.dmCollate = 1;
  DefaultPrivateDevmode(live);
}

PageRig::~PageRig() {
  sheet.reset();
  pages.clear();
  for (PrinterHandle h : handles) world.machine.spooler.Close(h);
}

std::u16string PageRig::Text(unsigned id) const {
  const auto& texts = ModuleTexts("enus");
  auto it = texts.find(id);
  return it == texts.end() ? std::u16string() : it->second;
}

DocumentSheetInput PageRig::Input(const std::u16string& printer) {
  PrinterHandle handle = 0;
  EXPECT_TRUE(world.machine.spooler.Open(printer, kPrinterAccessUse, handle));
  handles.push_back(handle);
  DocumentSheetInput in;
  in.printer = handle;
  in.publicDm = &publicDm;
  in.live = &live;
  in.features = &features;
  in.core = &core;
  in.env = &env;
  in.heap = heap.heap();
  PageModule& m = in.module;
  m.platform = &papers->platform;
  m.papers = papers.get();
  m.options = &options;
  m.text = [this](unsigned id) { return Text(id); };
  m.unitText = Text(37);
  m.driverDirectory = u"C:\\Windows\\System32\\spool\\drivers\\x64";
  m.helpFileName = u"lx220uienus.chm";
  m.configModelClass = configModelClass;
  m.configPath = configPath;
  m.uiLanguage = uiLanguage;
  return in;
}

DocumentPagesResult PageRig::Open(const std::u16string& printer) {
  sheet.reset();
  pages.clear();
  sheet = std::make_unique<FakePropertySheet>(PluginScripts());
  return BuildDocumentPages(Input(printer), [this](std::unique_ptr<IPropertyPage> page, unsigned) -> intptr_t {
    IPropertyPage& p = *page;
    pages.push_back(std::move(page));
    return sheet->AddPage(p) ? static_cast<intptr_t>(pages.size()) : 0;
  });
}

OtherSheet::OtherSheet() {
  publicDm.dmSize = sizeof(DEVMODEW);
  publicDm.dmPaperSize = 121;
  publicDm.dmCollate = 1;
  DefaultPrivateDevmode(live);
}

FakeDialog& OtherSheet::Tab(int index) {
  EXPECT_TRUE(sheet->SelectTab(index));
  return sheet->Current();
}

DocumentPagesResult PageRig::OpenOther(OtherSheet& other, const std::u16string& printer) {
  other.sheet = std::make_unique<FakePropertySheet>(PluginScripts());
  DocumentSheetInput in = Input(printer);
  in.publicDm = &other.publicDm;
  in.live = &other.live;
  in.features = &other.features;
  return BuildDocumentPages(in, [&other](std::unique_ptr<IPropertyPage> page, unsigned) -> intptr_t {
    IPropertyPage& p = *page;
    other.pages.push_back(std::move(page));
    return other.sheet->AddPage(p) ? static_cast<intptr_t>(other.pages.size()) : 0;
  });
}

void PageRig::NewProcess() {
  sheet.reset();
  pages.clear();
  features = FeatureSet{};
  papers = world.LoadModule();
}

}  // namespace lx::testing
