#include "document/Splash.h"
#include "resource.h"

BOOL CSplashScreen::s_bEnabled = FALSE;
CSplashScreen* CSplashScreen::s_pInstance = nullptr;

constexpr UINT_PTR kSplashTimer = 1;
constexpr UINT kSplashMilliseconds = 1500;

BEGIN_MESSAGE_MAP(CSplashScreen, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_TIMER()
END_MESSAGE_MAP()

void CSplashScreen::EnableSplash(BOOL enable) { s_bEnabled = enable; }

void CSplashScreen::ShowSplash(CWnd* parentWnd)
{
    if (!s_bEnabled || s_pInstance) return;
    s_pInstance = new CSplashScreen;
    if (!s_pInstance->Create(parentWnd)) {
        // A window that existed has deleted its object already (the
        // destructor clears s_pInstance); otherwise delete it here.
        delete s_pInstance;
        return;
    }
    s_pInstance->UpdateWindow();
}

BOOL CSplashScreen::FilterAppMessage(MSG* msg)
{
    if (!s_pInstance) return FALSE;
    switch (msg->message) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
        s_pInstance->HideSplash();
        return TRUE;
    default:
        return FALSE;
    }
}

CSplashScreen::~CSplashScreen()
{
    s_pInstance = nullptr;
}

BOOL CSplashScreen::Create(CWnd* parentWnd)
{
    if (!m_bmpSplash.LoadBitmap(IDB_SPLASH)) return FALSE;
    BITMAP bm{};
    m_bmpSplash.GetBitmap(&bm);
    const char* cls = RegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW));
    return CreateEx(0, cls, nullptr, WS_POPUP | WS_VISIBLE, 0, 0, bm.bmWidth, bm.bmHeight,
                    parentWnd ? parentWnd->m_hWnd : nullptr, nullptr);
}

void CSplashScreen::HideSplash()
{
    DestroyWindow();
    if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd) app->m_pMainWnd->UpdateWindow();
}

int CSplashScreen::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1) return -1;
    CenterWindow();
    SetTimer(kSplashTimer, kSplashMilliseconds);
    return 0;
}

void CSplashScreen::OnPaint()
{
    CPaintDC dc(this);
    CDC mem;
    if (!mem.CreateCompatibleDC(&dc)) return;
    BITMAP bm{};
    m_bmpSplash.GetBitmap(&bm);
    HGDIOBJ old = mem.SelectObject(&m_bmpSplash);
    dc.BitBlt(0, 0, bm.bmWidth, bm.bmHeight, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(old);
}

void CSplashScreen::OnTimer(UINT_PTR)
{
    HideSplash();
}

void CSplashScreen::PostNcDestroy()
{
    delete this;
}
