// Faults the installer meets in the field: a damaged record or script, files
// that cannot be copied, a disk that fills up. Each run must end, with the
// error box and without the restart values; none may touch files elsewhere.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "install_fixture.h"
#include "setup_test.h"

namespace {

const char kErrorCaption[] = "Product Sample Install Error";
const char kFailed[] = "Installation script did not complete successfully!";

struct Box {
    std::string caption, text;
};

std::vector<Step> Then(std::vector<Step> steps, Box *box)
{
    steps.push_back(DismissBox(&box->caption, &box->text));
    return steps;
}

void SetDestinationRecord(DWORD dwType, const std::string &bytes)
{
    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSetupInfoKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &hKey, nullptr));
    RegSetValueExA(hKey, "DestinationPath", 0, dwType, (const BYTE *)bytes.data(), (DWORD)bytes.size());
    RegCloseKey(hKey);
}

}  // namespace

class InstallFaults : public Install {
protected:
    // Whole runs that would hang if a fault were not handled: bounded.
    RobotResult RunBounded(std::vector<Step> steps, const char *what)
    {
        Watchdog watchdog(getenv("ONDAV_WATCHDOG_MS") ? atoi(getenv("ONDAV_WATCHDOG_MS")) : 120000, what);
        return RunInstaller(std::move(steps));
    }
};

TEST_F(InstallFaults, UninstallWithADamagedDestinationRecordDeletesNothingElsewhere)
{
    // Files of the installed names in the current folder and at the root of
    // its drive, where an empty or bare "\" destination would lead.
    const std::string cwd = "C:\\OndavCwd\\";
    CreateDirectoryA(cwd.c_str(), nullptr);
    CreateDirectoryA((cwd + "exemples").c_str(), nullptr);
    std::vector<std::string> decoys;
    for (const char *f : kPayload) {
        decoys.push_back(cwd + f);
        if (!strchr(f, '\\'))
            decoys.push_back(std::string("C:\\") + f);
    }
    for (const std::string &d : decoys)
        WriteFileBytes(d, "a file of the user's");
    char szOldCwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof szOldCwd, szOldCwd);
    SetCurrentDirectoryA(cwd.c_str());

    struct {
        const char *what;
        DWORD dwType;
        std::string bytes;
    } const records[] = {
        {"empty", REG_SZ, ""},
        {"a bare backslash", REG_SZ, "\\"},
        {"a number 0", REG_DWORD, std::string(4, '\0')},
        {"a folder without the installation", REG_SZ, cwd + "nowhere\\"},
    };
    for (const auto &rec : records) {
        DeleteSetupInfo();
        DeleteRunOnceValues();
        SetDestinationRecord(rec.dwType, rec.bytes);
        Box box;
        RobotResult r = RunBounded(Then(UninstallSteps(), &box), rec.what);
        EXPECT_FALSE(r.failed) << rec.what << ": " << (r.notes.empty() ? "" : r.notes[0]);
        EXPECT_EQ(kErrorCaption, box.caption) << rec.what;
        EXPECT_NE(std::string::npos, box.text.find(kFailed)) << rec.what << ": " << box.text;
        EXPECT_NE(std::string::npos, box.text.find("nothing has been removed")) << rec.what << ": " << box.text;
        EXPECT_FALSE(RunOnceHas("GrpConv")) << rec.what << ": restart values written";
        for (const std::string &d : decoys)
            EXPECT_TRUE(FileExists(d)) << rec.what << ": " << d << " deleted";
    }

    SetCurrentDirectoryA(szOldCwd);
    for (const std::string &d : decoys)
        RemoveFile(d);
    RemoveDirectoryA((cwd + "exemples").c_str());
    RemoveDirectoryA(cwd.c_str());
}

TEST_F(InstallFaults, DamagedScriptIsRefusedBeforeAnythingIsWritten)
{
    const std::string inf = SourceDir() + "ondav.inf";
    std::string shipped;
    ASSERT_TRUE(ReadFileBytes(inf, &shipped));
    auto replaced = [&](const std::string &from, const std::string &to) {
        std::string s = shipped;
        size_t at = s.find(from);
        EXPECT_NE(std::string::npos, at) << from;
        return at == std::string::npos ? s : s.replace(at, from.size(), to);
    };
    size_t cut = shipped.find("CopyFiles=", shipped.find("[ProductInstall]"));
    ASSERT_NE(std::string::npos, cut);
    struct {
        const char *what;
        std::string script;
    } const scripts[] = {
        {"cut inside [ProductInstall]", shipped.substr(0, cut + strlen("CopyFiles=Prog"))},
        {"[ProductInstall] renamed", replaced("[ProductInstall]", "[ProductInstal]")},
        {"a file list missing", replaced("[Examples.Files]", "[Exemples.Files]")},
        {"no uninstallation", replaced("[MyProgramUninstall]", "[Uninstall]")},
    };
    for (const auto &sc : scripts) {
        WriteFileBytes(inf, sc.script);
        Box box;
        RobotResult r = RunBounded({DismissBox(&box.caption, &box.text)}, sc.what);
        EXPECT_FALSE(r.failed) << sc.what << ": " << (r.notes.empty() ? "" : r.notes[0]);
        EXPECT_EQ(kErrorCaption, box.caption) << sc.what;
        EXPECT_NE(std::string::npos, box.text.find("damaged")) << sc.what << ": " << box.text;
        EXPECT_FALSE(SetupInfoKeyExists()) << sc.what;
        EXPECT_FALSE(RunOnceHas("GrpConv")) << sc.what;
        EXPECT_FALSE(FileExists("C:\\Ondav\\ondav.exe")) << sc.what;
    }
    WriteFileBytes(inf, shipped);
}

TEST_F(InstallFaults, AFileThatCannotBeCopiedIsReportedNotSkipped)
{
    // The installed copy held open by another program, without write sharing.
    RobotResult installed = RunInstaller(InstallSteps("C:\\OndavTest\\"));
    ASSERT_FALSE(installed.failed) << installed.notes[0];
    DeleteRunOnceValues();
    HANDLE hHeld = CreateFileA("C:\\OndavTest\\license.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                               nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hHeld);
    Box box;
    RobotResult r = RunBounded(Then(InstallSteps("C:\\OndavTest\\"), &box), "a held file");
    CloseHandle(hHeld);
    EXPECT_FALSE(r.failed) << (r.notes.empty() ? "" : r.notes[0]);
    EXPECT_EQ(kErrorCaption, box.caption);
    EXPECT_NE(std::string::npos, box.text.find(kFailed)) << box.text;
    EXPECT_NE(std::string::npos, box.text.find("C:\\OndavTest\\license.txt")) << box.text;
    EXPECT_FALSE(RunOnceHas("GrpConv"));
}

TEST_F(InstallFaults, AFileMissingFromTheInstallersFolderEndsTheRunWithTheBox)
{
    const std::string shipped = SourceDir() + "exemples\\carre.osc";
    ASSERT_TRUE(MoveFileA(shipped.c_str(), (shipped + ".away").c_str()));
    Box box;
    RobotResult r = RunBounded(Then(InstallSteps("C:\\OndavTest\\"), &box), "a missing source file");
    MoveFileA((shipped + ".away").c_str(), shipped.c_str());
    EXPECT_FALSE(r.failed) << (r.notes.empty() ? "" : r.notes[0]);
    EXPECT_EQ(kErrorCaption, box.caption);
    EXPECT_NE(std::string::npos, box.text.find("carre.osc")) << box.text;
    EXPECT_FALSE(RunOnceHas("GrpConv"));
}

TEST_F(InstallFaults, AFileWhereTheFolderGoesIsRefusedBeforeAnythingIsWritten)
{
    // The page accepted the folder; a file takes its place before Finish.
    RemoveFile("C:\\OndavTest");
    std::vector<Step> steps = InstallSteps("C:\\OndavTest\\");
    steps.insert(steps.end() - 1, OnPage(4, [](const Screen &) { WriteFileBytes("C:\\OndavTest", "in the way"); }));
    Box box;
    RobotResult r = RunBounded(Then(steps, &box), "a file where the folder goes");
    RemoveFile("C:\\OndavTest");
    EXPECT_FALSE(r.failed) << (r.notes.empty() ? "" : r.notes[0]);
    // Checked again before anything is written: refused as on the page.
    EXPECT_EQ("Installation de l'Ondavis", box.caption);
    EXPECT_NE(std::string::npos, box.text.find("Un fichier porte")) << box.text;
    EXPECT_FALSE(RunOnceHas("GrpConv"));
}

// Needs a read-only file system mapped as a drive (ONDAV_READONLY_DRIVE, e.g.
// "S:"), which the suite's wrapper script mounts.
TEST_F(InstallFaults, AReadOnlyDestinationIsReportedNotSkipped)
{
    const char *drive = getenv("ONDAV_READONLY_DRIVE");
    if (!drive || !*drive)
        GTEST_SKIP() << "no read-only drive mapped (ONDAV_READONLY_DRIVE)";
    const std::string root = std::string(drive) + "\\";
    Box box;
    RobotResult r = RunBounded(Then(InstallSteps(root + "Ondav\\"), &box), "a read-only destination");
    EXPECT_FALSE(r.failed) << (r.notes.empty() ? "" : r.notes[0]);
    EXPECT_EQ(kErrorCaption, box.caption);
    EXPECT_NE(std::string::npos, box.text.find(kFailed)) << box.text;
    EXPECT_NE(std::string::npos, box.text.find(root)) << box.text;
    EXPECT_FALSE(RunOnceHas("GrpConv"));
}

// Needs a small file system mapped as a drive (ONDAV_FULL_DRIVE, e.g. "R:"),
// which the suite's wrapper script mounts.
TEST_F(InstallFaults, AFullDiskEndsTheRunWithTheBox)
{
    const char *drive = getenv("ONDAV_FULL_DRIVE");
    if (!drive || !*drive)
        GTEST_SKIP() << "no small drive mapped (ONDAV_FULL_DRIVE)";
    const std::string dest = std::string(drive) + "\\Ondav\\";
    Box box;
    RobotResult r = RunBounded(Then(InstallSteps(dest), &box), "a full disk");
    EXPECT_FALSE(r.failed) << (r.notes.empty() ? "" : r.notes[0]);
    EXPECT_EQ(kErrorCaption, box.caption);
    EXPECT_NE(std::string::npos, box.text.find(kFailed)) << box.text;
    EXPECT_NE(std::string::npos, box.text.find(dest)) << box.text;
    EXPECT_FALSE(RunOnceHas("GrpConv"));
    // Nothing of the attempt stays: no partial copy, no entry.
    EXPECT_FALSE(FileExists(dest + "ondav.exe")) << "partial copy left";
    EXPECT_FALSE(FileExists(dest)) << "folder left";
    std::string entry;
    EXPECT_FALSE(QueryValue(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ondavis",
                            "DisplayName", &entry));
    RemoveInstalled(dest);
}
