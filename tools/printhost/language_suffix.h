// The language suffix the installer writes for the plug-in (HKLM
// "Software\Label Printer\LX-220", value "Suffix"), as the print host's tests
// set it for a run and give it back afterwards.
#pragma once

#include <optional>
#include <string>

namespace printhost {

bool WriteSuffix(const std::wstring& suffix);

// What the key held before a test changed it.
class SavedSuffix {
 public:
  void Save();
  // Writes the saved value back; without one, removes the value, and the key
  // (and its parent when empty) when the key did not exist before.
  void Restore() const;

 private:
  bool keyExisted_ = false;
  std::optional<std::wstring> value_;
};

}  // namespace printhost
