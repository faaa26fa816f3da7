// The installation driver: wizard, then the INF script through the Setup API.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include "infscript.h"
#include "instwiz.h"

// Context of the file-queue callback: the Setup API's default context, and
// the first file error of the commit, which ends it.
struct MY_INSTALL_DATA {
    PVOID pDefaultContext;
    DWORD dwError;  // 0 while every file went well
    char szFailedFile[MAX_PATH];
    // The copy under way, from its start to its end: asked for its source
    // again in between, the Setup API is retrying a copy that failed.
    char szCopySource[MAX_PATH];
    char szCopyTarget[MAX_PATH];
};

BOOL DoInstallation(HWND hWnd, INSTALLINFO *pInfo);
// The Add/Remove Programs command: asks for confirmation, then removes the
// installation this installer belongs to.
BOOL DoUninstallCommand(HWND hWnd, INSTALLINFO *pInfo);
UINT CALLBACK MyQueueCallback(PVOID pMyInstallData, UINT Notification, UINT_PTR Param1, UINT_PTR Param2);
LONG InstallFinish(BOOL DoRunOnce);
