// Fuzz target: DEVMODEs from applications reach the conversion and the merge.
// The input DEVMODE is laid out as the core driver hands it over (its claimed
// sizes match its buffer); everything inside it is the fuzzer's.
#include <cstdint>
#include <cstring>
#include <vector>

#include "plugin/core/frame_logic.h"
#include "plugin/core/private_devmode.h"

namespace {

class Papers : public lx::IPaperLookup {
 public:
  std::optional<lx::PaperInfo> FindByNumber(int32_t number) override {
    if (number != 145) return std::nullopt;
    return lx::PaperInfo{145, std::u16string(40, u'n'), 500, 300};
  }
  std::optional<lx::PaperInfo> FindByName(const std::u16string& name) override {
    if (name.size() < 3) return std::nullopt;
    return lx::PaperInfo{256, name + name, 1016, 1524};
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  const size_t extra = (data[0] | data[1] << 8) % 1024;
  const size_t claimedPublic = data[2] % (sizeof(DEVMODEW) + 1);
  const size_t at = (data[3] | data[4] << 8);
  data += 5;
  size -= 5;

  std::vector<uint8_t> in(sizeof(DEVMODEW) + extra);
  std::memcpy(in.data(), data, std::min(size, in.size()));
  auto* pubIn = reinterpret_cast<DEVMODEW*>(in.data());
  pubIn->dmSize = static_cast<WORD>(claimedPublic);
  pubIn->dmDriverExtra = static_cast<WORD>(in.size() - claimedPublic);
  const size_t privateAt = claimedPublic + at % (pubIn->dmDriverExtra + 1);

  DEVMODEW pubOut{};
  pubOut.dmSize = sizeof(DEVMODEW);
  lx::PrivateDevmode privOut;
  std::memset(&privOut, 0, sizeof privOut);
  Papers papers;

  OEMDMPARAM param{};
  param.pPublicDMIn = pubIn;
  param.pPublicDMOut = &pubOut;
  param.pOEMDMIn = in.data() + privateAt;
  param.pOEMDMOut = &privOut;
  lx::AnswerDevMode(OEMDM_CONVERT, &param, &papers);
  lx::AnswerDevMode(OEMDM_MERGE, &param, &papers);
  // The output must always be a valid record of ours.
  if (privOut.header.dwSize != lx::kPrivateDevmodeSize ||
      privOut.header.dwSignature != lx::kPluginSignature || pubOut.dmFormName[31] != 0 ||
      pubOut.dmSize > sizeof(DEVMODEW)) {
    __builtin_trap();
  }
  return 0;
}
