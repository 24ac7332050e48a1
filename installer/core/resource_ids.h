// Resource ids of the installer wizard: dialog templates, controls, strings,
// bitmaps and the program icon. Shared by the .rc files and the page code,
// so it holds nothing but #defines (windres and the C++ compiler both read it).
#ifndef INSTALLER_CORE_RESOURCE_IDS_H
#define INSTALLER_CORE_RESOURCE_IDS_H

// Program icon (group icon).
#define IDI_APP                         128

// Dialog templates, one per wizard page.
#define IDD_STEP_INIT                   129 // CStepInit: language page
#define IDD_STEP_MAIN                   132 // CStepMain: welcome page with picture
#define IDD_STEP_INSTALLER_TYPE         136 // CStepInstallerType
#define IDD_STEP_INSTALLING             137 // CStepInstalling
#define IDD_STEP_SEARCHING              138 // CStepSearching
#define IDD_STEP_SETPRINTER             140 // CStepSetprinter: printer options
#define IDD_STEP_SELECT_PORT            141 // CStepSelectPort
#define IDD_STEP_FINISH                 142 // CStepFinish
#define IDD_STEP_MAIN_NOPIC             143 // CStepMainNoPic
#define IDD_STEP_SET_WIFI               144 // CStepSetWifi
#define IDD_STEP_SELECT_NET_PRINTER     145 // CStepSelectNetPrinter
#define IDD_STEP_MAIN_NOLP              146 // CStepMainNoLP: welcome page without logo
#define IDD_STEP_PRINTER_ACCESSORIES    147 // CStepPrinterAccessories

// Bitmaps. Logos shown in IDC_LOGO, chosen by ShowLogo.
#define IDB_LOGO_DEFAULT                133 // 120 x 40 (ShowLogo 1 and others)
#define IDB_LOGO_2                      166 // 120 x 64
#define IDB_LOGO_4                      167 // 120 x 54
#define IDB_LOGO_3                      170 // 210 x 24
#define IDB_LOGO_5                      179 // 120 x 64
#define IDB_LOGO_6                      180 // 120 x 45
// Tall welcome pictures shown in IDC_WELCOME_PICTURE of IDD_STEP_MAIN.
#define IDB_SIDE_DEFAULT                134 // 210 x 390
#define IDB_SIDE_4                      171 // 210 x 390
#define IDB_SIDE_5                      178 // 210 x 390
// Picture of the welcome page without logo (IDD_STEP_MAIN_NOLP).
#define IDB_WELCOME_NOLP                181 // 500 x 250
// Accessory pictures shown in IDC_ACCESSORY_PICTURE.
#define IDB_ACCESSORY_NONE              192
#define IDB_ACCESSORY_PEELER            193
#define IDB_ACCESSORY_CUTTER            194

// Controls.
#define IDC_WELCOME_PICTURE             1005 // picture, IDD_STEP_MAIN / IDD_STEP_MAIN_NOLP
#define IDC_SEARCH_PROGRESS             1010 // progress bar, IDD_STEP_SEARCHING
#define IDC_PRINTER_NAME_EDIT           1011 // edit, printer options and port pages
#define IDC_PRINTER_IP_EDIT             1012 // edit, printer options page
#define IDC_LANGUAGE_COMBO              1013 // drop-down list, language page
#define IDC_USB_INSTALL                 1014 // button, install-type page
#define IDC_UNINSTALL                   1015 // button, install-type page
#define IDC_NET_INSTALL                 1016 // button, install-type page
#define IDC_OTHER_PORT_INSTALL          1017 // button, install-type page
#define IDC_SET_DEFAULT_PRINTER         1018 // check box, printer options page
#define IDC_LOGO                        1019 // picture: page logo, every page but language and welcome
#define IDC_PORT_ADD                    1020 // button, port page (kept hidden)
#define IDC_PORT_LIST                   1021 // list view, port page
#define IDC_LICENCE_VIEW                1022 // rich edit, IDD_STEP_MAIN_NOPIC (unused in IDD_STEP_MAIN)
#define IDC_PRIVACY_VIEW                1023 // rich edit, welcome pages
#define IDC_LICENCE_LINK                1024 // link, welcome pages
#define IDC_PRIVACY_LINK                1025 // link, welcome pages
#define IDC_AGREE_CHECK                 1026 // check box, welcome pages
#define IDC_MAIN_LICENCE_VIEW           1027 // rich edit, licence view of IDD_STEP_MAIN
#define IDC_FINISH_RESULT               1027 // static, IDD_STEP_FINISH (same id, other page)
#define IDC_PRINT_TEST_PAGE             1028 // button, finish page
#define IDC_FINISH_NOTE                 1029 // static, finish page
#define IDC_LANGUAGE_LABEL              1030 // static, language page
#define IDC_WELCOME_TEXT                1031 // static, welcome pages
#define IDC_INSTALL_TYPE_HEADING        1032 // static, install-type page
#define IDC_INSTALL_PROGRESS            1033 // progress bar, installing page
#define IDC_DRIVER_COMBO                1034 // drop-down list, printer options and port pages
#define IDC_DRIVER_LABEL                1035 // static
#define IDC_PRINTER_NAME_LABEL          1036 // static
#define IDC_PRINTER_IP_LABEL            1037 // static, printer options page
#define IDC_OPTIONS_HEADING             1038 // static, printer options page
#define IDC_OPTIONS_TITLE               1039 // static, printer options page
#define IDC_PORT_CONFIGURE              1040 // button, port page
#define IDC_PORT_TITLE                  1041 // static, port page
#define IDC_PORT_HEADING                1042 // static, port page
#define IDC_WIFI_CONFIGURATOR           1043 // button, printer options page
#define IDC_IP_AUTO_WIFI                1044 // button, printer options page
#define IDC_IP_AUTO_NET                 1045 // button, printer options page
#define IDC_WIFI_NAME_LABEL             1046 // static, WiFi page
#define IDC_WIFI_PASSWORD_LABEL         1047 // static, WiFi page
#define IDC_WIFI_NAME_EDIT              1048 // edit, WiFi page
#define IDC_WIFI_PASSWORD_EDIT          1049 // edit, WiFi page
#define IDC_WIFI_TITLE                  1050 // static, WiFi page
#define IDC_WIFI_HEADING                1051 // static, WiFi page
#define IDC_BY_HOSTNAME                 1052 // check box, printer list page (hidden on printer options page)
#define IDC_NET_LIST_TITLE              1053 // static, printer list page
#define IDC_NET_LIST_HEADING            1054 // static, printer list page
#define IDC_NET_PRINTER_LIST            1055 // list view, printer list page
#define IDC_SEARCH_AGAIN                1056 // button, printer list page
#define IDC_SEARCH_STATUS               1057 // static, search page
#define IDC_MANUAL_SEARCH               1058 // button, printer list page
#define IDC_INSTALL_STATUS              1059 // static, installing page
#define IDC_ACCESSORY_PEELER            1060 // radio, accessories page
#define IDC_ACCESSORY_CUTTER            1061 // radio, accessories page
#define IDC_ACCESSORY_PICTURE           1062 // picture, accessories page
#define IDC_ACCESSORY_HEADING           1064 // static, accessories page
#define IDC_ACCESSORY_NONE              1065 // radio, accessories page
#define IDC_PROTECTED_PRINT_NOTE        1066 // static, install-type page

// Property sheet buttons whose texts the pages set.
#define IDC_SHEET_BACK                  12323
#define IDC_SHEET_NEXT                  12324
#define IDC_SHEET_CANCEL                2

// Strings (ids 160, 170 and 191 are not defined).
#define IDS_SELECT_LANGUAGE             135
#define IDS_WELCOME                     136
#define IDS_LICENCE_LINK                137
#define IDS_PRIVACY_LINK                138
#define IDS_INSTALL_OPTIONS             139
#define IDS_NEXT                        140
#define IDS_BACK                        141
#define IDS_CANCEL                      142
#define IDS_EXIT                        143
#define IDS_COMPLETE                    144
#define IDS_INSTALL                     145
#define IDS_UNINSTALL                   146
#define IDS_INSTALLING                  147
#define IDS_INSTALL_DONE                148
#define IDS_UNINSTALLING                149
#define IDS_UNINSTALL_DONE              150
#define IDS_PRINT_TEST_PAGE             151
#define IDS_TEST_PAGE_SENT              152
#define IDS_ALREADY_RUNNING             153
#define IDS_RESTART                     154
#define IDS_PRINTER_NOT_CONNECTED       155
#define IDS_NET_INSTALL                 156
#define IDS_PRINTER_OPTIONS             157
#define IDS_ENTER_PRINTER_IP            158
#define IDS_DRIVER_NAME                 159
#define IDS_PRINTER_IP                  161
#define IDS_SET_DEFAULT_PRINTER         162
#define IDS_USB_INSTALL                 163
#define IDS_INVALID_IP                  164
#define IDS_CONFIGURING_PORTS           165
#define IDS_PORT_IN_USE                 166
#define IDS_PORT_NOT_SUPPORTED          167
#define IDS_SELECT_PORT_FIRST           168
#define IDS_TIPS                        169
#define IDS_ADD                         171
#define IDS_SPECIFYING_PORTS            172
#define IDS_PORT_HEADING                173
#define IDS_SERIAL_PORT                 174
#define IDS_PRINTER_PORT                175
#define IDS_PORT_NAME                   176
#define IDS_DESCRIBE                    177
#define IDS_OTHER_PORT_INSTALL          178
#define IDS_CONNECT                     179
#define IDS_WIFI_NAME_EMPTY             180
#define IDS_WIFI_USB_NOT_CONNECTED      181
#define IDS_WIFI_IP_EMPTY               182
#define IDS_IP_AUTO_WIFI                183
#define IDS_WIFI_CONFIGURATOR           184
#define IDS_WIFI_CONFIGURATION          185
#define IDS_ENTER_WIFI                  186
#define IDS_WIFI_NAME                   187
#define IDS_WIFI_PASSWORD               188
#define IDS_IP_AUTO_NET                 189
#define IDS_PRINTER_NAME                190
#define IDS_CONFIGURATION               192
#define IDS_USB_NOT_CONNECTED           193
#define IDS_SELECT_PRINTER              194
#define IDS_SELECT_PRINTER_HEADING      195
#define IDS_INSTALL_BY_HOSTNAME         196
#define IDS_SEARCH_AGAIN                197
#define IDS_HOSTNAME                    198
#define IDS_IP_ADDRESS                  199
#define IDS_PORT                        200
#define IDS_MANUAL_SEARCH               201
#define IDS_SEARCHING                   202
#define IDS_ACCESSORY_CUTTER            203
#define IDS_ACCESSORY_HEADING           204
#define IDS_ACCESSORY_NONE              205
#define IDS_ACCESSORY_PEELER            206
#define IDS_SETTING_UP                  207
#define IDS_WIFI_TOO_LONG               208 // WiFi name or password longer than a network allows
#define IDS_INSTALL_FAILED              209 // finish page: the installation did not happen
#define IDS_UNINSTALL_INCOMPLETE        210 // finish page: something of the removal is left
#define IDS_FAIL_NAME                   211 // ... a name or address refused
#define IDS_FAIL_PORT                   212 // ... the TCP/IP port not created
#define IDS_FAIL_PRINTER                213 // ... the printer never appeared
#define IDS_FAIL_DRIVER                 214 // ... the driver never appeared
#define IDS_FAIL_NOT_STARTED            215 // ... the operation could not start
#define IDS_REMOVAL_LEFT                216 // ... printers, drivers or packages left
#define IDS_HELP                        217 // the program's switches, shown for /?
#define IDS_BAD_SWITCH                  218 // a refused switch, named by %s
#define IDS_PROTECTED_PRINT             219 // install-type page: protected print mode is on

#endif
