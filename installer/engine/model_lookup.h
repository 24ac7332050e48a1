// The installation's questions to the model table of g_config, answered with
// empty text or -1 when no entry matches.
#pragma once

#include <string>

namespace lx {

// TYPE of the first entry whose PID occurs in the instance ID; -1 when none.
int FindModelTypeByInstanceId(const std::u16string& instanceId);
// DriverName of the first entry of that TYPE; type -1 gives the first entry's.
std::u16string FindDriverNameByType(int type);
// PRINTERNAME of the first entry of that TYPE (-1 is an ordinary type here).
std::u16string FindPrinterNameByType(int type);
std::u16string FindInfNameByDriver(const std::u16string& driverName);
std::u16string FindLanguageRegPathByDriver(const std::u16string& driverName);
// ShowSetting of the first entry with that DriverName; -1 when none.
int GetShowSetting(const std::u16string& driverName);

}  // namespace lx
