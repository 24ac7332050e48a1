#include "plugin/core/model_table.h"

#include <initializer_list>

namespace lx {

namespace {

struct Group {
  std::initializer_list<std::u16string_view> patterns;
  int modelClass;
};

// Order matters: "LX-220H" before "LX-220", "ZA270 " before "270 ", and
// "RQ-210C " is told from "RQ-210CT " only by its blank.
const Group kGroups[] = {
    {{u"LX-220H"}, 3},
    {{u"LX-223TH", u"MV-D223TH ", u"RQ-L555 ", u"HB256QS-PRO ", u"HB256QS PRO "}, 4},
    {{u"LX-220", u"WN-220"}, 0},
    {{u"MV-D260 ", u"RQ-D140 ", u"HB236Q1 ", u"HB235Q ", u"KF-220 ", u"260 ", u"ZA270 ",
      u"RQ-210C "},
     0},
    {{u"RQ-220WBC "}, 0},
    {{u"LX-221", u"WN-270 ", u"WN-270W ", u"WN-270E ", u"MV-D270 ", u"HB236Q ", u"KF-221 "}, 1},
    {{u"RQ-210 ", u"270 ", u"RQ-220WB "}, 1},
    {{u"LX-223T ", u"MV-LX280 ", u"HB246QS PRO ", u"HB260QS PRO ", u"HB246QS-PRO ",
      u"HB260QS-PRO ", u"ZA180 ", u"RQ-L140 ", u"WN-221T ", u"WN-221TES ", u"WN-221TBW ",
      u"WN-221TESBW ", u"RQ-210CT ", u"RQ-220NCT "},
     2},
};

}  // namespace

int ApplyModelTable(std::u16string_view driverName, int current) {
  const std::u16string_view name = driverName.substr(0, 31);
  for (const Group& group : kGroups) {
    for (std::u16string_view pattern : group.patterns) {
      if (name.find(pattern) != std::u16string_view::npos) return group.modelClass;
    }
  }
  return current;
}

int ModelClassFromType(uint32_t type) {
  return type < static_cast<uint32_t>(kModelClassCount) ? static_cast<int>(type) : 0;
}

int32_t ModelClassValue(int modelClass) {
  static const int32_t kValues[kModelClassCount] = {85, 100, 112, 108, 168};
  return (modelClass >= 0 && modelClass < kModelClassCount) ? kValues[modelClass] : kValues[0];
}

}  // namespace lx
