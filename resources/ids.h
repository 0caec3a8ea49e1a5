// Menu command, dialog and control ids of the program. Plain #defines only: this header is read
// both by the Win32 resource compiler and by the C++ code.
#ifndef SCAN_FS_RESOURCES_IDS_H
#define SCAN_FS_RESOURCES_IDS_H

// Menu SCAN_TEST_MENU
#define IDM_BOARD_INFORMATION 100
#define IDM_SCANNER_INFORMATION 101
#define IDM_SAVE_SCANNER_DATA 40004
#define IDM_SELF_DIAGNOSTICS_1 102
#define IDM_SELF_DIAGNOSTICS_2 40002
#define IDM_SCAN_NEGATIVE_FILM 103
#define IDM_EXIT 104
#define IDM_ABOUT 110

// The platform's standard push-button commands
#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif

// Dialog AboutBox
#define IDC_ABOUT_PROGRAM 201
#define IDC_ABOUT_CREDIT_2 202
#define IDC_ABOUT_CREDIT_1 203
#define IDC_ABOUT_VERSION 204

// Dialog ScanFSBox
#define IDC_SCAN 300
#define IDC_RESOLUTION_GROUP 305
#define IDC_HOW_TO_SCAN_GROUP 307
#define IDC_READ_IN_MEMORY 1010
#define IDC_SAVE_TO_TIFF 1011
#define IDC_RESOLUTION_340 1015
#define IDC_RESOLUTION_680 1016
#define IDC_RESOLUTION_1360 1017
#define IDC_RESOLUTION_2720 1018

#endif
