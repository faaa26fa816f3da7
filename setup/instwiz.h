// The installer's shared record and its wizard.
#pragma once

#include <windows.h>
#include <prsht.h>

#define INSTALL_TYPE_UNINSTALL 1024
#define INSTALL_TYPE_INSTALL 1027

struct INSTALLINFO {
    HINSTANCE hInst;
    int iInstall_Type;  // INSTALL_TYPE_INSTALL, INSTALL_TYPE_UNINSTALL, 0 = none
    int iCustom_Options1;  // "ProductInstall": files, registry and INI directives
    int iCustom_Options2;  // "Option2Section"
    int iCustom_Options3;  // "Option3Section"
    int iCustom_Options4;  // "Option4Section"
    char pszUserName[MAX_PATH];
    char pszCompany[MAX_PATH];
    char pszProductIdString[MAX_PATH];
    char pszEmailAddress[MAX_PATH];
    char pszDestPath[MAX_PATH];
};

extern INSTALLINFO setupInfo;
extern int gLicenseAccepted;
// Set when a page asked the program to end; the wizard then counts as cancelled
// whatever the property sheet returns.
extern int gSetupAborted;

// The greeting shown before anything else happens.
void ShowGreeting();

// Runs the five-page wizard; non-zero when it ended with Finish.
int CreateWizard(HWND hwndOwner, HINSTANCE hInst);

void FillInPropertyPage(PROPSHEETPAGEA *psp, int idDlg, LPCSTR pszProc, DLGPROC pfnDlgProc);

INT_PTR CALLBACK Welcome(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK Install_Type(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK Install_Destination(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK Custom_Options(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK Install(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK License(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// The folder of the installer's own executable, with its trailing '\'.
void GetSourceDirectory(char *pszDir, DWORD cchDir);
