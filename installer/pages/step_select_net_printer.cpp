#include "installer/pages/step_select_net_printer.h"

#include "common/format.h"
#include "common/text.h"
#include "installer/core/installer_config.h"
#include "installer/core/resource_ids.h"
#include "installer/core/trace.h"
#include "installer/discovery/responder_service.h"
#include "installer/discovery/service_names.h"

namespace lx {

namespace {

std::u16string PortText(int32_t port) { return FormatW(u"%d", port); }

}  // namespace

CStepSelectNetPrinter::CStepSelectNetPrinter(IWizardHost& host)
    : CMyPropertyPage(host, IDD_STEP_SELECT_NET_PRINTER) {}

void CStepSelectNetPrinter::OnInitDialog(IDialogView& view) {
  CMyPropertyPage::OnInitDialog(view);
  view.ListSetExtendedStyle(IDC_NET_PRINTER_LIST, kLvsExFullRowSelect | kLvsExLabelTip);
  int width = view.ClientWidth(IDC_NET_PRINTER_LIST);
  view.ListInsertColumn(IDC_NET_PRINTER_LIST, 0, Text(IDS_HOSTNAME), width / 2);
  view.ListInsertColumn(IDC_NET_PRINTER_LIST, 1, Text(IDS_IP_ADDRESS), width / 3);
  view.ListInsertColumn(IDC_NET_PRINTER_LIST, 2, Text(IDS_PORT), width - width / 2 - width / 3);
  // From now on a larger list is merged here rather than sent to the search page.
  if (NetSearch* search = host_.search()) search->SetListPage(&sink_);
}

std::vector<NetPrinterRecord> CStepSelectNetPrinter::Records() const {
  NetSearch* search = host_.search();
  return search ? search->List().Copy() : std::vector<NetPrinterRecord>{};
}

void CStepSelectNetPrinter::Rebuild() {
  std::vector<NetPrinterRecord> records = Records();
  view_->ListDeleteAllItems(IDC_NET_PRINTER_LIST);
  for (size_t i = 0; i < records.size(); ++i) {
    int row = view_->ListInsertItem(IDC_NET_PRINTER_LIST, static_cast<int>(i), records[i].name);
    view_->ListSetItemText(IDC_NET_PRINTER_LIST, row, 1, records[i].address);
    view_->ListSetItemText(IDC_NET_PRINTER_LIST, row, 2, PortText(records[i].port));
  }
  if (view_->ListItemCount(IDC_NET_PRINTER_LIST) > 0) view_->ListSelectItem(IDC_NET_PRINTER_LIST, 0);
  SetSheetButtons(true, !records.empty(), true);
}

void CStepSelectNetPrinter::OnSetActive() {
  RefreshTexts();
  Rebuild();
  view_->SetCheck(IDC_BY_HOSTNAME, true);
}

// Rows are matched by name, ignoring case; the selection, the check box and
// the Next button stay as they are.
void CStepSelectNetPrinter::Merge() {
  std::vector<NetPrinterRecord> records = Records();
  const int list = IDC_NET_PRINTER_LIST;
  for (const NetPrinterRecord& record : records) {
    std::u16string port = PortText(record.port);
    int count = view_->ListItemCount(list);
    int found = -1;
    for (int row = 0; row < count && found < 0; ++row)
      if (EqualsIgnoreCase(view_->ListGetItemText(list, row, 0), record.name)) found = row;
    if (found < 0) {
      int row = view_->ListInsertItem(list, count, record.name);
      view_->ListSetItemText(list, row, 1, record.address);
      view_->ListSetItemText(list, row, 2, port);
    } else if (!EqualsIgnoreCase(view_->ListGetItemText(list, found, 1), record.address) ||
               !EqualsIgnoreCase(view_->ListGetItemText(list, found, 2), port)) {
      view_->ListSetItemText(list, found, 1, record.address);
      view_->ListSetItemText(list, found, 2, port);
    }
  }
  for (int row = view_->ListItemCount(list) - 1; row >= 0; --row) {
    std::u16string name = view_->ListGetItemText(list, row, 0);
    bool known = false;
    for (const NetPrinterRecord& record : records) known = known || EqualsIgnoreCase(name, record.name);
    if (!known) view_->ListDeleteItem(list, row);
  }
}

void CStepSelectNetPrinter::OnMessage(unsigned message, uintptr_t wParam, intptr_t) {
  if (message != kWmNetSearchMore) return;
  // Only news of the search this page shows, and only while it is shown.
  NetSearch* search = host_.search();
  Step step = host_.CurrentStep();
  if (!search || !search->IsCurrent(wParam) || step != Step::kNetPrinters) {
    DebugTrace(os(), "CStepSelectNetPrinter: notice of search %u at step %d ignored", static_cast<unsigned>(wParam),
               static_cast<int>(step));
    return;
  }
  Merge();
}

std::u16string CStepSelectNetPrinter::HostNameOf(const std::u16string& name) const {
  for (const NetPrinterRecord& record : Records())
    if (EqualsIgnoreCase(record.name, name)) return record.hostTarget;
  return {};
}

void CStepSelectNetPrinter::StopSearch() {
  if (NetSearch* search = host_.search()) search->StopNetSearch();
}

void CStepSelectNetPrinter::OnCommand(int controlId, int code) {
  if (code != kBnClicked) return;
  if (controlId == IDC_SEARCH_AGAIN) {
    StopSearch();
    host_.StartNetEntry();
  } else if (controlId == IDC_MANUAL_SEARCH) {
    // The options page ends the search when it is shown.
    host_.GoTo(Step::kSetPrinter);
  }
}

intptr_t CStepSelectNetPrinter::OnWizardBack() {
  StopSearch();
  host_.GoTo(Step::kInstallerType);
  return kStay;
}

intptr_t CStepSelectNetPrinter::OnWizardNext() {
  // The rows stay as they are from here on, with or without a selection.
  StopSearch();
  NetSearch* search = host_.search();
  if (!search || !search->OnWindowsRoad()) RemoveOwnResponder(os());
  const int list = IDC_NET_PRINTER_LIST;
  int row = view_->ListNextSelected(list, -1);
  if (row < 0) {
    ShowMessage(IDS_SELECT_PORT_FIRST, IDS_TIPS, kMbOkOnly);
    return kStay;
  }
  std::u16string name = view_->ListGetItemText(list, row, 0);
  std::u16string address = view_->ListGetItemText(list, row, 1);
  if (view_->GetCheck(IDC_BY_HOSTNAME)) {
    // The instance name is no host name; the resolve reply's host target is.
    std::u16string host = HostNameOf(name);
    if (!host.empty())
      address = host;
    else
      DebugTraceW(os(), u"%s has no usable host name; installing by its address %s", name.c_str(), address.c_str());
  }
  NetModelMatch model = MatchModelByServiceName(g_config.Models(), name);
  host_.InstallNetworkPrinter(address, FormatW(u"%s NET", model.printerName.c_str()), model.driverName);
  return kStay;
}

void CStepSelectNetPrinter::RefreshTexts() {
  SetControlTexts(*view_, {{IDC_NET_LIST_TITLE, IDS_SELECT_PRINTER},
                           {IDC_NET_LIST_HEADING, IDS_SELECT_PRINTER_HEADING},
                           {IDC_BY_HOSTNAME, IDS_INSTALL_BY_HOSTNAME},
                           {IDC_MANUAL_SEARCH, IDS_MANUAL_SEARCH},
                           {IDC_SEARCH_AGAIN, IDS_SEARCH_AGAIN}});
  SetSheetButtonTexts(IDS_NEXT, IDS_BACK, IDS_EXIT);
}

}  // namespace lx
