#include "app/OndavApp.h"
#include "document/Splash.h"
#include <gtest/gtest.h>

// The start-up picture, over the running program's frame.
extern COndavApp theApp;

namespace {
// The splash is the only visible popup of this thread without a caption.
BOOL CALLBACK findSplash(HWND h, LPARAM l)
{
    LONG style = ::GetWindowLongA(h, GWL_STYLE);
    if ((style & WS_POPUP) && !(style & WS_CAPTION) && ::IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(l) = h;
        return FALSE;
    }
    return TRUE;
}

HWND splashWindow()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), findSplash, reinterpret_cast<LPARAM>(&found));
    return found;
}

void pumpFor(int ms)
{
    DWORD end = ::GetTickCount() + static_cast<DWORD>(ms);
    MSG msg;
    while (static_cast<int>(end - ::GetTickCount()) > 0) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) { ::TranslateMessage(&msg); ::DispatchMessageA(&msg); }
        ::Sleep(10);
    }
}

MSG message(UINT id) { return MSG{ theApp.m_pMainWnd->m_hWnd, id, 0, 0, 0, {} }; }
} // namespace

TEST(Splash, ShowsThePictureCentredAndAKeyOrButtonCloseItAndIsConsumed)
{
    CSplashScreen::EnableSplash(TRUE);
    CSplashScreen::ShowSplash(theApp.m_pMainWnd);
    HWND splash = splashWindow();
    ASSERT_NE(splash, nullptr);
    RECT r;
    ::GetClientRect(splash, &r);
    EXPECT_EQ(r.right, 409);
    EXPECT_EQ(r.bottom, 293);
    EXPECT_EQ(::GetWindow(splash, GW_OWNER), theApp.m_pMainWnd->m_hWnd);

    MSG move = message(WM_MOUSEMOVE);
    EXPECT_FALSE(CSplashScreen::FilterAppMessage(&move)) << "moving the mouse keeps it";
    MSG up = message(WM_LBUTTONUP);
    EXPECT_FALSE(CSplashScreen::FilterAppMessage(&up));
    MSG click = message(WM_LBUTTONDOWN);
    EXPECT_TRUE(CSplashScreen::FilterAppMessage(&click)) << "the click only closes the splash";
    EXPECT_FALSE(::IsWindow(splash));
    EXPECT_FALSE(CSplashScreen::FilterAppMessage(&click)) << "the next click goes through";

    CSplashScreen::ShowSplash(theApp.m_pMainWnd);
    MSG key = message(WM_KEYDOWN);
    EXPECT_TRUE(CSplashScreen::FilterAppMessage(&key));
    EXPECT_EQ(splashWindow(), nullptr);
}

TEST(Splash, GoesByItselfAfterOneAndAHalfSecondsAndNeverWhenDisabled)
{
    CSplashScreen::EnableSplash(TRUE);
    CSplashScreen::ShowSplash(theApp.m_pMainWnd);
    ASSERT_NE(splashWindow(), nullptr);
    pumpFor(1200);
    EXPECT_NE(splashWindow(), nullptr);
    pumpFor(700);
    EXPECT_EQ(splashWindow(), nullptr);

    CSplashScreen::EnableSplash(FALSE);
    CSplashScreen::ShowSplash(theApp.m_pMainWnd);
    EXPECT_EQ(splashWindow(), nullptr);
}
