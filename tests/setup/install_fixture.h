// The fixture of whole in-process runs of the installer: the shipped
// ondav.inf and payload staged beside the test program, the real setupapi and
// the real registry.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>
#include <prsht.h>

#include <cstring>

#include "ondavsetup.h"
#include "resources/setup/setupres.h"
#include "setup_test.h"

// One copy per test file, as the tests of each file are their own.
namespace {

using namespace setuptest;

const char *const kPayload[] = {"ondav.exe", "ondavsetup.exe", "ondav.inf", "license.txt", "lisezmoi.txt",
                                "exemples\\sinus.osc", "exemples\\carre.osc", "exemples\\silence.osc"};

inline void Stage(const std::string &from, const std::string &name)
{
    ASSERT_TRUE(CopyFileA(from.c_str(), (SourceDir() + name).c_str(), FALSE)) << from;
}

inline void RemoveInstalled(const std::string &dir)
{
    for (const char *f : kPayload)
        RemoveFile(dir + f);
    RemoveFile(dir + "ondav.inf");
    RemoveDirectoryA((dir + "exemples").c_str());
    RemoveDirectoryA(dir.c_str());
}

class Install : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CreateDirectoryA((SourceDir() + "exemples").c_str(), nullptr);
        Stage(HostPath("ONDAV_SOURCE_DIR", "resources/setup/ondav.inf"), "ondav.inf");
        Stage(HostPath("ONDAV_SOURCE_DIR", "resources/setup/license.txt"), "license.txt");
        Stage(HostPath("ONDAV_SOURCE_DIR", "resources/setup/lisezmoi.txt"), "lisezmoi.txt");
        Stage(HostPath("ONDAV_BINARY_DIR", "dist/ondavsetup.exe"), "ondavsetup.exe");
        for (const char *osc : {"sinus.osc", "carre.osc", "silence.osc"})
            Stage(HostPath("ONDAV_BINARY_DIR", std::string("dist/exemples/") + osc), std::string("exemples\\") + osc);
        std::string program = HostPath("ONDAV_BINARY_DIR", "dist/ondav.exe");
        if (FileExists(program))
            Stage(program, "ondav.exe");
        else  // the instrument is not part of this build: any bytes do for the copy
            WriteFileBytes(SourceDir() + "ondav.exe", std::string("MZ stand-in for ondav.exe\0\1\2", 29));
    }
    static void TearDownTestSuite()
    {
        for (const char *f : kPayload)
            RemoveFile(SourceDir() + f);
        RemoveFile(SourceDir() + "ondav.inf");
        RemoveDirectoryA((SourceDir() + "exemples").c_str());
    }

    void SetUp() override
    {
        DeleteSetupInfo();
        DeleteRunOnceValues();
        RemoveInstalled("C:\\Ondav\\");
        RemoveInstalled("C:\\OndavTest\\");
        gLicenseAccepted = 0;
        TakeQuitMessage();
    }
    void TearDown() override { SetUp(); }

    RobotResult RunInstaller(std::vector<Step> steps)
    {
        gLicenseAccepted = 0;
        RobotResult r = RunWithRobot(std::move(steps), [] { RunSetup(GetModuleHandleA(nullptr), SW_SHOWNORMAL); });
        CleanUpRun();
        return r;
    }

    // Through the five pages; `destination` typed on page 3 unless empty.
    std::vector<Step> InstallSteps(const std::string &destination = "", std::string *shown = nullptr)
    {
        return {
            PressOnPage(0, "N", PSBTN_NEXT),
            AnswerLicense(IDC_LICENSE_YES),
            PressOnPage(1, "BN", PSBTN_NEXT),
            OnPage(2, [=](const Screen &s) {
                if (shown)
                    *shown = WindowText(GetDlgItem(s.page, IDC_DESTPATH));
                if (!destination.empty())
                    SetDlgItemTextA(s.page, IDC_DESTPATH, destination.c_str());
            }),
            PressOnPage(2, "BN", PSBTN_NEXT),
            PressOnPage(3, "BN", PSBTN_NEXT),
            PressOnPage(4, "BF", PSBTN_FINISH),
        };
    }
    std::vector<Step> UninstallSteps()
    {
        return {
            PressOnPage(0, "N", PSBTN_NEXT),
            AnswerLicense(IDC_LICENSE_YES),
            OnPage(1, [](const Screen &s) { SendMessageA(GetDlgItem(s.page, IDC_UNINSTALL), BM_CLICK, 0, 0); }),
            PressOnPage(1, "BF", PSBTN_FINISH),
        };
    }
};

inline std::string Stored(const char *name)
{
    std::string data;
    return QueryValue(HKEY_LOCAL_MACHINE, kSetupInfoKey, name, &data) ? data : "<missing>";
}

inline bool RunOnceHas(const char *name)
{
    std::string data;
    return QueryValue(HKEY_LOCAL_MACHINE, kRunOnce, name, &data);
}

inline void ExpectInstalledCopies(const std::string &dir)
{
    for (const char *f : kPayload) {
        std::string shipped, installed;
        ASSERT_TRUE(ReadFileBytes(SourceDir() + f, &shipped)) << f;
        EXPECT_TRUE(ReadFileBytes(dir + f, &installed)) << dir << f << " not installed";
        EXPECT_TRUE(shipped == installed) << dir << f << " differs from the shipped file";
    }
}

}  // namespace
