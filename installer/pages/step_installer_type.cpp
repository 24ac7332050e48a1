#include "installer/pages/step_installer_type.h"

#include "installer/core/installer_config.h"
#include "installer/core/resource_ids.h"
#include "installer/engine/language_suffix.h"
#include "installer/engine/protected_print.h"

namespace lx {

CStepInstallerType::CStepInstallerType(IWizardHost& host)
    : CMyPropertyPage(host, IDD_STEP_INSTALLER_TYPE) {}

void CStepInstallerType::OnInitDialog(IDialogView& view) {
  CMyPropertyPage::OnInitDialog(view);
  if (uninstallOnly)
    for (int id : {IDC_USB_INSTALL, IDC_NET_INSTALL, IDC_OTHER_PORT_INSTALL}) view.Enable(id, false);
  int supportNet = g_config.install.SupportNet;
  int supportOther = g_config.install.SupportOther;
  if (supportNet == 0) view.Show(IDC_NET_INSTALL, false);
  if (supportOther == 0) view.Show(IDC_OTHER_PORT_INSTALL, false);
  CloseGaps(supportNet, supportOther);
  // Looked at before anything is staged; removal stays possible.
  bool protectedPrint = !uninstallOnly && ProtectedPrintOn(os());
  host_.state().protectedPrint = protectedPrint;
  if (protectedPrint)
    for (int id : {IDC_USB_INSTALL, IDC_NET_INSTALL, IDC_OTHER_PORT_INSTALL}) view.Show(id, false);
  view.Show(IDC_PROTECTED_PRINT_NOTE, protectedPrint);
}

void CStepInstallerType::MoveInto(int button, int place) {
  view_->MoveControl(button, view_->GetControlRect(place));
}

// Buttons move up into the places of hidden ones; only the combinations of
// 0 and 1 are known, other values leave the gaps.
void CStepInstallerType::CloseGaps(int supportNet, int supportOther) {
  if (supportNet != 0 && supportOther != 0) return;
  if (supportNet == 1 && supportOther == 0) {
    MoveInto(IDC_UNINSTALL, IDC_OTHER_PORT_INSTALL);
  } else if (supportNet == 0 && supportOther == 0) {
    MoveInto(IDC_UNINSTALL, IDC_NET_INSTALL);
  } else if (supportNet == 0 && supportOther == 1) {
    MoveInto(IDC_UNINSTALL, IDC_OTHER_PORT_INSTALL);
    MoveInto(IDC_OTHER_PORT_INSTALL, IDC_NET_INSTALL);
  }
}

void CStepInstallerType::OnSetActive() {
  RefreshTexts();
  SetSheetButtons(true, false, true);
}

void CStepInstallerType::OnCommand(int controlId, int code) {
  if (code != kBnClicked) return;
  switch (controlId) {
    case IDC_USB_INSTALL:
      if (host_.state().protectedPrint) break;
      host_.StartUsbInstall();
      WriteUiLanguageSuffix(os(), host_.state());
      break;
    case IDC_UNINSTALL:
      host_.StartUninstall();
      break;
    case IDC_NET_INSTALL:
      if (host_.state().protectedPrint) break;
      host_.StartNetEntry();
      break;
    case IDC_OTHER_PORT_INSTALL:
      if (host_.state().protectedPrint) break;
      host_.GoTo(Step::kSelectPort);
      break;
    default:
      break;
  }
}

void CStepInstallerType::RefreshTexts() {
  SetControlTexts(*view_, {{IDC_INSTALL_TYPE_HEADING, IDS_INSTALL_OPTIONS},
                           {IDC_USB_INSTALL, IDS_USB_INSTALL},
                           {IDC_NET_INSTALL, IDS_NET_INSTALL},
                           {IDC_UNINSTALL, IDS_UNINSTALL},
                           {IDC_OTHER_PORT_INSTALL, IDS_OTHER_PORT_INSTALL},
                           {IDC_PROTECTED_PRINT_NOTE, IDS_PROTECTED_PRINT}});
  SetSheetButtonTexts(IDS_NEXT, IDS_BACK, IDS_EXIT);
}

}  // namespace lx
