// Where a printer's label sizes live: the printer's own data when the
// printer can be opened for full access, else its section of one INI file
// shared by every printer. One store per printer within a loaded module.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/core/plugin_platform.h"
#include "plugin/papers/paper_hex.h"
#include "plugin/papers/paper_store.h"

namespace lx {

// The module's papers: the platform, the shared file's name and a store for
// each printer opened so far, told apart by the store's printer name
// without regard to case, as Windows compares printer names. The stores read spooler,
// files, system, security and the trace of the platform.
//
// Threads: the spooler, splwow64 and applications call the module from
// several threads at once. One plain (not recursive) mutex, `lock`, guards
// the store list, every store's records, index and dirty flag, and the
// stored forms (printer data, the shared file) while a store loads or saves.
// Only the entry points take it: the capability answers, the merge's
// lookup, the printer events and the pages around each store access. The
// functions declared here expect it held and never take it, so that no
// path takes it twice; nothing that waits for a user (a modal dialog, a
// message box) runs under it. Stores are never removed, so a store pointer
// stays valid after the lock is let go, but its records do not: re-find a
// record by number under the lock each time.
struct PaperContext {
  PaperContext(const PluginPlatform& p, std::u16string fileName)
      : platform(p), paperFileName(std::move(fileName)) {}
  PluginPlatform platform;
  std::u16string paperFileName;  // the module's PaperFileName, such as lx220uip.ini
  std::vector<std::unique_ptr<PaperStore>> stores;  // a process serves few printers
  std::mutex lock;
};

using PaperLock = std::unique_lock<std::mutex>;
inline PaperLock LockPapers(PaperContext& context) { return PaperLock(context.lock); }

// The store of `printerName`: created and loaded at the first call for that
// printer, the same store at every later one. An application or the spooler
// serving several label printers keeps each printer's sizes apart.
PaperStore& OpenPaperStore(PaperContext& context, const std::u16string& printerName);
// The store of `printerName` when it has been opened, else null.
PaperStore* FindOpenPaperStore(PaperContext& context, std::u16string_view printerName);
// Writes the block to the printer data, or to the shared file when the
// printer cannot be opened for full access. The dirty flag is left alone.
// The file form holds at most 33 records: a larger store is not written
// there (false), so that no cut block is ever read back as the list.
bool SavePaperStore(PaperContext& context, const PaperStore& store);

// Clears dirty unless `keepDirty`; saves when the store had records and was
// dirty, or when forced. True when nothing needed saving. A save that fails
// leaves the store dirty, so that a later save still writes the changes.
bool SavePaperStoreIfChanged(PaperContext& context, PaperStore& store, bool force, bool keepDirty);

// <common application data>\ZORVIKA\LX-220\<paper file name>; nothing is
// created, and nothing when the common folder is unknown. Only the checked
// handles of paper_shared_file touch the file.
std::optional<std::u16string> PaperFilePath(PaperContext& context);

// The largest store the shared file takes whole.
inline constexpr size_t kPaperFileRecords = kPaperHexChars / 2 / sizeof(PaperRecord);
static_assert(kPaperFileRecords == 33, "the file form's record limit");

}  // namespace lx
