// INI profile reading and writing, shaped like the Windows profile functions.
#pragma once

#include <cstdint>
#include <string>

#include "common/ini.h"

namespace lx {

class IProfile {
 public:
  virtual ~IProfile() = default;
  // GetPrivateProfileStringW with a buffer of `bufferChars`.
  virtual ProfileResult GetString(const std::u16string& section, const std::u16string& key,
                                  const std::u16string& defaultValue, size_t bufferChars,
                                  const std::u16string& file) = 0;
  // GetPrivateProfileSectionW: NUL-separated lines cut to the buffer.
  virtual ProfileResult GetSection(const std::u16string& section, size_t bufferChars,
                                   const std::u16string& file) = 0;
  virtual uint32_t GetInt(const std::u16string& section, const std::u16string& key,
                          int defaultValue, const std::u16string& file) = 0;
  virtual bool WriteString(const std::u16string& section, const std::u16string& key,
                           const std::u16string& value, const std::u16string& file) = 0;
};

}  // namespace lx
