// What a property page answers to: the events the page host turns window
// messages into. One interface for the wizard's pages and for the pages the
// plug-in adds to the printing preferences; each event names the message it
// stands for.
#pragma once

#include <cstdint>

#include "ui/dialog_view.h"

namespace lx {

// Notification and command codes the pages use.
constexpr int kBnClicked = 0;
constexpr int kCbnSelChange = 1;
constexpr int kEnSetFocus = 0x100;
constexpr int kEnKillFocus = 0x200;
constexpr int kEnChange = 0x300;
constexpr int kNmClick = -2;
constexpr int kLvnItemChanged = -101;

// Answers of OnWizardNext / OnWizardBack (PSN_WIZNEXT / PSN_WIZBACK).
constexpr intptr_t kMoveDefault = 0;  // go to the neighbouring entry of the page list
constexpr intptr_t kStay = -1;        // no move by the wizard (the page moved itself, or refused)

// Answers of OnApply (PSN_APPLY).
constexpr intptr_t kPsnretNoError = 0;
constexpr intptr_t kPsnretInvalid = 1;
constexpr intptr_t kPsnretInvalidNoChangePage = 2;

enum class ControlKind {
  kStatic, kPicture, kButton, kCheckBox, kRadioButton, kEdit, kComboBox, kListView,
  kProgressBar, kTrackbar, kRichEdit, kLink, kOther
};

// How a control is painted; the binding answers WM_CTLCOLOR* with it.
struct ControlColors {
  uint32_t background = 0xFFFFFF;  // COLORREF
  uint32_t text = 0x000000;
  bool transparent = false;  // SetBkMode(TRANSPARENT)
  // The system's dialog colours instead (the dialog manager's own answer:
  // COLOR_BTNFACE, COLOR_WINDOW for enabled fields), so that disabled fields
  // look disabled and high-contrast schemes hold; the fields above are unused.
  bool system = false;
};
inline constexpr ControlColors kSystemColors{0xFFFFFF, 0x000000, false, true};

class IPropertyPage {
 public:
  virtual ~IPropertyPage() = default;
  virtual int TemplateId() const = 0;
  // WM_INITDIALOG: the page's window has been built from its template.
  virtual void OnInitDialog(IDialogView& view) = 0;
  virtual bool IsBuilt() const = 0;
  // PSN_SETACTIVE.
  virtual void OnSetActive() = 0;
  // PSN_KILLACTIVE: true keeps the page active (invalid input).
  virtual bool OnKillActive() { return false; }
  // PSN_APPLY: a kPsnret* answer.
  virtual intptr_t OnApply() { return kPsnretNoError; }
  // PSN_RESET: the sheet is closed without applying.
  virtual void OnReset() {}
  // PSN_HELP and WM_HELP.
  virtual void OnHelp() {}
  // PSN_WIZNEXT / PSN_WIZBACK of a wizard.
  virtual intptr_t OnWizardNext() { return kStay; }
  virtual intptr_t OnWizardBack() { return kStay; }
  // WM_COMMAND, except the focus changes of edit fields.
  virtual void OnCommand(int controlId, int code) {}
  // EN_SETFOCUS (gained) and EN_KILLFOCUS.
  virtual void OnEditFocus(int controlId, bool gained) {}
  // WM_NOTIFY not handled by the host.
  virtual intptr_t OnNotify(int controlId, int code) { return 0; }
  // WM_HSCROLL / WM_VSCROLL from a control (trackbars, up-down controls).
  virtual void OnScroll(int controlId, int code, bool vertical) {}
  virtual void OnTimer(unsigned timerId) {}
  // Messages posted to the page (WM_USER+500 and up).
  virtual void OnMessage(unsigned message, uintptr_t wParam, intptr_t lParam) {}
  // The page callback: PSPCB_CREATE (false: no window is made) and PSPCB_RELEASE.
  virtual bool OnPageCreate() { return true; }
  virtual void OnPageRelease() {}
  virtual ControlColors CtlColor(int controlId, ControlKind kind) const { return {}; }
  // NM_CUSTOMDRAW at item level: the text background of a list row.
  virtual uint32_t RowBackground(int listId, int row, bool selected) const { return 0xFFFFFF; }
};

}  // namespace lx
