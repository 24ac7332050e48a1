// A document sheet in a host test: a simulated machine with two label
// printers, the plug-in's paper module, a core driver's feature table, the
// real templates and English texts of the language module, and the
// in-memory property sheet the pages are added to.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "plugin/core/option_table.h"
#include "plugin/pages/document_pages.h"
#include "plugin/pages/tests/fake_page_environment.h"
#include "plugin/papers/tests/paper_world.h"
#include "plugin/tests/fake_feature_core.h"
#include "ui/fake/fake_property_sheet.h"

namespace lx::testing {

// The language module's templates and the bitmap module's pictures.
const RcScripts& PluginScripts();
// The texts of a language module (such as "enus") by string id.
const std::map<unsigned, std::u16string>& ModuleTexts(const std::string& language);

// A heap that can be told to refuse, and counts what it hands out.
struct CountingHeap {
  bool refuse = false;
  int allocated = 0;
  int freed = 0;
  PageContextHeap heap();
};

// Another sheet open at the same time in the same process, with its own
// DEVMODE parts and features.
struct OtherSheet {
  OtherSheet();
  FakeDialog& Tab(int index);
  DEVMODEW publicDm{};
  PrivateDevmode live{};
  FeatureSet features;
  std::vector<std::unique_ptr<IPropertyPage>> pages;  // outlive the sheet
  std::unique_ptr<FakePropertySheet> sheet;
};

struct PageRig {
  PageRig();
  ~PageRig();

  // The sheet for `printer`: its context and pages, the sheet opened on the
  // first page. The DEVMODE parts stay the rig's.
  DocumentPagesResult Open(const std::u16string& printer = test::kPrinter);
  // The sheet is closed with OK, Cancel or not at all; a new process loads
  // the paper module afresh.
  void NewProcess();
  // A second sheet for `printer` beside the rig's own, in the same process.
  DocumentPagesResult OpenOther(OtherSheet& other, const std::u16string& printer);
  FakeDialog& Page() { return sheet->Current(); }
  std::u16string Text(unsigned id) const;
  DocumentSheetInput Input(const std::u16string& printer);

  test::PaperWorld world;
  std::unique_ptr<PaperContext> papers;
  FakeFeatureCore core;
  OptionTable options;
  FeatureSet features;
  FakePageEnvironment env{PluginScripts()};
  CountingHeap heap;
  DEVMODEW publicDm{};
  PrivateDevmode live{};
  int configModelClass = 0;  // the configuration's Type, as a class
  std::u16string configPath;  // the driver's configuration file, for the About texts
  int uiLanguage = 0;
  std::vector<PrinterHandle> handles;
  std::vector<std::unique_ptr<IPropertyPage>> pages;  // outlive the sheet
  std::unique_ptr<FakePropertySheet> sheet;
};

}  // namespace lx::testing
