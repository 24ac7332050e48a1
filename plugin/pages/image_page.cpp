#include "plugin/pages/image_page.h"

#include "plugin/core/bitmap_cache.h"
#include "plugin/resources/resource_ids.h"

namespace lx {

namespace {

// The second image-processing check box some templates carry.
constexpr int kImageOption2 = 1122;

struct Halftone {
  int button;
  int method;
  float toneFactor;  // what choosing the method sets
};
constexpr Halftone kHalftones[] = {
    {IDC_HALFTONE_NONE, 0, 1.8f}, {IDC_HALFTONE_DIFFUSION, 1, 1.0f}, {IDC_HALFTONE_JJN, 2, 1.0f}};

}  // namespace

double LimitToneFactor(double value) {
  if (value > 10) return 10;
  if (value <= 0) return 0.1;
  return value;
}

ImagePage::ImagePage(PageContext& context) : DocumentPage(context, IDD_IMAGE_PAGE, kHelpPaper) {
  AddNumberField({IDC_TONE_FACTOR, NumberFormat::kPlain2, NumberChars::kUnsigned, 0, [this](double value) {
                    value = LimitToneFactor(value);
                    this->context().live->grayFactor = static_cast<float>(value);
                    return value;
                  }});
}

void ImagePage::InitPage() {
  SetTexts({{IDC_HALFTONE_GROUP, IDS_IMAGE_TITLE},
            {IDC_HALFTONE_NONE, IDS_HALFTONE_NONE},
            {IDC_HALFTONE_DIFFUSION, IDS_HALFTONE_DIFFUSION},
            {IDC_HALFTONE_JJN, IDS_HALFTONE_JJN},
            {IDC_IMAGE_GROUP, IDS_IMAGE_GROUP},
            {IDC_TONE_FACTOR_LABEL, IDS_TONE_FACTOR},
            {IDC_THICKER_LINES, IDS_THICKER_LINES}});
}

void ImagePage::ShowState() {
  const PrivateDevmode& live = *context().live;
  int checked = IDC_HALFTONE_NONE;
  for (const Halftone& h : kHalftones) {
    if (h.method == live.halftone) checked = h.button;
  }
  for (const Halftone& h : kHalftones) view().SetCheck(h.button, h.button == checked);
  ShowNumber(IDC_TONE_FACTOR, live.grayFactor);
  view().SetCheck(IDC_THICKER_LINES, live.boldLines != 0);
  if (view().HasControl(kImageOption2)) view().SetCheck(kImageOption2, live.imageOption2 != 0);
  ShowPreview();
}

void ImagePage::ShowPreview() {
  if (context().env) {
    context().env->ShowPicture(view(), IDC_HALFTONE_PREVIEW, HalftonePreviewBitmapId(context().live->halftone), true);
  }
}

bool ImagePage::HandleCommand(int controlId, int code) {
  if (code != kBnClicked) return false;
  PrivateDevmode& live = *context().live;
  for (const Halftone& h : kHalftones) {
    if (controlId != h.button || !view().GetCheck(h.button)) continue;
    live.halftone = h.method;
    live.grayFactor = h.toneFactor;
    ShowNumber(IDC_TONE_FACTOR, live.grayFactor);
    ShowPreview();
    return true;
  }
  if (controlId == IDC_THICKER_LINES) {
    live.boldLines = view().GetCheck(IDC_THICKER_LINES) ? 1 : 0;
    return true;
  }
  if (controlId == kImageOption2) {
    live.imageOption2 = view().GetCheck(kImageOption2) ? 1 : 0;
    return true;
  }
  return false;
}

bool ImagePage::DiffersFromBackup() {
  const PrivateDevmode& live = *context().live;
  const PrivateDevmode& backup = context().backup();
  return live.halftone != backup.halftone || live.grayFactor != backup.grayFactor ||
         live.boldLines != backup.boldLines || live.imageOption2 != backup.imageOption2;
}

void ImagePage::Released() {
  if (context().env) context().env->ReleasePictures(view());
}

}  // namespace lx
