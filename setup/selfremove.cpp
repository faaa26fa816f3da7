#include "selfremove.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "record.h"
#include "removal.h"

namespace {

const char kSwitch[] = "/remove ";
const char kHelperPrefix[] = "ondavsetup-remove-";
// Written by the uninstallation for the helper: the installer to remove.
const char kPendingKey[] = "Software\\Korvel\\Ondavis\\Installation";
const char kPendingValue[] = "Remove";
const DWORD kWaitForParent = 60000;  // ms
const int kDeleteTries = 50;         // 100 ms apart: the loader may hold the file a moment longer

std::string FolderOf(const std::string &path)
{
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

std::string ModulePath()
{
    char sz[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, sz, sizeof sz);
    return n && n < sizeof sz ? sz : "";
}

bool SetPending(const char *pszSelf)
{
    HKEY hKey;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPendingKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG l = RegSetValueExA(hKey, kPendingValue, 0, REG_SZ, (const BYTE *)pszSelf, (DWORD)strlen(pszSelf) + 1);
    RegCloseKey(hKey);
    return l == ERROR_SUCCESS;
}

// The pending file, taken out of the record (the key goes when it held nothing else).
std::string TakePending()
{
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPendingKey, 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
        return "";
    char sz[MAX_PATH];
    DWORD dwType = 0, cb = sizeof sz - 1;
    std::string path;
    if (RegQueryValueExA(hKey, kPendingValue, nullptr, &dwType, (LPBYTE)sz, &cb) == ERROR_SUCCESS && dwType == REG_SZ) {
        sz[cb] = '\0';
        path = sz;
        RegDeleteValueA(hKey, kPendingValue);
    }
    DWORD nSubkeys = 0, nValues = 0;
    RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, &nSubkeys, nullptr, nullptr, &nValues, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(hKey);
    if (!nSubkeys && !nValues)
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kPendingKey);
    return path;
}

// This program is the helper copy the uninstallation made in the temporary folder.
bool IsHelperCopy(const std::string &self)
{
    char szTemp[MAX_PATH];
    DWORD n = GetTempPathA(sizeof szTemp, szTemp);
    std::string name = self.substr(FolderOf(self).size());
    return n && n < sizeof szTemp && SameFolder(FolderOf(self), szTemp) &&
           _strnicmp(name.c_str(), kHelperPrefix, strlen(kHelperPrefix)) == 0;
}

}  // namespace

BOOL RemoveInstallerAfterExit(const char *pszSelf)
{
    char szTemp[MAX_PATH], szHelper[MAX_PATH];
    DWORD n = GetTempPathA(sizeof szTemp, szTemp);
    if (!n || n >= sizeof szTemp)
        return FALSE;
    snprintf(szHelper, sizeof szHelper, "%s%s%lu.exe", szTemp, kHelperPrefix, (unsigned long)GetCurrentProcessId());
    if (!CopyFileA(pszSelf, szHelper, FALSE))
        return FALSE;

    // The helper waits on this process through an inherited handle, which,
    // unlike a process id, cannot come to name another process.
    HANDLE hSelf = nullptr;
    if (!SetPending(pszSelf) ||
        !DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &hSelf, SYNCHRONIZE, TRUE, 0)) {
        TakePending();
        DeleteFileA(szHelper);
        return FALSE;
    }
    char szCmd[2 * MAX_PATH];
    snprintf(szCmd, sizeof szCmd, "\"%s\" %s%llu", szHelper, kSwitch, (unsigned long long)(ULONG_PTR)hSelf);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    BOOL bStarted = CreateProcessA(szHelper, szCmd, nullptr, nullptr, TRUE, 0, nullptr, szTemp, &si, &pi);
    CloseHandle(hSelf);
    if (!bStarted) {
        TakePending();
        DeleteFileA(szHelper);
        return FALSE;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return TRUE;
}

const char *CommandArguments(const char *pszCmdLine)
{
    const char *p = pszCmdLine;
    if (*p == '"') {
        p = strchr(p + 1, '"');
        p = p ? p + 1 : pszCmdLine + strlen(pszCmdLine);
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

bool IsRemovalHelper(const char *pszArguments)
{
    return pszArguments && strncmp(pszArguments, kSwitch, strlen(kSwitch)) == 0;
}

int RunRemovalHelper(const char *pszArguments)
{
    const std::string self = ModulePath();
    if (self.empty() || !IsHelperCopy(self))
        return 1;
    HANDLE hParent = (HANDLE)(ULONG_PTR)strtoull(pszArguments + strlen(kSwitch), nullptr, 10);
    WaitForSingleObject(hParent, kWaitForParent);
    CloseHandle(hParent);

    // Only the installer this helper was copied from: the same content.
    const std::string file = TakePending();
    const std::string own = Fingerprint(self);
    if (!file.empty() && !own.empty() && !ThroughLink(file)) {
        for (int i = 0; i < kDeleteTries && Fingerprint(file) == own && !DeleteFileA(file.c_str()); ++i)
            Sleep(100);
        // The folders go only if nothing of the user's is left in them.
        RemoveEmptyFolders(FolderOf(file), false);
    }
    MoveFileExA(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return 0;
}
