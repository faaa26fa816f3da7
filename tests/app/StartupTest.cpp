#include "app/MainFrm.h"
#include "app/OndavApp.h"
#include "help/HelpWindow.h"
#include "acquisition/OndavView.h"
#include "resource.h"
#include "support/ModalWatcher.h"
#include "support/RunningApp.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlobj.h>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

// The program's own application object (app/OndavApp.cpp) is started once,
// as WinMain would, and its windows are inspected through Win32.
extern COndavApp theApp;

namespace {
HWND statusBar() { return frame()->m_wndStatusBar.m_hWnd; }
HWND toolBar() { return frame()->m_wndToolBar.m_hWnd; }

std::vector<int> parts()
{
    int edges[16];
    int n = static_cast<int>(::SendMessageA(statusBar(), SB_GETPARTS, 16, reinterpret_cast<LPARAM>(edges)));
    return std::vector<int>(edges, edges + n);
}

std::string paneText(int i)
{
    char buf[512] = "";
    ::SendMessageA(statusBar(), SB_GETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
    return buf;
}

std::string windowTitle()
{
    char buf[256] = "";
    ::GetWindowTextA(frame()->m_hWnd, buf, sizeof buf);
    return buf;
}

std::string tooltip(UINT id)
{
    NMTTDISPINFOA info{};
    info.hdr.hwndFrom = toolBar();
    info.hdr.idFrom = id;
    info.hdr.code = TTN_GETDISPINFOA;
    ::SendMessageA(frame()->m_hWnd, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&info));
    return info.lpszText ? info.lpszText : "";
}

std::string tempPath(const char* name)
{
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

class Started : public ::testing::Environment {
public:
    void SetUp() override
    {
        theApp.m_hInstance = ::GetModuleHandleA(nullptr);
        theApp.m_strAppName.LoadString(AFX_IDS_APP_TITLE);
        ModalWatcher ok(IDOK);   // a machine without a sound card says so once
        ASSERT_TRUE(theApp.InitInstance());
        pump(1800);              // the splash goes after 1.5 s
    }
    void TearDown() override
    {
        if (!frame()) return;
        frame()->GetActiveDocument()->SetModifiedFlag(FALSE);
        ModalWatcher ok(IDOK);
        frame()->SendMessage(WM_CLOSE);
        pump(200);
        theApp.ExitInstance();
    }
};
const auto* const g_started = ::testing::AddGlobalTestEnvironment(new Started);
} // namespace

TEST(MainFrame, OpensAtTopLeft800By572UntitledWithItsSixPanes)
{
    ASSERT_NE(frame(), nullptr);
    RECT r;
    ::GetWindowRect(frame()->m_hWnd, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, 800);
    EXPECT_EQ(r.bottom - r.top, 572);
    EXPECT_EQ(windowTitle(), "Sans titre - Ondavis");
    EXPECT_TRUE(::IsWindowVisible(frame()->m_hWnd));
    EXPECT_EQ(parts().size(), 6u);
    EXPECT_EQ(frame()->m_nDatePane, 4);
    EXPECT_EQ(frame()->m_nTimePane, 5);
    EXPECT_EQ(paneText(0), "Pour l'aide, appuyez sur F1");
}

TEST(MainFrame, DateAndTimePanesFollowTheClockInTheUsersFormat)
{
    pump(50);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char date[32];
    // The French short date: day/month/year.
    wsprintfA(date, "%02d/%02d/%04d", now.wDay, now.wMonth, now.wYear);
    EXPECT_EQ(paneText(4), date);
    std::string t1 = paneText(5);
    ASSERT_EQ(t1.size(), 8u) << t1;   // hh:mm:ss
    EXPECT_EQ(t1[2], ':');
    pump(1200);
    EXPECT_NE(paneText(5), t1) << "the time pane changes every second";
    // Each pane is as wide as its text (plus the pane's own borders).
    std::vector<int> e = parts();
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(statusBar(), WM_GETFONT, 0, 0)));
    SIZE size;
    ::GetTextExtentPoint32A(dc, date, lstrlenA(date), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    EXPECT_NEAR(e[4] - e[3], size.cx, 12);
}

TEST(MainFrame, OpenMenuWidensThePromptPaneAndClosingRestoresIt)
{
    std::vector<int> before = parts();
    HMENU file = ::GetSubMenu(::GetMenu(frame()->m_hWnd), 0);
    frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), reinterpret_cast<LPARAM>(::GetMenu(frame()->m_hWnd)));
    frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_FILE_NEW, MF_STRING), reinterpret_cast<LPARAM>(file));
    std::vector<int> open = parts();
    ASSERT_EQ(open.size(), 6u);
    EXPECT_GE(open[0], 16384) << "pane 0 takes the whole bar";
    EXPECT_EQ(paneText(0), "Crée un nouvel ondagramme");
    frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(parts(), before);
    EXPECT_EQ(frame()->m_nSavedPaneWidth, -1);
    EXPECT_EQ(paneText(0), "Pour l'aide, appuyez sur F1");
}

TEST(MainFrame, ToolbarHas28ButtonsAndSixSeparatorsWithTheirTooltips)
{
    struct Button { UINT id; const char* tip; };
    static const Button buttons[] = {
        { 57600, "Nouvel ondagramme" }, { 57601, "Ouvrir un ondagramme" }, { 57603, "Enregistrer l'ondagramme" },
        { 57609, "Aperçu avant impression" }, { 57607, "Imprimer l'ondagramme" }, { 57664, "A propos de" },
        { 57669, "Aide" }, { 32773, "2 voies Décalées" }, { 32774, "2voies superposées" }, { 32775, "Somme" },
        { 32776, "Différence" }, { 32777, "Lissajous" }, { 32778, "V.U.mètres" }, { 32779, "Bargraphes" },
        { 32792, "Amplitude verticale x1" }, { 32793, "Amplitude verticale x2." },
        { 32794, "Amplitude verticale x5." }, { 32780, "Réglage de la carte son." },
        { 32788, "Base de temps = 0.2 ms." }, { 32787, "Base de temps = 0.5 ms." },
        { 32786, "Base de temps = 1 ms." }, { 32785, "Base de temps = 2 ms." },
        { 32784, "Base de temps = 5 ms." }, { 32783, "Base de temps = 10 ms." },
        { 32782, "Base de temps = 20 ms." }, { 32781, "Base de temps = 50 ms." },
        { 32771, "Démarrage de la mesure." }, { 32772, "Arrêt de la mesure." },
    };
    int count = static_cast<int>(::SendMessageA(toolBar(), TB_BUTTONCOUNT, 0, 0));
    ASSERT_EQ(count, 34);
    size_t next = 0;
    int separators = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        ::SendMessageA(toolBar(), TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
        if (b.fsStyle & BTNS_SEP) { ++separators; continue; }
        ASSERT_LT(next, std::size(buttons));
        EXPECT_EQ(static_cast<UINT>(b.idCommand), buttons[next].id) << "button " << next + 1;
        EXPECT_EQ(b.iBitmap, static_cast<int>(next)) << "images are taken in order";
        EXPECT_EQ(tooltip(buttons[next].id), buttons[next].tip);
        ++next;
    }
    EXPECT_EQ(next, 28u);
    EXPECT_EQ(separators, 6);
    DWORD sz = static_cast<DWORD>(::SendMessageA(toolBar(), TB_GETBUTTONSIZE, 0, 0));
    EXPECT_EQ(LOWORD(sz), 19 + 7);
    EXPECT_EQ(HIWORD(sz), 22 + 7);
}

TEST(MainFrame, MenuTreeIsFrenchWithTheStartChecks)
{
    HMENU bar = ::GetMenu(frame()->m_hWnd);
    const char* tops[] = { "&Fichier", "&Affichage", "&?", "&Mesure", "Mo&de", "&Réglages", "&Options" };
    ASSERT_EQ(::GetMenuItemCount(bar), 7);
    for (int i = 0; i < 7; ++i) {
        char text[64];
        ::GetMenuStringA(bar, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, tops[i]);
    }
    struct Item { UINT id; const char* text; bool checked; };
    static const Item items[] = {
        { 57600, "&Nouveau\tCtrl+N", false }, { 57604, "En&registrer sous...", false },
        { 57606, "C&onfiguration de l'impression...", false }, { 57665, "&Quitter", false },
        { 59392, "&Barre d'outils", true }, { 59393, "Barre d'é&tat", true }, { 32823, "&Grille", true },
        { 57667, "&Rubriques de l'aide", false }, { 57664, "&A propos de ondav...", false },
        { 32771, "M&arche", false }, { 32772, "A&rrêt", true }, { 32773, "2 &voies décalées", true },
        { 32778, "&V.U. Mètres", false }, { 32781, "50 ms.", false }, { 32786, "1 ms.", true },
        { 32788, "0.2 ms.", false }, { 32790, "Moyen", true }, { 32792, "X 1", true },
        { 32795, "DB.", true }, { 32797, "Droite", true }, { 32780, "Réglage Carte &Son", false },
        { 32822, "&Couleur du fond", false },
    };
    std::function<void(HMENU)> update = [&](HMENU menu) {
        frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
            if (HMENU sub = ::GetSubMenu(menu, i)) update(sub);
    };
    for (int i = 0; i < 7; ++i) update(::GetSubMenu(bar, i));
    for (const Item& it : items) {
        char text[128] = "";
        ::GetMenuStringA(bar, it.id, text, sizeof text, MF_BYCOMMAND);
        EXPECT_STREQ(text, it.text) << it.id;
        EXPECT_EQ((::GetMenuState(bar, it.id, MF_BYCOMMAND) & MF_CHECKED) != 0, it.checked) << it.id;
    }
}

TEST(MainFrame, RecentFilePlaceholderShowsUntilAFileIsOpened)
{
    HMENU file = ::GetSubMenu(::GetMenu(frame()->m_hWnd), 0);
    frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    char text[MAX_PATH + 8] = "";
    ::GetMenuStringA(file, ID_FILE_MRU_FILE1, text, sizeof text, MF_BYCOMMAND);
    if (theApp.m_pRecentFileList->GetCount() == 0) {
        EXPECT_STREQ(text, "Fichier récent");
        EXPECT_TRUE(::GetMenuState(file, ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);
    }
}

TEST(MainFrame, DroppedOscFileOpensAndJoinsTheRecentFiles)
{
    std::string path = tempPath("dropped.osc");
    {
        std::ofstream f(path, std::ios::binary);
        std::vector<char> bytes(64176, 0);
        bytes[0] = 42;   // right[0] = 42
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    size_t size = sizeof(DROPFILES) + path.size() + 2;
    HGLOBAL drop = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* df = static_cast<DROPFILES*>(::GlobalLock(drop));
    df->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), path.c_str(), path.size());
    ::GlobalUnlock(drop);
    frame()->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(windowTitle(), "dropped.osc - Ondavis");
    auto* doc = dynamic_cast<COndavDoc*>(frame()->GetActiveDocument());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->m_right[0], 42);
    ASSERT_GE(theApp.m_pRecentFileList->GetCount(), 1);
    EXPECT_NE((*theApp.m_pRecentFileList)[0].wstr().find(L"dropped.osc"), std::wstring::npos);

    HMENU file = ::GetSubMenu(::GetMenu(frame()->m_hWnd), 0);
    frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    char text[MAX_PATH + 8] = "";
    ::GetMenuStringA(file, ID_FILE_MRU_FILE1, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(text).substr(0, 3), "&1 ");
    EXPECT_FALSE(::GetMenuState(file, ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);

    // File/New brings back the untitled, all-zero document.
    frame()->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_EQ(windowTitle(), "Sans titre - Ondavis");
    EXPECT_EQ(doc->m_right[0], 0);
    ::DeleteFileA(path.c_str());
}

TEST(MainFrame, ClosingAModifiedDocumentAsksToSaveAndCancelKeepsTheWindow)
{
    frame()->GetActiveDocument()->SetModifiedFlag(TRUE);
    ModalWatcher cancel(IDCANCEL);
    frame()->SendMessage(WM_CLOSE);
    auto seen = cancel.seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Ondavis");
    EXPECT_EQ(seen[0].text, "Enregistrer les modifications de Sans titre ?");
    EXPECT_TRUE(frame() && ::IsWindow(frame()->m_hWnd));
}

TEST(MainFrame, ShellKnowsTheOndagrammeType)
{
    char value[MAX_PATH] = "";
    LONG size = sizeof value;
    ASSERT_EQ(::RegQueryValueA(HKEY_CURRENT_USER, "Software\\Classes\\.osc", value, &size), ERROR_SUCCESS);
    EXPECT_STREQ(value, "Ondagramme");
    size = sizeof value;
    ASSERT_EQ(::RegQueryValueA(HKEY_CURRENT_USER, "Software\\Classes\\Ondagramme\\shell\\open\\command", value, &size), ERROR_SUCCESS);
    EXPECT_NE(std::string(value).find("\"%1\""), std::string::npos) << value;
    size = sizeof value;
    ASSERT_EQ(::RegQueryValueA(HKEY_CURRENT_USER, "Software\\Classes\\Ondagramme\\shell\\print\\command", value, &size), ERROR_SUCCESS);
    EXPECT_NE(std::string(value).find("/p \"%1\""), std::string::npos) << value;
    size = sizeof value;
    ASSERT_EQ(::RegQueryValueA(HKEY_CURRENT_USER, "Software\\Classes\\Ondagramme\\DefaultIcon", value, &size), ERROR_SUCCESS);
    EXPECT_NE(std::string(value).find(",1"), std::string::npos) << value;

    // As a 64-bit shell reads it when the program runs under WOW64, with the
    // program's path exact whatever its script.
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Classes\\Ondagramme\\shell\\open\\command", 0,
                              KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key), ERROR_SUCCESS);
    wchar_t command[MAX_PATH + 16] = L"", exe[MAX_PATH] = L"";
    DWORD bytes = sizeof command;
    ::RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(command), &bytes);
    ::RegCloseKey(key);
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_EQ(std::wstring(command), L"\"" + std::wstring(exe) + L"\" \"%1\"");
}

// Association changes announced to the shell, counted by a window that
// registered for them.
int g_assocNotices = 0;
LRESULT CALLBACK AssocNoticeProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_APP + 7) ++g_assocNotices;
    return ::DefWindowProcA(wnd, msg, wp, lp);
}

TEST(MainFrame, ShellTypesAreRewrittenAndAnnouncedOnlyWhenTheyDiffer)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = AssocNoticeProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "AssocNotices";
    ::RegisterClassA(&wc);
    HWND listener = ::CreateWindowA("AssocNotices", "", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    SHChangeNotifyEntry everything{nullptr, TRUE};
    ULONG reg = ::SHChangeNotifyRegister(listener, SHCNRF_ShellLevel | SHCNRF_InterruptLevel, SHCNE_ASSOCCHANGED,
                                         WM_APP + 7, 1, &everything);
    ASSERT_NE(reg, 0u);

    // Registered at start-up already: nothing to write, nothing to announce.
    theApp.RegisterShellFileTypes(TRUE);
    pump(200);
    EXPECT_EQ(g_assocNotices, 0);

    // A type changed behind the program's back is put right, and announced.
    const char* icon = "Software\\Classes\\Ondagramme\\DefaultIcon";
    ASSERT_EQ(::RegSetValueA(HKEY_CURRENT_USER, icon, REG_SZ, "autre.exe,0", 11), ERROR_SUCCESS);
    theApp.RegisterShellFileTypes(TRUE);
    pump(200);
    EXPECT_EQ(g_assocNotices, 1);
    char value[MAX_PATH] = "";
    LONG size = sizeof value;
    ASSERT_EQ(::RegQueryValueA(HKEY_CURRENT_USER, icon, value, &size), ERROR_SUCCESS);
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    EXPECT_EQ(std::string(value), std::string(exe) + ",1");

    ::SHChangeNotifyDeregister(reg);
    ::DestroyWindow(listener);
}

TEST(CommandLine, FileNamesAndPrintSwitches)
{
    CCommandLineInfo none;
    EXPECT_EQ(none.m_nShellCommand, CCommandLineInfo::FileNew);
    EXPECT_TRUE(none.m_bShowSplash);

    CCommandLineInfo open;
    open.ParseParam("C:\\mesures\\sinus.osc", FALSE, TRUE);
    EXPECT_EQ(open.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(open.m_strFileName, "C:\\mesures\\sinus.osc");

    CCommandLineInfo print;
    print.ParseParam("p", TRUE, FALSE);
    print.ParseParam("a.osc", FALSE, TRUE);
    EXPECT_EQ(print.m_nShellCommand, CCommandLineInfo::FilePrint);
    EXPECT_EQ(print.m_strFileName, "a.osc");

    CCommandLineInfo printTo;
    printTo.ParseParam("pt", TRUE, FALSE);
    for (const char* p : { "a.osc", "Imprimante", "pilote", "LPT1:" }) printTo.ParseParam(p, FALSE, FALSE);
    EXPECT_EQ(printTo.m_nShellCommand, CCommandLineInfo::FilePrintTo);
    EXPECT_EQ(printTo.m_strFileName, "a.osc");
    EXPECT_EQ(printTo.m_strPrinterName, "Imprimante");
    EXPECT_EQ(printTo.m_strPortName, "LPT1:");

    CCommandLineInfo embedded;
    embedded.ParseParam("Embedding", TRUE, TRUE);
    EXPECT_FALSE(embedded.m_bShowSplash);
}

TEST(MainFrame, AboutBoxAndHelpCommandsOpenTheirWindows)
{
    {
        ModalWatcher ok(IDOK);
        frame()->SendMessage(WM_COMMAND, ID_APP_ABOUT);
        auto seen = ok.seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption, "A propos de L'Ondavis");
    }
    for (UINT id : { ID_HELP_FINDER, ID_HELP, ID_DEFAULT_HELP }) {
        ModalWatcher none(IDOK, 500);
        frame()->SendMessage(WM_COMMAND, id);
        EXPECT_TRUE(none.seen().empty()) << id << ": the help is a window of its own, not a box";
        ASSERT_NE(CHelpWindow::Instance(), nullptr) << id;
        EXPECT_TRUE(::IsWindowVisible(CHelpWindow::Instance()->m_hWnd)) << id;
        CHelpWindow::Close();
    }
}

TEST(MainFrame, AcceleratorTableBindsTheFileAndHelpKeys)
{
    HACCEL table = ::LoadAcceleratorsA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    ACCEL keys[32];
    int n = ::CopyAcceleratorTableA(table, keys, 32);
    auto find = [&](BYTE mods, WORD key) -> int {
        for (int i = 0; i < n; ++i)
            if ((keys[i].fVirt & (FCONTROL | FSHIFT | FALT)) == mods && keys[i].key == key) return keys[i].cmd;
        return -1;
    };
    EXPECT_EQ(find(FCONTROL, 'N'), ID_FILE_NEW);
    EXPECT_EQ(find(FCONTROL, 'O'), ID_FILE_OPEN);
    EXPECT_EQ(find(FCONTROL, 'S'), ID_FILE_SAVE);
    EXPECT_EQ(find(FCONTROL, 'P'), ID_FILE_PRINT);
    EXPECT_EQ(find(0, VK_F1), ID_HELP);
    EXPECT_EQ(find(FSHIFT, VK_F1), ID_CONTEXT_HELP);
    EXPECT_EQ(find(FCONTROL, 'Z'), ID_EDIT_UNDO);
    EXPECT_EQ(find(FSHIFT, VK_INSERT), ID_EDIT_PASTE);
    EXPECT_EQ(find(0, VK_F6), ID_NEXT_PANE);
    EXPECT_EQ(find(FCONTROL, 'M'), ID_AFFICHAGE_MESURES);
    EXPECT_EQ(n, 17);
}

TEST(MainFrame, PointerOnAToolbarButtonShowsItsPromptUntilItLeaves)
{
    NMTBHOTITEM hot{};
    hot.hdr.hwndFrom = toolBar();
    hot.hdr.idFrom = AFX_IDW_TOOLBAR;
    hot.hdr.code = TBN_HOTITEMCHANGE;
    hot.idNew = ID_MESURE_MARCHE;
    hot.dwFlags = HICF_ENTERING;
    frame()->SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&hot));
    EXPECT_EQ(paneText(0), "Démarrage de la mesure.");
    hot.idOld = ID_MESURE_MARCHE;
    hot.idNew = 0;
    hot.dwFlags = HICF_LEAVING;
    frame()->SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, reinterpret_cast<LPARAM>(&hot));
    pump(50);
    EXPECT_EQ(paneText(0), "Pour l'aide, appuyez sur F1");
}

TEST(MainFrame, ShuttingDownWindowsOffersToSaveAModifiedDocument)
{
    frame()->GetActiveDocument()->SetModifiedFlag(TRUE);
    ModalWatcher cancel(IDCANCEL);
    LRESULT mayEnd = frame()->SendMessage(WM_QUERYENDSESSION, 0, 0);
    auto seen = cancel.seen();
    EXPECT_EQ(mayEnd, 0) << "Cancel keeps the session going";
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Enregistrer les modifications de Sans titre ?");
    frame()->GetActiveDocument()->SetModifiedFlag(FALSE);
    EXPECT_EQ(frame()->SendMessage(WM_QUERYENDSESSION, 0, 0), 1);
}

TEST(MainFrame, ContextHelpWaitsForAClickThenExplains)
{
    frame()->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
    EXPECT_EQ(paneText(0), "Sélectionnez un objet sur lequel obtenir de l'aide");
    EXPECT_EQ(CHelpWindow::Instance(), nullptr);
    frame()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    ASSERT_NE(CHelpWindow::Instance(), nullptr);
    EXPECT_EQ(paneText(0), "Pour l'aide, appuyez sur F1");
    CHelpWindow::Close();
}
