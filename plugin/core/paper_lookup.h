// How the DEVMODE merge finds a label size: the printer's paper store stands
// behind this, sizes already in tenths of a millimetre.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lx {

struct PaperInfo {
  int32_t number = 0;
  std::u16string name;
  int32_t widthTenths = 0;
  int32_t lengthTenths = 0;
};

class IPaperLookup {
 public:
  virtual ~IPaperLookup() = default;
  virtual std::optional<PaperInfo> FindByNumber(int32_t number) = 0;
  virtual std::optional<PaperInfo> FindByName(const std::u16string& name) = 0;
};

}  // namespace lx
