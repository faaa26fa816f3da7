#include "app/MainFrm.h"
#include "app/OndavApp.h"
#include "help/HelpWindow.h"
#include "help/HelpPictures.h"
#include "help/HelpBook.h"
#include <map>
#include "acquisition/OndavView.h"
#include "resource.h"
#include "support/RunningApp.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <thread>

// The help window of the running program: its commands, F1 in a menu and the
// help mode, whose click opens a topic instead of acting.
extern COndavApp theApp;

namespace {
std::string shownKey() { return CHelpWindow::Instance() ? CHelpWindow::Instance()->CurrentKey() : std::string(); }

std::string paneText()
{
    char buf[512] = "";
    ::SendMessageA(frame()->m_wndStatusBar.m_hWnd, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buf));
    return buf;
}

// A real click as the mouse gives it: posted, so it passes the message loop.
void postClick(HWND window, POINT client)
{
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    ::PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    pump(100);
}

POINT toolbarButton(UINT id)
{
    HWND bar = frame()->m_wndToolBar.m_hWnd;
    auto index = ::SendMessageA(bar, TB_COMMANDTOINDEX, id, 0);
    RECT r{};
    ::SendMessageA(bar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

struct Help : ::testing::Test {
    void SetUp() override
    {
        command(ID_MESURE_ARRET);
        for (UINT id : {ID_MODE_DECALEES, ID_BASE_1MS, ID_RAFR_MOYEN, ID_GAIN_X1, ID_ECHELLE_DB}) command(id);
        pump(50);
    }
    void TearDown() override
    {
        CHelpWindow::Close();
        pump(50);
        command(ID_MESURE_ARRET);
    }
};
} // namespace

TEST_F(Help, TopicsCommandOpensOneWindowBesideTheMainWindowWithItsContents)
{
    command(ID_HELP_FINDER);
    CHelpWindow* help = CHelpWindow::Instance();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(::IsWindowVisible(help->m_hWnd));
    EXPECT_EQ(shownKey(), "bienvenue");
    EXPECT_EQ(help->GetWindowText().str(), "Aide de l'Ondavis - Bienvenue dans l'Ondavis");
    // Not owned by the main window and not modal: both stay usable.
    EXPECT_EQ(::GetWindow(help->m_hWnd, GW_OWNER), nullptr);
    EXPECT_TRUE(::IsWindowEnabled(frame()->m_hWnd));
    std::set<std::string> books;   // "A/B" makes the books A and A/B
    for (const HelpTopic& t : HelpBook::Program().Topics())
        for (size_t slash = 0; slash != std::string::npos; slash = t.book.find('/', slash + 1))
            books.insert(t.book.substr(0, slash == 0 ? std::string::npos : slash));
    EXPECT_GE(TreeView_GetCount(help->Contents()), HelpBook::Program().Topics().size() + books.size())
        << "every topic, under its books";
    // A submenu's commands stand under a book of its name, each with its own text.
    auto itemText = [help](HTREEITEM item) {
        char text[128] = "";
        TVITEMA tv{TVIF_TEXT, item, 0, 0, text, sizeof text, 0, 0, 0, 0};
        TreeView_GetItem(help->Contents(), &tv);
        return std::string(text);
    };
    help->ShowTopic("cmd-base-20ms");
    HTREEITEM item = TreeView_GetSelection(help->Contents());
    EXPECT_EQ(itemText(item), "20 ms.");
    EXPECT_EQ(itemText(TreeView_GetParent(help->Contents(), item)), "Base de Temps");
    help->ShowTopic("bienvenue");
    EXPECT_GT(::SendMessageA(help->IndexList(), LB_GETCOUNT, 0, 0), 150);

    // Reused while open, on the asked topic; the default-help command too.
    command(ID_GAIN_X5);
    command(ID_DEFAULT_HELP);
    EXPECT_EQ(CHelpWindow::Instance(), help);
    EXPECT_EQ(view()->m_nVerticalGain, 5) << "the main window's commands still work";

    // Moved by the user, closed, reopened: where the user left it.
    ::MoveWindow(help->m_hWnd, 300, 200, 500, 420, TRUE);
    CHelpWindow::Close();
    pump(50);
    EXPECT_EQ(CHelpWindow::Instance(), nullptr);
    command(ID_HELP_FINDER);
    ASSERT_NE(CHelpWindow::Instance(), nullptr);
    RECT r;
    ::GetWindowRect(CHelpWindow::Instance()->m_hWnd, &r);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 420);
}

TEST_F(Help, ContentsIndexLinksAndBackLeadThroughTheTopics)
{
    command(ID_HELP_FINDER);
    CHelpWindow* help = CHelpWindow::Instance();
    ASSERT_NE(help, nullptr);
    // A link of the page, clicked.
    const HelpLayout::Item* link = nullptr;
    for (const HelpLayout::Item& item : help->Page().Layout().Items())
        if (item.link == "premiere-mesure") { link = &item; break; }
    ASSERT_NE(link, nullptr);
    ::SendMessageA(help->Page().m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON,
                   MAKELPARAM(link->rc.left + 3, link->rc.top + 3 - help->Page().ScrollPos()));
    EXPECT_EQ(shownKey(), "premiere-mesure");
    // The index: typing selects the first entry that begins with the text.
    help->SelectTab(1);
    ::SetWindowTextA(help->IndexFind(), "lissa");
    pump(50);
    EXPECT_EQ(shownKey(), "cmd-lissajous");
    EXPECT_TRUE(::IsWindowVisible(help->IndexList()));
    EXPECT_FALSE(::IsWindowVisible(help->Contents()));
    help->GoBack();
    EXPECT_EQ(shownKey(), "premiere-mesure");
    help->GoBack();
    EXPECT_EQ(shownKey(), "bienvenue");
    // The contents: selecting a topic's item shows it.
    help->SelectTab(0);
    HTREEITEM root = TreeView_GetRoot(help->Contents());
    HTREEITEM first = TreeView_GetChild(help->Contents(), root);
    first = TreeView_GetNextSibling(help->Contents(), first);
    TreeView_SelectItem(help->Contents(), first);
    EXPECT_EQ(shownKey(), "premiere-mesure");
}

TEST_F(Help, F1ShowsTheDisplayOnScreenOrTheHighlightedMenuItem)
{
    command(ID_HELP);
    EXPECT_EQ(shownKey(), "affichage-scope");
    view()->m_nDisplayMode = kModeVuMeters;   // as the V.U. command leaves it, without a measurement
    command(ID_HELP);
    EXPECT_EQ(shownKey(), "vumetres");
    view()->m_nDisplayMode = kModeScope;

    // F1 while "2 ms." is highlighted in its menu: the menu goes, the topic comes.
    HMENU reglages = ::GetSubMenu(::GetMenu(frame()->m_hWnd), 5);
    HMENU bases = ::GetSubMenu(reglages, 0);
    frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP), reinterpret_cast<LPARAM>(::GetMenu(frame()->m_hWnd)));
    frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(bases), 0);
    frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_BASE_2MS, MF_STRING), reinterpret_cast<LPARAM>(bases));
    HELPINFO info{sizeof(info), HELPINFO_MENUITEM, ID_BASE_2MS, bases, 0, {0, 0}};
    frame()->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    frame()->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    pump(100);
    EXPECT_EQ(shownKey(), "cmd-base-2ms");
    EXPECT_EQ(view()->m_nTimeBase, 1000) << "the command itself did not run";
}

TEST_F(Help, HelpModeClickOpensTheTopicOfWhatIsClickedAndDoesNothingElse)
{
    struct Case {
        const char* what;
        std::function<void()> click;
        const char* key;
    };
    const Case cases[] = {
        {"toolbar button X 5", [] { postClick(frame()->m_wndToolBar.m_hWnd, toolbarButton(ID_GAIN_X5)); }, "cmd-x5"},
        {"toolbar button Marche", [] { postClick(frame()->m_wndToolBar.m_hWnd, toolbarButton(ID_MESURE_MARCHE)); },
         "cmd-marche"},
        {"panel box 0.2 ms", [] { postClick(view()->m_hWnd, {575, 265}); }, "panneau-base-de-temps"},
        {"panel box X 2", [] { postClick(view()->m_hWnd, {575, 385}); }, "panneau-amplification"},
        {"panel box Lin.", [] { postClick(view()->m_hWnd, {672, 397}); }, "panneau-echelle"},
        {"scope screen", [] { postClick(view()->m_hWnd, {270, 220}); }, "ecran-scope"},
        {"scale column", [] { postClick(view()->m_hWnd, {540, 114}); }, "colonne-echelle"},
        {"status bar", [] { postClick(frame()->m_wndStatusBar.m_hWnd, {20, 8}); }, "barre-etat"},
        {"menu command Lissajous", [] { command(ID_MODE_LISSAJOUS); }, "cmd-lissajous"},
    };
    for (const Case& c : cases) {
        CHelpWindow::Close();
        pump(20);
        command(ID_CONTEXT_HELP);
        ASSERT_TRUE(frame()->IsInHelpMode());
        EXPECT_EQ(paneText(), "Sélectionnez un objet sur lequel obtenir de l'aide");
        c.click();
        pump(50);
        EXPECT_EQ(shownKey(), c.key) << c.what;
        EXPECT_FALSE(frame()->IsInHelpMode()) << c.what;
        EXPECT_NE(paneText(), "Sélectionnez un objet sur lequel obtenir de l'aide") << c.what;
        // Nothing of what the click would have done.
        EXPECT_EQ(view()->m_nVerticalGain, 1) << c.what;
        EXPECT_EQ(view()->m_nTimeBase, 1000) << c.what;
        EXPECT_EQ(view()->m_nVerticalScale, 1) << c.what;
        EXPECT_EQ(view()->m_nScopeLayout, 1) << c.what;
        EXPECT_FALSE(view()->m_bRunning) << c.what;
    }
}

TEST_F(Help, EscapeLeavesHelpModeAndTheNextClickActsAgain)
{
    command(ID_CONTEXT_HELP);
    ASSERT_TRUE(frame()->IsInHelpMode());
    ::PostMessageA(view()->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    pump(50);
    EXPECT_FALSE(frame()->IsInHelpMode());
    EXPECT_EQ(paneText(), "Pour l'aide, appuyez sur F1");
    postClick(view()->m_hWnd, {575, 385});
    EXPECT_EQ(view()->m_nVerticalGain, 2);
    EXPECT_EQ(CHelpWindow::Instance(), nullptr) << "no topic opened";
}

TEST_F(Help, KeysTypedInTheHelpWindowAreNotTheMainWindowsShortcuts)
{
    command(ID_HELP_FINDER);
    CHelpWindow* help = CHelpWindow::Instance();
    ASSERT_NE(help, nullptr);
    help->SelectTab(1);
    // F1 in the index's field: the key belongs to the help window.
    ::PostMessageA(help->IndexFind(), WM_KEYDOWN, VK_F1, 0);
    pump(50);
    EXPECT_EQ(shownKey(), "bienvenue");
    // Its own keys: Tab to the next part, Alt+Left back to the topic before.
    help->ShowTopic("carte-son");
    ::SetFocus(help->IndexFind());
    ::PostMessageA(help->IndexFind(), WM_KEYDOWN, VK_TAB, 0);
    pump(50);
    HWND focus = ::GetFocus();
    EXPECT_NE(focus, help->IndexFind()) << "Tab leaves the field";
    EXPECT_TRUE(::IsChild(help->m_hWnd, focus)) << "for another part of the help window";
    ::PostMessageA(help->IndexList(), WM_SYSKEYDOWN, VK_LEFT, 1 << 29);
    pump(50);
    EXPECT_EQ(shownKey(), "bienvenue");
}

TEST_F(Help, ShiftF1OnlyEntersHelpModeAndEscapeLeavesIt)
{
    // Shift+F1 is the help-mode command; its key also brings the system's WM_HELP.
    command(ID_CONTEXT_HELP);
    HELPINFO info{sizeof(info), HELPINFO_WINDOW, 0, view()->m_hWnd, 0, {0, 0}};
    frame()->SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    pump(50);
    EXPECT_EQ(CHelpWindow::Instance(), nullptr) << "no topic before the click";
    EXPECT_TRUE(frame()->IsInHelpMode());
    ::PostMessageA(view()->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    pump(50);
    EXPECT_FALSE(frame()->IsInHelpMode());
    // F1 alone opens the topic of the display.
    command(ID_HELP);
    EXPECT_EQ(shownKey(), "affichage-scope");
}

namespace {
// Waits for the next box of this process, presses F1 in it, then closes it
// with button once the help had time to open.
class F1InNextBox {
public:
    explicit F1InNextBox(int button) : m_thread([button] {
        for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 8000; ::Sleep(30)) {
            HWND box = ::FindWindowA("#32770", nullptr);
            DWORD pid = 0;
            if (box) ::GetWindowThreadProcessId(box, &pid);
            if (!box || pid != ::GetCurrentProcessId() || !::IsWindowVisible(box)) continue;
            ::Sleep(300);
            ::PostMessageA(box, WM_KEYDOWN, VK_F1, 0);
            ::Sleep(700);
            ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            return;
        }
    }) {}
    ~F1InNextBox() { m_thread.join(); }
private:
    std::thread m_thread;
};
} // namespace

TEST_F(Help, F1InABoxOpensThatBoxsTopic)
{
    const struct { const char* what; std::function<void()> open; int close; const char* key; } boxes[] = {
        {"About", [] { command(ID_APP_ABOUT); }, IDOK, "cmd-a-propos"},
        {"background colour", [] { command(ID_OPTIONS_COULEUR); }, IDCANCEL, "cmd-couleur"},
        {"Open", [] { command(ID_FILE_OPEN); }, IDCANCEL, "cmd-ouvrir"},
        {"save prompt", [] { frame()->GetActiveDocument()->SetModifiedFlag(TRUE); command(ID_FILE_NEW); }, IDCANCEL,
         "msg-enregistrer-modifs"},
        {"no sound card", [] {
             HWAVEIN device = view()->m_hWaveIn;
             UINT id = view()->m_nWaveDevice;
             BOOL failed = view()->m_bAudioFailed;
             view()->m_nWaveDevice = 4242;   // no such device
             view()->OpenCapture();
             view()->m_hWaveIn = device;
             view()->m_nWaveDevice = id;
             view()->m_bAudioFailed = failed;
         }, IDOK, "msg-ouverture-audio"},
    };
    for (const auto& b : boxes) {
        CHelpWindow::Close();
        pump(20);
        {
            F1InNextBox f1(b.close);
            b.open();
        }
        pump(50);
        EXPECT_EQ(shownKey(), b.key) << b.what;
    }
    frame()->GetActiveDocument()->SetModifiedFlag(FALSE);
}

TEST_F(Help, PicturesOfThePageAreWhatTheViewShows)
{
    RECT client;
    ::GetClientRect(view()->m_hWnd, &client);
    {
        const char* name = "panneau";
        RECT part = HelpPicturePart(name);
        SIZE size = HelpPictureSize(name, "");
        ASSERT_EQ(size.cx, part.right - part.left) << name;
        // The picture, and the same part of the view's window on the screen.
        HDC screen = ::GetDC(view()->m_hWnd);
        HDC mem = ::CreateCompatibleDC(screen);
        HBITMAP picture = ::CreateCompatibleBitmap(screen, size.cx, size.cy);
        HGDIOBJ old = ::SelectObject(mem, picture);
        ::RedrawWindow(view()->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        DrawHelpPicture(mem, name, "", 0, 0);
        int differ = 0, compared = 0;
        for (int y = part.top; y < std::min(part.bottom, client.bottom); y += 2)
            for (int x = part.left; x < std::min(part.right, client.right); x += 2, ++compared)
                differ += ::GetPixel(mem, x - part.left, y - part.top) != ::GetPixel(screen, x, y);
        ::SelectObject(mem, old);
        ::DeleteObject(picture);
        ::DeleteDC(mem);
        ::ReleaseDC(view()->m_hWnd, screen);
        EXPECT_GT(compared, 10000) << name;
        EXPECT_EQ(differ, 0) << name;
    }
}

TEST_F(Help, DividerTipsTablesAndIndexLetEveryTitleAndCellBeRead)
{
    command(ID_HELP_FINDER);
    CHelpWindow* help = CHelpWindow::Instance();
    ASSERT_NE(help, nullptr);
    // The divider between contents and page follows the mouse.
    RECT page;
    ::GetWindowRect(help->Page().m_hWnd, &page);
    ::MapWindowPoints(nullptr, help->m_hWnd, reinterpret_cast<POINT*>(&page), 2);
    const int x = page.left - 3, y = (page.top + page.bottom) / 2;
    help->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    help->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 40, y));
    help->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x + 40, y));
    RECT moved;
    ::GetWindowRect(help->Page().m_hWnd, &moved);
    ::MapWindowPoints(nullptr, help->m_hWnd, reinterpret_cast<POINT*>(&moved), 2);
    EXPECT_EQ(moved.left - page.left, 40);

    // A contents line gives the whole title as its tip.
    const auto& topics = HelpBook::Program().Topics();
    const HelpTopic* topic = HelpBook::Program().Find("cmd-base-50ms");
    ASSERT_NE(topic, nullptr);
    char text[256] = "";
    NMTVGETINFOTIPA tip{};
    tip.hdr = {help->Contents(), 0, TVN_GETINFOTIPA};
    tip.pszText = text;
    tip.cchTextMax = sizeof text;
    tip.lParam = topic - topics.data();
    help->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_EQ(std::string(text), topic->title);

    // In a narrow window a wide table's cells all stay on the page.
    help->ShowTopic("base-de-temps");
    help->MoveWindow(0, 0, 420, 500);
    RECT client;
    ::GetClientRect(help->Page().m_hWnd, &client);
    int cells = 0;
    for (const HelpLayout::Item& item : help->Page().Layout().Items()) {
        if (item.kind != HelpLayout::Kind::Cell) continue;
        ++cells;
        EXPECT_LE(item.rc.right, client.right) << item.text;
    }
    EXPECT_GT(cells, 20);

    // A word of the index that leads to several topics names each of them.
    std::map<std::string, std::vector<std::string>> lines;
    const auto index = HelpBook::Program().Index();
    for (size_t i = 0; i < index.size(); ++i) {
        char line[512] = "";
        ::SendMessageA(help->IndexList(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        lines[index[i].word].push_back(line);
    }
    int shared = 0;
    for (const auto& [word, seen] : lines) {
        if (seen.size() < 2) continue;
        ++shared;
        EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end()).size(), seen.size()) << word;
    }
    EXPECT_GT(shared, 0);
}

TEST_F(Help, LinksByTabAndEnterAndThePageTextCopied)
{
    command(ID_HELP_FINDER);
    CHelpWindow* help = CHelpWindow::Instance();
    ASSERT_NE(help, nullptr);
    help->ShowTopic("base-de-temps");
    CHelpPage& page = help->Page();
    EXPECT_EQ(page.GetWindowText(), HelpBook::Program().Find("base-de-temps")->title) << "its accessible name";

    // Copied: the whole text, tables included.
    page.SendMessage(WM_COPY);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_TEXT);
    std::string copied = data ? static_cast<const char*>(::GlobalLock(data)) : "";
    if (data) ::GlobalUnlock(data);
    ::CloseClipboard();
    EXPECT_NE(copied.find("Bases de temps"), std::string::npos);
    EXPECT_NE(copied.find("91\xA0ms"), std::string::npos);
    EXPECT_NE(copied.find("Rapide\t100 ms"), std::string::npos);

    // Tab reaches the first link, Enter follows it.
    ::SetFocus(page.m_hWnd);
    const auto links = page.Layout().LinkStarts();
    ASSERT_FALSE(links.empty());
    const std::string target = page.Layout().Items()[links[0]].link;
    MSG tab{page.m_hWnd, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(page.SendMessage(WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab)) & DLGC_WANTTAB);
    page.SendMessage(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(page.FocusedLink(), 0);
    page.SendMessage(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(shownKey(), target);
}
