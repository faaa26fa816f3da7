// Resource ids of the installer (shared by its .rc and its code).
#pragma once

#define IDI_SETUP 300
#define IDC_SETUP_ICON 300

#define IDD_INSTALL 101
#define IDD_WELCOME 102
#define IDD_OPTIONS 103
#define IDD_LICENSE 104
#define IDD_INSTALL_TYPE 105
#define IDD_USERINFO 106
#define IDD_DESTINATION 107

// Licence dialog
#define IDC_LICENSE_YES 101
#define IDC_LICENSE_NO 102
#define IDC_LICENSE_TEXT 1010
#define IDC_LICENSE_ASK 1011
#define IDC_LICENSE_WARN 1012
#define IDC_LICENSE_READ 1013
#define IDC_LICENSE_SCROLL 1014

// Installation type: the radio ids are the install type codes.
#define IDC_UNINSTALL 1024
#define IDC_UNUSED1 1025
#define IDC_UNUSED2 1026
#define IDC_INSTALL 1027

// Destination
#define IDC_DESTPATH 1024

// Options: check boxes 9..12 mirror iCustom_Options1..4.
#define IDC_OPTION1 9
#define IDC_OPTION2 10
#define IDC_OPTION3 11
#define IDC_OPTION4 12

// "Who Are You?"
#define IDC_USERNAME 1001
#define IDC_COMPANY 1002
#define IDC_PRODUCTID 1003
#define IDC_EMAIL 1004

#define IDC_STATIC_TEXT -1

// Why the destination page refuses a folder.
#define IDS_DEST_CAPTION 200
#define IDS_DEST_NOT_FULL 201
#define IDS_DEST_BAD_NAME 202
#define IDS_DEST_TOO_LONG 203
#define IDS_DEST_NO_DRIVE 204
#define IDS_DEST_FILE_IN_WAY 205
#define IDS_DEST_ROOT 206
#define IDS_DEST_SYSTEM 207
#define IDS_DEST_PROGRAM_FILES 208
#define IDS_DEST_OWN_FOLDER 209
#define IDS_DEST_NOT_EMPTY 220
#define IDS_DEST_LINK 221
#define IDS_DEST_INSTALLED_ELSEWHERE 222
#define IDS_DEST_FOREIGN_FILE 223

// The uninstallation's questions and reports.
#define IDS_UNINSTALL_CAPTION 230
#define IDS_UNINSTALL_CONFIRM 231
#define IDS_UNINSTALL_RUNNING 232
#define IDS_UNINSTALL_KEPT 233
#define IDS_UNINSTALL_RESTART 234

// The Start-menu group and its shortcuts.
#define IDS_START_MENU_GROUP 210
#define IDS_LINK_PROGRAM 211
#define IDS_LINK_README 212
#define IDS_LINK_UNINSTALL 213
