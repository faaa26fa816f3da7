// The installation driver: runs the wizard, then installs or removes the
// program's files as "ondav.inf" directs, and records the user's choices.
#include "doinst.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "destpath.h"
#include "doctype.h"
#include "infscript.h"
#include "ondavsetup.h"
#include "selfremove.h"
#include "startmenu.h"

namespace {

const char kInfName[] = "ondav.inf";
const char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kErrorCaption[] = "Product Sample Install Error";
// Written by the script's "Uninstall.AddReg", but for the size, known here.
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ondavis";

// The run's one error box; `details` says what went wrong when it is known.
void ReportScriptFailure(HWND hWnd, const std::string &details)
{
    std::string text = "Installation script did not complete successfully!";
    if (!details.empty())
        text += "\n\n" + details;
    MessageBoxA(hWnd, text.c_str(), kErrorCaption, MB_OK);
}

void ReportDamagedScript(HWND hWnd, const char *pszInfFileName, const std::string &missing)
{
    std::string text = std::string("The installation script is damaged:\n") + pszInfFileName + "\n\nMissing: " +
                       missing + "\n\nNothing has been installed.";
    MessageBoxA(hWnd, text.c_str(), kErrorCaption, MB_OK | MB_ICONSTOP);
}

std::string SystemMessage(DWORD dwError)
{
    char sz[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, dwError, 0, sz, sizeof sz,
                   nullptr);
    std::string text = sz;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(dwError) : text;
}

bool FileExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// An uninstallation acts only where an installation was made: a full path
// that still holds at least one of the files installing puts there.
bool InstallationFound(HINF hInf, const char *pszDestPath)
{
    if (!IsFullPath(pszDestPath))
        return false;
    return !ForEachListedFile(hInf, kUninstallSection, "DelFiles",
                              [](const std::string &path) { return !FileExists(path); });
}

void ReportMissingScript(HWND hWnd, const char *pszInfFileName)
{
    char szMessage[MAX_PATH + 96];
    snprintf(szMessage, sizeof szMessage,
             "The installation script cannot be opened:\n%s\n\nNothing has been installed.", pszInfFileName);
    MessageBoxA(hWnd, szMessage, kErrorCaption, MB_OK | MB_ICONSTOP);
}

// Whether option flag i + 1 chooses kInstallSections[i].
bool SectionChosen(const INSTALLINFO *pInfo, int i)
{
    const int iFlags[4] = {pInfo->iCustom_Options1, pInfo->iCustom_Options2, pInfo->iCustom_Options3,
                           pInfo->iCustom_Options4};
    return iFlags[i] != 0;
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
        return QueueSection(hInf, FileQueue, kUninstallSection, pszSourcePath);

    BOOL bResult = TRUE;
    for (int i = 0; i < 4; ++i)
        if (SectionChosen(pInfo, i) && !QueueSection(hInf, FileQueue, kInstallSections[i], pszSourcePath))
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

// The folder as the script's %65600% stands for it: without its trailing
// separator, which the script writes itself, but a drive's root keeps it.
std::string DirectoryIdPath(const char *pszDestPath)
{
    std::string dir = pszDestPath;
    if (dir.size() > 3 && (dir.back() == '\\' || dir.back() == '/'))
        dir.pop_back();
    return dir;
}

std::string WithSeparator(const char *pszDestPath)
{
    std::string dir = pszDestPath;
    if (!dir.empty() && dir.back() != '\\')
        dir += '\\';
    return dir;
}

// Two names of one file or folder (written alike, separators included).
bool SameFile(const char *pszA, const char *pszB)
{
    char szA[MAX_PATH], szB[MAX_PATH];
    return GetFullPathNameA(pszA, sizeof szA, szA, nullptr) && GetFullPathNameA(pszB, sizeof szB, szB, nullptr) &&
           lstrcmpiA(szA, szB) == 0;
}

// EstimatedSize of the Add/Remove Programs entry: what the chosen sections
// put in the folder, in kilobytes.
void RecordEstimatedSize(HINF hInf, const INSTALLINFO *pInfo)
{
    ULONGLONG nBytes = 0;
    std::string counted = "|";
    for (int i = 0; i < 4; ++i) {
        if (!SectionChosen(pInfo, i))
            continue;
        ForEachListedFile(hInf, kInstallSections[i], "CopyFiles", [&](const std::string &path) {
            WIN32_FILE_ATTRIBUTE_DATA data;
            if (counted.find("|" + path + "|") == std::string::npos &&
                GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
                nBytes += ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
                counted += path + "|";
            }
            return true;
        });
    }
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_SET_VALUE, &hKey) != ERROR_SUCCESS)
        return;
    DWORD dwKilobytes = (DWORD)((nBytes + 1023) / 1024);
    RegSetValueExA(hKey, "EstimatedSize", 0, REG_DWORD, (const BYTE *)&dwKilobytes, sizeof dwKilobytes);
    RegCloseKey(hKey);
}

// What the shell holds of the installation besides files and the script's
// registry entries: the Start-menu group, and, on removal, the document type
// the program registered and the installed installer itself.
BOOL FinishShellEntries(HINF hInf, const INSTALLINFO *pInfo)
{
    if (pInfo->iInstall_Type != INSTALL_TYPE_UNINSTALL) {
        RecordEstimatedSize(hInf, pInfo);
        return AddStartMenuGroup(pInfo->hInst, pInfo->pszDestPath);
    }
    RemoveStartMenuGroup(pInfo->hInst);
    RemoveDocumentType((WithSeparator(pInfo->pszDestPath) + "ondav.exe").c_str());
    RemoveInstallerAfterExit(pInfo->pszDestPath);
    return TRUE;
}

// Steps 6 to 11 of a run: the files and the "ProductInstall" registry
// directives. Returns whether all of it succeeded; `pDetails` gets what went
// wrong, when that is known.
BOOL InstallFiles(HWND hWnd, HINF hInf, INSTALLINFO *pInfo, const char *pszSourcePath, std::string *pDetails)
{
    // A damaged record must not make the uninstallation delete files of the
    // same names somewhere else (the current folder, the root of a drive).
    bool bUninstall = pInfo->iInstall_Type == INSTALL_TYPE_UNINSTALL;
    const std::string notFound =
        std::string("Ondavis was not found in \"") + pInfo->pszDestPath + "\": nothing has been removed.";
    if (bUninstall && !IsFullPath(pInfo->pszDestPath)) {
        *pDetails = notFound;
        return FALSE;
    }
    if (!SetupSetDirectoryIdA(hInf, OPTIONS_USER_DIRID, DirectoryIdPath(pInfo->pszDestPath).c_str()))
        return FALSE;
    if (bUninstall && !InstallationFound(hInf, pInfo->pszDestPath)) {
        *pDetails = notFound;
        return FALSE;
    }

    HSPFILEQ FileQueue = SetupOpenFileQueue();
    if (!FileQueue || FileQueue == INVALID_HANDLE_VALUE)
        return FALSE;

    MY_INSTALL_DATA MyInstallData = {};
    MyInstallData.pDefaultContext = SetupInitDefaultQueueCallback(hWnd);
    if (!MyInstallData.pDefaultContext) {
        SetupCloseFileQueue(FileQueue);
        return FALSE;
    }

    // Installing again from the installed folder: the files are already in
    // place, and copying the running installer onto itself would fail.
    bool bInPlace = !bUninstall && SameFile(pszSourcePath, WithSeparator(pInfo->pszDestPath).c_str());
    BOOL bResult = bInPlace || QueueChosenSections(hInf, FileQueue, pInfo, pszSourcePath);
    if (bResult && !bInPlace)
        bResult = SetupCommitFileQueueA(hWnd, FileQueue, MyQueueCallback, &MyInstallData);
    if (MyInstallData.dwError) {
        bResult = FALSE;
        *pDetails = std::string(MyInstallData.szFailedFile) + ":\n" + SystemMessage(MyInstallData.dwError);
    }
    if (bResult && bUninstall)
        RemoveEmptyFolders(pInfo->pszDestPath);

    // The registry and INI directives: an uninstallation applies its own
    // section's, which undo what the installation's added (applying the
    // installation's would add them back). They cannot make a failed file
    // step look like a success.
    const char *pszRegistrySection = bUninstall ? kUninstallSection
                                     : pInfo->iCustom_Options1 ? kInstallSections[0] : nullptr;
    if (pszRegistrySection) {
        BOOL bRegistry = SetupInstallFromInfSectionA(hWnd, hInf, pszRegistrySection, SPINST_INIFILES | SPINST_REGISTRY,
                                                     nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr);
        bResult = bResult && bRegistry;
    }
    if (bResult)
        bResult = FinishShellEntries(hInf, pInfo);

    SetupTermDefaultQueueCallback(MyInstallData.pDefaultContext);
    SetupCloseFileQueue(FileQueue);
    return bResult;
}

// Ends the commit on a file that cannot be installed: the default callback
// would skip it silently, or retry for ever, depending on the error.
UINT FailFile(MY_INSTALL_DATA *pData, DWORD dwError, const char *pszFile)
{
    if (!pData->dwError) {
        pData->dwError = dwError ? dwError : ERROR_GEN_FAILURE;
        snprintf(pData->szFailedFile, sizeof pData->szFailedFile, "%s", pszFile ? pszFile : "");
    }
    return FILEOP_ABORT;
}

}  // namespace

UINT CALLBACK MyQueueCallback(PVOID pMyInstallData, UINT Notification, UINT_PTR Param1, UINT_PTR Param2)
{
    MY_INSTALL_DATA *pData = (MY_INSTALL_DATA *)pMyInstallData;
    const FILEPATHS_A *pPaths = (const FILEPATHS_A *)Param1;
    switch (Notification) {
    case SPFILENOTIFY_DELETEERROR:
        // A file that cannot be removed (missing, or in use) must not stop an uninstallation.
        return FILEOP_SKIP;
    case SPFILENOTIFY_STARTCOPY:
        snprintf(pData->szCopySource, sizeof pData->szCopySource, "%s", pPaths->Source);
        snprintf(pData->szCopyTarget, sizeof pData->szCopyTarget, "%s", pPaths->Target);
        break;
    case SPFILENOTIFY_ENDCOPY:
        pData->szCopySource[0] = '\0';
        break;
    case SPFILENOTIFY_COPYERROR:
    case SPFILENOTIFY_RENAMEERROR:
        return FailFile(pData, pPaths->Win32Error, pPaths->Target);
    case SPFILENOTIFY_NEEDMEDIA: {
        DWORD dwLastError = GetLastError();  // of the failed copy, if any
        // Everything ships in the installer's own folder: a file missing there
        // will not turn up, so there is nothing to wait for.
        const SOURCE_MEDIA_A *pMedia = (const SOURCE_MEDIA_A *)Param1;
        std::string source = std::string(pMedia->SourcePath) + "\\" + pMedia->SourceFile;
        if (!FileExists(source))
            return FailFile(pData, ERROR_FILE_NOT_FOUND, source.c_str());
        // The source is there, so the copy just started failed at its target
        // (no folder, a full disk...): asking again would only fail again.
        if (pData->szCopySource[0] && SameFile(pData->szCopySource, source.c_str()))
            return FailFile(pData, dwLastError ? dwLastError : ERROR_WRITE_FAULT, pData->szCopyTarget);
        break;
    }
    }
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
    // A damaged script would install part of the program, or nothing, and
    // still look like a success: refuse it before anything is written.
    std::string missing = MissingScriptParts(hInf);
    if (!missing.empty()) {
        SetupCloseInfFile(hInf);
        ReportDamagedScript(hWnd, szInfFileName, missing);
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
    std::string details;
    BOOL bResult = InstallFiles(hWnd, hInf, pInfo, szSourcePath, &details);
    SetupCloseInfFile(hInf);
    EnableWindow(hWnd, TRUE);

    if (bResult)
        InstallFinish(TRUE);
    else
        ReportScriptFailure(hWnd, details);
    return TRUE;
}
