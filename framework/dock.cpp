#include "framework/dock.h"
#include "framework/bars.h"
#include "framework/frame.h"
#include <cstdlib>

namespace {
constexpr DWORD kFloatStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kFloatExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
// How near an edge of the frame the pointer must be released to dock there.
constexpr int kDockReach = 40;
constexpr int kFeedbackWidth = 3;
} // namespace

// ---------------------------------------------------------------- floating window

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CWnd)
    ON_WM_CLOSE()
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
    ON_MESSAGE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
    ON_MESSAGE(WM_MOUSEACTIVATE, OnMouseActivate)
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivate)
    ON_MESSAGE(WM_SIZING, OnSizing)
    ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CMiniDockFrameWnd::Create(HWND owner, const char* title)
{
    const char* cls = RegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(kFloatExStyle, cls, title, kFloatStyle, 0, 0, 0, 0, owner, nullptr);
}

SIZE CMiniDockFrameWnd::WindowSize(SIZE clientSize)
{
    RECT r{ 0, 0, clientSize.cx, clientSize.cy };
    ::AdjustWindowRectEx(&r, kFloatStyle, FALSE, kFloatExStyle);
    return SIZE{ r.right - r.left, r.bottom - r.top };
}

void CMiniDockFrameWnd::Place(POINT topLeft, SIZE clientSize, BOOL show)
{
    SIZE outer = WindowSize(clientSize);
    ::SetWindowPos(m_hWnd, nullptr, topLeft.x, topLeft.y, outer.cx, outer.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void CMiniDockFrameWnd::PostNcDestroy()
{
    if (m_pBar && m_pBar->m_pFloatFrame == this) m_pBar->m_pFloatFrame = nullptr;
    delete this;
}

// The bar's commands and notifications are the frame's.
BOOL CMiniDockFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (!m_pBar->m_pDockSite) return FALSE;
    m_pBar->m_pDockSite->SendMessage(WM_COMMAND, wParam, lParam);
    return TRUE;
}

BOOL CMiniDockFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (!m_pBar->m_pDockSite) return FALSE;
    *result = m_pBar->m_pDockSite->SendMessage(WM_NOTIFY, wParam, lParam);
    return TRUE;
}

void CMiniDockFrameWnd::OnClose()
{
    // Closing hides the bar; the view menu shows it again, still floating.
    if (m_pBar->m_pDockSite) m_pBar->m_pDockSite->ShowControlBar(m_pBar, FALSE);
}

LRESULT CMiniDockFrameWnd::OnNcLButtonDown(WPARAM hit, LPARAM lParam)
{
    if (hit != HTCAPTION || !m_pBar->m_pDockSite) return Default();
    CDockContext(m_pBar).Track(m_hWnd, POINT{ xOf(lParam), yOf(lParam) });
    return 0;
}

LRESULT CMiniDockFrameWnd::OnNcLButtonDblClk(WPARAM hit, LPARAM)
{
    if (hit != HTCAPTION || !m_pBar->m_pDockSite) return Default();
    m_pBar->m_pDockSite->DockControlBar(m_pBar, m_pBar->GetLastDockSide());
    return 0;
}

LRESULT CMiniDockFrameWnd::OnMouseActivate(WPARAM, LPARAM)
{
    // Clicking a floating button leaves the main window active, its view with the keyboard.
    return MA_NOACTIVATE;
}

LRESULT CMiniDockFrameWnd::OnNcActivate(WPARAM, LPARAM lParam)
{
    // Its caption looks as active as the program's.
    CFrameWnd* frame = m_pBar->m_pDockSite;
    return DefWindowProc(WM_NCACTIVATE, frame && frame->IsFrameOrBarActive(), lParam);
}

LRESULT CMiniDockFrameWnd::OnSizing(WPARAM edge, LPARAM lParam)
{
    auto* r = reinterpret_cast<RECT*>(lParam);
    const SIZE frame = WindowSize(SIZE{ 0, 0 });
    const SIZE wanted{ r->right - r->left - frame.cx, r->bottom - r->top - frame.cy };
    const BOOL byHeight = edge == WMSZ_TOP || edge == WMSZ_BOTTOM;
    const SIZE outer = WindowSize(m_pBar->CalcFloatingLayout(wanted, byHeight));
    // The edge held by the pointer moves; the opposite one stays.
    if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT) r->left = r->right - outer.cx;
    else r->right = r->left + outer.cx;
    if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT) r->top = r->bottom - outer.cy;
    else r->bottom = r->top + outer.cy;
    return TRUE;
}

void CMiniDockFrameWnd::OnSize(UINT, int cx, int cy)
{
    if (m_pBar->m_hWnd && ::GetParent(m_pBar->m_hWnd) == m_hWnd) m_pBar->MoveWindow(0, 0, cx, cy);
}

// ---------------------------------------------------------------- drag

CDockContext::CDockContext(CControlBar* bar) : m_pBar(bar), m_pFrame(bar->m_pDockSite) {}

DWORD CDockContext::SideAt(POINT pt) const
{
    RECT area = m_pFrame->GetDockingArea();
    RECT reach = area;
    ::InflateRect(&reach, kDockReach, kDockReach);
    if (!::PtInRect(&reach, pt)) return 0;
    const struct { DWORD side; LONG distance; } edges[] = {
        { CBRS_ALIGN_TOP, std::labs(pt.y - area.top) }, { CBRS_ALIGN_BOTTOM, std::labs(area.bottom - pt.y) },
        { CBRS_ALIGN_LEFT, std::labs(pt.x - area.left) }, { CBRS_ALIGN_RIGHT, std::labs(area.right - pt.x) },
    };
    DWORD best = 0;
    LONG nearest = kDockReach + 1;
    for (const auto& e : edges) {
        if (!(e.side & m_pBar->m_dwDockStyle & m_pFrame->GetDockStyle())) continue;
        if (e.distance < nearest) { nearest = e.distance; best = e.side; }
    }
    return best;
}

POINT CDockContext::FloatOrigin(POINT pt) const
{
    return POINT{ pt.x - m_grab.x, pt.y - m_grab.y };
}

RECT CDockContext::FeedbackRect(POINT pt) const
{
    DWORD side = SideAt(pt);
    RECT area = m_pFrame->GetDockingArea();
    CSize thick = m_pBar->CalcFixedLayout(side);
    switch (side) {
    case CBRS_ALIGN_TOP: return RECT{ area.left, area.top, area.right, area.top + thick.cy };
    case CBRS_ALIGN_BOTTOM: return RECT{ area.left, area.bottom - thick.cy, area.right, area.bottom };
    case CBRS_ALIGN_LEFT: return RECT{ area.left, area.top, area.left + thick.cx, area.bottom };
    case CBRS_ALIGN_RIGHT: return RECT{ area.right - thick.cx, area.top, area.right, area.bottom };
    default: break;
    }
    // Floating: the window as it stands, or a row of the bar's length.
    SIZE size{ 0, 0 };
    if (m_pBar->IsFloating() && m_pBar->GetDockingFrame()) {
        RECT w;
        m_pBar->GetDockingFrame()->GetWindowRect(&w);
        size = SIZE{ w.right - w.left, w.bottom - w.top };
    } else {
        RECT w;
        m_pBar->GetWindowRect(&w);
        LONG length = m_pBar->IsHorz() ? w.right - w.left : w.bottom - w.top;
        size = CMiniDockFrameWnd::WindowSize(SIZE{ length / 3, thick.cx + thick.cy });
    }
    POINT o = FloatOrigin(pt);
    return RECT{ o.x, o.y, o.x + size.cx, o.y + size.cy };
}

void CDockContext::DrawFeedback(const RECT& r)
{
    // An inverted frame on the screen: drawn twice, it is gone.
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(GRAY_BRUSH));
    const int w = r.right - r.left, h = r.bottom - r.top, t = kFeedbackWidth;
    ::PatBlt(dc, r.left, r.top, w, t, PATINVERT);
    ::PatBlt(dc, r.left, r.bottom - t, w, t, PATINVERT);
    ::PatBlt(dc, r.left, r.top + t, t, h - 2 * t, PATINVERT);
    ::PatBlt(dc, r.right - t, r.top + t, t, h - 2 * t, PATINVERT);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
}

void CDockContext::Track(HWND handle, POINT start)
{
    // The pointer keeps its place in the floating window's caption.
    if (m_pBar->IsFloating() && m_pBar->GetDockingFrame()) {
        RECT w;
        m_pBar->GetDockingFrame()->GetWindowRect(&w);
        m_grab = POINT{ start.x - w.left, start.y - w.top };
    } else {
        m_grab = POINT{ ::GetSystemMetrics(SM_CXSMSIZE), ::GetSystemMetrics(SM_CYSMCAPTION) / 2 };
    }
    ::SetCapture(handle);
    const int dragX = ::GetSystemMetrics(SM_CXDRAG), dragY = ::GetSystemMetrics(SM_CYDRAG);
    bool dragging = false, drop = false, shown = false;
    RECT feedback{};
    POINT pt = start;
    MSG msg;
    for (bool done = false; !done && ::GetCapture() == handle;) {
        if (!::GetMessageA(&msg, nullptr, 0, 0)) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));   // for the main loop
            break;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: {
            POINT p{ xOf(msg.lParam), yOf(msg.lParam) };
            ::ClientToScreen(msg.hwnd, &p);
            pt = p;
            if (!dragging && (std::abs(p.x - start.x) > dragX || std::abs(p.y - start.y) > dragY)) dragging = true;
            if (dragging) {
                RECT next = FeedbackRect(pt);
                if (!shown || !::EqualRect(&next, &feedback)) {
                    if (shown) DrawFeedback(feedback);
                    feedback = next;
                    DrawFeedback(feedback);
                    shown = true;
                }
            }
            if (msg.message == WM_LBUTTONUP) { drop = dragging; done = true; }
            break;
        }
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE) done = true;
            break;
        case WM_RBUTTONDOWN:
            done = true;
            break;
        default:
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            break;
        }
    }
    if (shown) DrawFeedback(feedback);
    if (::GetCapture() == handle) ::ReleaseCapture();
    if (!drop) return;
    if (DWORD side = SideAt(pt))
        m_pFrame->DockControlBar(m_pBar, side);
    else
        m_pFrame->FloatControlBar(m_pBar, FloatOrigin(pt));
}
