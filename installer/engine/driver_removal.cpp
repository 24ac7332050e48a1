#include "installer/engine/driver_removal.h"

#include <algorithm>
#include <vector>

#include "common/text.h"
#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "installer/core/ui_language.h"
#include "installer/engine/command_line.h"
#include "installer/engine/list_split.h"
#include "installer/engine/system_tools.h"
#include "installer/engine/uninstall_entry.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "platform/win_errors.h"

namespace lx {

const std::vector<std::u16string>& DriverFileEndings() {
  static const std::vector<std::u16string> endings = [] {
    std::vector<std::u16string> list = {
        u"ui.dll",     u"drv.dll",    u"uizhcn.dll", u"uienus.dll", u"uiru.dll", u"uija.dll",
        u"uizhcn.chm", u"uienus.chm", u"uiru.chm",   u"uija.chm",   u".ini",     u".gpd",
    };
    const size_t first = list.size();
    for (const UiLanguage& language : UiLanguageTable) {
      std::u16string module = u"ui" + std::u16string(language.suffix) + u".dll";
      if (std::find(list.begin(), list.begin() + first, module) != list.begin() + first) continue;
      list.push_back(module);
      list.push_back(u"ui" + std::u16string(language.suffix) + u".chm");
    }
    list.push_back(u"uibmp.dll");
    return list;
  }();
  return endings;
}

namespace {

constexpr uint32_t kAfterCommandMs = 100;
constexpr int kPrinterPolls = 10;
constexpr uint32_t kPrinterPollMs = 500;
constexpr size_t kProfileValueChars = 260;

void RunPrintUi(const Os& os, std::u16string_view name, const std::optional<std::u16string>& parameters) {
  if (!AcceptPrintUiNames(os, {name})) return;
  if (!parameters) {
    DebugTraceW(os, u"Refused a name that cannot be passed on a command line.");
    return;
  }
  StartPrintUi(os, *parameters, kSwShowNormal);
  os.clock->Sleep(kAfterCommandMs);
}

// An empty section or key would make the profile reader list every section
// or key, so that every package with such a section would count as ours.
bool IsUsableName(const std::u16string& name) {
  for (char16_t c : name)
    if (c != u'"' && !IsBlank(c)) return true;
  return false;
}

// A prefix that names a folder or a drive would reach files outside the
// driver folder; an empty one would delete files of other drivers.
bool IsUsablePrefix(const std::u16string& prefix) {
  return !Trim(prefix).empty() && prefix.find_first_of(u"\\/:") == std::u16string::npos;
}

bool DriverInUse(const Os& os, const std::u16string& driverName) {
  std::vector<PrinterInfo2> printers;
  if (!os.spooler->ListPrinters(kPrinterEnumLocal | kPrinterEnumConnections, printers)) return false;
  for (const PrinterInfo2& p : printers)
    if (p.driverName == driverName) return true;
  return false;
}

// The printer deletions run as separate processes; a driver deletion that
// starts while one of its printers is still listed is refused by the spooler,
// and the driver would stay. Polled like the install sequences poll.
void WaitUntilDriverUnused(const Os& os, const std::u16string& driverName) {
  for (int attempt = 0; attempt < kPrinterPolls; ++attempt) {
    if (!DriverInUse(os, driverName)) return;
    os.clock->Sleep(kPrinterPollMs);
  }
  DebugTraceW(os, u"Printers of driver %s are still listed", driverName.c_str());
}

}  // namespace

void DeletePrintersAndDrivers(const Os& os) {
  std::vector<PrinterInfo2> printers;
  BufferStep failed = BufferStep::kSizeQuery;
  if (!os.spooler->ListPrinters(kPrinterEnumLocal | kPrinterEnumConnections, printers, &failed)) {
    DebugTraceAlways(os, failed == BufferStep::kSizeQuery ? "Failed to enumerate printers."
                                                          : "Failed to retrieve printer information.");
    return;
  }
  // The list is taken once: a driver named by two models is deleted twice.
  ModelTable models = g_config.Models();
  for (int i = 0; i < models.Count(); ++i) {
    const ModelEntry* model = models.At(i);
    if (!model || model->DriverName.empty()) continue;
    for (const PrinterInfo2& p : printers)
      if (p.driverName == model->DriverName) RunPrintUi(os, p.printerName, PrintUiDeletePrinter(p.printerName));
    WaitUntilDriverUnused(os, model->DriverName);
    RunPrintUi(os, model->DriverName, PrintUiDeleteDriver(model->DriverName));
  }
}

std::optional<std::vector<std::u16string>> MatchingOemInfs(const Os& os, const std::u16string& section,
                                                           const std::u16string& key) {
  std::u16string infFolder = os.system->WindowsDirectory() + u"\\INF";
  std::vector<FindEntry> found;
  // A listing cut short by an error still handles what it listed.
  if (!os.files->FindFiles(infFolder + u"\\OEM*.inf", found) && found.empty()) return std::nullopt;
  std::vector<std::u16string> matching;
  for (const FindEntry& entry : found) {
    if (entry.attributes & kFileAttributeDirectory) continue;
    std::u16string path = infFolder + u"\\" + entry.name;
    ProfileResult value = os.profile->GetString(section, key, u"", kProfileValueChars, path);
    if (value.count != 0) matching.push_back(entry.name);
  }
  return matching;
}

void DeleteOemInfPackages(const Os& os, const std::u16string& section, const std::u16string& key) {
  if (!IsUsableName(section) || !IsUsableName(key)) {
    DebugTraceW(os, u"Skipped INF section \"%s\" with key \"%s\"", section.c_str(), key.c_str());
    return;
  }
  // The machine's own pnputil, never one found by search.
  std::u16string pnputil = SystemToolPath(os, SystemTool::kPnputil);
  if (pnputil.empty() || os.files->GetAttributes(pnputil) == kInvalidFileAttributes) {
    DebugTraceW(os, u"pnputil.exe not found, %s", pnputil.c_str());
    return;
  }

  std::optional<std::vector<std::u16string>> matching = MatchingOemInfs(os, section, key);
  if (!matching) {
    DebugTraceAlways(os, "No OEM INF files found");
    return;
  }
  for (const std::u16string& name : *matching) {
    std::optional<std::u16string> parameters = PnputilDeletePackage(name);
    if (!parameters) continue;
    DebugTraceW(os, u"del inf cmd = %s", parameters->c_str());
    StartSystemTool(os, pnputil, *parameters, kSwHide);
  }
}

void DeleteDriverFiles(const Os& os) {
  std::u16string directory;
  if (!os.spooler->DriverDirectory(directory)) {
    DebugTraceW(os, u"Failed to get printer driver directory. Error = %d.\n",
                os.system->GetLastError());
    return;
  }
  for (const std::u16string& prefix : SplitList(g_config.uninstall.DriverPrefix)) {
    if (!IsUsablePrefix(prefix)) {
      DebugTraceW(os, u"Skipped driver file prefix \"%s\"", prefix.c_str());
      continue;
    }
    for (const std::u16string& ending : DriverFileEndings()) {
      std::u16string path = directory + u"\\3\\" + prefix + ending;
      DebugTraceW(os, u"Delete File %s", path.c_str());
      if (!os.files->RemoveFile(path)) {
        uint32_t error = os.system->GetLastError();
        if (error != kErrorFileNotFound)
          DebugTraceW(os, u"Failed to delete file: %s (Error %lu)\n", path.c_str(), error);
      }
    }
  }
}

void UninstallDriverPackage(const Os& os) {
  DeletePrintersAndDrivers(os);
  std::vector<std::u16string> keys = SplitList(g_config.uninstall.DriverName);
  std::vector<std::u16string> sections = SplitList(g_config.uninstall.InfSection);
  for (const auto& section : sections)
    for (const auto& key : keys) DeleteOemInfPackages(os, section, key);
  DeleteUninstallEntry(os);
  DeleteDriverFiles(os);
}

std::vector<std::u16string> RemovalLeftovers(const Os& os) {
  std::vector<std::u16string> left;
  ModelTable models = g_config.Models();
  std::vector<std::u16string> driverNames;
  for (int i = 0; i < models.Count(); ++i) {
    const ModelEntry* model = models.At(i);
    if (model && !model->DriverName.empty()) driverNames.push_back(model->DriverName);
  }
  auto ours = [&](const std::u16string& driver) {
    return std::find(driverNames.begin(), driverNames.end(), driver) != driverNames.end();
  };
  std::vector<PrinterInfo2> printers;
  if (os.spooler->ListPrinters(kPrinterEnumLocal | kPrinterEnumConnections, printers)) {
    for (const PrinterInfo2& p : printers)
      if (ours(p.driverName)) left.push_back(u"printer " + p.printerName);
  } else {
    left.push_back(u"printers (the list cannot be read)");
  }
  std::vector<std::u16string> drivers;
  if (os.spooler->ListDrivers(drivers)) {
    for (const std::u16string& d : drivers)
      if (ours(d) && std::find(left.begin(), left.end(), u"driver " + d) == left.end()) left.push_back(u"driver " + d);
  } else {
    left.push_back(u"drivers (the list cannot be read)");
  }
  for (const auto& section : SplitList(g_config.uninstall.InfSection)) {
    if (!IsUsableName(section)) continue;
    for (const auto& key : SplitList(g_config.uninstall.DriverName)) {
      if (!IsUsableName(key)) continue;
      std::optional<std::vector<std::u16string>> packages = MatchingOemInfs(os, section, key);
      if (!packages) {
        DebugTrace(os, "No OEM INF files found");
        continue;
      }
      for (const std::u16string& name : *packages)
        if (std::find(left.begin(), left.end(), u"package " + name) == left.end()) left.push_back(u"package " + name);
    }
  }
  return left;
}

Outcome CheckRemoval(const Os& os) {
  std::vector<std::u16string> left;
  // The deletions run as separate processes: they get the polls to finish.
  for (int attempt = 0; attempt < kPrinterPolls; ++attempt) {
    left = RemovalLeftovers(os);
    if (left.empty()) return Outcome::kRemoved;
    os.clock->Sleep(kPrinterPollMs);
  }
  for (const std::u16string& what : left)
    DebugTraceWAlways(os, u"Removal incomplete: %s is still installed", what.c_str());
  return Outcome::kRemovalIncomplete;
}

void RunRemovalWorker(const Os& os, IEngineSink& sink, WizardState& state) {
  state.outcome = Outcome::kNone;
  UninstallDriverPackage(os);
  state.outcome = CheckRemoval(os);
  RampProgress(os, sink, 50, 50);
  sink.PostCompletion(kWmUninstallDone);
}

}  // namespace lx
