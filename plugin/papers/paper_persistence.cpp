#include "plugin/papers/paper_persistence.h"

#include <cstring>
#include <vector>

#include "common/format.h"
#include "common/ini.h"
#include "common/text.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "platform/win_errors.h"

namespace lx {

namespace {

constexpr char16_t kSizeValue[] = u"PapersDataSize";
constexpr char16_t kDataValue[] = u"PapersData";
constexpr size_t kSizeTextChars = 16;  // 15 characters and the NUL

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
  std::vector<uint8_t> data;
  uint32_t rc = spooler.GetData(handle, kDataValue, type, data, size, needed);
  // The block is what was actually stored: a size value that disagrees with
  // it (a save cut between the two writes) must neither hide the records nor
  // let the load run past them.
  if (rc == kErrorMoreData) rc = spooler.GetData(handle, kDataValue, type, data, needed, needed);
  if (rc != 0) return std::nullopt;
  if (data.size() > needed) data.resize(needed);
  return data;
}

std::optional<std::vector<uint8_t>> LoadFromFile(PaperContext& c, const std::u16string& section) {
  std::optional<std::u16string> path = section.empty() ? std::nullopt : PaperFilePath(c);
  uint32_t size = 0;
  if (path) {
    ProfileResult sizeText = c.platform.profile->GetString(section, kSizeValue, u"0", kSizeTextChars, *path);
    size = ParseProfileInt(sizeText.text);
  }
  if (size == 0) {
    Trace(c.platform, u"GetPapersToIni Failed");
    return std::nullopt;
  }
  ProfileResult hex = c.platform.profile->GetString(section, kDataValue, u"", kPaperHexChars + 1, *path);
  std::u16string_view text(hex.text);
  if (text.size() > kPaperHexChars) text = text.substr(0, kPaperHexChars);
  std::vector<uint8_t> data = DecodePaperHex(text, size);
  Trace(c.platform, u"GetPapersToIni Success");
  Trace(c.platform, u"Get dwSize= %d\n", static_cast<int>(data.size()));
  return data;
}

// Whole records only, and no more than the store holds; names are bounded
// to their 32-character field.
void TakeRecords(PaperStore& store, const std::vector<uint8_t>& data) {
  size_t count = data.size() / sizeof(PaperRecord);
  if (count > kPaperStoreCapacity) count = kPaperStoreCapacity;
  store.records.resize(count);
  if (count) std::memcpy(store.records.data(), data.data(), count * sizeof(PaperRecord));
  for (PaperRecord& r : store.records) r.name[kPaperNameChars - 1] = 0;
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
  TakeRecords(store, *data);
  Trace(c.platform, u"pPapers 2");
}

std::vector<uint8_t> Block(const PaperStore& store) {
  std::vector<uint8_t> block(store.records.size() * sizeof(PaperRecord));
  if (!block.empty()) std::memcpy(block.data(), store.records.data(), block.size());
  return block;
}

bool SaveToFile(PaperContext& c, const PaperStore& store, const std::vector<uint8_t>& block) {
  bool ok = false;
  if (!store.printerName.empty() && store.records.size() <= kPaperFileRecords) {
    if (std::optional<std::u16string> path = PaperFilePath(c)) {
      IProfile& profile = *c.platform.profile;
      ok = profile.WriteString(store.printerName, kSizeValue,
                               FormatW(u"%u", static_cast<unsigned>(block.size())), *path) &&
           profile.WriteString(store.printerName, kDataValue, EncodePaperHex(block), *path);
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
  context.stores.push_back(std::make_unique<PaperStore>());
  PaperStore& store = *context.stores.back();
  Trace(context.platform, u"Papers Init pPrinterName");
  store.printerName = CutToBuffer(printerName, kPrinterNameChars);
  LoadPaperStore(context, store);
  if (!store.records.empty()) {
    SortPapers(store);
    return store;
  }
  store.records = BuiltInPapers();
  IndexPapers(store);
  store.dirty = true;
  Trace(context.platform, u"Paper CodeInit");
  return store;
}

bool SavePaperStore(PaperContext& context, const PaperStore& store) {
  std::vector<uint8_t> block = Block(store);
  PrinterHandle handle = 0;
  uint32_t error = 0;
  if (OpenForFullAccess(context, store.printerName, handle, error)) {
    Trace(context.platform, u"bSharePrinter 0");
    ISpooler& spooler = *context.platform.spooler;
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
  return SaveToFile(context, store, block);
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
  IFileSystem& files = *context.platform.files;
  std::optional<std::u16string> folder = files.GetFolderPath(KnownFolder::kCommonAppData, true);
  if (!folder || folder->empty()) return std::nullopt;
  std::u16string path = *folder;
  for (const char16_t* part : {u"ZORVIKA", u"LX-220"}) {
    path = FormatW(u"%s\\%s", path.c_str(), part);
    if (!files.IsDirectory(path) && !files.CreateFolder(path)) return std::nullopt;
  }
  return FormatW(u"%s\\%s", path.c_str(), context.paperFileName.c_str());
}

}  // namespace lx
