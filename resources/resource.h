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
