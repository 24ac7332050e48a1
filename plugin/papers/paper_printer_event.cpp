#include "plugin/papers/paper_printer_event.h"

#include <vector>

#include "common/text.h"
#include "plugin/papers/paper_shared_file.h"

namespace lx {

namespace {

// Names of the sections the file holds, as its lines read.
std::vector<std::u16string> SectionNames(const std::u16string& text) {
  std::vector<std::u16string> names;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string_view line = Trim(std::u16string_view(text).substr(start, end - start));
    size_t close = line.find(u']');
    if (!line.empty() && line[0] == u'[' && close != std::u16string_view::npos)
      names.emplace_back(Trim(line.substr(1, close - 1)));
    start = end + 1;
  }
  return names;
}

// The file serves every printer: only when no other printer has a section
// in it is it emptied (it stays, as the installation made it, for the
// printers to come); otherwise this printer's sizes are emptied. Both read
// back as no stored list. A file that fails its checks is left as it is.
void ForgetPrinter(PaperContext& c, const std::u16string& printerName) {
  SharedFileText file = ReadSharedPaperFile(c);
  if (file.state != SharedFileState::kOk) return;
  bool othersInFile = false;
  for (const std::u16string& name : SectionNames(file.text))
    if (!EqualsIgnoreCase(name, printerName)) othersInFile = true;
  if (!othersInFile) {
    if (!file.text.empty()) ClearSharedPaperFile(c);
    return;
  }
  if (printerName.empty()) return;
  WriteSharedPaperValues(c, printerName, {{u"PapersDataSize", u"0"}, {u"PapersData", u""}});
}

}  // namespace

void PaperPrinterEvent(PaperContext& context, const std::u16string& printerName, int event) {
  if (event != kPrinterEventInitialize && event != kPrinterEventDelete) return;
  // The shared file and the stores are those the other threads save to.
  PaperLock hold = LockPapers(context);
  if (event == kPrinterEventDelete) {
    ForgetPrinter(context, printerName);
    return;
  }
  // A file that already holds sizes is left as it is; an empty one (as the
  // installer makes it) or none gets the new printer's list.
  SharedFileText file = ReadSharedPaperFile(context);
  if (file.state != SharedFileState::kMissing && !(file.state == SharedFileState::kOk && file.text.empty()))
    return;
  MakeSharedPaperFile(context);  // a failure is traced; the printer data still gets the list
  PaperStore& store = OpenPaperStore(context, printerName);
  SavePaperStore(context, store);
  Trace(context.platform, printerName);
}

}  // namespace lx
