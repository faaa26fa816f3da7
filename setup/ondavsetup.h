// The installer program: main window and its registry record.
#pragma once

#include <windows.h>

#include "instwiz.h"

extern const char kSetupInfoKey[];  // "Software\Korvel\Ondavis\SetupInfo\" under HKLM
#define START_COMMAND 100

// Set by the "/uninstall" switch (Add/Remove Programs' command): the run asks
// to confirm the removal instead of walking the wizard.
extern bool gUninstallCommand;
bool IsUninstallCommand(const char *pszArguments);

void InitSetupInfo(HINSTANCE hInstance);
BOOL InitApplication(HINSTANCE hInstance);
BOOL InitInstance(HINSTANCE hInstance, int nCmdShow);
LRESULT CALLBACK MainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Everything WinMain does after the greeting; returns the exit code.
int RunSetup(HINSTANCE hInstance, int nCmdShow);

void RuntimeRegistration(INSTALLINFO *pInfo);
BOOL RegisterString(LPCSTR pszKey, LPCSTR pszValue, LPCSTR pszData);
BOOL GetRegString(LPCSTR pszKey, LPCSTR pszValue, LPSTR pszData);
