// INI files in memory for the plug-in's tests, read with the same profile
// semantics as the product's INI reader; and a debugger output that keeps lines.
#pragma once

#include <algorithm>
#include <map>
#include <vector>

#include "common/ini.h"
#include "common/text.h"
#include "platform/debug_output.h"
#include "platform/profile.h"

namespace lx::testing {

class TestProfile : public IProfile {
 public:
  void PutFile(const std::u16string& path, const std::string& bytes) {
    files_[ToLowerAscii(path)] = bytes;
  }
  ProfileResult GetString(const std::u16string& section, const std::u16string& key,
                          const std::u16string& def, size_t bufferChars,
                          const std::u16string& file) override {
    return Load(file).GetString(section, key, def, bufferChars);
  }
  ProfileResult GetSection(const std::u16string& section, size_t bufferChars,
                           const std::u16string& file) override {
    return Load(file).GetSection(section, bufferChars);
  }
  uint32_t GetInt(const std::u16string& section, const std::u16string& key, int def,
                  const std::u16string& file) override {
    return Load(file).GetInt(section, key, def);
  }
  bool WriteString(const std::u16string&, const std::u16string&, const std::u16string&,
                   const std::u16string&) override {
    return false;
  }

 private:
  IniDocument Load(const std::u16string& file) const {
    auto it = files_.find(ToLowerAscii(file));
    return it == files_.end() ? IniDocument() : IniDocument::FromBytes(it->second);
  }
  std::map<std::u16string, std::string> files_;
};

class TestDebugOutput : public IDebugOutput {
 public:
  void OutputA(const std::string& text) override { lines.push_back(AnsiToUtf16(text)); }
  void OutputW(const std::u16string& text) override { lines.push_back(text); }
  bool Has(const std::u16string& line) const {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  std::vector<std::u16string> lines;
};

}  // namespace lx::testing
