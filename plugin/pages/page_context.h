// What one document property sheet's pages share: the DEVMODE parts they
// edit, the backup they compare with, the features, the printer's label
// sizes, the sheet's environment and the module facts the pages show. It is
// made when the sheet is built and lives until its last page is released.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/spooler.h"
#include "plugin/core/features.h"
#include "plugin/core/option_table.h"
#include "plugin/core/plugin_platform.h"
#include "plugin/core/private_devmode.h"
#include "plugin/oem/oem_types.h"
#include "plugin/pages/page_environment.h"
#include "plugin/papers/paper_persistence.h"
#include "ui/property_page.h"

namespace lx {

// pfnComPropSheet's CPSUI_OK.
inline constexpr intptr_t kCpsuiOk = 1;
inline constexpr size_t kPageContextPrinterChars = 128;  // 127 characters and the NUL

// What the loaded module knows that the pages need. The DLL fills it from
// its module context, host tests from the simulated machine.
struct PageModule {
  const PluginPlatform* platform = nullptr;  // spooler for the printer's names, profile, trace
  PaperContext* papers = nullptr;            // the module's label sizes
  const OptionTable* options = nullptr;
  std::function<std::u16string(unsigned id)> text;  // string of the resource module, empty when absent
  std::u16string unitText = u"mm";
  std::u16string driverDirectory;  // GetPrinterDriverDirectoryW
  std::u16string helpFileName;     // such as lx220uienus.chm
  std::u16string configPath;       // the driver's configuration file (About texts)
  int uiLanguage = 0;
  int configModelClass = 0;        // the configuration file's Type, as a class
};

// Where a context's memory comes from: the core driver's OEM heap in the
// DLL. Allocate answers zero-filled memory or null.
struct PageContextHeap {
  void* state = nullptr;
  void* (*allocate)(void* state, size_t size) = nullptr;
  void (*free)(void* state, void* block) = nullptr;
};
// operator new / delete, for host tests that need no failing heap.
PageContextHeap ProcessPageContextHeap();

struct DocumentSheetInput;

class PageContext {
 public:
  PageContext() = default;
  PageContext(const PageContext&) = delete;
  PageContext& operator=(const PageContext&) = delete;

  PrivateDevmode* live = nullptr;  // the core driver's private part, edited in place
  PrivateDevmode copy{};           // the backup's storage
  PrivateDevmode& backup() { return copy; }
  FeatureSet* features = nullptr;
  PrinterHandle printer = 0;
  DEVMODEW* publicDm = nullptr;
  std::u16string printerName;  // at most 127 characters
  PaperStore* papers = nullptr;  // the printer's label sizes; read only under LockPapers()
  IPageEnvironment* env = nullptr;
  PageModule module;

  // This sheet's printer's class, fixed when the sheet is built.
  int modelClass() const { return modelClass_; }
  std::u16string Text(unsigned id) const { return module.text ? module.text(id) : std::u16string(); }
  // The module's paper lock, held while a page reads or changes `papers`;
  // an empty lock when the module has no papers.
  PaperLock LockPapers() const { return module.papers ? lx::LockPapers(*module.papers) : PaperLock(); }
  void Trace(const std::u16string& line) const {
    if (module.platform) lx::Trace(*module.platform, line);
  }
  // "%s\3\%s": the driver directory and the help file of the UI language.
  std::u16string HelpFilePath() const;

  // Each page holds one reference from its making to its release, and the
  // builder one while it adds the pages; the last one frees the context.
  void AddRef() { ++pageRefs_; }
  void Release();
  int32_t pageRefs() const { return pageRefs_; }

 private:
  friend PageContext* CreatePageContext(const PageContextHeap& heap);
  friend PageContext* PrepareDocumentSheet(const DocumentSheetInput& input);
  int32_t pageRefs_ = 0;
  PageContextHeap heap_;
  int modelClass_ = 0;
};

// A context with one reference (the caller's) in memory of `heap`; null
// when the heap has none.
PageContext* CreatePageContext(const PageContextHeap& heap);

// What the sheet hands over at its INIT (OEMUIPSPARAM and the plug-in object).
struct DocumentSheetInput {
  PrinterHandle printer = 0;
  DEVMODEW* publicDm = nullptr;
  PrivateDevmode* live = nullptr;  // pOEMDM
  FeatureSet* features = nullptr;
  IFeatureCore* core = nullptr;
  IPageEnvironment* env = nullptr;
  PageModule module;
  PageContextHeap heap;
};

// Makes a sheet's context: its model class (from the configuration's class
// and the printer's driver name, for this sheet alone), the
// printer's name, the features (read once per object), the live part's
// collate and reserved1C, the trace line, the paper the public DEVMODE names
// as the live paperId, the backup and the bitmap cache. Null when the heap
// is out of memory (E_OUTOFMEMORY). The caller holds one reference.
PageContext* PrepareDocumentSheet(const DocumentSheetInput& input);

}  // namespace lx
