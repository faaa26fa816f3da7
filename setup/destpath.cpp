// Checks of a destination folder, made before anything is written there.
#include "destpath.h"

#include <shlobj.h>

#include <cstring>
#include <string>

#include "infscript.h"
#include "instwiz.h"
#include "record.h"
#include "resources/setup/setupres.h"

const char kLongestInstalledName[] = "exemples\\silence.osc";

namespace {

bool IsSlash(char c)
{
    return c == '\\' || c == '/';
}

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsUncPath(const char *pszPath)
{
    return IsSlash(pszPath[0]) && IsSlash(pszPath[1]) && pszPath[2] != '\0' && !IsSlash(pszPath[2]);
}

// Length of "X:\" or "\\server\share\" (the root that must already exist), 0 if none.
size_t RootLength(const std::string &path)
{
    if (!IsUncPath(path.c_str()))
        return 3;
    size_t server = path.find_first_of("\\/", 2);
    if (server == std::string::npos)
        return 0;
    size_t share = path.find_first_of("\\/", server + 1);
    return share == std::string::npos ? path.size() : share + 1;
}

bool HasForbiddenCharacter(const std::string &path, size_t rootLength)
{
    for (size_t i = rootLength; i < path.size(); ++i)
        if (strchr("*?\"<>|:", path[i]) || (unsigned char)path[i] < 32)
            return true;
    return false;
}

bool TooLong(const std::string &path)
{
    size_t n = path.size() + (IsSlash(path.back()) ? 0 : 1) + strlen(kLongestInstalledName);
    return n >= MAX_PATH;
}

bool RootExists(const std::string &path, size_t rootLength)
{
    std::string root = path.substr(0, rootLength);
    if (!IsUncPath(root.c_str()))
        return GetDriveTypeA(root.c_str()) > DRIVE_NO_ROOT_DIR;
    DWORD dwAttributes = GetFileAttributesA(root.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A file standing where the destination, or a folder on the way to it, goes.
bool FileInTheWay(const std::string &path, size_t rootLength)
{
    for (size_t i = rootLength; i <= path.size(); ++i) {
        if (i < path.size() && !IsSlash(path[i]))
            continue;
        if (IsSlash(path[i - 1]))
            continue;
        DWORD dwAttributes = GetFileAttributesA(path.substr(0, i).c_str());
        if (dwAttributes == INVALID_FILE_ATTRIBUTES)
            return false;  // nothing there yet: the rest will be created
        if (!(dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return true;
    }
    return false;
}

// A drive's root, the Windows folder or one inside it, a program folders' root.
UINT PlaceProblem(const char *pszPath);

}  // namespace

bool IsFullPath(const char *pszPath)
{
    if (IsDriveLetter(pszPath[0]) && pszPath[1] == ':' && IsSlash(pszPath[2]))
        return true;
    return IsUncPath(pszPath);
}

UINT DestinationProblem(const char *pszPath)
{
    if (!IsFullPath(pszPath))
        return IDS_DEST_NOT_FULL;
    std::string path = pszPath;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    size_t rootLength = RootLength(path);
    if (rootLength == 0)
        return IDS_DEST_NOT_FULL;
    if (HasForbiddenCharacter(path, rootLength))
        return IDS_DEST_BAD_NAME;
    if (TooLong(path))
        return IDS_DEST_TOO_LONG;
    if (!RootExists(path, rootLength))
        return IDS_DEST_NO_DRIVE;
    if (FileInTheWay(path, rootLength))
        return IDS_DEST_FILE_IN_WAY;
    return PlaceProblem(path.c_str());
}

namespace {

std::string KnownFolder(int csidl)
{
    char sz[MAX_PATH];
    return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, sz)) ? NormalFolder(sz) : "";
}

// A value of the 64-bit view, which a 32-bit program does not see by default.
std::string MachineFolder(const char *pszValue)
{
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0,
                      KEY_QUERY_VALUE | KEY_WOW64_64KEY, &hKey) != ERROR_SUCCESS)
        return "";
    char sz[MAX_PATH];
    DWORD dwType = 0, cb = sizeof sz - 1;
    LONG l = RegQueryValueExA(hKey, pszValue, nullptr, &dwType, (LPBYTE)sz, &cb);
    RegCloseKey(hKey);
    if (l != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return "";
    sz[cb] = '\0';
    return NormalFolder(sz);
}

// The full path, with the long names of what exists of it (C:\PROGRA~1 is C:\Program Files).
std::string LongFolder(const char *pszPath)
{
    std::string dir = NormalFolder(pszPath);
    for (size_t cut = dir.size(); cut > 2; cut = dir.find_last_of('\\', cut - 2) + 1) {
        char sz[MAX_PATH];
        DWORD n = GetLongPathNameA(dir.substr(0, cut).c_str(), sz, sizeof sz);
        if (n && n < sizeof sz)
            return NormalFolder(sz) + dir.substr(cut);
        if (cut < 4)
            break;
    }
    return dir;
}

bool StartsWith(const std::string &s, const std::string &prefix)
{
    return !prefix.empty() && s.size() >= prefix.size() && lstrcmpiA(s.substr(0, prefix.size()).c_str(), prefix.c_str()) == 0;
}

bool IsProgramFilesRoot(const std::string &dir)
{
    for (const std::string &root : {KnownFolder(CSIDL_PROGRAM_FILES), KnownFolder(CSIDL_PROGRAM_FILESX86),
                                    MachineFolder("ProgramFilesDir"), MachineFolder("ProgramFilesDir (x86)")})
        if (!root.empty() && lstrcmpiA(LongFolder(root.c_str()).c_str(), dir.c_str()) == 0)
            return true;
    char sz[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("ProgramW6432", sz, sizeof sz);
    return n && n < sizeof sz && lstrcmpiA(LongFolder(sz).c_str(), dir.c_str()) == 0;
}

bool IsSystemFolder(const std::string &dir)
{
    char sz[MAX_PATH];
    for (UINT n : {GetWindowsDirectoryA(sz, sizeof sz), GetSystemWindowsDirectoryA(sz, sizeof sz)})
        if (n && n < sizeof sz && StartsWith(dir, LongFolder(sz)))
            return true;
    return false;
}

bool IsEmptyFolder(const std::string &dir)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return true;
    bool bEmpty = true;
    do
        bEmpty = strcmp(fd.cFileName, ".") == 0 || strcmp(fd.cFileName, "..") == 0;
    while (bEmpty && FindNextFileA(h, &fd));
    FindClose(h);
    return bEmpty;
}

UINT PlaceProblem(const char *pszPath)
{
    std::string dir = LongFolder(pszPath);
    if (dir.size() == RootLength(dir))
        return IDS_DEST_ROOT;
    if (IsSystemFolder(dir))
        return IDS_DEST_SYSTEM;
    if (IsProgramFilesRoot(dir))
        return IDS_DEST_PROGRAM_FILES;
    return 0;
}

}  // namespace

UINT FolderProblem(HINF hInf, const char *pszPath, std::string *pDetail)
{
    std::string dir = NormalFolder(pszPath);
    if (ThroughLink(dir))
        return IDS_DEST_LINK;
    InstallRecord record = InstallRecord::Load();
    bool bOurs = SameFolder(record.folder, dir) && record.Present();
    if (!bOurs && !record.folder.empty() && record.Present()) {
        *pDetail = record.folder;
        return IDS_DEST_INSTALLED_ELSEWHERE;
    }
    char szSource[MAX_PATH];
    GetSourceDirectory(szSource, sizeof szSource);
    // Installing into the kit would mix the installation with it, and its
    // removal would take the kit away.
    if (!bOurs && SameFolder(szSource, dir))
        return IDS_DEST_OWN_FOLDER;
    if (IsEmptyFolder(dir))
        return 0;
    if (!bOurs)
        return IDS_DEST_NOT_EMPTY;
    std::string foreign;
    for (const std::string &name : InstalledNames(hInf, dir)) {
        std::string path = dir + name;
        if (ThroughLink(path))
            return IDS_DEST_LINK;
        const InstalledFile *pFile = record.Find(name);
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES && !(pFile && record.Holds(*pFile)))
            foreign += path + "\n";
    }
    *pDetail = foreign;
    return foreign.empty() ? 0 : IDS_DEST_FOREIGN_FILE;
}

void RefuseDestination(HWND hWnd, HINSTANCE hInst, UINT idsProblem, const std::string &detail)
{
    char szCaption[128], szFormat[512];
    LoadStringA(hInst, IDS_DEST_CAPTION, szCaption, sizeof szCaption);
    LoadStringA(hInst, idsProblem, szFormat, sizeof szFormat);
    std::string text = szFormat;
    size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, detail);
    MessageBoxA(hWnd, text.c_str(), szCaption, MB_OK | MB_ICONEXCLAMATION);
}
