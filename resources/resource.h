// Identifiers shared by the resource script and the code.
#pragma once

#define IDI_TESSARO 100
#define IDS_SAVER_NAME 1

// Form2's Cmd_OK and Cmd_Cancel, and SFrm_About's cmdOK, are IDOK and IDCANCEL, so that Enter
// and Esc reach them through the dialog manager.
#define IDD_FORM2 200
#define IDM_FORM2 201
#define IDC_LABEL1 202
#define IDM_MENU_VERSION 203

#define IDD_SFRM_ABOUT 300
#define IDC_PIC_ICON 301
#define IDC_CMD_SYSINFO 302
#define IDC_LBL_TITLE 303
#define IDC_LBL_VERSION 304
#define IDC_LBL_COMPANY_NAME 305
#define IDC_LBL_LEGAL_COPYRIGHT 306
