// The wizard on the real property sheet, driven page by page.
#include <windows.h>
#include <gtest/gtest.h>
#include <prsht.h>

#include <algorithm>
#include <cstring>

#include "ondavsetup.h"
#include "resources/setup/setupres.h"
#include "setup_test.h"

using namespace setuptest;

namespace {

const char kLicenseText[] = "Licence d'essai.\r\nDeuxième ligne.";

class Wizard : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitSetupInfo(GetModuleHandleA(nullptr));
        gLicenseAccepted = 0;
        licensePath = SourceDir() + "license.txt";
        WriteFileBytes(licensePath, kLicenseText);
        TakeQuitMessage();
    }
    void TearDown() override { RemoveFile(licensePath); }

    int Run(std::vector<Step> steps)
    {
        int result = -1;
        robot = RunWithRobot(std::move(steps), [&] { result = CreateWizard(nullptr, setupInfo.hInst); });
        quitRequested = TakeQuitMessage();
        return result;
    }

    static Step Click(int pageIndex, int idControl)
    {
        return OnPage(pageIndex, [=](const Screen &s) { SendMessageA(GetDlgItem(s.page, idControl), BM_CLICK, 0, 0); });
    }

    std::string licensePath;
    RobotResult robot;
    bool quitRequested = false;
};

void ExpectDefaultFlags()
{
    EXPECT_EQ(1, setupInfo.iCustom_Options1);
    EXPECT_EQ(1, setupInfo.iCustom_Options2);
    EXPECT_EQ(0, setupInfo.iCustom_Options3);
    EXPECT_EQ(1, setupInfo.iCustom_Options4);
}

}  // namespace

TEST_F(Wizard, InstallPathShowsFivePagesWithTheirCaptionsAndButtons)
{
    std::string caption[5], license;
    int result = Run({
        PressOnPage(0, "N", PSBTN_NEXT, &caption[0]),
        AnswerLicense(IDC_LICENSE_YES, &license),
        PressOnPage(1, "BN", PSBTN_NEXT, &caption[1]),
        PressOnPage(2, "BN", PSBTN_NEXT, &caption[2]),
        PressOnPage(3, "BN", PSBTN_NEXT, &caption[3]),
        PressOnPage(4, "BF", PSBTN_FINISH, &caption[4]),
    });
    ASSERT_FALSE(robot.failed) << robot.notes[0];
    EXPECT_NE(0, result);
    EXPECT_FALSE(quitRequested);
    EXPECT_EQ("Bienvenue!", caption[0]);
    EXPECT_EQ("Installation ou Désintallation?", caption[1]);
    EXPECT_EQ("Choisissez le répertoire où vous voulez installer le programme.", caption[2]);
    EXPECT_EQ("Options d'installation.", caption[3]);
    EXPECT_EQ("Installation", caption[4]);
    EXPECT_EQ(kLicenseText, license);
    EXPECT_EQ(1, gLicenseAccepted);
    EXPECT_EQ(INSTALL_TYPE_INSTALL, setupInfo.iInstall_Type);
    EXPECT_STREQ("C:\\Ondav\\", setupInfo.pszDestPath);
    ExpectDefaultFlags();
}

TEST_F(Wizard, LicenceIsAskedOnlyOncePerRun)
{
    int result = Run({
        PressOnPage(0, "N", PSBTN_NEXT),
        AnswerLicense(IDC_LICENSE_YES),
        PressOnPage(1, "BN", PSBTN_BACK),
        PressOnPage(0, "N", PSBTN_NEXT),
        // A second licence dialog would block this step.
        PressOnPage(1, "BN", PSBTN_CANCEL),
    });
    ASSERT_FALSE(robot.failed) << robot.notes[0];
    EXPECT_EQ(0, result);
    EXPECT_EQ(1, gLicenseAccepted);
}

TEST_F(Wizard, UninstallChoiceTurnsNextIntoFinishAndEndsOnPageTwo)
{
    int result = Run({
        PressOnPage(0, "N", PSBTN_NEXT),
        AnswerLicense(IDC_LICENSE_YES),
        Click(1, IDC_UNINSTALL),
        [](const Screen &s) { return s.pageIndex == 1 && Buttons(s.sheet) == "BF"; },
        Click(1, IDC_INSTALL),
        [](const Screen &s) { return s.pageIndex == 1 && Buttons(s.sheet) == "BN"; },
        Click(1, IDC_UNINSTALL),
        PressOnPage(1, "BF", PSBTN_FINISH),
    });
    ASSERT_FALSE(robot.failed) << robot.notes[0];
    EXPECT_NE(0, result);
    EXPECT_EQ(INSTALL_TYPE_UNINSTALL, setupInfo.iInstall_Type);
}

TEST_F(Wizard, TypePageRestoresTheOptionFlagsWheneverItIsPassed)
{
    setupInfo.iCustom_Options1 = 0;
    setupInfo.iCustom_Options2 = 0;
    setupInfo.iCustom_Options3 = 1;
    setupInfo.iCustom_Options4 = 0;
    bool boxesOnFirstVisit[4] = {};
    int result = Run({
        PressOnPage(0, "N", PSBTN_NEXT),
        AnswerLicense(IDC_LICENSE_YES),
        PressOnPage(1, "BN", PSBTN_NEXT),
        PressOnPage(2, "BN", PSBTN_NEXT),
        OnPage(3, [&](const Screen &s) {
            for (int i = 0; i < 4; ++i)
                boxesOnFirstVisit[i] = IsDlgButtonChecked(s.page, IDC_OPTION1 + i) == BST_CHECKED;
        }),
        Click(3, IDC_OPTION3),  // off the visible page, but a real click all the same
        OnPage(3, [](const Screen &) { EXPECT_EQ(1, setupInfo.iCustom_Options3); }),
        PressOnPage(3, "BN", PSBTN_BACK),
        PressOnPage(2, "BN", PSBTN_BACK),
        PressOnPage(1, "BN", PSBTN_NEXT),
        PressOnPage(2, "BN", PSBTN_NEXT),
        PressOnPage(3, "BN", PSBTN_NEXT),
        PressOnPage(4, "BF", PSBTN_FINISH),
    });
    ASSERT_FALSE(robot.failed) << robot.notes[0];
    EXPECT_NE(0, result);
    EXPECT_TRUE(boxesOnFirstVisit[0] && boxesOnFirstVisit[1] && !boxesOnFirstVisit[2] && boxesOnFirstVisit[3]);
    ExpectDefaultFlags();
}

TEST_F(Wizard, DestinationMustBeAFullPathAndIsOtherwiseTakenAsTyped)
{
    std::string shown, typed, caption[2], text[2];
    auto type = [](const char *path) {
        return OnPage(2, [=](const Screen &s) { SetDlgItemTextA(s.page, IDC_DESTPATH, path); });
    };
    int result = Run({
        PressOnPage(0, "N", PSBTN_NEXT),
        AnswerLicense(IDC_LICENSE_YES),
        PressOnPage(1, "BN", PSBTN_NEXT),
        OnPage(2, [&](const Screen &s) {
            shown = WindowText(GetDlgItem(s.page, IDC_DESTPATH));
            HWND edit = GetDlgItem(s.page, IDC_DESTPATH);
            SetWindowTextA(edit, "");
            for (int i = 0; i < 300; ++i)
                SendMessageA(edit, WM_CHAR, 'a', 1);
            typed = WindowText(edit);
        }),
        type(""),
        PressOnPage(2, "BN", PSBTN_NEXT),
        DismissBox(&caption[0], &text[0]),
        type("Ondav\\"),
        PressOnPage(2, "BN", PSBTN_NEXT),
        DismissBox(&caption[1], &text[1]),
        type("C:\\Mesures"),  // still on this page, and accepted without its trailing '\'
        PressOnPage(2, "BN", PSBTN_NEXT),
        PressOnPage(3, "BN", PSBTN_NEXT),
        PressOnPage(4, "BF", PSBTN_FINISH),
    });
    ASSERT_FALSE(robot.failed) << robot.notes[0];
    EXPECT_NE(0, result);
    EXPECT_EQ("C:\\Ondav\\", shown);
    EXPECT_EQ(std::string(MAX_PATH - 1, 'a'), typed);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ("Installation de l'Ondavis", caption[i]);
        EXPECT_NE(std::string::npos, text[i].find("chemin complet")) << text[i];
    }
    EXPECT_STREQ("C:\\Mesures", setupInfo.pszDestPath);
}

TEST_F(Wizard, CancelOnAnyPageReturnsZero)
{
    for (int page = 0; page < 5; ++page) {
        SetUp();
        static const char *const kButtons[] = {"N", "BN", "BN", "BN", "BF"};
        std::vector<Step> steps;
        for (int p = 0; p < page; ++p) {
            steps.push_back(PressOnPage(p, kButtons[p], PSBTN_NEXT));
            if (p == 0)
                steps.push_back(AnswerLicense(IDC_LICENSE_YES));
        }
        steps.push_back(PressOnPage(page, kButtons[page], PSBTN_CANCEL));
        int result = Run(steps);
        ASSERT_FALSE(robot.failed) << "page " << page << ": " << robot.notes[0];
        EXPECT_EQ(0, result) << "cancel on page " << page;
    }
}

TEST_F(Wizard, EscapeDoesNotCloseTheLicence)
{
    int result = Run({
        PressOnPage(0, "N", PSBTN_NEXT),
        [](const Screen &s) {
            if (!s.license)
                return false;
            SendMessageA(s.license, WM_COMMAND, IDCANCEL, 0);
            SendMessageA(s.license, WM_CLOSE, 0, 0);
            return true;
        },
        AnswerLicense(IDC_LICENSE_YES),  // still up
        PressOnPage(1, "BN", PSBTN_CANCEL),
    });
    ASSERT_FALSE(robot.failed) << robot.notes[0];
    EXPECT_EQ(0, result);
    EXPECT_EQ(1, gLicenseAccepted);
}

TEST_F(Wizard, MissingLicenceFileNamesItsPathAndEndsTheInstaller)
{
    RemoveFile(licensePath);
    std::string caption, text;
    int result = Run({
        PressOnPage(0, "N", PSBTN_NEXT),
        DismissBox(&caption, &text),
    });
    ASSERT_FALSE(robot.failed) << robot.notes[0];
    EXPECT_EQ(0, result);
    EXPECT_TRUE(quitRequested);
    EXPECT_EQ("Sample Installation Critical Error", caption);
    EXPECT_EQ("Error accessing file: " + licensePath, text);
    EXPECT_EQ(0, gLicenseAccepted);
    EXPECT_EQ(0, setupInfo.iInstall_Type) << "the type page was shown";
}

TEST_F(Wizard, EmptyLicenceIsAccepted)
{
    WriteFileBytes(licensePath, "");
    std::string license = "not read";
    int result = Run({
        PressOnPage(0, "N", PSBTN_NEXT),
        AnswerLicense(IDC_LICENSE_YES, &license),
        PressOnPage(1, "BN", PSBTN_CANCEL),
    });
    ASSERT_FALSE(robot.failed) << robot.notes[0];
    EXPECT_EQ(0, result);
    EXPECT_EQ("", license);
    EXPECT_EQ(1, gLicenseAccepted);
}

namespace {

// A key press as the keyboard delivers it: to the focused control, through the
// sheet's own dialog-message handling.
void PressKey(WORD vk)
{
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, vk, 1);
    if (vk == VK_SPACE)
        PostMessageA(focus, WM_CHAR, ' ', 1);
    PostMessageA(focus, WM_KEYUP, vk, 0xC0000001);
}

int FocusId()
{
    return GetDlgCtrlID(GetFocus());
}

}  // namespace

Step CancelWherever()
{
    return [](const Screen &s) {
        if (!s.sheet || s.license || s.box)
            return false;
        PostMessageA(s.sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return true;
    };
}

TEST_F(Wizard, KeyboardNeverReachesTheOptionBoxes)
{
    std::vector<int> focused;
    auto tab = [&](const Screen &) {
        focused.push_back(FocusId());
        PressKey(VK_TAB);
    };
    int result = Run({
        PressOnPage(0, "N", PSBTN_NEXT),
        AnswerLicense(IDC_LICENSE_YES),
        PressOnPage(1, "BN", PSBTN_NEXT),
        PressOnPage(2, "BN", PSBTN_NEXT),
        OnPage(3, tab),
        OnPage(3, tab),
        OnPage(3, tab),  // round the whole ring
        OnPage(3, [](const Screen &) { PressKey(VK_SPACE); }),  // whatever it lands on
        CancelWherever(),
    });
    ASSERT_FALSE(robot.failed) << robot.notes[0];
    EXPECT_EQ(0, result);
    for (int id : focused)
        EXPECT_TRUE(id < IDC_OPTION1 || id > IDC_OPTION4) << "option box " << id << " has the focus";
    ExpectDefaultFlags();
}

TEST_F(Wizard, ArrowKeysOnlyMoveBetweenTheTwoVisibleTypes)
{
    std::vector<std::pair<int, bool>> seen;  // the type, and whether its button is checked
    auto record = [&](const Screen &s) {
        int type = setupInfo.iInstall_Type;
        seen.push_back({type, IsDlgButtonChecked(s.page, type) == BST_CHECKED});
    };
    auto press = [&](WORD vk) {
        return OnPage(1, [=](const Screen &s) {
            record(s);
            PressKey(vk);
        });
    };
    int result = Run({
        PressOnPage(0, "N", PSBTN_NEXT),
        AnswerLicense(IDC_LICENSE_YES),
        OnPage(1, [](const Screen &s) { SetFocus(GetDlgItem(s.page, IDC_INSTALL)); }),
        press(VK_DOWN), press(VK_DOWN), press(VK_DOWN), press(VK_UP), press(VK_UP), press(VK_UP),
        OnPage(1, record),
        CancelWherever(),
    });
    ASSERT_FALSE(robot.failed) << robot.notes[0];
    EXPECT_EQ(0, result);
    bool sawInstall = false, sawUninstall = false;
    for (const auto &[type, checked] : seen) {
        EXPECT_TRUE(type == INSTALL_TYPE_INSTALL || type == INSTALL_TYPE_UNINSTALL) << "type " << type;
        EXPECT_TRUE(checked) << "type " << type << " shown unchecked";
        sawInstall |= type == INSTALL_TYPE_INSTALL;
        sawUninstall |= type == INSTALL_TYPE_UNINSTALL;
    }
    EXPECT_TRUE(sawInstall && sawUninstall) << "the arrows never changed the choice";
}

TEST_F(Wizard, DestinationPageRefusesWhatCannotTakeTheInstallation)
{
    char szFreeDrive[] = "?:\\Ondav\\";
    for (char c = 'Q'; c <= 'Y' && szFreeDrive[0] == '?'; ++c) {
        char root[] = {c, ':', '\\', '\0'};
        if (GetDriveTypeA(root) == DRIVE_NO_ROOT_DIR)
            szFreeDrive[0] = c;
    }
    ASSERT_NE('?', szFreeDrive[0]);
    WriteFileBytes("C:\\OndavFichier", "a file, not a folder");
    std::string tooLong = "C:\\" + std::string(MAX_PATH - 4 - strlen("exemples\\silence.osc"), 'x') + "\\";

    struct {
        const char *what;
        std::string path;
        const char *said;  // part of the French message
    } const refused[] = {
        {"a missing drive", szFreeDrive, "lecteur"},
        {"a file in the way", "C:\\OndavFichier\\Ondav\\", "fichier"},
        {"a file where the folder goes", "C:\\OndavFichier", "fichier"},
        {"too long", tooLong, "trop long"},
        {"a forbidden character", "C:\\Ond*av\\", "caract"},
    };
    std::vector<Step> steps = {PressOnPage(0, "N", PSBTN_NEXT), AnswerLicense(IDC_LICENSE_YES),
                               PressOnPage(1, "BN", PSBTN_NEXT)};
    std::string caption[5], text[5];
    for (int i = 0; i < 5; ++i) {
        std::string path = refused[i].path;
        steps.push_back(OnPage(2, [=](const Screen &s) { SetDlgItemTextA(s.page, IDC_DESTPATH, path.c_str()); }));
        steps.push_back(PressOnPage(2, "BN", PSBTN_NEXT));
        steps.push_back(DismissBox(&caption[i], &text[i]));
    }
    // Forward slashes make a full path too; the path is kept with one kind.
    steps.push_back(OnPage(2, [](const Screen &s) { SetDlgItemTextA(s.page, IDC_DESTPATH, "C:/Ondav/Mesures/"); }));
    steps.push_back(PressOnPage(2, "BN", PSBTN_NEXT));
    steps.push_back(PressOnPage(3, "BN", PSBTN_CANCEL));
    Run(steps);
    RemoveFile("C:\\OndavFichier");
    ASSERT_FALSE(robot.failed) << robot.notes[0];
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ("Installation de l'Ondavis", caption[i]) << refused[i].what;
        EXPECT_NE(std::string::npos, text[i].find(refused[i].said)) << refused[i].what << ": " << text[i];
    }
    EXPECT_STREQ("C:\\Ondav\\Mesures\\", setupInfo.pszDestPath);
}

namespace {

// A licence of `bytes` bytes in numbered lines.
std::string LongLicence(size_t bytes)
{
    std::string text;
    char line[128];
    for (int i = 0; text.size() < bytes; ++i) {
        snprintf(line, sizeof line, "Article %06d : texte de licence assez long pour remplir une ligne.\r\n", i);
        text += line;
    }
    return text;
}

}  // namespace

TEST_F(Wizard, AVeryLongLicenceShowsAtOnceAndTheDialogAnswersWhileItLoads)
{
    const std::string licence = LongLicence(10 * 1024 * 1024);
    WriteFileBytes(licensePath, licence);
    DWORD pressed = 0, shown = 0, last = 0, worstGap = 0;
    std::string firstLine;
    auto tick = [&](const Screen &s) {
        if (!s.license)
            return false;
        DWORD now = GetTickCount();
        worstGap = std::max(worstGap, now - last);
        last = now;
        return true;
    };
    Watchdog watchdog(120000, "the licence dialog");
    Run({
        [&](const Screen &s) {
            if (!PressOnPage(0, "N", PSBTN_NEXT)(s))
                return false;
            pressed = GetTickCount();
            return true;
        },
        [&](const Screen &s) {
            if (!s.license)
                return false;
            shown = last = GetTickCount();
            char sz[128] = {};
            *(WORD *)sz = sizeof sz - 1;  // EM_GETLINE reads the buffer's size from it
            LRESULT n = SendDlgItemMessageA(s.license, IDC_LICENSE_TEXT, EM_GETLINE, 0, (LPARAM)sz);
            firstLine.assign(sz, (size_t)n);
            return true;
        },
        tick, tick, tick, tick, tick, tick, tick, tick, tick, tick,
        AnswerLicense(IDC_LICENSE_YES),  // before the whole text is in
        PressOnPage(1, "BN", PSBTN_CANCEL),
    });
    ASSERT_FALSE(robot.failed) << robot.notes[0];
    EXPECT_LT(shown - pressed, 3000u) << "the licence took " << shown - pressed << " ms to show";
    EXPECT_LT(worstGap, 1500u) << "the dialog did not answer for " << worstGap << " ms";
    // The first line on screen, as far as it goes before it wraps.
    EXPECT_GT(firstLine.size(), 10u);
    EXPECT_EQ(0, licence.compare(0, firstLine.size(), firstLine)) << firstLine;
    EXPECT_EQ(1, gLicenseAccepted);
}

TEST_F(Wizard, ALongLicenceArrivesWholeWithoutMovingTheReader)
{
    const std::string licence = LongLicence(600 * 1024);
    WriteFileBytes(licensePath, licence);
    std::string shown;
    LRESULT firstVisible = -1;
    DWORD selStart = 1, selEnd = 1;
    Run({
        PressOnPage(0, "N", PSBTN_NEXT),
        [&](const Screen &s) {
            if (!s.license)
                return false;
            HWND edit = GetDlgItem(s.license, IDC_LICENSE_TEXT);
            if ((size_t)GetWindowTextLengthA(edit) < licence.size())
                return false;
            shown = WindowText(edit);
            firstVisible = SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
            SendMessageA(edit, EM_GETSEL, (WPARAM)&selStart, (LPARAM)&selEnd);
            return true;
        },
        AnswerLicense(IDC_LICENSE_NO),
    });
    ASSERT_FALSE(robot.failed) << robot.notes[0];
    EXPECT_TRUE(shown == licence) << "the text shown differs from the file (" << shown.size() << " bytes shown)";
    EXPECT_EQ(0, firstVisible);
    EXPECT_EQ(0u, selStart);
    EXPECT_EQ(0u, selEnd);
}

TEST_F(Wizard, EnterOnTheLastPagePressesFinish)
{
    int focusOnLastPage = 0;
    int result = Run({
        PressOnPage(0, "N", PSBTN_NEXT),
        AnswerLicense(IDC_LICENSE_YES),
        // Through the pages with Enter, as the pages invite.
        OnPage(1, [](const Screen &) { PressKey(VK_RETURN); }),
        OnPage(2, [](const Screen &) { PressKey(VK_RETURN); }),
        OnPage(3, [](const Screen &) { PressKey(VK_RETURN); }),
        [](const Screen &s) { return s.pageIndex == 4 && Buttons(s.sheet) == "BF"; },
        OnPage(4, [&](const Screen &) {
            focusOnLastPage = FocusId();
            PressKey(VK_RETURN);
        }),
    });
    ASSERT_FALSE(robot.failed) << robot.notes[0] << " (focus on control " << focusOnLastPage << ")";
    EXPECT_EQ(kFinish, focusOnLastPage);
    EXPECT_NE(0, result);
}

TEST_F(Wizard, OpensCentredOnTheScreen)
{
    RECT sheet{}, work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    Run({
        OnPage(0, [&](const Screen &s) { GetWindowRect(s.sheet, &sheet); }),
        PressOnPage(0, "N", PSBTN_CANCEL),
    });
    ASSERT_FALSE(robot.failed) << robot.notes[0];
    EXPECT_NEAR((sheet.left + sheet.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((sheet.top + sheet.bottom) / 2, (work.top + work.bottom) / 2, 1);
}
