// Resource ids of the launcher.
#pragma once

#define IDD_TESSALY_DIALOG 102
#define IDR_MAINFRAME 128
