#include "plugin/core/option_table.h"


#include "common/text.h"

namespace lx {

const std::vector<OptionRow>& OptionRows() {
  static const std::vector<OptionRow> rows = [] {
    std::vector<OptionRow> r = {
        {"PORTRAIT", 0},         {"LANDSCAPE_CC90", 0},   {"203dpi", 709},
        {"USEPRINTER_CFG", 9},   {"THERMAL", 10},         {"TRANSFER_THERMAL", 11},
        {"AUTO_TYPE", 42},       {"LABEL_TYPE_DEVICE", 9}, {"AUTO", 42},
        {"CONTINUOUS", 12},      {"GAP_WEB", 13},         {"MARK", 14},
        {"CONTINUOUS_VAR", 19},  {"IN0", 41},             {"IN1", 112},
        {"IN2", 15},             {"IN3", 16},             {"IN4", 17},
        {"IN5", 108},            {"IN6", 109},            {"IN7", 110},
        {"CUSTOMSIZE", 1000},    {"Paper_2_x_4", 1001},   {"Paper_4_x_4", 1002},
        {"Paper_4_x_6", 1003},   {"Paper_3_x_4", 999},    {"Paper_40_x_30", 900},
        {"Paper_50_x_30", 901},  {"Paper_60_x_40", 902},  {"Paper_75_x_60", 903},
        {"Paper_80_x_60", 904},  {"Paper_80_x_50", 905},  {"MIRROR_ON", 210},
        {"MIRROR_OFF", 210},     {"LANGUAGE_TSPL", 313},  {"LANGUAGE_ZPL", 314},
        {"NEGATIVE_ON", 211},    {"NEGATIVE_OFF", 211},   {"UFG_ON", 312},
        {"UFG_OFF", 312},        {"ON", 312},             {"OFF", 312},
    };
    static const char* const kLevels[16] = {
        "LEVEL0", "LEVEL1", "LEVEL2",  "LEVEL3",  "LEVEL4",  "LEVEL5",  "LEVEL6",  "LEVEL7",
        "LEVEL8", "LEVEL9", "LEVEL10", "LEVEL11", "LEVEL12", "LEVEL13", "LEVEL14", "LEVEL15"};
    for (const char* level : kLevels) r.push_back({level, 305});
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

const OptionTable& ModuleOptionTable(const StringLoader& load) {
  static const OptionTable table(load);
  return table;
}

}  // namespace lx
