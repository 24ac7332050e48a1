// Any bytes as an INI file: every query answers within the caller's buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  lx::IniDocument doc = lx::IniDocument::FromBytes(bytes);
  for (const char16_t* section : {u"Support_Driver", u"Install", u"S", u""}) {
    for (size_t buffer : {0u, 1u, 2u, 3u, 17u, 1024u}) {
      lx::ProfileResult s = doc.GetSection(section, buffer);
      if (s.count != s.text.size() || (buffer >= 2 && s.count > buffer - 2 && s.count != 0)) abort();
      lx::ProfileResult v = doc.GetString(section, u"k", u"d  ", buffer);
      if (v.count != v.text.size() || (buffer > 0 && v.count >= buffer)) abort();
    }
    doc.GetInt(section, u"k", 7);
  }
  return 0;
}
