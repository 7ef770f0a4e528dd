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
