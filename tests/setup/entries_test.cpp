// What an installation adds for Windows besides its files — the Add/Remove
// Programs entry and the Start-menu group — and that an uninstallation takes
// all of it away again, with the document type the program registered, but
// nothing of the user's.
#include <windows.h>
#include <gtest/gtest.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "install_fixture.h"
#include "setup_test.h"
#include "startmenu.h"

namespace {

const char *const kLinks[][3] = {
    {"Ondavis.lnk", "C:\\OndavTest\\ondav.exe", ""},
    {"Lisez-moi.lnk", "C:\\windows\\notepad.exe", "\"C:\\OndavTest\\lisezmoi.txt\""},
    {"Desinstaller l'Ondavis.lnk", "C:\\OndavTest\\ondavsetup.exe", ""},
};

std::string Group()
{
    char sz[MAX_PATH];
    GetStartMenuGroup(GetModuleHandleA(nullptr), sz, sizeof sz);
    return sz;
}

// The target a saved shortcut starts and its arguments, read back through the
// shell's link object.
std::string LinkTarget(const std::string &link, std::string *arguments = nullptr)
{
    std::string target;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkA *pLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, (void **)&pLink))) {
        IPersistFile *pFile = nullptr;
        WCHAR wsz[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wsz, MAX_PATH);
        char sz[MAX_PATH] = "";
        if (SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, (void **)&pFile))) {
            if (SUCCEEDED(pFile->Load(wsz, STGM_READ))) {
                pLink->GetPath(sz, sizeof sz, nullptr, 0);
                char szArgs[MAX_PATH] = "";
                pLink->GetArguments(szArgs, sizeof szArgs);
                if (arguments)
                    *arguments = szArgs;
            }
            pFile->Release();
        }
        target = sz;
        pLink->Release();
    }
    CoUninitialize();
    return target;
}

std::string Lower(std::string s)
{
    CharLowerBuffA(s.data(), (DWORD)s.size());
    return s;
}

std::string Value(HKEY root, const std::string &key, const char *name, DWORD *type = nullptr)
{
    std::string data;
    if (!QueryValue(root, key.c_str(), name, &data, type))
        return "<missing>";
    while (!data.empty() && data.back() == '\0')
        data.pop_back();
    return data;
}

DWORD DwordValue(const char *name)
{
    DWORD type = 0;
    std::string data = Value(HKEY_LOCAL_MACHINE, kUninstallKey, name, &type);
    DWORD dw = 0;
    if (type == REG_DWORD && data.size() <= 4)
        memcpy(&dw, data.data(), data.size());
    return type == REG_DWORD ? dw : 0xFFFFFFFF;
}

void SetDefault(HKEY root, const std::string &key, const std::string &data)
{
    RegSetValueA(root, key.c_str(), REG_SZ, data.c_str(), (DWORD)data.size());
}

// What ondav.exe registers when it starts from `program`.
void RegisterDocumentType(const std::string &program)
{
    SetDefault(HKEY_CURRENT_USER, "Software\\Classes\\.osc", "Ondagramme");
    SetDefault(HKEY_CURRENT_USER, "Software\\Classes\\Ondagramme", "Ondagramme");
    SetDefault(HKEY_CURRENT_USER, "Software\\Classes\\Ondagramme\\DefaultIcon", program + ",1");
    SetDefault(HKEY_CURRENT_USER, "Software\\Classes\\Ondagramme\\shell\\open\\command",
               "\"" + program + "\" \"%1\"");
}

void ForgetDocumentType()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\.osc");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\Ondagramme");
}

class Entries : public Install {
protected:
    void SetUp() override
    {
        Install::SetUp();
        Clean();
    }
    void TearDown() override
    {
        Install::TearDown();
        Clean();
    }
    void Clean()
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
        for (const auto &l : kLinks)
            RemoveFile(Group() + "\\" + l[0]);
        RemoveDirectoryA(Group().c_str());
        ForgetDocumentType();
        RemoveFile(std::string(kDest) + "mesure.osc");
        RemoveDirectoryA(kDest);
    }
};

}  // namespace

TEST_F(Entries, InstallAddsTheUninstallEntryAndTheStartMenuGroup)
{
    RobotResult r = RunInstaller(InstallSteps(kDest));
    ASSERT_FALSE(r.failed) << r.notes[0];
    ExpectInstalledCopies(kDest);

    EXPECT_EQ("Ondavis", Value(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"));
    EXPECT_EQ("1.0.10.1999", Value(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"));
    EXPECT_EQ("Korvel", Value(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"));
    EXPECT_EQ("C:\\OndavTest\\ondav.exe,0", Value(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"));
    EXPECT_EQ("C:\\OndavTest\\", Value(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"));
    EXPECT_EQ("\"C:\\OndavTest\\ondavsetup.exe\" /uninstall", Value(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"));
    EXPECT_EQ(1u, DwordValue("NoModify"));
    EXPECT_EQ(1u, DwordValue("NoRepair"));
    ULONGLONG bytes = 0;
    for (const char *f : kPayload) {
        WIN32_FILE_ATTRIBUTE_DATA d;
        if (GetFileAttributesExA((std::string(kDest) + f).c_str(), GetFileExInfoStandard, &d))
            bytes += d.nFileSizeLow;
    }
    EXPECT_EQ((DWORD)((bytes + 1023) / 1024), DwordValue("EstimatedSize"));

    for (const auto &l : kLinks) {
        std::string arguments;
        EXPECT_EQ(Lower(l[1]), Lower(LinkTarget(Group() + "\\" + l[0], &arguments))) << l[0];
        EXPECT_EQ(l[2], arguments) << l[0];
    }
}

TEST_F(Entries, UninstallRemovesWhatInstallingAddedAndKeepsTheUsers)
{
    RobotResult r = RunInstaller(InstallSteps(kDest));
    ASSERT_FALSE(r.failed) << r.notes[0];
    RegisterDocumentType("C:\\OndavTest\\ondav.exe");
    WriteFileBytes(std::string(kDest) + "mesure.osc", "a recording of the user's");
    char szIni[MAX_PATH];
    GetWindowsDirectoryA(szIni, sizeof szIni);
    strcat(szIni, "\\ondav.ini");
    bool bHadIni = FileExists(szIni);
    if (!bHadIni)
        WriteFileBytes(szIni, std::string(48, '\0'));

    r = RunInstaller(UninstallSteps());
    ASSERT_FALSE(r.failed) << r.notes[0];
    for (const char *f : kPayload)
        EXPECT_FALSE(FileExists(std::string(kDest) + f)) << f << " left behind";
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) << "Add/Remove Programs entry left";
    EXPECT_FALSE(FileExists(Group())) << "Start-menu group left";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\.osc"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\Ondagramme"));

    EXPECT_TRUE(FileExists(std::string(kDest) + "mesure.osc")) << "the user's document was removed";
    EXPECT_TRUE(FileExists(szIni)) << "ondav.ini was removed";
    EXPECT_EQ("C:\\OndavTest\\", Value(HKEY_LOCAL_MACHINE, kSetupInfoKey, "DestinationPath"))
        << "the SetupInfo record was not kept";
    if (!bHadIni)
        RemoveFile(szIni);
}

TEST_F(Entries, AnAssociationWithAnotherProgramStays)
{
    RobotResult r = RunInstaller(InstallSteps(kDest));
    ASSERT_FALSE(r.failed) << r.notes[0];
    RegisterDocumentType("C:\\Autre\\ondav.exe");
    r = RunInstaller(UninstallSteps());
    ASSERT_FALSE(r.failed) << r.notes[0];
    EXPECT_EQ("Ondagramme", Value(HKEY_CURRENT_USER, "Software\\Classes\\.osc", ""));
    EXPECT_EQ("\"C:\\Autre\\ondav.exe\" \"%1\"",
              Value(HKEY_CURRENT_USER, "Software\\Classes\\Ondagramme\\shell\\open\\command", ""));
}
