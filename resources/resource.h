// Identifiers shared by the resource script and the code.
#pragma once

#define IDI_TESSARO 100
#define IDS_SAVER_NAME 1

// The OK and Cancel buttons of the settings dialog, and the About box's OK button, are IDOK and
// IDCANCEL, so that Enter and Esc reach them through the dialog manager.
#define IDD_SETTINGS_DIALOG 200
#define IDM_SETTINGS_MENU 201
#define IDC_NOTHING_TO_SET 202
#define IDM_VERSION 203

#define IDD_ABOUT_BOX 300
#define IDC_APPLICATION_ICON 301
#define IDC_SYSTEM_INFORMATION 302
#define IDC_TITLE 303
#define IDC_VERSION 304
#define IDC_COMPANY_NAME 305
#define IDC_COPYRIGHT 306
