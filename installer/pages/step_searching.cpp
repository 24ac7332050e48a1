#include "installer/pages/step_searching.h"

#include "installer/core/resource_ids.h"
#include "installer/core/trace.h"
#include "installer/discovery/responder_service.h"

namespace lx {

CStepSearching::CStepSearching(IWizardHost& host) : CMyPropertyPage(host, IDD_STEP_SEARCHING) {}

void CStepSearching::OnInitDialog(IDialogView& view) {
  CMyPropertyPage::OnInitDialog(view);
  view.ProgressSetRange(IDC_SEARCH_PROGRESS, 0, 100);
}

void CStepSearching::OnSetActive() {
  RefreshTexts();
  SetProgress(0);
  done_ = 0;
  view_->SetTimer(kProgressTimerId, kProgressPeriodMs);
  SetSheetButtons(true, false, true);
}

void CStepSearching::SetProgress(int value) {
  progress_ = value;
  view_->ProgressSetPos(IDC_SEARCH_PROGRESS, value);
}

void CStepSearching::StartSearch() {
  if (NetSearch* search = host_.search()) {
    search->StartNetSearch(&sink_);
    // A browse that failed at once finds nothing: no service of ours waits for it.
    if (!search->Searching() && !search->OnWindowsRoad()) {
      DebugTrace(os(), "CStepSearching: the search did not start; the responder service goes");
      RemoveOwnResponder(os());
    }
    return;
  }
  RemoveOwnResponder(os());
  // Without a search the page ends its own window, as a missing library would.
  view_->SetTimer(kSearchWindowTimerId, NetSearch::kSearchWindowMs);
}

void CStepSearching::OnTimer(unsigned timerId) {
  if (timerId == kSearchWindowTimerId) {
    if (NetSearch* search = host_.search()) {
      search->OnSearchWindowEnd();
    } else {
      view_->KillTimer(kSearchWindowTimerId);
      view_->PostToWindow(kWmNetSearchEnd, 0, 0);  // no search's number
    }
    return;
  }
  if (timerId != kProgressTimerId) return;
  if (done_ || progress_ >= 100) {
    view_->KillTimer(kProgressTimerId);
    return;
  }
  if (progress_ == 10) {
    NetSearch* search = host_.search();
    // Windows' own mDNS service answers that road; the progress runs its course all the same.
    if (search && search->OnWindowsRoad()) DebugTrace(os(), "CStepSearching: Windows DNS-SD searches; no responder step");
    else PrepareResponder(os());
  }
  if (progress_ == 30) StartSearch();
  SetProgress(progress_ > 80 ? 85 : progress_ + 5);
}

void CStepSearching::ShowList() {
  SetProgress(100);
  host_.GoTo(Step::kNetPrinters);
}

void CStepSearching::OnMessage(unsigned message, uintptr_t wParam, intptr_t) {
  if (message != kWmNetSearchOne && message != kWmNetSearchMore && message != kWmNetSearchEnd) return;
  NetSearch* search = host_.search();
  // Without a search the only notice is this page's own window end.
  if (search && !search->IsCurrent(wParam)) {
    DebugTrace(os(), "CStepSearching: notice %u of an earlier search ignored", message);
    return;
  }
  Step step = host_.CurrentStep();
  if (step == Step::kNetPrinters) {
    // The list is already shown: it merges the news and keeps the user's choices.
    INetSearchSink* list = search ? search->ListPage() : nullptr;
    if (list) list->Post(kWmNetSearchMore, wParam);
    return;
  }
  if (step != Step::kSearching) {
    DebugTrace(os(), "CStepSearching: notice %u at step %d ignored", message, static_cast<int>(step));
    return;
  }
  if (message != kWmNetSearchEnd) done_ = 1;
  ShowList();
}

intptr_t CStepSearching::OnWizardBack() {
  // A hidden page's timer keeps running: it would start a search at 30.
  view_->KillTimer(kProgressTimerId);
  if (NetSearch* search = host_.search()) search->StopNetSearch();
  else view_->KillTimer(kSearchWindowTimerId);
  host_.GoTo(Step::kInstallerType);
  return kStay;
}

void CStepSearching::RefreshTexts() {
  SetControlTexts(*view_, {{IDC_SEARCH_STATUS, IDS_SEARCHING}});
  SetSheetButtonTexts(IDS_NEXT, IDS_BACK, IDS_EXIT);
}

}  // namespace lx
