// The installer touches only what it installed: unsafe destinations are
// refused, foreign files are never replaced nor removed (checked byte for
// byte after every run), a failed installation leaves nothing, and the
// removal keeps what is not as it was installed.
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <map>

#include "destpath.h"
#include "install_fixture.h"
#include "record.h"
#include "setup_test.h"

namespace {


// Files of other people, with their bytes, checked after each run.
class Foreign {
public:
    void Put(const std::string &path, const std::string &bytes)
    {
        std::string dir = path.substr(0, path.find_last_of('\\'));
        SHCreateDirectoryExA(nullptr, dir.c_str(), nullptr);
        WriteFileBytes(path, bytes);
        m_files[path] = bytes;
    }
    void ExpectIntact(const char *when) const
    {
        for (const auto &[path, bytes] : m_files) {
            std::string now;
            EXPECT_TRUE(ReadFileBytes(path, &now) && now == bytes) << when << ": " << path << " changed or gone";
        }
    }
    ~Foreign()
    {
        for (const auto &f : m_files)
            RemoveFile(f.first);
    }

private:
    std::map<std::string, std::string> m_files;
};

std::string Default(HKEY root, const std::string &key)
{
    std::string data;
    if (!QueryValue(root, key.c_str(), "", &data))
        return "<missing>";
    while (!data.empty() && data.back() == '\0')
        data.pop_back();
    return data;
}

// Answers the box that is up with `id` (IDYES, IDRETRY, IDCANCEL...) once `ready` says so.
Step Answer(int id, std::string *text, std::function<void()> before = nullptr)
{
    return [=](const Screen &s) {
        if (!s.box)
            return false;
        if (text)
            *text = BoxText(s.box);
        if (before)
            before();
        PostMessageA(s.box, WM_COMMAND, id, 0);
        return true;
    };
}

class Safety : public Install {
protected:
    void SetUp() override
    {
        Install::SetUp();
        InstallRecord::Erase();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
    }
    void TearDown() override
    {
        RemoveFile(std::string(kDest) + "mesure.osc");
        Install::TearDown();
        InstallRecord::Erase();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Classes\\Ondagramme");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Classes\\.osc");
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\Ondagramme");
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\.osc");
    }
    void InstallAt(const std::string &dest)
    {
        RobotResult r = RunInstaller(InstallSteps(dest));
        ASSERT_FALSE(r.failed) << r.notes[0];
        ExpectInstalledCopies(dest);
    }
    // Uninstalls, accepting the box that ends it; returns that box's text.
    std::string UninstallReport()
    {
        std::string report;
        std::vector<Step> steps = UninstallSteps();
        steps.push_back(Answer(IDOK, &report));
        RobotResult r = RunInstaller(steps);
        EXPECT_FALSE(r.failed) << (r.notes.empty() ? "" : r.notes[0]);
        return report;
    }
    // The destination page refuses `dest` with a box; returns its text.
    std::string Refused(const std::string &dest)
    {
        std::vector<Step> steps = InstallSteps(dest);
        steps.resize(5);  // up to Next on the destination page
        std::string caption, text;
        steps.push_back(DismissBox(&caption, &text));
        steps.push_back(PressOnPage(2, "BN", PSBTN_CANCEL));
        RobotResult r = RunInstaller(steps);
        EXPECT_FALSE(r.failed) << dest << ": " << (r.notes.empty() ? "" : r.notes[0]);
        return text;
    }
};

}  // namespace

TEST(Destinations, DriveRootsSystemAndProgramFoldersAreRefused)
{
    char szWindows[MAX_PATH], szSystem[MAX_PATH], szPrograms[MAX_PATH];
    GetWindowsDirectoryA(szWindows, sizeof szWindows);
    GetSystemDirectoryA(szSystem, sizeof szSystem);
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, szPrograms)));
    struct {
        std::string path;
        UINT problem;
    } cases[] = {
        {"C:\\", IDS_DEST_ROOT},
        {"c:/", IDS_DEST_ROOT},
        {std::string(szWindows) + "\\", IDS_DEST_SYSTEM},
        {std::string(szWindows) + "\\Ondav\\", IDS_DEST_SYSTEM},
        {std::string(szSystem), IDS_DEST_SYSTEM},
        {"C:\\Ondav\\..\\windows", IDS_DEST_SYSTEM},
        {std::string(szPrograms) + "\\", IDS_DEST_PROGRAM_FILES},
        {"C:\\Program Files", IDS_DEST_PROGRAM_FILES},
        {std::string(szPrograms) + "\\Ondavis\\", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.problem, DestinationProblem(c.path.c_str())) << c.path;
    // Under 64-bit Windows the 32-bit program folder is the one this program
    // sees, and the other one is a root too.
    BOOL bWow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &bWow64);
    if (bWow64) {
        EXPECT_STRNE("C:\\Program Files", szPrograms);
        EXPECT_EQ((UINT)IDS_DEST_PROGRAM_FILES, DestinationProblem("C:\\Program Files (x86)\\"));
    }
}

TEST_F(Safety, TheWizardRefusesFoldersThatAreNotOursAndTouchesNothing)
{
    Foreign foreign;
    foreign.Put("C:\\license.txt", "another product's licence, dated 2030");
    foreign.Put("C:\\lisezmoi.txt", "another product's read-me");
    foreign.Put("C:\\Partage\\license.txt", "a shared folder's licence");

    EXPECT_NE(std::string::npos, Refused("C:\\").find("racine")) << "C:\\";
    EXPECT_NE(std::string::npos, Refused("C:\\windows\\").find("Windows")) << "C:\\windows\\";
    EXPECT_NE(std::string::npos, Refused("C:\\Partage\\").find("ce n'est pas une installation"));
    EXPECT_NE(std::string::npos, Refused(SourceDir()).find("programme d'installation"));
    foreign.ExpectIntact("refused destinations");
    EXPECT_FALSE(SetupInfoKeyExists());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

    // One installation at a time: a second folder is refused while the first is there.
    InstallAt(kDest);
    EXPECT_NE(std::string::npos, Refused("C:\\OndavAutre\\").find(kDest));
    EXPECT_FALSE(FileExists("C:\\OndavAutre"));
    // The installation's own folder takes it again, but not over a file that is not ours.
    InstallAt(kDest);
    WriteFileBytes(std::string(kDest) + "exemples\\sinus.osc", "the user's recording");
    EXPECT_NE(std::string::npos, Refused(kDest).find("exemples\\sinus.osc"));
    std::string kept;
    EXPECT_TRUE(ReadFileBytes(std::string(kDest) + "exemples\\sinus.osc", &kept) && kept == "the user's recording");
}

TEST_F(Safety, UninstallRemovesOnlyTheRecordedInstallationAsInstalled)
{
    Foreign foreign;
    foreign.Put("C:\\Partage\\license.txt", "another product's licence");
    foreign.Put("C:\\Partage\\exemples\\sinus.osc", "another product's example");
    InstallAt(kDest);
    foreign.Put(std::string(kDest) + "exemples\\sinus.osc", "a recording saved over an example");
    foreign.Put(std::string(kDest) + "mesure.osc", "a recording of the user's");

    // A record that names another folder does not lead the removal there.
    ASSERT_TRUE(RegisterString(kSetupInfoKey, "DestinationPath", "C:\\Partage\\"));
    const std::string report = UninstallReport();
    foreign.ExpectIntact("uninstall");
    EXPECT_NE(std::string::npos, report.find("exemples\\sinus.osc")) << report;
    EXPECT_NE(std::string::npos, report.find("conservés")) << report;
    for (const char *f : {"ondav.exe", "ondavsetup.exe", "license.txt", "exemples\\carre.osc"})
        EXPECT_FALSE(FileExists(std::string(kDest) + f)) << f << " left behind";
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));

    // Nothing recorded: nothing removed, and the user's files stay.
    std::string caption, text;
    RobotResult r = RunInstaller([&] {
        std::vector<Step> s = UninstallSteps();
        s.push_back(DismissBox(&caption, &text));
        return s;
    }());
    ASSERT_FALSE(r.failed) << r.notes[0];
    EXPECT_NE(std::string::npos, text.find("nothing has been removed")) << text;
    foreign.ExpectIntact("second uninstall");
}

TEST_F(Safety, ARecordMovedToAnotherFolderRemovesNothingThere)
{
    Foreign foreign;
    InstallAt(kDest);
    // Files of the installed names, not of the installed content, in the folder the record is moved to.
    foreign.Put("C:\\Partage\\license.txt", "another product's licence");
    foreign.Put("C:\\Partage\\exemples\\sinus.osc", "another product's example");
    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Korvel\\Ondavis\\Installation", 0,
                                           KEY_SET_VALUE, &hKey));
    RegSetValueExA(hKey, "Folder", 0, REG_SZ, (const BYTE *)"C:\\Partage\\", 12);
    RegCloseKey(hKey);
    std::string caption, text;
    RobotResult r = RunInstaller([&] {
        std::vector<Step> s = UninstallSteps();
        s.push_back(DismissBox(&caption, &text));
        return s;
    }());
    ASSERT_FALSE(r.failed) << r.notes[0];
    EXPECT_NE(std::string::npos, text.find("nothing has been removed")) << text;
    foreign.ExpectIntact("uninstall with a moved record");
    ExpectInstalledCopies(kDest);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) << "the working installation lost its entry";
}

TEST_F(Safety, AProgramInUseIsAskedAboutThenLeftForTheRestart)
{
    InstallAt(kDest);
    const std::string program = std::string(kDest) + "ondav.exe";
    HANDLE hRunning = CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hRunning);
    std::string asked, askedAgain, report;
    RobotResult r = RunInstaller([&] {
        std::vector<Step> s = UninstallSteps();
        s.push_back(Answer(IDRETRY, &asked));
        s.push_back(Answer(IDCANCEL, &askedAgain));
        s.push_back(Answer(IDOK, &report));
        return s;
    }());
    CloseHandle(hRunning);
    ASSERT_FALSE(r.failed) << r.notes[0];
    EXPECT_NE(std::string::npos, asked.find("Réessayer")) << asked;
    EXPECT_EQ(asked, askedAgain);
    EXPECT_NE(std::string::npos, report.find("redémarrage")) << report;
    std::string pending;
    QueryValue(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", "PendingFileRenameOperations",
               &pending);
    EXPECT_NE(std::string::npos, pending.find("OndavTest\\ondav.exe")) << "not scheduled for the restart";
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                       "PendingFileRenameOperations");
    EXPECT_FALSE(FileExists(std::string(kDest) + "license.txt"));

    // Closed when asked: removed at once.
    RemoveFile(program);
    InstallAt(kDest);
    hRunning = CreateFileA(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    r = RunInstaller([&] {
        std::vector<Step> s = UninstallSteps();
        s.push_back(Answer(IDRETRY, nullptr, [&] { CloseHandle(hRunning); }));
        return s;
    }());
    ASSERT_FALSE(r.failed) << r.notes[0];
    EXPECT_FALSE(FileExists(program));
}

TEST_F(Safety, AFailedInstallationLeavesTheMachineAsItWas)
{
    const std::string shipped = SourceDir() + "exemples\\carre.osc";
    auto installWithoutASourceFile = [&](const std::string &dest) {
        EXPECT_TRUE(MoveFileA(shipped.c_str(), (shipped + ".away").c_str()));
        std::string caption, text;
        RobotResult r = RunInstaller([&] {
            std::vector<Step> s = InstallSteps(dest);
            s.push_back(DismissBox(&caption, &text));
            return s;
        }());
        MoveFileA((shipped + ".away").c_str(), shipped.c_str());
        EXPECT_FALSE(r.failed) << r.notes[0];
        EXPECT_NE(std::string::npos, text.find("carre.osc")) << text;
    };
    installWithoutASourceFile("C:\\OndavEchec\\");
    EXPECT_FALSE(FileExists("C:\\OndavEchec")) << "partial files left";
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey)) << "entry written";
    EXPECT_FALSE(SetupInfoKeyExists()) << "record written";
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Classes\\Ondagramme"));
    RemoveInstalled("C:\\OndavEchec\\");

    // A failed re-installation leaves the working one as it was, record included.
    InstallAt(kDest);
    ASSERT_TRUE(RegisterString(kSetupInfoKey, "DestinationPath", "C:\\OndavTest\\"));
    RemoveFile(std::string(kDest) + "exemples\\carre.osc");
    installWithoutASourceFile(kDest);
    EXPECT_EQ(kDest, InstallRecord::Load().folder);
    EXPECT_EQ(kDest, Stored("DestinationPath").substr(0, strlen(kDest)));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_TRUE(FileExists(std::string(kDest) + "ondav.exe"));
}

TEST_F(Safety, TheDocumentTypeIsTheMachinesAndOnlyOursGoes)
{
    InstallAt(kDest);
    const std::string program = std::string(kDest) + "ondav.exe";
    EXPECT_EQ("Ondagramme", Default(HKEY_LOCAL_MACHINE, "Software\\Classes\\.osc"));
    EXPECT_EQ("\"" + program + "\" \"%1\"",
              Default(HKEY_LOCAL_MACHINE, "Software\\Classes\\Ondagramme\\shell\\open\\command"));
    // Other programs' entries beside ours, and per user a type that another
    // program opens, with only our icon.
    RegSetValueA(HKEY_LOCAL_MACHINE, "Software\\Classes\\.osc\\OpenWithProgids", REG_SZ, "", 0);
    RegSetValueA(HKEY_LOCAL_MACHINE, "Software\\Classes\\.osc\\ShellNew", REG_SZ, "", 0);
    RegSetValueA(HKEY_CURRENT_USER, "Software\\Classes\\.osc", REG_SZ, "Ondagramme", 10);
    RegSetValueA(HKEY_CURRENT_USER, "Software\\Classes\\Ondagramme\\shell\\open\\command", REG_SZ,
                 "\"C:\\Autre\\lecteur.exe\" \"%1\"", 29);
    RegSetValueA(HKEY_CURRENT_USER, "Software\\Classes\\Ondagramme\\DefaultIcon", REG_SZ, (program + ",1").c_str(),
                 (DWORD)program.size() + 2);

    RobotResult r = RunInstaller(UninstallSteps());
    ASSERT_FALSE(r.failed) << r.notes[0];
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Classes\\Ondagramme"));
    EXPECT_EQ("<missing>", Default(HKEY_LOCAL_MACHINE, "Software\\Classes\\.osc"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Classes\\.osc\\OpenWithProgids"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Classes\\.osc\\ShellNew"));
    EXPECT_EQ("\"C:\\Autre\\lecteur.exe\" \"%1\"",
              Default(HKEY_CURRENT_USER, "Software\\Classes\\Ondagramme\\shell\\open\\command"));
    EXPECT_EQ("Ondagramme", Default(HKEY_CURRENT_USER, "Software\\Classes\\.osc"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\Ondagramme\\DefaultIcon"));
}

TEST_F(Safety, TheUninstallCommandAsksFirstAndActsOnlyOnItsOwnInstallation)
{
    InstallAt(kDest);
    // This program is no installed copy: the command finds nothing of its own.
    gUninstallCommand = true;
    std::string question, caption, text;
    RobotResult r = RunInstaller({Answer(IDYES, &question), DismissBox(&caption, &text)});
    gUninstallCommand = false;
    ASSERT_FALSE(r.failed) << r.notes[0];
    EXPECT_NE(std::string::npos, question.find("Voulez-vous désinstaller")) << question;
    EXPECT_NE(std::string::npos, text.find("nothing has been removed")) << text;
    ExpectInstalledCopies(kDest);
}

TEST_F(Safety, TheRemovalSwitchDeletesNothingItIsNamed)
{
    Foreign foreign;
    foreign.Put("C:\\dossier\\notes.txt", "the user's notes");
    std::string cmd = SourceDir();
    cmd = "\"" + cmd + "ondavsetup.exe\" /remove 0 \"C:\\dossier\\notes.txt\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 30000));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    foreign.ExpectIntact("the removal switch");
}

// Needs folder links made on the host (ONDAV_LINK and ONDAV_LINKED_FOLDER's
// "exemples", both leading to ONDAV_LINK_TARGET): tests/setup/links.sh makes them.
TEST_F(Safety, NeverThroughALink)
{
    const char *link = getenv("ONDAV_LINK"), *target = getenv("ONDAV_LINK_TARGET");
    const char *linked = getenv("ONDAV_LINKED_FOLDER");
    if (!link || !target || !linked)
        GTEST_SKIP() << "no folder link made (ONDAV_LINK)";
    EXPECT_NE(std::string::npos, Refused(std::string(link) + "\\").find("lien"));

    // An installation whose examples' folder has become a link to the user's
    // recordings, one of them a copy of an example.
    InstallAt(kDest);
    Foreign foreign;
    std::string example;
    ReadFileBytes(std::string(kDest) + "exemples\\sinus.osc", &example);
    foreign.Put(std::string(target) + "\\sinus.osc", example);
    foreign.Put(std::string(target) + "\\carre.osc", "a recording of the user's");
    for (const char *f : {"ondav.exe", "ondavsetup.exe", "ondav.inf", "license.txt", "lisezmoi.txt"})
        ASSERT_TRUE(MoveFileA((std::string(kDest) + f).c_str(), (std::string(linked) + f).c_str())) << f;
    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Korvel\\Ondavis\\Installation", 0,
                                           KEY_SET_VALUE, &hKey));
    RegSetValueExA(hKey, "Folder", 0, REG_SZ, (const BYTE *)linked, (DWORD)strlen(linked) + 1);
    RegCloseKey(hKey);

    const std::string report = UninstallReport();
    foreign.ExpectIntact("uninstall through a link");
    EXPECT_NE(std::string::npos, report.find("exemples\\sinus.osc")) << report;
    EXPECT_FALSE(FileExists(std::string(linked) + "ondav.exe"));
    EXPECT_TRUE(FileExists(std::string(linked) + "exemples")) << "the link was removed";
}
