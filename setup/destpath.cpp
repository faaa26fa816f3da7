// Checks of a destination folder, made before anything is written there.
#include "destpath.h"

#include <cstring>
#include <string>

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
    return 0;
}
