#include "plugin/papers/paper_persistence.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "common/format.h"
#include "common/ini.h"
#include "common/paper_folder.h"
#include "common/text.h"
#include "platform/files.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "platform/win_errors.h"
#include "plugin/papers/paper_shared_file.h"

namespace lx {

namespace {

constexpr char16_t kSizeValue[] = u"PapersDataSize";
constexpr char16_t kDataValue[] = u"PapersData";
constexpr size_t kSizeTextChars = 16;  // 15 characters and the NUL
// The most a stored block can usefully hold: anything past it is never taken.
constexpr uint32_t kPaperBlockMaxBytes = static_cast<uint32_t>(kPaperStoreCapacity * sizeof(PaperRecord));
// The largest stored block read at all (and cut to the above); a larger one is damaged.
constexpr uint32_t kPaperDataReadMaxBytes = 1024 * 1024;

// OpenPrinterW for full access. An empty name would open the print server
// rather than a printer, so it is refused as Windows refuses an unknown name.
bool OpenForFullAccess(PaperContext& c, const std::u16string& name, PrinterHandle& handle,
                       uint32_t& error) {
  if (name.empty()) {
    error = kErrorInvalidPrinterName;
    return false;
  }
  if (c.platform.spooler->Open(name, kPrinterAllAccess, handle)) return true;
  error = c.platform.system ? c.platform.system->GetLastError() : 0;
  return false;
}

std::optional<std::vector<uint8_t>> LoadFromPrinter(PaperContext& c, PrinterHandle handle) {
  ISpooler& spooler = *c.platform.spooler;
  uint32_t type = 0, needed = 0;
  std::vector<uint8_t> sizeBytes;
  if (spooler.GetData(handle, kSizeValue, type, sizeBytes, 4, needed) != 0 || needed != 4 ||
      sizeBytes.size() < 4)
    return std::nullopt;
  uint32_t size = 0;
  std::memcpy(&size, sizeBytes.data(), 4);
  if (size == 0) return std::nullopt;
  // The size value comes from outside: it never sizes more than a full store.
  if (size > kPaperBlockMaxBytes) {
    Trace(c.platform, u"PapersDataSize %lu capped at %lu", static_cast<unsigned long>(size),
          static_cast<unsigned long>(kPaperBlockMaxBytes));
    size = kPaperBlockMaxBytes;
  }
  std::vector<uint8_t> data;
  uint32_t rc = spooler.GetData(handle, kDataValue, type, data, size, needed);
  // The block is what was actually stored: a size value that disagrees with
  // it (a save cut between the two writes) must neither hide the records nor
  // let the load run past them.
  if (rc == kErrorMoreData && needed > kPaperDataReadMaxBytes) {
    Trace(c.platform, u"PapersData of %lu bytes: damaged, not read", static_cast<unsigned long>(needed));
    return std::nullopt;
  }
  if (rc == kErrorMoreData) rc = spooler.GetData(handle, kDataValue, type, data, needed, needed);
  if (rc != 0) return std::nullopt;
  if (data.size() > needed) data.resize(needed);
  return data;
}

// The section's block in the shared file's text; nothing when the section
// holds none.
std::optional<std::vector<uint8_t>> BlockInText(const std::u16string& fileText, const std::u16string& section) {
  IniDocument file = IniDocument::FromText(fileText);
  uint32_t size = ParseProfileInt(file.GetString(section, kSizeValue, u"0", kSizeTextChars).text);
  if (size == 0) return std::nullopt;
  ProfileResult hex = file.GetString(section, kDataValue, u"", kPaperHexChars + 1);
  std::u16string_view text(hex.text);
  if (text.size() > kPaperHexChars) text = text.substr(0, kPaperHexChars);
  return DecodePaperHex(text, size);
}

std::optional<std::vector<uint8_t>> FileBlock(PaperContext& c, const std::u16string& section) {
  if (section.empty()) return std::nullopt;
  SharedFileText read = ReadSharedPaperFile(c);
  if (read.state != SharedFileState::kOk) return std::nullopt;
  return BlockInText(read.text, section);
}

std::optional<std::vector<uint8_t>> LoadFromFile(PaperContext& c, const std::u16string& section) {
  std::optional<std::vector<uint8_t>> data = FileBlock(c, section);
  if (!data) {
    Trace(c.platform, u"GetPapersToIni Failed");
    return std::nullopt;
  }
  Trace(c.platform, u"GetPapersToIni Success");
  Trace(c.platform, u"Get dwSize= %d\n", static_cast<int>(data->size()));
  return data;
}

// Whole records only, and no more than the store holds; names are bounded
// to their 32-character field. A record that fails a check, or repeats an
// earlier record's number or name, is dropped with a trace line.
void TakeRecords(PaperContext& c, PaperStore& store, const std::vector<uint8_t>& data) {
  size_t count = data.size() / sizeof(PaperRecord);
  if (count > kPaperStoreCapacity) count = kPaperStoreCapacity;
  store.records.clear();
  store.records.reserve(count);
  std::vector<bool> numberTaken(kPaperMaxNumber + 1);
  std::set<std::u16string> names;
  for (size_t i = 0; i < count; ++i) {
    PaperRecord r;
    std::memcpy(&r, data.data() + i * sizeof(PaperRecord), sizeof r);
    r.name[kPaperNameChars - 1] = 0;
    const char16_t* fault = PaperRecordFault(r);
    std::u16string name = PaperName(r);
    if (!fault && numberTaken[r.number]) fault = u"number repeated";
    if (!fault && names.count(name)) fault = u"name repeated";
    if (fault) {
      Trace(c.platform, u"Paper record %d dropped: %s", static_cast<int>(i), fault);
      continue;
    }
    numberTaken[r.number] = true;
    names.insert(std::move(name));
    store.records.push_back(r);
  }
}

void LoadPaperStore(PaperContext& c, PaperStore& store) {
  std::optional<std::vector<uint8_t>> data;
  PrinterHandle handle = 0;
  uint32_t error = 0;
  if (OpenForFullAccess(c, store.printerName, handle, error)) {
    data = LoadFromPrinter(c, handle);
    c.platform.spooler->Close(handle);
  } else {
    Trace(c.platform, u"Get OpenPrinter %s  failed, error = %lu\n", store.printerName.c_str(),
          static_cast<unsigned long>(error));
    data = LoadFromFile(c, store.printerName);
  }
  if (!data || data->empty()) {
    Trace(c.platform, u"pPapers 4");
    return;
  }
  if (data->size() < sizeof(PaperRecord)) {
    Trace(c.platform, u"pPapers 3");
    return;
  }
  Trace(c.platform, u"pPapers 1");
  TakeRecords(c, store, *data);
  for (const PaperRecord& r : store.records) store.storedNames.push_back(PaperName(r));
  Trace(c.platform, u"pPapers 2");
}

std::vector<uint8_t> Block(const std::vector<PaperRecord>& records) {
  std::vector<uint8_t> block(records.size() * sizeof(PaperRecord));
  if (!block.empty()) std::memcpy(block.data(), records.data(), block.size());
  return block;
}

bool Named(const std::vector<std::u16string>& names, const std::u16string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// The store's records and those another process saved to the file since
// this store last read or wrote it: every user sharing the printer's section
// keeps what the others added. A kept record whose number is taken here gets
// the next free user number; one that finds no room is dropped with a trace.
std::vector<PaperRecord> WithOthersRecords(PaperContext& c, const PaperStore& store, const std::u16string& fileText) {
  PaperStore merged;
  merged.records = store.records;
  std::optional<std::vector<uint8_t>> now = BlockInText(fileText, store.printerName);
  if (!now) return merged.records;
  PaperStore stored;
  TakeRecords(c, stored, *now);
  std::vector<std::u16string> names;
  for (const PaperRecord& r : merged.records) names.push_back(PaperName(r));
  for (PaperRecord r : stored.records) {
    const std::u16string name = PaperName(r);
    if (Named(names, name) || Named(store.storedNames, name)) continue;  // ours, or deleted here
    bool numberTaken = false;
    for (const PaperRecord& m : merged.records) numberTaken = numberTaken || m.number == r.number;
    if (numberTaken) r.number = r.builtIn ? 0 : NextPaperNumber(merged);
    if (r.number == 0 || merged.records.size() >= kPaperFileRecords) {
      Trace(c.platform, u"Paper %s of another user finds no room", name.c_str());
      continue;
    }
    merged.records.push_back(r);
    names.push_back(name);
  }
  return merged.records;
}

bool SaveToFile(PaperContext& c, const PaperStore& store) {
  bool ok = false;
  if (!store.printerName.empty() && store.records.size() <= kPaperFileRecords) {
    std::vector<PaperRecord> records;
    ok = EditSharedPaperFile(c, store.printerName, [&](const std::u16string& text) -> SharedFileValues {
      records = WithOthersRecords(c, store, text);
      std::vector<uint8_t> block = Block(records);
      return {{kSizeValue, FormatW(u"%u", static_cast<unsigned>(block.size()))}, {kDataValue, EncodePaperHex(block)}};
    });
    if (ok) {
      store.storedNames.clear();
      for (const PaperRecord& r : records) store.storedNames.push_back(PaperName(r));
    }
  }
  Trace(c.platform, ok ? u"SetPapersToIni Success" : u"SetPapersToIni Failed");
  return ok;
}

}  // namespace

PaperStore* FindOpenPaperStore(PaperContext& context, std::u16string_view printerName) {
  // Cut as the store's name was, without a copy: capabilities ask per call.
  const std::u16string_view name = printerName.substr(0, kPrinterNameChars - 1);
  for (const std::unique_ptr<PaperStore>& store : context.stores)
    // The exact comparison first: callers nearly always spell the name alike.
    if (store->printerName == name || EqualsIgnoreCase(store->printerName, name)) return store.get();
  return nullptr;
}

PaperStore& OpenPaperStore(PaperContext& context, const std::u16string& printerName) {
  if (PaperStore* open = FindOpenPaperStore(context, printerName)) return *open;
  // Listed only once whole: a load that throws (out of memory) must not
  // leave a half-made store that answers for this printer from then on.
  auto made = std::make_unique<PaperStore>();
  PaperStore& store = *made;
  Trace(context.platform, u"Papers Init pPrinterName");
  store.printerName = CutToBuffer(printerName, kPrinterNameChars);
  LoadPaperStore(context, store);
  if (!store.records.empty()) {
    SortPapers(store);
  } else {
    store.records = BuiltInPapers();
    IndexPapers(store);
    store.dirty = true;
    Trace(context.platform, u"Paper CodeInit");
  }
  context.stores.push_back(std::move(made));
  return store;
}

bool SavePaperStore(PaperContext& context, const PaperStore& store) {
  PrinterHandle handle = 0;
  uint32_t error = 0;
  if (OpenForFullAccess(context, store.printerName, handle, error)) {
    Trace(context.platform, u"bSharePrinter 0");
    ISpooler& spooler = *context.platform.spooler;
    std::vector<uint8_t> block = Block(store.records);
    uint32_t size = static_cast<uint32_t>(block.size());
    std::vector<uint8_t> sizeBytes(4);
    std::memcpy(sizeBytes.data(), &size, 4);
    bool ok = spooler.SetData(handle, kSizeValue, kRegDword, sizeBytes) == 0 &&
              spooler.SetData(handle, kDataValue, kRegBinary, block) == 0;
    spooler.Close(handle);
    return ok;
  }
  Trace(context.platform, u"Set OpenPrinter %s failed, error = %lu\n", store.printerName.c_str(),
        static_cast<unsigned long>(error));
  Trace(context.platform, u"bSharePrinter 1");
  return SaveToFile(context, store);
}

bool SavePaperStoreIfChanged(PaperContext& context, PaperStore& store, bool force, bool keepDirty) {
  const bool wasDirty = store.dirty;
  if (!keepDirty) store.dirty = false;
  if (!((store.count() > 0 && wasDirty) || force)) return true;
  bool saved = SavePaperStore(context, store);
  if (!saved && wasDirty) store.dirty = true;
  return saved;
}

std::optional<std::u16string> PaperFilePath(PaperContext& context) {
  std::optional<std::u16string> folder = context.platform.files->GetFolderPath(KnownFolder::kCommonAppData, false);
  if (!folder || folder->empty()) return std::nullopt;
  return FormatW(u"%s\\%s\\%s\\%s", folder->c_str(), kPaperCompanyFolder, kPaperProductFolder,
                 context.paperFileName.c_str());
}

}  // namespace lx
