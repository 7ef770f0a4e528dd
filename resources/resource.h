// Numbers of the dialog templates, controls, bitmaps, icons, menus and strings the windows load.
#pragma once

// Dialog templates
#define IDD_ABOUT 100
#define IDD_CONTROL 102

// Icons
#define IDI_QUENBY 128

// Strings
#define IDS_ABOUTBOX 101

// Controls shared by the custom dialog frame
#define IDC_TITLE 1110
#define IDC_TITLE_CLOSE 1115

// About box
#define IDC_ABOUT_VERSION 1104
#define IDC_ABOUT_NOTICE 1105
#define IDC_ABOUT_LINK 1074

// Controller: the tray menu, its commands and the About item of the system menu
#define IDR_TRAYMENU 142
#define IDM_ABOUTBOX 16
#define ID_TRAY_SHOW 32773
#define ID_TRAY_SWITCH_EDITOR 32774
#define ID_TRAY_QUIT 32776
#define ID_TRAY_SWITCH_STATUS 32778
#define ID_TRAY_REST 32780
#define ID_TRAY_MINI 32781

// Custom dialog frame: the band, its close button and the action-button faces
#define IDB_TITLE_CLOSE 235
#define IDB_TITLE_BAND 244
#define IDB_BUTTON_FACE 324
#define IDB_BUTTON_FACE_WIDE 325
#define IDB_TITLE_MINIMISE 332

// Power actions dialog
#define IDD_POWER 188
#define IDC_POWER_TURN_OFF 1003
#define IDC_POWER_RESTART 1106
#define IDB_TURN_OFF 191
#define IDB_RESTART 221

// Status window of a logged-in child
#define IDD_STATUS 104
#define IDC_STATUS_CLOSE 1000
#define IDC_STATUS_MINI_CHECK 1006
#define IDC_STATUS_START 1024
#define IDC_STATUS_SETTING 1026
#define IDC_STATUS_TOTAL 1028
#define IDC_STATUS_TEXT 1035
#define IDC_STATUS_SETTINGS_TEXT 1036
#define IDC_STATUS_REST 1037
#define IDC_STATUS_SWITCH 1039
#define IDB_STATUS_BANNER 206
#define IDB_STATUS_PICTURE 170
#define IDB_SETTINGS_PICTURE 171
#define IDB_SWITCH_USER 176
#define IDB_START_HOT 223
#define IDB_START 326
#define IDB_REST_HOT 230
#define IDB_REST 327
#define IDB_SETTINGS_HOT 229
#define IDB_SETTINGS 328

// Notice window
#define IDD_NOTICE 144
#define IDB_NOTICE_BACKGROUND 145

// Mini window
#define IDD_MINI 152
#define IDB_MINI_STRIP 238
#define IDB_MINI_LOCKED 150
#define IDB_MINI_WAIT_START 169
#define IDB_MINI_IN_USE 168
#define IDB_MINI_CLOSE_HOT 164
#define IDB_MINI_CLOSE 165

// Notice settings dialog
#define IDD_NOTICE_SETTINGS 138
#define IDC_NOTICE_SOUND 1007
#define IDC_NOTICE_WEEK 1019
#define IDC_NOTICE_SECONDS 1046
#define IDC_NOTICE_WORDS_CAPTION 1096
#define IDC_NOTICE_ADVANCE 1099
#define IDC_NOTICE_BEFORE 1100
#define IDC_NOTICE_WEEK_CAPTION 1107
#define IDC_NOTICE_SOUND_CAPTION 1108
#define IDC_NOTICE_HINT 1109
