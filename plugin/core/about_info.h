// The About page's texts and the brand choices of the configuration file.
#pragma once

#include <cstdint>
#include <string>

#include "plugin/resources/resource_ids.h"

namespace lx {

class IProfile;

// Support addresses of the two re-sellers the brand selector knows.
extern const char16_t kBrandASupportUrl[];
extern const char16_t kBrandBSupportUrl[];

struct AboutInfo {
  std::u16string driverName, driverType, driverVersion, driverCopyright;
  int driverLink = 0;   // 0 hides the support button
  int showLogo = 0;     // 0 hides the logo
  int offset = 0;       // 0 hides the optional controls
  std::u16string web;   // "Web" of the file
  int logoData = -1;    // brand selector
  unsigned logoBitmap = IDB_LOGO_DEFAULT;
  std::u16string supportUrl;  // what the support button opens
  unsigned legalNotice = IDS_LEGAL_NOTICE_SUPPORTED;  // string id, shown for UI languages 7 to 9
};

// Reads the section of the UI language and "DRIVER_TYPE" and applies the
// brand table.
AboutInfo ReadAboutInfo(IProfile& profile, const std::u16string& configPath, int uiLanguage);

}  // namespace lx
