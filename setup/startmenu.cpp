// Shortcuts through the shell's own link object (IShellLink), saved in the
// common Start menu, so that every user of the machine finds the program.
#include "startmenu.h"

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>

#include "removal.h"
#include "resources/setup/setupres.h"

namespace {

struct Shortcut {
    UINT idsName;         // the link's name in the group
    const char *pszFile;  // what it starts, in the destination folder
    bool bText;           // opened in Notepad: a text file may have no program of its own
};
const Shortcut kShortcuts[] = {
    {IDS_LINK_PROGRAM, "ondav.exe", false},
    {IDS_LINK_README, "lisezmoi.txt", true},
    {IDS_LINK_UNINSTALL, "ondavsetup.exe", false},
};

std::string LinkPath(HINSTANCE hInst, const Shortcut &s)
{
    char szGroup[MAX_PATH];
    GetStartMenuGroup(hInst, szGroup, sizeof szGroup);
    return szGroup[0] ? std::string(szGroup) + "\\" + LoadText(hInst, s.idsName) + ".lnk" : "";
}

bool SaveLink(const std::string &linkPath, const std::string &target, bool bText, const std::string &folder)
{
    IShellLinkA *pLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void **)&pLink)))
        return false;
    if (bText) {
        char szNotepad[MAX_PATH];
        GetWindowsDirectoryA(szNotepad, sizeof szNotepad);
        pLink->SetPath((std::string(szNotepad) + "\\notepad.exe").c_str());
        pLink->SetArguments(("\"" + target + "\"").c_str());
    } else {
        pLink->SetPath(target.c_str());
    }
    pLink->SetWorkingDirectory(folder.c_str());
    bool bSaved = false;
    IPersistFile *pFile = nullptr;
    if (SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, (void **)&pFile))) {
        WCHAR wszPath[MAX_PATH];
        if (MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wszPath, MAX_PATH))
            bSaved = SUCCEEDED(pFile->Save(wszPath, TRUE));
        pFile->Release();
    }
    pLink->Release();
    return bSaved;
}

}  // namespace

void GetStartMenuGroup(HINSTANCE hInst, char *pszDir, DWORD cchDir)
{
    char szPrograms[MAX_PATH];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                                szPrograms))) {
        pszDir[0] = '\0';
        return;
    }
    snprintf(pszDir, cchDir, "%s\\%s", szPrograms, LoadText(hInst, IDS_START_MENU_GROUP).c_str());
}

BOOL AddStartMenuGroup(HINSTANCE hInst, const char *pszDestPath)
{
    char szGroup[MAX_PATH];
    GetStartMenuGroup(hInst, szGroup, sizeof szGroup);
    if (!szGroup[0])
        return FALSE;
    CreateDirectoryA(szGroup, nullptr);

    std::string folder = pszDestPath;
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    HRESULT hrCom = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    BOOL bResult = TRUE;
    for (const Shortcut &s : kShortcuts) {
        std::string target = folder + s.pszFile;
        // The read-me is an option: no file, no shortcut.
        if (GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES)
            continue;
        if (!SaveLink(LinkPath(hInst, s), target, s.bText, folder))
            bResult = FALSE;
    }
    if (SUCCEEDED(hrCom))
        CoUninitialize();
    return bResult;
}

void RemoveStartMenuGroup(HINSTANCE hInst)
{
    char szGroup[MAX_PATH];
    GetStartMenuGroup(hInst, szGroup, sizeof szGroup);
    if (!szGroup[0])
        return;
    for (const Shortcut &s : kShortcuts)
        DeleteFileA(LinkPath(hInst, s).c_str());
    // A shortcut the user added keeps the group.
    RemoveDirectoryA(szGroup);
}
