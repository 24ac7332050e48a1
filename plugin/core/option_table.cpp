#include "plugin/core/option_table.h"

#include "common/text.h"
#include "plugin/resources/resource_ids.h"

namespace lx {

const std::vector<OptionRow>& OptionRows() {
  static const std::vector<OptionRow> rows = [] {
    std::vector<OptionRow> r = {
        {"PORTRAIT", 0},                             {"LANDSCAPE_CC90", 0},
        {"203dpi", IDS_RESOLUTION_203},              {"USEPRINTER_CFG", IDS_USE_PRINTER_SETTINGS},
        {"THERMAL", IDS_DIRECT_THERMAL},             {"TRANSFER_THERMAL", IDS_THERMAL_TRANSFER},
        {"AUTO_TYPE", IDS_MEDIA_AUTO},               {"LABEL_TYPE_DEVICE", IDS_USE_PRINTER_SETTINGS},
        {"AUTO", IDS_MEDIA_AUTO},                    {"CONTINUOUS", IDS_MEDIA_CONTINUOUS},
        {"GAP_WEB", IDS_MEDIA_GAP},                  {"MARK", IDS_MEDIA_MARK},
        {"CONTINUOUS_VAR", IDS_MEDIA_CONTINUOUS_VAR}, {"IN0", IDS_SPEED_0},
        {"IN1", IDS_SPEED_1},                        {"IN2", IDS_SPEED_2},
        {"IN3", IDS_SPEED_3},                        {"IN4", IDS_SPEED_4},
        {"IN5", IDS_SPEED_5},                        {"IN6", IDS_SPEED_6},
        {"IN7", IDS_SPEED_7},                        {"CUSTOMSIZE", IDS_PAPER_CUSTOM},
        {"Paper_2_x_4", IDS_PAPER_2X4},              {"Paper_4_x_4", IDS_PAPER_4X4},
        {"Paper_4_x_6", IDS_PAPER_4X6},              {"Paper_3_x_4", IDS_PAPER_3X4},
        {"Paper_40_x_30", IDS_PAPER_40X30},          {"Paper_50_x_30", IDS_PAPER_50X30},
        {"Paper_60_x_40", IDS_PAPER_60X40},          {"Paper_75_x_60", IDS_PAPER_75X60},
        {"Paper_80_x_60", IDS_PAPER_80X60},          {"Paper_80_x_50", IDS_PAPER_80X50},
        {"MIRROR_ON", IDS_MIRROR},                   {"MIRROR_OFF", IDS_MIRROR},
        {"LANGUAGE_TSPL", IDS_LANGUAGE_TSPL},        {"LANGUAGE_ZPL", IDS_LANGUAGE_ZPL},
        {"NEGATIVE_ON", IDS_NEGATIVE},               {"NEGATIVE_OFF", IDS_NEGATIVE},
        {"UFG_ON", IDS_USE_PRINTER_SPEED},           {"UFG_OFF", IDS_USE_PRINTER_SPEED},
        {"ON", IDS_USE_PRINTER_SPEED},               {"OFF", IDS_USE_PRINTER_SPEED},
    };
    static const char* const kLevels[16] = {
        "LEVEL0", "LEVEL1", "LEVEL2",  "LEVEL3",  "LEVEL4",  "LEVEL5",  "LEVEL6",  "LEVEL7",
        "LEVEL8", "LEVEL9", "LEVEL10", "LEVEL11", "LEVEL12", "LEVEL13", "LEVEL14", "LEVEL15"};
    for (const char* level : kLevels) r.push_back({level, IDS_SPEED});
    return r;
  }();
  return rows;
}

OptionTable::OptionTable(const StringLoader& load) {
  for (const OptionRow& row : OptionRows()) {
    OptionEntry e;
    e.keyword = CutToBuffer(std::string_view(row.keyword), 40);
    e.stringId = row.stringId;
    std::u16string text = row.stringId == 0 ? u"Useless" : (load ? load(row.stringId) : u"");
    e.displayText = CutToBuffer(text, 40);
    rows_.push_back(std::move(e));
  }
}

const OptionEntry* OptionTable::Find(std::string_view keyword) const {
  for (const OptionEntry& e : rows_) {
    if (e.keyword == keyword) return &e;
  }
  return nullptr;
}

}  // namespace lx
