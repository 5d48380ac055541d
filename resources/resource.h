// Identifiers shared by the resource script and the code.
#pragma once

#define IDI_TESSARO 100
#define IDS_SAVER_NAME 1

#define IDD_SETTINGS 200
#define IDM_SETTINGS 201
#define IDC_SETTINGS_LABEL 202
#define IDM_VERSION 203

#define IDD_ABOUT 300
#define IDC_ABOUT_ICON 301
#define IDC_ABOUT_SYSINFO 302
#define IDC_ABOUT_TITLE 303
#define IDC_ABOUT_VERSION 304
#define IDC_ABOUT_COMPANY 305
#define IDC_ABOUT_COPYRIGHT 306
