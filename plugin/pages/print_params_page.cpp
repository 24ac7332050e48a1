#include "plugin/pages/print_params_page.h"

#include "plugin/core/model_table.h"
#include "plugin/pages/feature_controls.h"
#include "plugin/resources/resource_ids.h"

namespace lx {

namespace {

constexpr int kCut = 3;
constexpr int kAfterInterval = 3;
constexpr float kGapShown = 2.0f;   // what choosing gap labels shows
constexpr float kMarkShown = 3.0f;  // what choosing black-mark labels shows

bool IsGap(std::string_view media) { return media == "GAP_WEB"; }
bool IsMark(std::string_view media) { return media == "MARK"; }

double Clamp(double value, double low, double high) { return value < low ? low : value > high ? high : value; }

}  // namespace

double LimitGapHeight(double value, std::string_view mediaType) {
  if (IsGap(mediaType)) return Clamp(value, 1, 12);
  if (IsMark(mediaType)) return Clamp(value, 1, 15);
  return value;
}

int LimitInterval(double value) {
  if (!(value >= 1)) return 1;
  if (value >= 99) return 99;
  return static_cast<int>(value);
}

PrintParamsPage::PrintParamsPage(PageContext& context) : DocumentPage(context, IDD_PRINT_PARAMS_PAGE, kHelpOptions) {
  PrivateDevmode& live = *context.live;
  live.modelClassValue = ModelClassValue(context.modelClass());
  AddNumberField({IDC_GAP, NumberFormat::kMillimetres1, NumberChars::kUnsigned, 4, [this](double value) {
                    FeatureSlot* media = Slot(kFeatureLabelType);
                    value = LimitGapHeight(value, media ? CurrentKeyword(*media) : std::string_view());
                    this->context().live->gapHeight = static_cast<float>(value);
                    return value;
                  }});
  AddNumberField({IDC_OFFSET_X, NumberFormat::kMillimetres2, NumberChars::kSigned, 6, [this](double value) {
                    value = Clamp(value, -25, 25);
                    this->context().live->offsetX = static_cast<float>(value);
                    return value;
                  }});
  AddNumberField({IDC_OFFSET_Y, NumberFormat::kMillimetres2, NumberChars::kSigned, 6, [this](double value) {
                    value = Clamp(value, -25, 25);
                    this->context().live->offsetY = static_cast<float>(value);
                    return value;
                  }});
  AddNumberField({IDC_FEED_OFFSET, NumberFormat::kMillimetres2, NumberChars::kSigned, 4, [this](double value) {
                    value = Clamp(value, -10, 30);
                    PrivateDevmode& record = *this->context().live;
                    record.feedOffset = static_cast<float>(value);
                    record.modelClassValue = ModelClassValue(this->context().modelClass());
                    return value;
                  }});
  AddNumberField({IDC_INTERVAL, NumberFormat::kInteger, NumberChars::kAny, 0, [this](double value) {
                    int interval = LimitInterval(value);
                    this->context().live->postActionInterval = interval;
                    return static_cast<double>(interval);
                  }});
}

FeatureSlot* PrintParamsPage::Slot(FeatureIndex index) {
  return context().features ? &context().features->slots[index] : nullptr;
}

bool PrintParamsPage::HasPostAction() {
  int modelClass = context().modelClass();
  return modelClass == 2 || modelClass == 4;
}

void PrintParamsPage::InitPage() {
  SetTexts({{IDC_COLLATE, IDS_COLLATE},
            {IDC_FEED_OFFSET_LABEL, IDS_FEED_OFFSET},
            {IDC_USE_PRINTER_FEED, IDS_USE_PRINTER_SETTINGS},
            {IDC_MEDIA_GROUP, IDS_MEDIA_GROUP},
            {IDC_PRINT_METHOD_LABEL, IDS_PRINT_METHOD},
            {IDC_MEDIA_TYPE_LABEL, IDS_MEDIA_TYPE},
            {IDC_POSITION_GROUP, IDS_POSITION_GROUP},
            {IDC_OFFSET_X_LABEL, IDS_OFFSET_X},
            {IDC_OFFSET_Y_LABEL, IDS_OFFSET_Y},
            {IDC_PRINT_MODE_LABEL, IDS_PRINT_MODE},
            {IDC_GAP_LABEL, IDS_GAP_HEIGHT},
            {IDC_POST_ACTION_LABEL, IDS_POST_ACTION},
            {IDC_TIMING_LABEL, IDS_TIMING},
            {IDC_INTERVAL_LABEL, IDS_INTERVAL}});
  WidenLabel(IDC_OFFSET_X_LABEL);
  WidenLabel(IDC_OFFSET_Y_LABEL);

  if (FeatureSlot* method = Slot(kFeatureImageryType)) FillFeatureList(view(), IDC_PRINT_METHOD, *method);
  if (FeatureSlot* media = Slot(kFeatureLabelType)) FillFeatureList(view(), IDC_MEDIA_TYPE, *media);
  if (!HasPostAction()) {
    // Classes without a cutter fix the print method to its second entry.
    view().ComboSetCurSel(IDC_PRINT_METHOD, 1);
    view().Enable(IDC_PRINT_METHOD, false);
  }
  view().Show(IDC_PAPER_SAVING, false);

  if (HasPostAction()) {
    for (unsigned id = IDS_ACTION_NONE; id <= IDS_ACTION_CUT; ++id) view().ComboAdd(IDC_POST_ACTION, context().Text(id));
    for (unsigned id = IDS_TIMING_PAGE; id <= IDS_TIMING_INTERVAL; ++id) view().ComboAdd(IDC_TIMING, context().Text(id));
  } else {
    for (int id : {IDC_POST_ACTION_LABEL, IDC_TIMING_LABEL, IDC_POST_ACTION, IDC_TIMING, IDC_INTERVAL_LABEL,
                   IDC_INTERVAL}) {
      view().Show(id, false);
    }
  }
}

// A label whose text is wider than the template made it grows to the right.
void PrintParamsPage::WidenLabel(int control) {
  if (!view().HasControl(control)) return;
  int width = view().MeasureText(control, view().GetText(control));
  Rect rect = view().GetControlRect(control);
  if (width > rect.Width()) {
    rect.right = rect.left + width;
    view().MoveControl(control, rect);
  }
}

void PrintParamsPage::ShowState() {
  const PrivateDevmode& live = *context().live;
  view().SetCheck(IDC_PAPER_SAVING, live.paperSaving != 0);
  view().SetCheck(IDC_COLLATE, live.collate != 0);
  if (FeatureSlot* media = Slot(kFeatureLabelType)) ShowFeatureSelection(view(), IDC_MEDIA_TYPE, *media);
  if (HasPostAction()) {
    view().ComboSetCurSel(IDC_POST_ACTION, live.postAction);
    view().ComboSetCurSel(IDC_TIMING, live.postActionTiming);
    ShowNumber(IDC_INTERVAL, live.postActionInterval);
    EnablePostAction();
    if (FeatureSlot* method = Slot(kFeatureImageryType)) ShowFeatureSelection(view(), IDC_PRINT_METHOD, *method);
  }
  ShowGap(true);
  ShowNumber(IDC_OFFSET_X, live.offsetX);
  ShowNumber(IDC_OFFSET_Y, live.offsetY);
  ShowNumber(IDC_FEED_OFFSET, live.feedOffset);
  FeatureSlot* feed = Slot(kFeaturePrinterPaperOffset);
  bool fromPrinter = feed && IsCurrentOption(*feed, "UFG_ON");
  view().SetCheck(IDC_USE_PRINTER_FEED, fromPrinter);
  view().Enable(IDC_FEED_OFFSET, !fromPrinter);
  view().Enable(IDC_FEED_OFFSET_LABEL, !fromPrinter);
}

// The gap field and its label for gap and black-mark media; the record's
// height when the page is shown, the media type's usual height when the
// type was just chosen (the record takes it only when the field is left).
void PrintParamsPage::ShowGap(bool fromRecord) {
  FeatureSlot* media = Slot(kFeatureLabelType);
  std::string_view type = media ? CurrentKeyword(*media) : std::string_view();
  bool shown = IsGap(type) || IsMark(type);
  view().Show(IDC_GAP, shown);
  view().Show(IDC_GAP_LABEL, shown);
  if (!shown) return;
  view().SetText(IDC_GAP_LABEL, context().Text(IsMark(type) ? IDS_MARK_HEIGHT : IDS_GAP_HEIGHT));
  float height = fromRecord ? context().live->gapHeight : IsMark(type) ? kMarkShown : kGapShown;
  ShowNumber(IDC_GAP, height);
}

void PrintParamsPage::EnablePostAction() {
  const PrivateDevmode& live = *context().live;
  bool cut = live.postAction == kCut;
  bool interval = cut && live.postActionTiming == kAfterInterval;
  view().Enable(IDC_TIMING, cut);
  view().Enable(IDC_TIMING_LABEL, cut);
  view().Enable(IDC_INTERVAL, interval);
  view().Enable(IDC_INTERVAL_LABEL, interval);
}

bool PrintParamsPage::HandleCommand(int controlId, int code) {
  PrivateDevmode& live = *context().live;
  if (code == kCbnSelChange) {
    int selected = view().ComboGetCurSel(controlId);
    switch (controlId) {
      case IDC_PRINT_METHOD:
        if (FeatureSlot* method = Slot(kFeatureImageryType)) TakeFeatureSelection(view(), controlId, *method);
        return true;
      case IDC_MEDIA_TYPE:
        if (FeatureSlot* media = Slot(kFeatureLabelType)) TakeFeatureSelection(view(), controlId, *media);
        ShowGap(false);
        return true;
      case IDC_POST_ACTION:
        if (selected >= 0) live.postAction = selected;
        EnablePostAction();
        return true;
      case IDC_TIMING:
        if (selected >= 0) live.postActionTiming = selected;
        EnablePostAction();
        return true;
      default:
        return false;
    }
  }
  if (code != kBnClicked) return false;
  switch (controlId) {
    case IDC_USE_PRINTER_FEED: {
      bool fromPrinter = view().GetCheck(controlId);
      if (FeatureSlot* feed = Slot(kFeaturePrinterPaperOffset)) SelectOption(*feed, fromPrinter ? "UFG_ON" : "UFG_OFF");
      view().Enable(IDC_FEED_OFFSET, !fromPrinter);
      view().Enable(IDC_FEED_OFFSET_LABEL, !fromPrinter);
      return true;
    }
    case IDC_COLLATE:
      live.collate = view().GetCheck(controlId) ? 1 : 0;
      return true;
    case IDC_PAPER_SAVING:
      live.paperSaving = view().GetCheck(controlId) ? 1 : 0;
      return true;
    default:
      return false;
  }
}

bool PrintParamsPage::Apply() {
  if (!ApplyPages(context())) return false;
  // The public DEVMODE carries collate for the application.
  if (DEVMODEW* dm = context().publicDm) {
    if (dm->dmCollate != context().live->collate) {
      dm->dmFields |= DM_COLLATE;
      dm->dmCollate = context().live->collate;
    }
  }
  return ApplyPages(context());
}

bool PrintParamsPage::DiffersFromBackup() {
  for (FeatureIndex index : {kFeatureImageryType, kFeatureLabelType, kFeaturePrinterPaperOffset}) {
    if (FeatureSlot* slot = Slot(index); slot && FeatureChanged(*slot)) return true;
  }
  const PrivateDevmode& live = *context().live;
  const PrivateDevmode& backup = context().backup();
  return live.feedOffset != backup.feedOffset || live.offsetX != backup.offsetX || live.offsetY != backup.offsetY ||
         live.collate != backup.collate || live.paperSaving != backup.paperSaving;
}

}  // namespace lx
