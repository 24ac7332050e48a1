// Any bytes as cfgSetup.ini: the installer loads it with defaults for what it
// cannot use, never reading or writing out of bounds. The file is parsed once
// per input and every profile call answers from that parse, as a file that
// does not change between the calls would answer; the loader is all that
// runs besides the reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/ini.h"
#include "installer/core/installer_config.h"
#include "platform/os.h"
#include "platform/profile.h"

namespace {

class ParsedProfile : public lx::IProfile {
 public:
  lx::ProfileResult GetString(const std::u16string& section, const std::u16string& key,
                              const std::u16string& def, size_t bufferChars, const std::u16string&) override {
    return doc.GetString(section, key, def, bufferChars);
  }
  lx::ProfileResult GetSection(const std::u16string& section, size_t bufferChars,
                               const std::u16string&) override {
    return doc.GetSection(section, bufferChars);
  }
  uint32_t GetInt(const std::u16string& section, const std::u16string& key, int def,
                  const std::u16string&) override {
    return doc.GetInt(section, key, def);
  }
  bool WriteString(const std::u16string&, const std::u16string&, const std::u16string&,
                   const std::u16string&) override {
    abort();  // loading never writes
  }
  lx::IniDocument doc;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ParsedProfile profile;
  profile.doc = lx::IniDocument::FromBytes(std::string(reinterpret_cast<const char*>(data), size));
  lx::Os os;
  os.profile = &profile;
  lx::InstallerConfig config;
  lx::LoadInstallerConfig(os, u"C:\\Setup\\cfgSetup.ini", config);
  if (config.modelCount != static_cast<int>(config.modelNames.size())) abort();
  for (const auto& name : config.modelNames)
    if (name.size() > 1022 || config.models.count(name) == 0) abort();
  if (config.uninstall.DriverName.size() < 2 || config.uninstall.DriverName.size() > 1025) abort();
  return 0;
}
