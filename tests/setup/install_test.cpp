// Whole runs of the installer in this process (all but the greeting), with the
// shipped ondav.inf and payload staged beside the test program, the real
// setupapi and the real registry.
#include <windows.h>
#include <gtest/gtest.h>
#include <prsht.h>

#include <cstring>

#include "ondavsetup.h"
#include "resources/setup/setupres.h"
#include "install_fixture.h"
#include "setup_test.h"

using namespace setuptest;

TEST_F(Install, FirstRunInstallsFromTheDefaults)
{
    std::string shown;
    RobotResult r = RunInstaller(InstallSteps("", &shown));
    ASSERT_FALSE(r.failed) << r.notes[0];
    EXPECT_EQ("C:\\Ondav\\", shown);
    ExpectInstalledCopies("C:\\Ondav\\");
    // With the installer and its script, so that it can be removed from there.
    EXPECT_TRUE(FileExists("C:\\Ondav\\ondavsetup.exe"));

    EXPECT_EQ("Korvel", Stored("Auteur").substr(0, 6));
    char field[MAX_PATH];
    const char *const names[] = {"Auteur", "Editeur", "Produit", "Email", "DestinationPath"};
    const char *const expected[] = {"Korvel", "Korvel", "Ondavis", "contact@korvel.fr", "C:\\Ondav\\"};
    for (int i = 0; i < 5; ++i) {
        strcpy(field, "?");
        GetRegString(kSetupInfoKey, names[i], field);
        EXPECT_STREQ(expected[i], field) << names[i];
    }
    EXPECT_TRUE(RunOnceHas("GrpConv"));
    EXPECT_FALSE(RunOnceHas("Wrapper"));
}

TEST_F(Install, SecondRunStartsFromWhatTheFirstStored)
{
    RobotResult r = RunInstaller(InstallSteps("C:\\OndavTest\\"));
    ASSERT_FALSE(r.failed) << r.notes[0];
    ExpectInstalledCopies("C:\\OndavTest\\");
    ASSERT_TRUE(RegisterString(kSetupInfoKey, "Auteur", "Jeanne"));

    std::string shown;
    r = RunInstaller(InstallSteps("", &shown));
    ASSERT_FALSE(r.failed) << r.notes[0];
    EXPECT_EQ("C:\\OndavTest\\", shown);
    EXPECT_STREQ("Jeanne", setupInfo.pszUserName);
    EXPECT_STREQ("C:\\OndavTest\\", setupInfo.pszDestPath);
    EXPECT_FALSE(FileExists("C:\\Ondav\\ondav.exe"));
}

TEST_F(Install, UninstallRemovesTheFilesAndFoldersOfTheInstallation)
{
    RobotResult r = RunInstaller(InstallSteps("C:\\OndavTest"));  // also without its trailing '\'
    ASSERT_FALSE(r.failed) << r.notes[0];
    ExpectInstalledCopies("C:\\OndavTest\\");
    DeleteRunOnceValues();

    r = RunInstaller(UninstallSteps());
    ASSERT_FALSE(r.failed) << r.notes[0];  // also fails if an error box came up

    EXPECT_EQ(INSTALL_TYPE_UNINSTALL, setupInfo.iInstall_Type);
    for (const char *f : kPayload)
        EXPECT_FALSE(FileExists(std::string("C:\\OndavTest\\") + f)) << f << " left behind";
    EXPECT_TRUE(RunOnceHas("GrpConv"));
    std::string version;
    EXPECT_FALSE(QueryValue(HKEY_LOCAL_MACHINE, "Software\\Korvel\\Ondavis", "Version", &version))
        << "the uninstallation wrote the product version";

    EXPECT_FALSE(FileExists("C:\\OndavTest")) << "emptied destination folder left";
}

TEST_F(Install, DecliningOrCancellingWritesNothing)
{
    RobotResult r = RunInstaller({PressOnPage(0, "N", PSBTN_NEXT), AnswerLicense(IDC_LICENSE_NO)});
    ASSERT_FALSE(r.failed) << r.notes[0];
    EXPECT_EQ(0, setupInfo.iInstall_Type) << "the type page was shown after the licence was declined";
    EXPECT_FALSE(SetupInfoKeyExists());
    EXPECT_FALSE(RunOnceHas("GrpConv"));
    EXPECT_FALSE(FileExists("C:\\Ondav\\ondav.exe"));

    std::vector<Step> steps = InstallSteps();
    steps.back() = PressOnPage(4, "BF", PSBTN_CANCEL);
    r = RunInstaller(steps);
    ASSERT_FALSE(r.failed) << r.notes[0];
    EXPECT_FALSE(SetupInfoKeyExists());
    EXPECT_FALSE(RunOnceHas("GrpConv"));
    EXPECT_FALSE(FileExists("C:\\Ondav\\ondav.exe"));
}

TEST_F(Install, MissingScriptIsReportedBeforeAnyWizard)
{
    std::string inf = SourceDir() + "ondav.inf";
    ASSERT_TRUE(MoveFileA(inf.c_str(), (inf + ".away").c_str()));
    std::string caption, text;
    RobotResult r = RunInstaller({DismissBox(&caption, &text)});
    MoveFileA((inf + ".away").c_str(), inf.c_str());
    ASSERT_FALSE(r.failed) << r.notes[0];
    EXPECT_EQ("Product Sample Install Error", caption);
    EXPECT_NE(std::string::npos, text.find(inf)) << text;
    EXPECT_FALSE(SetupInfoKeyExists());
}
