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
    case 1: return {142, true, 39};
    case 2: return {143, false, 52};
    case 3: return {144, true, 39};
    case 4: return {148, false, 39};
    case 5: return {149, false, 52};
    case -1: return {140, false, 51};
    default: return {140, false, 39};
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
