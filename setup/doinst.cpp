// The installation driver: runs the wizard, then installs or removes the
// program's files as "ondav.inf" directs, and records the user's choices.
#include "doinst.h"

#include <cstdio>
#include <cstring>

#include "ondavsetup.h"

namespace {

const char kInfName[] = "ondav.inf";
const char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kErrorCaption[] = "Product Sample Install Error";

void ReportScriptFailure(HWND hWnd)
{
    MessageBoxA(hWnd, "Installation script did not complete successfully!", kErrorCaption, MB_OK);
}

void ReportMissingScript(HWND hWnd, const char *pszInfFileName)
{
    char szMessage[MAX_PATH + 96];
    snprintf(szMessage, sizeof szMessage,
             "The installation script cannot be opened:\n%s\n\nNothing has been installed.", pszInfFileName);
    MessageBoxA(hWnd, szMessage, kErrorCaption, MB_OK | MB_ICONSTOP);
}

BOOL QueueSection(HINF hInf, HSPFILEQ FileQueue, const char *pszSection, const char *pszSourcePath)
{
    return SetupInstallFilesFromInfSectionA(hInf, nullptr, FileQueue, pszSection, pszSourcePath, SP_COPY_NEWER);
}

// Queues what the choice asks for. Every queued section must succeed: a
// half-queued installation is not committed.
BOOL QueueChosenSections(HINF hInf, HSPFILEQ FileQueue, const INSTALLINFO *pInfo, const char *pszSourcePath)
{
    if (pInfo->iInstall_Type == INSTALL_TYPE_UNINSTALL)
        return QueueSection(hInf, FileQueue, "MyProgramUninstall", pszSourcePath);

    struct {
        int iFlag;
        const char *pszSection;
    } const sections[] = {
        {pInfo->iCustom_Options1, "ProductInstall"},
        {pInfo->iCustom_Options2, "Option2Section"},
        {pInfo->iCustom_Options3, "Option3Section"},
        {pInfo->iCustom_Options4, "Option4Section"},
    };
    BOOL bResult = TRUE;
    for (const auto &s : sections)
        if (s.iFlag && !QueueSection(hInf, FileQueue, s.pszSection, pszSourcePath))
            bResult = FALSE;
    return bResult;
}

// The folders an installation made, once emptied; a folder still holding
// something (a file that could not be removed, or the user's own) stays.
void RemoveEmptyFolders(const char *pszDestPath)
{
    char szDir[MAX_PATH + 16];
    size_t n = strlen(pszDestPath);
    const char *pszSep = n && pszDestPath[n - 1] != '\\' ? "\\" : "";
    snprintf(szDir, sizeof szDir, "%s%sexemples", pszDestPath, pszSep);
    RemoveDirectoryA(szDir);
    RemoveDirectoryA(pszDestPath);
}

// Steps 6 to 11 of a run: the files and the "ProductInstall" registry
// directives. Returns whether all of it succeeded.
BOOL InstallFiles(HWND hWnd, HINF hInf, INSTALLINFO *pInfo, const char *pszSourcePath)
{
    if (!SetupSetDirectoryIdA(hInf, OPTIONS_USER_DIRID, pInfo->pszDestPath))
        return FALSE;

    HSPFILEQ FileQueue = SetupOpenFileQueue();
    if (!FileQueue || FileQueue == INVALID_HANDLE_VALUE)
        return FALSE;

    MY_INSTALL_DATA MyInstallData;
    MyInstallData.pDefaultContext = SetupInitDefaultQueueCallback(hWnd);
    if (!MyInstallData.pDefaultContext) {
        SetupCloseFileQueue(FileQueue);
        return FALSE;
    }

    BOOL bResult = QueueChosenSections(hInf, FileQueue, pInfo, pszSourcePath);
    if (bResult)
        bResult = SetupCommitFileQueueA(hWnd, FileQueue, MyQueueCallback, &MyInstallData);
    if (bResult && pInfo->iInstall_Type == INSTALL_TYPE_UNINSTALL)
        RemoveEmptyFolders(pInfo->pszDestPath);

    // The registry directives are applied for an uninstallation too, but they
    // cannot make a failed file step look like a success.
    if (pInfo->iCustom_Options1) {
        BOOL bRegistry = SetupInstallFromInfSectionA(hWnd, hInf, "ProductInstall", SPINST_INIFILES | SPINST_REGISTRY,
                                                     nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr);
        bResult = bResult && bRegistry;
    }

    SetupTermDefaultQueueCallback(MyInstallData.pDefaultContext);
    SetupCloseFileQueue(FileQueue);
    return bResult;
}

}  // namespace

UINT CALLBACK MyQueueCallback(PVOID pMyInstallData, UINT Notification, UINT_PTR Param1, UINT_PTR Param2)
{
    // A file that cannot be removed (missing, or in use) must not stop an uninstallation.
    if (Notification == SPFILENOTIFY_DELETEERROR)
        return FILEOP_SKIP;
    MY_INSTALL_DATA *pData = (MY_INSTALL_DATA *)pMyInstallData;
    return SetupDefaultQueueCallbackA(pData->pDefaultContext, Notification, Param1, Param2);
}

LONG InstallFinish(BOOL DoRunOnce)
{
    HKEY hKey;
    LONG lResult = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunOnceKey, 0, KEY_ALL_ACCESS, &hKey);
    if (lResult != ERROR_SUCCESS)
        return lResult;

    HKEY hSetup;
    if (RegOpenKeyExA(hKey, "Setup", 0, KEY_READ, &hSetup) == ERROR_SUCCESS) {
        RegCloseKey(hSetup);
        static const char szWrapper[] = "runonce";
        lResult = RegSetValueExA(hKey, "Wrapper", 0, REG_SZ, (const BYTE *)szWrapper, sizeof szWrapper);
    }
    static const char szGrpConv[] = "grpconv -o";
    lResult = RegSetValueExA(hKey, "GrpConv", 0, REG_SZ, (const BYTE *)szGrpConv, sizeof szGrpConv);
    RegCloseKey(hKey);

    // Not waited for; a system without it simply keeps the RunOnce values.
    if (DoRunOnce)
        WinExec("runonce -r", SW_SHOWNORMAL);
    return lResult;
}

BOOL DoInstallation(HWND hWnd, INSTALLINFO *pInfo)
{
    char szSourcePath[MAX_PATH];
    char szInfFileName[MAX_PATH + sizeof kInfName];
    GetSourceDirectory(szSourcePath, sizeof szSourcePath);
    snprintf(szInfFileName, sizeof szInfFileName, "%s%s", szSourcePath, kInfName);

    // Without our own folder a bare name would be looked up in the system's
    // INF folders: an unknown script is as good as none.
    HINF hInf = szSourcePath[0] ? SetupOpenInfFileA(szInfFileName, nullptr, INF_STYLE_WIN4, nullptr)
                                : INVALID_HANDLE_VALUE;
    if (hInf == INVALID_HANDLE_VALUE) {
        ReportMissingScript(hWnd, szInfFileName);
        return FALSE;
    }

    if (!CreateWizard(hWnd, pInfo->hInst)) {
        SetupCloseInfFile(hInf);
        return FALSE;
    }

    RuntimeRegistration(pInfo);
    if (pInfo->iInstall_Type == INSTALL_TYPE_UNINSTALL)
        GetRegString(kSetupInfoKey, "DestinationPath", pInfo->pszDestPath);

    // The wizard hands its owner back on closing: keep the window disabled
    // while the files are committed, so that it cannot be closed half-way.
    EnableWindow(hWnd, FALSE);
    BOOL bResult = InstallFiles(hWnd, hInf, pInfo, szSourcePath);
    SetupCloseInfFile(hInf);
    EnableWindow(hWnd, TRUE);

    if (bResult)
        InstallFinish(TRUE);
    else
        ReportScriptFailure(hWnd);
    return TRUE;
}
