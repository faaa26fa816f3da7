#include "record.h"

#include <bcrypt.h>

#include <cstdio>

namespace {

const char kRecordKey[] = "Software\\Korvel\\Ondavis\\Installation";
const char kFilesKey[] = "Software\\Korvel\\Ondavis\\Installation\\Files";

std::string ReadString(HKEY hKey, const char *pszName)
{
    char sz[2 * MAX_PATH];
    DWORD dwType = 0, cb = sizeof sz - 1;
    if (RegQueryValueExA(hKey, pszName, nullptr, &dwType, (LPBYTE)sz, &cb) != ERROR_SUCCESS || dwType != REG_SZ)
        return "";
    sz[cb] = '\0';
    return sz;
}

bool WriteString(HKEY hKey, const char *pszName, const std::string &data)
{
    return RegSetValueExA(hKey, pszName, 0, REG_SZ, (const BYTE *)data.c_str(), (DWORD)data.size() + 1) ==
           ERROR_SUCCESS;
}

std::string Hex(const UCHAR *p, size_t n)
{
    std::string s;
    char sz[3];
    for (size_t i = 0; i < n; ++i) {
        snprintf(sz, sizeof sz, "%02x", p[i]);
        s += sz;
    }
    return s;
}

// The name the file system resolves an open handle to ("" if none).
std::string FinalName(HANDLE h)
{
    char sz[2 * MAX_PATH];
    DWORD n = GetFinalPathNameByHandleA(h, sz, sizeof sz, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    return n && n < sizeof sz ? sz : "";
}

// Where `path` really leads, resolving every link on the way.
std::string ResolvedName(const std::string &path)
{
    HANDLE h = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "";
    std::string name = FinalName(h);
    CloseHandle(h);
    return name;
}

// The name an existing entry has in its folder (its long name, as stored).
std::string StoredName(const std::string &path)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(path.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return "";
    FindClose(h);
    return fd.cFileName;
}

}  // namespace

InstallRecord InstallRecord::Load()
{
    InstallRecord r;
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRecordKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return r;
    r.folder = NormalFolder(ReadString(hKey, "Folder").c_str());
    RegCloseKey(hKey);
    if (r.folder.empty() || RegOpenKeyExA(HKEY_LOCAL_MACHINE, kFilesKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) {
        r.folder.clear();
        return r;
    }
    for (DWORD i = 0;; ++i) {
        char szName[MAX_PATH];
        DWORD cchName = sizeof szName;
        if (RegEnumValueA(hKey, i, szName, &cchName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        std::string name = szName, fingerprint = ReadString(hKey, szName);
        // A name leading out of the folder is no file of this installation.
        if (!name.empty() && name.find("..") == std::string::npos && name.find(':') == std::string::npos &&
            name[0] != '\\' && fingerprint.size() == 64)
            r.files.push_back({name, fingerprint});
    }
    RegCloseKey(hKey);
    return r;
}

bool InstallRecord::Save() const
{
    Erase();
    HKEY hKey, hFiles;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRecordKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        return false;
    bool bSaved = WriteString(hKey, "Folder", folder) &&
                  RegCreateKeyExA(hKey, "Files", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hFiles, nullptr) ==
                      ERROR_SUCCESS;
    RegCloseKey(hKey);
    if (!bSaved)
        return false;
    for (const InstalledFile &f : files)
        bSaved = WriteString(hFiles, f.name.c_str(), f.fingerprint) && bSaved;
    RegCloseKey(hFiles);
    return bSaved;
}

void InstallRecord::Erase()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRecordKey);
}

const InstalledFile *InstallRecord::Find(const std::string &name) const
{
    for (const InstalledFile &f : files)
        if (lstrcmpiA(f.name.c_str(), name.c_str()) == 0)
            return &f;
    return nullptr;
}

bool InstallRecord::Holds(const InstalledFile &file) const
{
    std::string path = folder + file.name;
    return !ThroughLink(path) && Fingerprint(path) == file.fingerprint;
}

bool InstallRecord::Present() const
{
    for (const InstalledFile &f : files)
        if (Holds(f))
            return true;
    return false;
}

std::string Fingerprint(const std::string &path)
{
    HANDLE hFile = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return "";
    BY_HANDLE_FILE_INFORMATION info;
    BCRYPT_ALG_HANDLE hAlg = nullptr;
    BCRYPT_HASH_HANDLE hHash = nullptr;
    std::string result;
    if (GetFileInformationByHandle(hFile, &info) &&
        !(info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) &&
        BCryptOpenAlgorithmProvider(&hAlg, BCRYPT_SHA256_ALGORITHM, nullptr, 0) == 0 &&
        BCryptCreateHash(hAlg, &hHash, nullptr, 0, nullptr, 0, 0) == 0) {
        static UCHAR buffer[64 * 1024];
        DWORD n = 0;
        bool bOk = true;
        while ((bOk = ReadFile(hFile, buffer, sizeof buffer, &n, nullptr)) && n)
            BCryptHashData(hHash, buffer, n, 0);
        UCHAR digest[32];
        if (bOk && BCryptFinishHash(hHash, digest, sizeof digest, 0) == 0)
            result = Hex(digest, sizeof digest);
    }
    if (hHash)
        BCryptDestroyHash(hHash);
    if (hAlg)
        BCryptCloseAlgorithmProvider(hAlg, 0);
    CloseHandle(hFile);
    return result;
}

std::string NormalFolder(const char *pszPath)
{
    char sz[MAX_PATH];
    DWORD n = pszPath[0] ? GetFullPathNameA(pszPath, sizeof sz, sz, nullptr) : 0;
    if (!n || n >= sizeof sz)
        return "";
    std::string dir = sz;
    for (char &c : dir)
        if (c == '/')
            c = '\\';
    if (dir.back() != '\\')
        dir += '\\';
    return dir;
}

bool SameFolder(const std::string &a, const std::string &b)
{
    std::string na = NormalFolder(a.c_str()), nb = NormalFolder(b.c_str());
    return !na.empty() && lstrcmpiA(na.c_str(), nb.c_str()) == 0;
}

bool ThroughLink(const std::string &path)
{
    std::string full = NormalFolder(path.c_str());
    if (full.empty())
        return false;
    full.pop_back();
    // Past the root ("C:\" or "\\server\share\"): a folder that is a link, or
    // that the file system resolves elsewhere than where its name says.
    size_t start = full.compare(0, 2, "\\\\") == 0 ? full.find('\\', full.find('\\', 2) + 1) : 2;
    std::string parentResolved;
    for (size_t i = start; i != std::string::npos && i < full.size();) {
        size_t next = full.find('\\', i + 1);
        std::string prefix = full.substr(0, next);
        DWORD dwAttributes = GetFileAttributesA(prefix.c_str());
        // Nothing there yet, or a link whose target is gone.
        if (dwAttributes == INVALID_FILE_ATTRIBUTES)
            return !StoredName(prefix).empty();
        if (dwAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
            return true;
        std::string resolved = ResolvedName(prefix);
        if (parentResolved.empty())
            parentResolved = ResolvedName(full.substr(0, i + 1));
        if (!parentResolved.empty() && parentResolved.back() != '\\')
            parentResolved += '\\';
        if (!resolved.empty() && !parentResolved.empty() &&
            lstrcmpiA(resolved.c_str(), (parentResolved + StoredName(prefix)).c_str()) != 0)
            return true;
        parentResolved = resolved;
        i = next;
    }
    return false;
}
