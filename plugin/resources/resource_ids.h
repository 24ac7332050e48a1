/* Resource ids of the plug-in's language modules and bitmap module. Plain
 * #defines: the .rc/.rci templates include this file as well as the C++ code.
 * The values are fixed by the modules already shipped; never renumber.
 * A control id can serve different controls on different templates, so the
 * controls are grouped by template. */
#ifndef LX_PLUGIN_RESOURCE_IDS_H
#define LX_PLUGIN_RESOURCE_IDS_H

/* The text of string `id` as the including language module defines it
 * (S_<number>); expands the id first, so it takes the names below. */
#define LX_TEXT(id) LX_TEXT_OF_(id)
#define LX_TEXT_OF_(number) S_##number

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

/* Dialog templates */
#define IDD_PAPER_PAGE          101
#define IDD_PAPER_DIALOG        102
#define IDD_OPTIONS_PAGE        105
#define IDD_ABOUT_PAGE          107
#define IDD_IMAGE_PAGE          108
#define IDD_PRINT_PARAMS_PAGE   153

/* Paper page (IDD_PAPER_PAGE) */
#define IDC_PAPER_LIST_LABEL      1071
#define IDC_PAPER_LIST            1023
#define IDC_PAPER_NEW             1016
#define IDC_PAPER_EDIT            1018
#define IDC_PAPER_DELETE          1020
#define IDC_PORTRAIT              1029
#define IDC_LANDSCAPE             1031
#define IDC_PORTRAIT_180          1033
#define IDC_LANDSCAPE_180         1035
#define IDC_MIRROR                1038
#define IDC_NEGATIVE              1039
#define IDC_PREVIEW_GROUP         1072
#define IDC_PREVIEW               1036
#define IDC_ORIENTATION_GROUP     1073
#define IDC_EFFECT_GROUP          1074

/* Paper dialog (IDD_PAPER_DIALOG) */
#define IDC_PAPERDLG_OK           1041
#define IDC_PAPERDLG_CANCEL       1042
#define IDC_PAPERDLG_LENGTH       1007
#define IDC_PAPERDLG_LENGTH_LABEL 1100
#define IDC_PAPERDLG_WIDTH        1005
#define IDC_PAPERDLG_WIDTH_LABEL  1099
#define IDC_PAPERDLG_SIZE_GROUP   1118
#define IDC_PAPERDLG_NAME         1106
#define IDC_PAPERDLG_NAME_LABEL   1097
#define IDC_PAPERDLG_PAPER_GROUP  1117

/* Options page (IDD_OPTIONS_PAGE) */
#define IDC_USE_PRINTER_SPEED     1051
#define IDC_SPEED_LABEL           1087
#define IDC_DENSITY_LABEL         1088
#define IDC_DENSITY               1052
#define IDC_PRINTER_OPTIONS_GROUP 1089
#define IDC_DENSITY_VALUE         1066
#define IDC_SPEED                 1053
#define IDC_SPEED_VALUE           1067
#define IDC_ADVANCED_GROUP        1071
#define IDC_PRINT_LANGUAGE        1021
#define IDC_PRINT_LANGUAGE_LABEL  1104

/* About page (IDD_ABOUT_PAGE) */
#define IDC_SUPPORT               1062
#define IDC_ABOUT_GROUP           1070
#define IDC_DRIVER_NAME           1090
#define IDC_DRIVER_TYPE           1091
#define IDC_DRIVER_VERSION        1092
#define IDC_LEGAL_NOTICE          1093
#define IDC_LOGO                  1103

/* Image processing page (IDD_IMAGE_PAGE) */
#define IDC_HALFTONE_GROUP        1108
#define IDC_HALFTONE_PREVIEW      1116
#define IDC_HALFTONE_NONE         1110
#define IDC_HALFTONE_DIFFUSION    1111
#define IDC_HALFTONE_JJN          1112
#define IDC_IMAGE_GROUP           1120
#define IDC_TONE_FACTOR_LABEL     1114
#define IDC_TONE_FACTOR           1121
#define IDC_THICKER_LINES         1107

/* Print parameters page (IDD_PRINT_PARAMS_PAGE) */
#define IDC_PRINT_METHOD_LABEL    1081
#define IDC_PRINT_METHOD          1027
#define IDC_MEDIA_TYPE_LABEL      1082
#define IDC_MEDIA_TYPE            1054
#define IDC_MEDIA_GROUP           1084
#define IDC_OFFSET_X_LABEL        1075
#define IDC_OFFSET_X              1047
#define IDC_OFFSET_Y_LABEL        1076
#define IDC_OFFSET_Y              1048
#define IDC_POSITION_GROUP        1094
#define IDC_MEDIA_HANDLING_GROUP  1133
#define IDC_PAPER_SAVING          1132
#define IDC_FEED_OFFSET_LABEL     1105
#define IDC_FEED_OFFSET           1106
#define IDC_USE_PRINTER_FEED      1110
#define IDC_COLLATE               1131
#define IDC_GAP_LABEL             1109
#define IDC_GAP                   1111
#define IDC_PRINT_MODE_LABEL      1107
#define IDC_POST_ACTION_LABEL     1134
#define IDC_TIMING_LABEL          1135
#define IDC_POST_ACTION           1055
#define IDC_TIMING                1056
#define IDC_INTERVAL_LABEL        1136
#define IDC_INTERVAL              1112

/* Strings: option display texts */
#define IDS_USE_PRINTER_SETTINGS  9
#define IDS_DIRECT_THERMAL        10
#define IDS_THERMAL_TRANSFER      11
#define IDS_MEDIA_CONTINUOUS      12
#define IDS_MEDIA_GAP             13
#define IDS_MEDIA_MARK            14
#define IDS_MEDIA_CONTINUOUS_ALT  18
#define IDS_MEDIA_CONTINUOUS_VAR  19
#define IDS_MEDIA_AUTO            42

/* Strings: speed steps 0 to 7, then two unused steps */
#define IDS_SPEED_0               41
#define IDS_SPEED_1               112
#define IDS_SPEED_2               15
#define IDS_SPEED_3               16
#define IDS_SPEED_4               17
#define IDS_SPEED_5               108
#define IDS_SPEED_6               109
#define IDS_SPEED_7               110
#define IDS_SPEED_8               111
#define IDS_SPEED_9               113

/* Strings: paper dialog titles and messages */
#define IDS_NEW_PAPER_TITLE       26
#define IDS_EDIT_PAPER_TITLE      27
#define IDS_PAPER_NAME_EMPTY      28
#define IDS_HINT_CAPTION          29
#define IDS_PAPER_NAME_EXISTS     30
#define IDS_PAPER_NUMBERS_USED    53
#define IDS_PAPER_NOT_SAVED       54

/* Strings: page titles (at most 31 characters) */
#define IDS_ABOUT_TITLE           31
#define IDS_PAPER_TITLE           32
#define IDS_GRAPHICS_TITLE        33
#define IDS_ADVANCED_TITLE        34
#define IDS_OPTIONS_TITLE         35
#define IDS_DEVICE_TITLE          36
#define IDS_IMAGE_TITLE           43
#define IDS_PRINT_PARAMS_TITLE    315

/* Strings: the length unit after every number (at most 15 characters) */
#define IDS_UNIT                  37

/* Strings: About page driver lines and the brands' legal notices */
#define IDS_BARCODE_DRIVER        38
#define IDS_DRIVER_TYPE           20
#define IDS_LEGAL_NOTICE          39
#define IDS_PRODUCT_NAME          40
#define IDS_LEGAL_NOTICE_SUPPORTED 51
#define IDS_LEGAL_NOTICE_LICENSED 52

/* Strings: image processing */
#define IDS_HALFTONE_DIFFUSION    44
#define IDS_HALFTONE_NONE         45
#define IDS_HALFTONE_JJN          46
#define IDS_TONE_FACTOR           47
#define IDS_THICKER_LINES         48
#define IDS_IMAGE_GROUP           49
#define IDS_DITHERING             50

/* Strings: print parameters */
#define IDS_COLLATE               101

/* Strings: Paper page */
#define IDS_PAPER_GROUP           201
#define IDS_PAPER_NAME            202
#define IDS_PAPER_NEW             203
#define IDS_PAPER_EDIT            204
#define IDS_PAPER_DELETE          205
#define IDS_PORTRAIT              206
#define IDS_LANDSCAPE             207
#define IDS_PORTRAIT_180          208
#define IDS_LANDSCAPE_180         209
#define IDS_MIRROR                210
#define IDS_NEGATIVE              211
#define IDS_PREVIEW_GROUP         212
#define IDS_ORIENTATION_GROUP     213
#define IDS_EFFECT_GROUP          214

/* Strings: paper dialog */
#define IDS_PAPER_DIALOG_TITLE    215
#define IDS_SIZE_GROUP            216
#define IDS_WIDTH                 217
#define IDS_LENGTH                218
#define IDS_OK                    219
#define IDS_CANCEL                220

/* Strings: post-print action and its timing */
#define IDS_POST_ACTION           221
#define IDS_ACTION_NONE           222
#define IDS_ACTION_TEAR_OFF       223
#define IDS_ACTION_PEEL_OFF       224
#define IDS_ACTION_CUT            225
#define IDS_TIMING                226
#define IDS_TIMING_PAGE           227
#define IDS_TIMING_COPIES         228
#define IDS_TIMING_JOB            229
#define IDS_TIMING_INTERVAL       230
#define IDS_INTERVAL              231

/* Strings: Print parameters and Options pages */
#define IDS_MEDIA_GROUP           301
#define IDS_PRINT_METHOD          302
#define IDS_MEDIA_TYPE            303
#define IDS_PRINTER_OPTIONS_GROUP 304
#define IDS_SPEED                 305
#define IDS_DENSITY               306
#define IDS_DENSITY_VALUE         307
#define IDS_SPEED_VALUE           308
#define IDS_POSITION_GROUP        309
#define IDS_OFFSET_Y              310
#define IDS_OFFSET_X              311
#define IDS_USE_PRINTER_SPEED     312
#define IDS_LANGUAGE_TSPL         313
#define IDS_LANGUAGE_ZPL          314
#define IDS_GAP_HEIGHT            316
#define IDS_MARK_HEIGHT           317
#define IDS_PRINT_MODE            318
#define IDS_MEDIA_HANDLING_GROUP  319
#define IDS_PAPER_SAVING          320
#define IDS_LABEL_SETTINGS        321
#define IDS_DRIVER_SETTINGS       322

/* Strings: advanced settings and About */
#define IDS_ADVANCED_GROUP        401
#define IDS_PRINT_LANGUAGE        402
#define IDS_FEED_OFFSET           403
#define IDS_ABOUT_GROUP           404
#define IDS_SUPPORT               405

/* Strings: resolution and paper sizes (option display texts) */
#define IDS_RESOLUTION_203        709
#define IDS_PAPER_3X4             999
#define IDS_PAPER_CUSTOM          1000
#define IDS_PAPER_2X4             1001
#define IDS_PAPER_4X4             1002
#define IDS_PAPER_4X6             1003
#define IDS_PAPER_40X30           900
#define IDS_PAPER_50X30           901
#define IDS_PAPER_60X40           902
#define IDS_PAPER_75X60           903
#define IDS_PAPER_80X60           904
#define IDS_PAPER_80X50           905

/* Bitmap module: Paper page previews, IDB_PREVIEW_FIRST + 8 x turned 180
 * + 4 x landscape + 2 x mirror + negative */
#define IDB_PREVIEW_0                  124
#define IDB_PREVIEW_1                  125
#define IDB_PREVIEW_2                  126
#define IDB_PREVIEW_3                  127
#define IDB_PREVIEW_4                  128
#define IDB_PREVIEW_5                  129
#define IDB_PREVIEW_6                  130
#define IDB_PREVIEW_7                  131
#define IDB_PREVIEW_8                  132
#define IDB_PREVIEW_9                  133
#define IDB_PREVIEW_10                 134
#define IDB_PREVIEW_11                 135
#define IDB_PREVIEW_12                 136
#define IDB_PREVIEW_13                 137
#define IDB_PREVIEW_14                 138
#define IDB_PREVIEW_15                 139
#define IDB_PREVIEW_FIRST         IDB_PREVIEW_0
#define IDB_PREVIEW_LAST          IDB_PREVIEW_15

/* Bitmap module: About page logos, chosen by the brand */
#define IDB_LOGO_DEFAULT          140
#define IDB_LOGO_1                142
#define IDB_LOGO_2                143
#define IDB_LOGO_3                144
#define IDB_LOGO_4                148
#define IDB_LOGO_5                149

/* Bitmap module: halftone samples */
#define IDB_HALFTONE_NONE         145
#define IDB_HALFTONE_DIFFUSION    146
#define IDB_HALFTONE_JJN          147

#endif
