// The installation driver: runs the wizard, then installs or removes the
// program's files as "ondav.inf" directs, and records the user's choices.
#include "doinst.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "destpath.h"
#include "doctype.h"
#include "infscript.h"
#include "ondavsetup.h"
#include "record.h"
#include "removal.h"
#include "resources/setup/setupres.h"
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

// What the shell holds of an installation besides files and the script's
// registry entries: the Start-menu group and the entry's size.
BOOL AddShellEntries(HINF hInf, const INSTALLINFO *pInfo)
{
    RecordEstimatedSize(hInf, pInfo);
    return AddStartMenuGroup(pInfo->hInst, pInfo->pszDestPath);
}

std::vector<const char *> ChosenSections(const INSTALLINFO *pInfo)
{
    std::vector<const char *> sections;
    for (int i = 0; i < 4; ++i)
        if (SectionChosen(pInfo, i))
            sections.push_back(kInstallSections[i]);
    return sections;
}

bool Exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What was in the folder before the copy: a failed installation takes away
// exactly what it added.
struct FolderBefore {
    std::string folder;
    std::vector<std::string> added;  // installed names that were not there
    bool bFolder = false, bExamples = false;
    bool bEntry = false;  // the Add/Remove Programs entry

    FolderBefore(const std::string &dir, const std::vector<std::string> &names) : folder(dir)
    {
        for (const std::string &name : names)
            if (!Exists(dir + name))
                added.push_back(name);
        bFolder = Exists(dir);
        bExamples = Exists(dir + "exemples");
        HKEY hKey;
        bEntry = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &hKey) == ERROR_SUCCESS;
        if (bEntry)
            RegCloseKey(hKey);
    }

    void Restore(HWND hWnd, HINF hInf, bool bRegistryTouched) const
    {
        for (const std::string &name : added)
            if (!ThroughLink(folder + name))
                DeleteFileA((folder + name).c_str());
        if (!bExamples && !ThroughLink(folder + "exemples"))
            RemoveDirectoryA((folder + "exemples").c_str());
        if (!bFolder)
            RemoveDirectoryA(folder.c_str());
        if (!bRegistryTouched)
            return;
        // A first installation takes its entries back; a re-installation's
        // were already there.
        if (bEntry)
            return;
        SetupInstallFromInfSectionA(hWnd, hInf, kUninstallSection, SPINST_REGISTRY, nullptr, nullptr, 0, nullptr,
                                    nullptr, nullptr, nullptr);
        RemoveDocumentType((folder + "ondav.exe").c_str());
    }
};

// The record of this installation: every installed file with the content now
// in place, and what an earlier installation in the same folder put there
// and this one did not replace.
bool SaveRecord(const std::string &folder, const std::vector<std::string> &names)
{
    InstallRecord before = InstallRecord::Load(), record;
    record.folder = folder;
    for (const std::string &name : names) {
        std::string fingerprint = Fingerprint(folder + name);
        if (!fingerprint.empty())
            record.files.push_back({name, fingerprint});
    }
    if (SameFolder(before.folder, folder))
        for (const InstalledFile &f : before.files)
            if (!record.Find(f.name) && before.Holds(f))
                record.files.push_back(f);
    return record.Save();
}

// Copies the chosen sections into the destination and applies the
// registry directives; a failure leaves the machine as it was.
BOOL InstallProgram(HWND hWnd, HINF hInf, INSTALLINFO *pInfo, const char *pszSourcePath, std::string *pDetails,
                    bool *pbReported)
{
    const std::string folder = NormalFolder(pInfo->pszDestPath);
    std::string detail;
    UINT idsProblem = folder.empty() ? (UINT)IDS_DEST_NOT_FULL : DestinationProblem(pInfo->pszDestPath);
    if (!idsProblem)
        idsProblem = FolderProblem(hInf, folder.c_str(), &detail);
    if (idsProblem) {
        RefuseDestination(hWnd, pInfo->hInst, idsProblem, detail);
        *pbReported = true;
        return FALSE;
    }
    const std::vector<std::string> names = InstalledNames(hInf, folder, ChosenSections(pInfo));
    const FolderBefore before(folder, names);

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
    bool bInPlace = SameFolder(pszSourcePath, folder);
    BOOL bResult = bInPlace || QueueChosenSections(hInf, FileQueue, pInfo, pszSourcePath);
    if (bResult && !bInPlace)
        bResult = SetupCommitFileQueueA(hWnd, FileQueue, MyQueueCallback, &MyInstallData);
    if (MyInstallData.dwError) {
        bResult = FALSE;
        *pDetails = std::string(MyInstallData.szFailedFile) + ":\n" + SystemMessage(MyInstallData.dwError);
    }
    SetupTermDefaultQueueCallback(MyInstallData.pDefaultContext);
    SetupCloseFileQueue(FileQueue);

    bool bRegistry = bResult && pInfo->iCustom_Options1;
    if (bRegistry)
        bResult = SetupInstallFromInfSectionA(hWnd, hInf, kInstallSections[0], SPINST_INIFILES | SPINST_REGISTRY,
                                              nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr);
    if (bResult)
        bResult = SaveRecord(folder, names);
    if (!bResult) {
        before.Restore(hWnd, hInf, bRegistry);
        return FALSE;
    }
    RuntimeRegistration(pInfo);
    return AddShellEntries(hInf, pInfo);
}

// Removes the recorded installation: its files as installed, its entries,
// and the installed installer once it has ended.
BOOL UninstallProgram(HWND hWnd, HINF hInf, INSTALLINFO *pInfo, std::string *pDetails)
{
    InstallRecord record = InstallRecord::Load();
    if (record.folder.empty() || ThroughLink(record.folder) || !record.Present()) {
        *pDetails = std::string("Ondavis was not found in \"") +
                    (record.folder.empty() ? pInfo->pszDestPath : record.folder.c_str()) +
                    "\": nothing has been removed.";
        return FALSE;
    }
    char szSelf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, szSelf, sizeof szSelf);
    const InstalledFile *pSetup = record.Find("ondavsetup.exe");
    bool bSelfInside = n && n < sizeof szSelf && pSetup && lstrcmpiA(szSelf, (record.folder + pSetup->name).c_str()) == 0;

    RemovalResult removed = RemoveInstalledFiles(hWnd, pInfo->hInst, record, bSelfInside ? szSelf : nullptr);
    SetupSetDirectoryIdA(hInf, OPTIONS_USER_DIRID, record.folder.substr(0, record.folder.size() - 1).c_str());
    BOOL bResult = SetupInstallFromInfSectionA(hWnd, hInf, kUninstallSection, SPINST_INIFILES | SPINST_REGISTRY,
                                               nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr);
    RemoveStartMenuGroup(pInfo->hInst);
    RemoveDocumentType((record.folder + "ondav.exe").c_str());
    InstallRecord::Erase();
    if (bSelfInside && !RemoveInstallerAfterExit(szSelf)) {
        MoveFileExA(szSelf, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        RemoveEmptyFolders(record.folder, true);
        removed.bScheduled = true;
    }

    std::string report;
    if (!removed.kept.empty())
        report = LoadText(pInfo->hInst, IDS_UNINSTALL_KEPT, removed.kept);
    if (removed.bScheduled) {
        if (!report.empty())
            report += "\n";
        report += LoadText(pInfo->hInst, IDS_UNINSTALL_RESTART);
    }
    if (!report.empty())
        MessageBoxA(hWnd, report.c_str(), LoadText(pInfo->hInst, IDS_UNINSTALL_CAPTION).c_str(),
                    MB_OK | MB_ICONINFORMATION);
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
        if (!Exists(source))
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

namespace {

// The script beside the installer, checked whole; INVALID_HANDLE_VALUE, the
// user told why, when it cannot be used.
HINF OpenScript(HWND hWnd, char *pszSourcePath, DWORD cchSourcePath)
{
    char szInfFileName[MAX_PATH + sizeof kInfName];
    GetSourceDirectory(pszSourcePath, cchSourcePath);
    snprintf(szInfFileName, sizeof szInfFileName, "%s%s", pszSourcePath, kInfName);

    // Without our own folder a bare name would be looked up in the system's
    // INF folders: an unknown script is as good as none.
    HINF hInf = pszSourcePath[0] ? SetupOpenInfFileA(szInfFileName, nullptr, INF_STYLE_WIN4, nullptr)
                                 : INVALID_HANDLE_VALUE;
    if (hInf == INVALID_HANDLE_VALUE) {
        ReportMissingScript(hWnd, szInfFileName);
        return INVALID_HANDLE_VALUE;
    }
    // A damaged script would install part of the program, or nothing, and
    // still look like a success: refuse it before anything is written.
    std::string missing = MissingScriptParts(hInf);
    if (!missing.empty()) {
        SetupCloseInfFile(hInf);
        ReportDamagedScript(hWnd, szInfFileName, missing);
        return INVALID_HANDLE_VALUE;
    }
    return hInf;
}

// The files and registry step of a run, then its end: the restart values
// after a success, the error box after a failure nobody was told of yet.
void RunAndFinish(HWND hWnd, HINF hInf, INSTALLINFO *pInfo, const char *pszSourcePath)
{
    // The wizard hands its owner back on closing: keep the window disabled
    // while the files are committed, so that it cannot be closed half-way.
    EnableWindow(hWnd, FALSE);
    std::string details;
    bool bReported = false;
    BOOL bResult = pInfo->iInstall_Type == INSTALL_TYPE_UNINSTALL
                       ? UninstallProgram(hWnd, hInf, pInfo, &details)
                       : InstallProgram(hWnd, hInf, pInfo, pszSourcePath, &details, &bReported);
    SetupCloseInfFile(hInf);
    EnableWindow(hWnd, TRUE);

    if (bResult)
        InstallFinish(TRUE);
    else if (!bReported)
        ReportScriptFailure(hWnd, details);
}

}  // namespace

BOOL DoInstallation(HWND hWnd, INSTALLINFO *pInfo)
{
    char szSourcePath[MAX_PATH];
    HINF hInf = OpenScript(hWnd, szSourcePath, sizeof szSourcePath);
    if (hInf == INVALID_HANDLE_VALUE)
        return FALSE;
    if (!CreateWizard(hWnd, pInfo->hInst)) {
        SetupCloseInfFile(hInf);
        return FALSE;
    }
    // An installation keeps the user's choices only once it has succeeded: a
    // failed one must not move the record away from the working installation.
    if (pInfo->iInstall_Type == INSTALL_TYPE_UNINSTALL) {
        RuntimeRegistration(pInfo);
        GetRegString(kSetupInfoKey, "DestinationPath", pInfo->pszDestPath);
    }
    RunAndFinish(hWnd, hInf, pInfo, szSourcePath);
    return TRUE;
}

BOOL DoUninstallCommand(HWND hWnd, INSTALLINFO *pInfo)
{
    char szSourcePath[MAX_PATH];
    HINF hInf = OpenScript(hWnd, szSourcePath, sizeof szSourcePath);
    if (hInf == INVALID_HANDLE_VALUE)
        return FALSE;
    // The command removes the installation it belongs to, and no other.
    InstallRecord record = InstallRecord::Load();
    std::string folder = SameFolder(record.folder, szSourcePath) ? record.folder : std::string(szSourcePath);
    pInfo->iInstall_Type = INSTALL_TYPE_UNINSTALL;
    if (MessageBoxA(hWnd, LoadText(pInfo->hInst, IDS_UNINSTALL_CONFIRM, folder).c_str(),
                    LoadText(pInfo->hInst, IDS_UNINSTALL_CAPTION).c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) {
        SetupCloseInfFile(hInf);
        return FALSE;
    }
    if (!SameFolder(record.folder, szSourcePath)) {
        SetupCloseInfFile(hInf);
        ReportScriptFailure(hWnd, "Ondavis was not found in \"" + folder + "\": nothing has been removed.");
        return FALSE;
    }
    RunAndFinish(hWnd, hInf, pInfo, szSourcePath);
    return TRUE;
}
