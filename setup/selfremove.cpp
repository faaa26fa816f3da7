#include "selfremove.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kSwitch[] = "/remove ";
const DWORD kWaitForParent = 60000;  // ms
const int kDeleteTries = 50;         // 100 ms apart: the loader may hold the file a moment longer

std::string FolderOf(const std::string &path)
{
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

bool SameFolder(const std::string &a, const std::string &b)
{
    char szA[MAX_PATH], szB[MAX_PATH];
    if (!GetFullPathNameA(a.c_str(), sizeof szA, szA, nullptr) ||
        !GetFullPathNameA(b.c_str(), sizeof szB, szB, nullptr))
        return false;
    std::string fa = szA, fb = szB;
    for (std::string *f : {&fa, &fb})
        if (!f->empty() && f->back() != '\\')
            *f += '\\';
    return lstrcmpiA(fa.c_str(), fb.c_str()) == 0;
}

}  // namespace

BOOL RemoveInstallerAfterExit(const char *pszDestPath)
{
    char szSelf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, szSelf, sizeof szSelf);
    if (n == 0 || n >= sizeof szSelf || !SameFolder(FolderOf(szSelf), pszDestPath) ||
        GetFileAttributesA(szSelf) == INVALID_FILE_ATTRIBUTES)
        return FALSE;

    char szTemp[MAX_PATH], szHelper[MAX_PATH];
    if (!GetTempPathA(sizeof szTemp, szTemp))
        return FALSE;
    snprintf(szHelper, sizeof szHelper, "%sondavsetup-remove-%lu.exe", szTemp, (unsigned long)GetCurrentProcessId());
    if (!CopyFileA(szSelf, szHelper, FALSE))
        return FALSE;

    // The helper waits on this process through an inherited handle, which,
    // unlike a process id, cannot come to name another process.
    HANDLE hSelf = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &hSelf, SYNCHRONIZE, TRUE, 0)) {
        DeleteFileA(szHelper);
        return FALSE;
    }
    char szCmd[3 * MAX_PATH];
    snprintf(szCmd, sizeof szCmd, "\"%s\" %s%llu \"%s\"", szHelper, kSwitch, (unsigned long long)(ULONG_PTR)hSelf,
             szSelf);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    BOOL bStarted = CreateProcessA(szHelper, szCmd, nullptr, nullptr, TRUE, 0, nullptr, szTemp, &si, &pi);
    CloseHandle(hSelf);
    if (!bStarted) {
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
    const char *p = pszArguments + strlen(kSwitch);
    char *pszEnd = nullptr;
    HANDLE hParent = (HANDLE)(ULONG_PTR)strtoull(p, &pszEnd, 10);
    std::string file = pszEnd;
    size_t open = file.find('"'), close = file.rfind('"');
    if (open == std::string::npos || close <= open)
        return 1;
    file = file.substr(open + 1, close - open - 1);

    WaitForSingleObject(hParent, kWaitForParent);
    CloseHandle(hParent);
    for (int i = 0; i < kDeleteTries && !DeleteFileA(file.c_str()) &&
                    GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES;
         ++i)
        Sleep(100);
    // The folder goes only if nothing of the user's is left in it.
    RemoveDirectoryA(FolderOf(file).c_str());

    char szSelf[MAX_PATH];
    if (GetModuleFileNameA(nullptr, szSelf, sizeof szSelf))
        MoveFileExA(szSelf, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    return 0;
}
