// Windows types for plug-in code that builds on Windows and on the host.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <compstui.h>
#include <winddiui.h>
#else
#include "plugin/oem/host_types.h"
#endif
