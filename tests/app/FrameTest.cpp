#include "support/RunningApp.h"
#include "resource.h"
#include "framework/dock.h"
#include "framework/preview.h"
#include "support/ModalWatcher.h"
#include "support/RunningApp.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <winspool.h>
#include <string>
#include <thread>
#include <vector>

// The main frame as users handle it: its movable toolbar, the lock-key panes,
// where its boxes open, the preview beside the view, the file dialogs' folder.
namespace {
CToolBar& bar() { return frame()->m_wndToolBar; }

RECT windowRect(HWND h)
{
    RECT r{};
    ::GetWindowRect(h, &r);
    return r;
}

std::string text(HWND h)
{
    char buf[256] = "";
    ::GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

// A drag of a bar's handle as the mouse makes it: the moves and the release
// are queued for the drag, then the button goes down on the handle.
void drag(HWND handle, POINT from, POINT to, bool escape = false)
{
    POINT c = to;
    ::ScreenToClient(handle, &c);
    ::PostMessageA(handle, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.x, c.y));
    if (escape)
        ::PostMessageA(handle, WM_KEYDOWN, VK_ESCAPE, 0);   // the release comes after the drag has ended
    else
        ::PostMessageA(handle, WM_LBUTTONUP, 0, MAKELPARAM(c.x, c.y));
    ::SendMessageA(handle, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(from.x, from.y));
}

// The docked toolbar's gripper: its first pixels along the bar.
POINT gripper()
{
    RECT r = windowRect(bar().m_hWnd);
    return bar().IsHorz() ? POINT{ r.left + 4, (r.top + r.bottom) / 2 } : POINT{ (r.left + r.right) / 2, r.top + 4 };
}

HWND floatingWindow() { return bar().GetDockingFrame() ? bar().GetDockingFrame()->m_hWnd : nullptr; }

POINT caption()
{
    RECT r = windowRect(floatingWindow());
    return POINT{ r.left + 30, r.top + ::GetSystemMetrics(SM_CYSMCAPTION) / 2 };
}

bool toolbarChecked()
{
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, ID_VIEW_TOOLBAR, "Barre d'outils");
    frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 1);
    bool checked = (::GetMenuState(menu, ID_VIEW_TOOLBAR, MF_BYCOMMAND) & MF_CHECKED) != 0;
    ::DestroyMenu(menu);
    return checked;
}

// The toolbar against side of the area the status bar leaves, the view
// taking the rest of it.
void expectDocked(DWORD side, const char* name)
{
    SCOPED_TRACE(name);
    RECT area = frame()->GetDockingArea(), t = windowRect(bar().m_hWnd), v = windowRect(view()->m_hWnd);
    RECT status = windowRect(frame()->m_wndStatusBar.m_hWnd);
    EXPECT_EQ(bar().GetDockSide(), side);
    EXPECT_EQ(::GetParent(bar().m_hWnd), frame()->m_hWnd);
    EXPECT_TRUE(::IsWindowVisible(bar().m_hWnd));
    EXPECT_EQ(area.bottom, status.top) << "the status bar stays at the bottom";
    const bool across = side == CBRS_ALIGN_TOP || side == CBRS_ALIGN_BOTTOM;
    if (across) {
        EXPECT_GT(t.right - t.left, t.bottom - t.top) << "one row";
        EXPECT_EQ(t.left, area.left);
        EXPECT_EQ(t.right, area.right);
        EXPECT_EQ(v.left, area.left);
        EXPECT_EQ(v.right, area.right);
    } else {
        EXPECT_GT(t.bottom - t.top, t.right - t.left) << "one column";
        EXPECT_EQ(t.top, area.top);
        EXPECT_EQ(t.bottom, area.bottom);
        EXPECT_EQ(v.top, area.top);
        EXPECT_EQ(v.bottom, area.bottom);
    }
    switch (side) {
    case CBRS_ALIGN_TOP: EXPECT_EQ(t.top, area.top); EXPECT_EQ(v.top, t.bottom); EXPECT_EQ(v.bottom, area.bottom); break;
    case CBRS_ALIGN_BOTTOM: EXPECT_EQ(t.bottom, area.bottom); EXPECT_EQ(v.bottom, t.top); EXPECT_EQ(v.top, area.top); break;
    case CBRS_ALIGN_LEFT: EXPECT_EQ(t.left, area.left); EXPECT_EQ(v.left, t.right); EXPECT_EQ(v.right, area.right); break;
    case CBRS_ALIGN_RIGHT: EXPECT_EQ(t.right, area.right); EXPECT_EQ(v.right, t.left); EXPECT_EQ(v.left, area.left); break;
    default: break;
    }
    if (floatingWindow()) {
        EXPECT_FALSE(::IsWindowVisible(floatingWindow()));
    }
}

void expectFloating()
{
    ASSERT_TRUE(bar().IsFloating());
    HWND f = floatingWindow();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(::IsWindowVisible(f));
    EXPECT_EQ(text(f), "Barre d'outils");
    EXPECT_EQ(::GetWindow(f, GW_OWNER), frame()->m_hWnd);
    EXPECT_EQ(::GetParent(bar().m_hWnd), f);
    RECT fr = windowRect(f), t = windowRect(bar().m_hWnd);
    EXPECT_LT(fr.right - fr.left, 400) << "a small window";
    EXPECT_GT(t.bottom - t.top, 2 * 30) << "the buttons in rows";
    RECT area = frame()->GetDockingArea(), v = windowRect(view()->m_hWnd);
    EXPECT_TRUE(::EqualRect(&area, &v)) << "the view takes the whole area";
    EXPECT_EQ(::GetActiveWindow(), frame()->m_hWnd) << "the main window stays active";
}

struct Toolbar : ::testing::Test {
    void TearDown() override
    {
        if (!bar().IsVisible()) command(ID_VIEW_TOOLBAR);
        frame()->DockControlBar(&bar(), CBRS_ALIGN_TOP);
    }
};
} // namespace

TEST(StatusBar, LockKeyPanesUseTheirOwnIdsAndTexts)
{
    static const struct { UINT id; const char* text; } panes[] = { { 59137, "MAJ" }, { 59138, "NUM" }, { 59139, "DEF" } };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(frame()->m_wndStatusBar.GetItemID(i + 1), panes[i].id);
        char buf[16] = "";
        ::LoadStringA(::GetModuleHandleA(nullptr), panes[i].id, buf, sizeof buf);
        EXPECT_STREQ(buf, panes[i].text);
    }
}

TEST_F(Toolbar, StartsAlongTheTopWithGripperAndBottomBorder)
{
    EXPECT_EQ(bar().GetBarStyle() & 0xFFFFu, 0x2834u);
    EXPECT_TRUE(bar().GetBarStyle() & CBRS_GRIPPER);
    EXPECT_EQ(bar().m_dwDockStyle, CBRS_ALIGN_ANY);
    expectDocked(CBRS_ALIGN_TOP, "at start");
    // The client area leaves room for the gripper on the left and the border below.
    RECT w = windowRect(bar().m_hWnd), c;
    ::GetClientRect(bar().m_hWnd, &c);
    ::MapWindowPoints(bar().m_hWnd, nullptr, reinterpret_cast<POINT*>(&c), 2);
    EXPECT_GE(c.left - w.left, 8);
    EXPECT_GE(w.bottom - c.bottom, 2);
    POINT g = gripper();
    EXPECT_EQ(bar().SendMessage(WM_NCHITTEST, 0, MAKELPARAM(g.x, g.y)), HTCAPTION);
    RECT button{};
    bar().SendMessage(TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&button));
    ::MapWindowPoints(bar().m_hWnd, nullptr, reinterpret_cast<POINT*>(&button), 2);
    EXPECT_EQ(bar().SendMessage(WM_NCHITTEST, 0, MAKELPARAM(button.left + 5, button.top + 5)), HTCLIENT);
}

TEST_F(Toolbar, DraggedByItsGripperToEachSideOrAwayToFloat)
{
    RECT area = frame()->GetDockingArea();
    const int midX = (area.left + area.right) / 2, midY = (area.top + area.bottom) / 2;
    const struct { DWORD side; POINT to; const char* name; } moves[] = {
        { CBRS_ALIGN_LEFT, { area.left + 5, midY }, "left" },
        { CBRS_ALIGN_RIGHT, { area.right - 5, midY }, "right" },
        { CBRS_ALIGN_BOTTOM, { midX, area.bottom - 5 }, "bottom" },
        { CBRS_ALIGN_TOP, { midX, area.top + 5 }, "top" },
    };
    for (const auto& m : moves) {
        drag(bar().m_hWnd, gripper(), m.to);
        expectDocked(m.side, m.name);
    }
    drag(bar().m_hWnd, gripper(), POINT{ midX, midY });
    expectFloating();
    // By its window's caption: moved while away from the edges, docked near one.
    RECT before = windowRect(floatingWindow());
    drag(floatingWindow(), caption(), POINT{ caption().x + 50, caption().y + 40 });
    RECT after = windowRect(floatingWindow());
    EXPECT_EQ(after.left - before.left, 50);
    EXPECT_EQ(after.top - before.top, 40);
    drag(floatingWindow(), caption(), POINT{ area.left + 5, midY + 20 });
    expectDocked(CBRS_ALIGN_LEFT, "left, from floating");
}

TEST_F(Toolbar, AClickOrEscapeLeavesItWhereItIs)
{
    RECT before = windowRect(bar().m_hWnd);
    drag(bar().m_hWnd, gripper(), gripper());   // no move: a click
    RECT area = frame()->GetDockingArea();
    drag(bar().m_hWnd, gripper(), POINT{ area.left + 5, (area.top + area.bottom) / 2 }, true);
    RECT after = windowRect(bar().m_hWnd);
    EXPECT_TRUE(::EqualRect(&before, &after));
    expectDocked(CBRS_ALIGN_TOP, "after a click and a cancelled drag");
}

TEST_F(Toolbar, FloatingCaptionDoubleClickDocksItBackWhereItWas)
{
    RECT area = frame()->GetDockingArea();
    drag(bar().m_hWnd, gripper(), POINT{ area.right - 5, (area.top + area.bottom) / 2 });
    expectDocked(CBRS_ALIGN_RIGHT, "right");
    drag(bar().m_hWnd, gripper(), POINT{ (area.left + area.right) / 2, (area.top + area.bottom) / 2 });
    expectFloating();
    POINT c = caption();
    ::SendMessageA(floatingWindow(), WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(c.x, c.y));
    expectDocked(CBRS_ALIGN_RIGHT, "back on the right");
    // And the docked gripper's double click floats it.
    POINT g = gripper();
    bar().SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(g.x, g.y));
    expectFloating();
}

TEST_F(Toolbar, HiddenAndShownWhileFloatingWithItsCheckMark)
{
    RECT area = frame()->GetDockingArea();
    drag(bar().m_hWnd, gripper(), POINT{ (area.left + area.right) / 2, (area.top + area.bottom) / 2 });
    expectFloating();
    EXPECT_TRUE(toolbarChecked());
    command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(::IsWindowVisible(floatingWindow()));
    EXPECT_FALSE(bar().IsVisible());
    EXPECT_FALSE(toolbarChecked());
    command(ID_VIEW_TOOLBAR);
    expectFloating();
    EXPECT_TRUE(toolbarChecked());
    // Its close box hides it the same way.
    ::SendMessageA(floatingWindow(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindowVisible(floatingWindow()));
    EXPECT_FALSE(toolbarChecked());
    command(ID_VIEW_TOOLBAR);
    expectFloating();
    // A modal box disables the frame, and the floating buttons with it.
    ::EnableWindow(frame()->m_hWnd, FALSE);
    EXPECT_FALSE(::IsWindowEnabled(floatingWindow()));
    ::EnableWindow(frame()->m_hWnd, TRUE);
    EXPECT_TRUE(::IsWindowEnabled(floatingWindow()));
    // Hidden while docked, the view takes its place.
    frame()->DockControlBar(&bar(), CBRS_ALIGN_LEFT);
    command(ID_VIEW_TOOLBAR);
    RECT v = windowRect(view()->m_hWnd);
    area = frame()->GetDockingArea();
    EXPECT_TRUE(::EqualRect(&area, &v));
}

namespace {
// Every button within the bar's client area, and the six separators shown.
void expectAllReachable(const char* where)
{
    SCOPED_TRACE(where);
    RECT client;
    ::GetClientRect(bar().m_hWnd, &client);
    int separators = 0;
    for (int i = 0; i < bar().GetCount(); ++i) {
        RECT r{};
        bar().SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        if (bar().GetItemID(i) == 0) {
            separators += r.right > r.left && r.bottom > r.top;
            continue;
        }
        RECT in;
        EXPECT_TRUE(::IntersectRect(&in, &r, &client) && ::EqualRect(&in, &r)) << "button " << bar().GetItemID(i);
    }
    EXPECT_EQ(separators, 6);
}

// The pixels of a view-sized DIB after draw(dc) has drawn into it.
template <typename Draw> std::vector<DWORD> viewSized(Draw draw)
{
    RECT c;
    ::GetClientRect(view()->m_hWnd, &c);
    BITMAPINFO bi{};
    bi.bmiHeader = { sizeof(BITMAPINFOHEADER), c.right, -c.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(mem, dib);
    draw(mem, c);
    ::GdiFlush();
    std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + c.right * c.bottom);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::DeleteObject(dib);
    return pixels;
}

// The view's pixels as they stand on the screen.
std::vector<DWORD> viewOnScreen()
{
    return viewSized([](HDC mem, const RECT& c) {
        HDC dc = ::GetDC(view()->m_hWnd);
        ::BitBlt(mem, 0, 0, c.right, c.bottom, dc, 0, 0, SRCCOPY);
        ::ReleaseDC(view()->m_hWnd, dc);
    });
}
} // namespace

TEST_F(Toolbar, EveryButtonReachableOnEverySideAndInANarrowWindow)
{
    const struct { DWORD side; const char* name; } sides[] = {
        { CBRS_ALIGN_LEFT, "left" }, { CBRS_ALIGN_RIGHT, "right" }, { CBRS_ALIGN_BOTTOM, "bottom" }, { CBRS_ALIGN_TOP, "top" },
    };
    for (const auto& s : sides) {
        frame()->DockControlBar(&bar(), s.side);
        expectDocked(s.side, s.name);
        expectAllReachable(s.name);
    }
    RECT w = windowRect(frame()->m_hWnd);
    frame()->MoveWindow(w.left, w.top, 400, w.bottom - w.top);
    expectAllReachable("top, 400 pixels wide");
    RECT t = windowRect(bar().m_hWnd);
    EXPECT_GT(t.bottom - t.top, 2 * 29) << "in rows";
    frame()->MoveWindow(w.left, w.top, w.right - w.left, w.bottom - w.top);
}

TEST_F(Toolbar, EveryDockChangePaintsTheViewAsAFullRepaintWould)
{
    command(ID_MESURE_ARRET);
    RECT area = frame()->GetDockingArea();
    const POINT middle{ (area.left + area.right) / 2, (area.top + area.bottom) / 2 };
    const struct { DWORD side; const char* name; } moves[] = {
        { CBRS_ALIGN_LEFT, "left" }, { CBRS_ALIGN_RIGHT, "left to right" }, { CBRS_ALIGN_LEFT, "right to left" },
        { CBRS_ALIGN_BOTTOM, "left to bottom" }, { CBRS_ALIGN_TOP, "bottom to top" }, { CBRS_ALIGN_BOTTOM, "top to bottom" },
        { 0, "bottom to floating" }, { CBRS_ALIGN_RIGHT, "floating to right" }, { CBRS_ALIGN_TOP, "right to top" },
    };
    for (const auto& m : moves) {
        if (m.side) frame()->DockControlBar(&bar(), m.side);
        else frame()->FloatControlBar(&bar(), middle);
        pump(150);
        std::vector<DWORD> after = viewOnScreen();
        ::RedrawWindow(view()->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        std::vector<DWORD> full = viewOnScreen();
        ASSERT_EQ(after.size(), full.size());
        size_t differ = 0;
        for (size_t i = 0; i < full.size(); ++i) differ += after[i] != full[i];
        EXPECT_EQ(differ, 0u) << m.name;
    }
}

TEST_F(Toolbar, FloatingItTakesTheShapeItIsSizedTo)
{
    RECT area = frame()->GetDockingArea();
    drag(bar().m_hWnd, gripper(), POINT{ (area.left + area.right) / 2, (area.top + area.bottom) / 2 });
    expectFloating();
    // Sized by its right edge to about four buttons: four columns, all in.
    const int bw = LOWORD(bar().SendMessage(TB_GETBUTTONSIZE));
    RECT r = windowRect(floatingWindow());
    r.right = r.left + CMiniDockFrameWnd::WindowSize(SIZE{ 4 * bw + 10, 0 }).cx;
    ::SendMessageA(floatingWindow(), WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&r));
    ::SetWindowPos(floatingWindow(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT c;
    ::GetClientRect(bar().m_hWnd, &c);
    EXPECT_EQ(c.right / bw, 4);
    expectAllReachable("floating, four columns");
    // By its bottom edge to half its height: more columns.
    const LONG rows4 = c.bottom;
    r.bottom = r.top + (r.bottom - r.top) / 2;
    ::SendMessageA(floatingWindow(), WM_SIZING, WMSZ_BOTTOM, reinterpret_cast<LPARAM>(&r));
    ::SetWindowPos(floatingWindow(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetClientRect(bar().m_hWnd, &c);
    EXPECT_LE(c.bottom, rows4 / 2 + 10);
    EXPECT_GT(c.right / bw, 4);
    expectAllReachable("floating, sized by its height");

}


// ---------------------------------------------------------------- boxes

namespace {
// Waits for the next dialog box of this process, notes where it stands (and a
// file dialog's folder), then presses button in it.
class BoxSpy {
public:
    explicit BoxSpy(int button) : m_thread([this, button] { run(button); }) {}
    ~BoxSpy() { if (m_thread.joinable()) m_thread.join(); }
    RECT rect() { join(); return m_rect; }
    std::string folder() { join(); return m_folder; }
    int boxes() { join(); return m_boxes; }
    std::string caption() { join(); return m_caption; }

private:
    RECT m_rect{};
    std::string m_folder, m_caption;
    int m_boxes = 0;
    std::thread m_thread;
    void join() { if (m_thread.joinable()) m_thread.join(); }

    void run(int button)
    {
        // Every box that comes within the time is counted and answered.
        HWND last = nullptr;
        for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 4000;) {
            const std::vector<HWND> boxes = VisibleBoxes(::GetCurrentProcessId());
            HWND box = boxes.empty() ? nullptr : boxes.front();
            if (!box || box == last) { ::Sleep(20); continue; }
            ::Sleep(300);   // shown, activated and placed
            last = box;
            ++m_boxes;
            ::GetWindowRect(box, &m_rect);
            m_caption = text(box);
            // The file dialogs are Unicode: the folder comes back wide.
            wchar_t path[MAX_PATH] = L"";
            if (::SendMessageW(box, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(path)) > 0)
                m_folder = CPathName(path).Utf8();
            ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            start = ::GetTickCount() - 3000;   // a second box must follow soon
        }
    }
};

void expectCentredOverFrame(const RECT& box, const char* what)
{
    RECT f = windowRect(frame()->m_hWnd);
    EXPECT_GT(box.right, box.left) << what << ": no box seen";
    EXPECT_NEAR((box.left + box.right) / 2, (f.left + f.right) / 2, 1) << what;
    EXPECT_NEAR((box.top + box.bottom) / 2, (f.top + f.bottom) / 2, 1) << what;
}
} // namespace

TEST_F(Toolbar, FloatingButtonsStillCommandTheProgram)
{
    RECT area = frame()->GetDockingArea();
    drag(bar().m_hWnd, gripper(), POINT{ (area.left + area.right) / 2, (area.top + area.bottom) / 2 });
    expectFloating();
    int index = static_cast<int>(bar().SendMessage(TB_COMMANDTOINDEX, ID_APP_ABOUT));
    RECT button{};
    ASSERT_TRUE(bar().SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)));
    LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    BoxSpy spy(IDOK);
    bar().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    bar().SendMessage(WM_LBUTTONUP, 0, at);
    EXPECT_EQ(spy.caption(), "A propos de L'Ondavis");
}

TEST(Dialogs, OpenCentredOverTheMainWindow)
{
    {
        BoxSpy spy(IDOK);
        command(ID_APP_ABOUT);
        expectCentredOverFrame(spy.rect(), "About box");
    }
    {
        BoxSpy spy(IDCANCEL);
        command(ID_OPTIONS_COULEUR);
        expectCentredOverFrame(spy.rect(), "background colour");
    }
    {
        BoxSpy spy(IDOK);
        AfxMessageBox("Essai");
        expectCentredOverFrame(spy.rect(), "message box");
    }
}

TEST(Dialogs, PrintSetupWithoutPrinterSaysSoOnceInFrench)
{
    char name[256];
    DWORD size = sizeof name;
    if (::GetDefaultPrinterA(name, &size)) GTEST_SKIP() << "a printer is installed: " << name;
    BoxSpy spy(IDOK);
    command(ID_FILE_PRINT_SETUP);
    EXPECT_EQ(spy.boxes(), 1);
    EXPECT_EQ(spy.caption(), "Ondavis");
}

TEST(Dialogs, OpenDialogStartsInTheFolderLastUsed)
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "ondav-dossier";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    theApp.AddToRecentFileList((folder + "\\mesure.osc").c_str());
    BoxSpy spy(IDCANCEL);
    command(ID_FILE_OPEN);
    EXPECT_EQ(lstrcmpiA(spy.folder().c_str(), folder.c_str()), 0) << spy.folder();
    theApp.m_pRecentFileList->Remove(0);
    ::RemoveDirectoryA(folder.c_str());
}

// ---------------------------------------------------------------- preview

namespace {
// What the view paints for its window, drawn into a DIB of the view's size.
std::vector<DWORD> viewPicture()
{
    return viewSized([](HDC mem, const RECT& c) {
        ::PatBlt(mem, 0, 0, c.right, c.bottom, WHITENESS);
        CDC dc(mem);
        view()->OnPrepareDC(&dc);
        view()->OnDraw(&dc);
        dc.Detach();
    });
}
} // namespace

TEST(Preview, TheViewStillPaintsForTheScreenWhileItIsOpen)
{
    command(ID_MESURE_ARRET);
    command(ID_MODE_DECALEES);
    std::vector<DWORD> screen = viewPicture();
    command(ID_FILE_PRINT_PREVIEW);
    HWND preview = ::FindWindowA(nullptr, "Aperçu avant impression - Sans titre");
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(view()->m_nOutputTarget, 1);
    bool same = viewPicture() == screen;
    ::SendMessageA(preview, WM_COMMAND, 2 /* close */, 0);
    EXPECT_TRUE(same) << "a repaint under the preview draws the screen page, panel included";
    EXPECT_FALSE(::IsWindow(preview));
}

TEST(Preview, EscapeClosesItAndItsCaptionHasTheProgramsIcon)
{
    command(ID_FILE_PRINT_PREVIEW);
    HWND preview = ::FindWindowA(nullptr, "Aperçu avant impression - Sans titre");
    ASSERT_NE(preview, nullptr);
    auto icon = ::GetClassLongPtrA(preview, GCLP_HICON);
    EXPECT_NE(icon, 0);
    EXPECT_EQ(icon, ::GetClassLongPtrA(frame()->m_hWnd, GCLP_HICON));
    ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    pump(100);
    EXPECT_FALSE(::IsWindow(preview));
    EXPECT_TRUE(::IsWindowEnabled(frame()->m_hWnd));
}
