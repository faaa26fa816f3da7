// The installation driver: wizard, then the INF script through the Setup API.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include "instwiz.h"

#define OPTIONS_USER_DIRID 65600

// Context of the file-queue callback; only the default context is used.
struct MY_INSTALL_DATA {
    PVOID pDefaultContext;
};

BOOL DoInstallation(HWND hWnd, INSTALLINFO *pInfo);
UINT CALLBACK MyQueueCallback(PVOID pMyInstallData, UINT Notification, UINT_PTR Param1, UINT_PTR Param2);
LONG InstallFinish(BOOL DoRunOnce);
