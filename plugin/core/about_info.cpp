#include "plugin/core/about_info.h"

#include "platform/profile.h"
#include "plugin/core/language_table.h"

namespace lx {

const char16_t kBrandASupportUrl[] = u"https://support.brand-a.example/label-printers";
const char16_t kBrandBSupportUrl[] = u"https://support.brand-b.example/label-printers";

namespace {

struct Brand {
  unsigned logoBitmap;
  bool fixedSupport;  // brand B's own address instead of "Web"
  unsigned legalNotice;
};

Brand BrandOf(int logoData) {
  switch (logoData) {
    case 1: return {IDB_LOGO_1, true, IDS_LEGAL_NOTICE};
    case 2: return {IDB_LOGO_2, false, IDS_LEGAL_NOTICE_LICENSED};
    case 3: return {IDB_LOGO_3, true, IDS_LEGAL_NOTICE};
    case 4: return {IDB_LOGO_4, false, IDS_LEGAL_NOTICE};
    case 5: return {IDB_LOGO_5, false, IDS_LEGAL_NOTICE_LICENSED};
    case -1: return {IDB_LOGO_DEFAULT, false, IDS_LEGAL_NOTICE_SUPPORTED};
    default: return {IDB_LOGO_DEFAULT, false, IDS_LEGAL_NOTICE};
  }
}

}  // namespace

AboutInfo ReadAboutInfo(IProfile& profile, const std::u16string& configPath, int uiLanguage) {
  AboutInfo info;
  const std::u16string section = UiLanguageCode(uiLanguage);
  auto text = [&](const char16_t* key) {
    return profile.GetString(section, key, u"", 260, configPath).text;
  };
  info.driverName = text(u"DriverName");
  info.driverType = text(u"DriverType");
  info.driverVersion = text(u"DriverVersion");
  info.driverCopyright = text(u"DriverCopyright");
  info.driverLink = static_cast<int>(profile.GetInt(section, u"DriverLink", 0, configPath));

  const std::u16string driverType = u"DRIVER_TYPE";
  info.showLogo = static_cast<int>(profile.GetInt(driverType, u"ShowLogo", 0, configPath));
  info.offset = static_cast<int>(profile.GetInt(driverType, u"Offset", 0, configPath));
  info.web = profile.GetString(driverType, u"Web", kBrandASupportUrl, 260, configPath).text;
  info.logoData = static_cast<int>(profile.GetInt(driverType, u"LogoData", -1, configPath));

  const Brand brand = BrandOf(info.logoData);
  info.logoBitmap = brand.logoBitmap;
  info.supportUrl = brand.fixedSupport ? kBrandBSupportUrl : info.web;
  info.legalNotice = brand.legalNotice;
  return info;
}

}  // namespace lx
