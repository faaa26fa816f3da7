#include "removal.h"

#include <algorithm>

#include "resources/setup/setupres.h"

namespace {

bool Exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveAtRestart(const std::string &path)
{
    MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

// Asks to close the program that holds `path`: true to try again.
bool AskToClose(HWND hWnd, HINSTANCE hInst, const std::string &path)
{
    return MessageBoxA(hWnd, LoadText(hInst, IDS_UNINSTALL_RUNNING, path).c_str(),
                       LoadText(hInst, IDS_UNINSTALL_CAPTION).c_str(),
                       MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
}

}  // namespace

std::string LoadText(HINSTANCE hInst, UINT ids, const std::string &detail)
{
    char sz[1024] = "";
    LoadStringA(hInst, ids, sz, sizeof sz);
    std::string text = sz;
    size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, detail);
    return text;
}

RemovalResult RemoveInstalledFiles(HWND hWnd, HINSTANCE hInst, const InstallRecord &record, const char *pszSkip)
{
    RemovalResult result;
    bool bAsked = false;  // once: after Annuler, the rest waits for the restart
    // The program first: while it runs nothing else is touched.
    std::vector<InstalledFile> files = record.files;
    std::stable_partition(files.begin(), files.end(),
                          [](const InstalledFile &f) { return lstrcmpiA(f.name.c_str(), "ondav.exe") == 0; });
    for (const InstalledFile &file : files) {
        std::string path = record.folder + file.name;
        if (pszSkip && lstrcmpiA(path.c_str(), pszSkip) == 0)
            continue;
        if (!Exists(path))
            continue;
        if (!record.Holds(file)) {
            result.kept += path + "\n";
            continue;
        }
        while (!DeleteFileA(path.c_str()) && Exists(path)) {
            if (!bAsked && AskToClose(hWnd, hInst, path))
                continue;
            bAsked = true;
            RemoveAtRestart(path);
            result.bScheduled = true;
            break;
        }
    }
    RemoveEmptyFolders(record.folder, result.bScheduled);
    return result;
}

void RemoveEmptyFolders(const std::string &folder, bool bLater)
{
    for (const std::string &dir : {folder + "exemples", folder.substr(0, folder.size() - 1)}) {
        // A link stands for a folder elsewhere: never followed, never removed.
        if (ThroughLink(dir))
            continue;
        if (!RemoveDirectoryA(dir.c_str()) && bLater && Exists(dir))
            RemoveAtRestart(dir);
    }
}
