#include "framework/bars.h"
#include "framework/app.h"
#include "framework/frame.h"
#include "framework/dock.h"
#include "framework/ids.h"
#include <commctrl.h>

namespace {
// The resource that lists a toolbar's buttons (type 241): version, image
// width and height, count, then one command id per item (0: separator).
constexpr WORD RT_TOOLBAR_TYPE = 241;
constexpr int TOOLBAR_BORDER = 2;
constexpr int PANE_PADDING = 10;   // room for the pane's borders around its text
constexpr int GRIPPER_WIDTH = 8;   // the handle a movable bar is dragged by
constexpr int EDGE_WIDTH = 2;      // the etched line between a docked bar and the view
constexpr int FLOAT_ROW_BUTTONS = 10;   // a floating toolbar's rows are at most this wide
constexpr int SEPARATOR_WIDTH = 8;     // a separator within a row

// The border a docked bar draws on its side facing the view.
DWORD facingBorder(DWORD side)
{
    static const struct { DWORD side, border; } table[] = {
        { CBRS_ALIGN_TOP, CBRS_BORDER_BOTTOM }, { CBRS_ALIGN_BOTTOM, CBRS_BORDER_TOP },
        { CBRS_ALIGN_LEFT, CBRS_BORDER_RIGHT }, { CBRS_ALIGN_RIGHT, CBRS_BORDER_LEFT },
    };
    for (const auto& row : table)
        if (row.side == side) return row.border;
    return 0;
}

class CToolCmdUI : public CCmdUI {
public:
    HWND m_hBar = nullptr;
    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        BOOL now = (::SendMessageA(m_hBar, TB_GETSTATE, m_nID, 0) & TBSTATE_ENABLED) != 0;
        if (!now != !on) ::SendMessageA(m_hBar, TB_ENABLEBUTTON, m_nID, MAKELONG(on ? TRUE : FALSE, 0));
    }
    void SetCheck(int check) override
    {
        BOOL now = (::SendMessageA(m_hBar, TB_GETSTATE, m_nID, 0) & TBSTATE_CHECKED) != 0;
        if (!now != !check) ::SendMessageA(m_hBar, TB_CHECKBUTTON, m_nID, MAKELONG(check ? TRUE : FALSE, 0));
    }
    void SetText(const char*) override {}
};

class CStatusCmdUI : public CCmdUI {
public:
    CStatusBar* m_pBar = nullptr;
    void Enable(BOOL on) override
    {
        m_bEnableChanged = TRUE;
        int i = static_cast<int>(m_nIndex);
        UINT style = m_pBar->GetPaneStyle(i);
        UINT wanted = on ? (style & ~SBPS_DISABLED) : (style | SBPS_DISABLED);
        if (wanted != style) m_pBar->SetPaneStyle(i, wanted);
    }
    void SetCheck(int check) override
    {
        int i = static_cast<int>(m_nIndex);
        UINT style = m_pBar->GetPaneStyle(i);
        UINT wanted = check ? (style | SBPS_POPOUT) : (style & ~SBPS_POPOUT);
        if (wanted != style) m_pBar->SetPaneStyle(i, wanted);
    }
    void SetText(const char* text) override { m_pBar->SetPaneText(static_cast<int>(m_nIndex), text); }
};
} // namespace

// ---------------------------------------------------------------- control bar

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
    ON_MESSAGE(WM_NCPAINT, OnNcPaint)
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
    ON_MESSAGE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
END_MESSAGE_MAP()

CControlBar::~CControlBar()
{
    // The floating window goes with the bar; the bar's own window is destroyed
    // with it if it still stands inside.
    if (m_pFloatFrame && m_pFloatFrame->m_hWnd) {
        if (m_hWnd && ::GetParent(m_hWnd) == m_pFloatFrame->m_hWnd && m_pDockSite && m_pDockSite->m_hWnd)
            ::SetParent(m_hWnd, m_pDockSite->m_hWnd);
        m_pFloatFrame->DestroyWindow();
    }
}

BOOL CControlBar::IsVisible() const
{
    return m_hWnd && (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

RECT CControlBar::NonClientInsets() const
{
    RECT r{ 0, 0, 0, 0 };
    if (!m_dwDockStyle || IsFloating()) return r;   // floating: its window's caption is the handle
    const int grip = (m_dwStyle & CBRS_GRIPPER) ? GRIPPER_WIDTH : 0;
    if (IsHorz()) r.left = grip; else r.top = grip;
    if (m_dwStyle & CBRS_BORDER_LEFT) r.left += EDGE_WIDTH;
    if (m_dwStyle & CBRS_BORDER_TOP) r.top += EDGE_WIDTH;
    if (m_dwStyle & CBRS_BORDER_RIGHT) r.right += EDGE_WIDTH;
    if (m_dwStyle & CBRS_BORDER_BOTTOM) r.bottom += EDGE_WIDTH;
    return r;
}

RECT CControlBar::GripperRect() const
{
    RECT empty{ 0, 0, 0, 0 };
    if (!m_dwDockStyle || IsFloating() || !(m_dwStyle & CBRS_GRIPPER)) return empty;
    RECT w;
    GetWindowRect(&w);
    const int cx = w.right - w.left, cy = w.bottom - w.top;
    const int left = (m_dwStyle & CBRS_BORDER_LEFT) ? EDGE_WIDTH : 0;
    const int top = (m_dwStyle & CBRS_BORDER_TOP) ? EDGE_WIDTH : 0;
    const int right = cx - ((m_dwStyle & CBRS_BORDER_RIGHT) ? EDGE_WIDTH : 0);
    const int bottom = cy - ((m_dwStyle & CBRS_BORDER_BOTTOM) ? EDGE_WIDTH : 0);
    if (IsHorz()) return RECT{ left, top, left + GRIPPER_WIDTH, bottom };
    return RECT{ left, top, right, top + GRIPPER_WIDTH };
}

LRESULT CControlBar::OnNcCalcSize(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    auto* r = reinterpret_cast<RECT*>(lParam);   // the first rectangle in both forms
    RECT in = NonClientInsets();
    r->left += in.left;
    r->top += in.top;
    r->right -= in.right;
    r->bottom -= in.bottom;
    if (r->right < r->left) r->right = r->left;
    if (r->bottom < r->top) r->bottom = r->top;
    return result;
}

LRESULT CControlBar::OnNcPaint(WPARAM, LPARAM)
{
    Default();
    RECT in = NonClientInsets();
    if (!in.left && !in.top && !in.right && !in.bottom) return 0;
    RECT w;
    GetWindowRect(&w);
    RECT all{ 0, 0, w.right - w.left, w.bottom - w.top };
    HDC dc = ::GetWindowDC(m_hWnd);
    ::ExcludeClipRect(dc, in.left, in.top, all.right - in.right, all.bottom - in.bottom);
    ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
    static const struct { DWORD border; UINT flag; } edges[] = {
        { CBRS_BORDER_LEFT, BF_LEFT }, { CBRS_BORDER_TOP, BF_TOP },
        { CBRS_BORDER_RIGHT, BF_RIGHT }, { CBRS_BORDER_BOTTOM, BF_BOTTOM },
    };
    for (const auto& e : edges)
        if (m_dwStyle & e.border) ::DrawEdge(dc, &all, EDGE_ETCHED, e.flag);
    // The gripper: two raised ridges along the bar.
    RECT g = GripperRect();
    if (g.right > g.left) {
        for (int i = 0; i < 2; ++i) {
            RECT ridge = IsHorz() ? RECT{ g.left + 1 + 3 * i, g.top + 2, g.left + 4 + 3 * i, g.bottom - 2 }
                                  : RECT{ g.left + 2, g.top + 1 + 3 * i, g.right - 2, g.top + 4 + 3 * i };
            ::DrawEdge(dc, &ridge, BDR_RAISEDINNER, BF_RECT);
        }
    }
    ::ReleaseDC(m_hWnd, dc);
    return 0;
}

LRESULT CControlBar::OnNcHitTest(WPARAM, LPARAM lParam)
{
    RECT w, g = GripperRect();
    GetWindowRect(&w);
    POINT p{ xOf(lParam) - w.left, yOf(lParam) - w.top };
    if (::PtInRect(&g, p)) return HTCAPTION;
    return Default();
}

LRESULT CControlBar::OnNcLButtonDown(WPARAM hit, LPARAM lParam)
{
    if (hit != HTCAPTION || !m_pDockSite) return Default();
    CDockContext(this).Track(m_hWnd, POINT{ xOf(lParam), yOf(lParam) });
    return 0;
}

LRESULT CControlBar::OnNcLButtonDblClk(WPARAM hit, LPARAM)
{
    if (hit != HTCAPTION || !m_pDockSite || IsFloating()) return Default();
    // A double click on the gripper floats the bar where it stands.
    RECT w;
    GetWindowRect(&w);
    m_pDockSite->FloatControlBar(this, POINT{ w.left, w.top });
    return 0;
}

void CControlBar::SetDockSide(DWORD side, POINT topLeft)
{
    const bool wasFloating = IsFloating();
    m_dwStyle &= ~(CBRS_ALIGN_ANY | CBRS_BORDER_ANY);
    if (side) {
        m_dwLastSide = side;
        m_dwStyle |= side | facingBorder(side);
        if (wasFloating && m_pFloatFrame) {
            ::SetParent(m_hWnd, m_pDockSite->m_hWnd);
            m_pFloatFrame->ShowWindow(SW_HIDE);
        }
        OnOrientation(side);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    if (!m_pFloatFrame) {
        m_pFloatFrame = new CMiniDockFrameWnd(this);
        if (!m_pFloatFrame->Create(m_pDockSite->m_hWnd, GetWindowText())) {
            m_pFloatFrame = nullptr;   // it deleted itself
            SetDockSide(m_dwLastSide);
            return;
        }
    }
    OnOrientation(0);
    if (::GetParent(m_hWnd) != m_pFloatFrame->m_hWnd) ::SetParent(m_hWnd, m_pFloatFrame->m_hWnd);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CSize size = CalcFixedLayout(0);
    MoveWindow(0, 0, size.cx, size.cy);
    m_pFloatFrame->Place(topLeft, size, IsVisible());
}

// ---------------------------------------------------------------- toolbar

BOOL CToolBar::CreateEx(CFrameWnd* parent, DWORD ctrlStyle, DWORD style, const RECT&, UINT id)
{
    m_dwStyle = style & (CBRS_ALIGN_ANY | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC |
                         CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM);
    DWORD ws = (style & (WS_CHILD | WS_VISIBLE)) | WS_CHILD | WS_CLIPSIBLINGS | CCS_NOPARENTALIGN |
               CCS_NORESIZE | CCS_NODIVIDER | ctrlStyle | ((style & CBRS_TOOLTIPS) ? TBSTYLE_TOOLTIPS : 0);
    HWND h = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, ws, 0, 0, 0, 0, parent->m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AfxGetInstanceHandle(), nullptr);
    if (!h) return FALSE;
    SubclassWindow(h);
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    // Tips show on a floating bar too, whose window is never the active one.
    if (HWND tips = reinterpret_cast<HWND>(SendMessage(TB_GETTOOLTIPS)))
        ::SetWindowLongPtrA(tips, GWL_STYLE, ::GetWindowLongPtrA(tips, GWL_STYLE) | TTS_ALWAYSTIP);
    // The title its floating window shows.
    CString title;
    if (title.LoadString(FW_IDS_TOOLBAR_TITLE)) SetWindowText(title);
    m_pDockSite = parent;
    parent->AddControlBar(this);
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT resourceId)
{
    HINSTANCE inst = AfxGetResourceHandle();
    HRSRC res = ::FindResourceA(inst, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(RT_TOOLBAR_TYPE));
    HGLOBAL data = res ? ::LoadResource(inst, res) : nullptr;
    const WORD* words = data ? static_cast<const WORD*>(::LockResource(data)) : nullptr;
    if (!words || ::SizeofResource(inst, res) < 8 || words[0] != 1) return FALSE;
    WORD width = words[1], height = words[2], count = words[3];
    if (::SizeofResource(inst, res) < static_cast<DWORD>(8 + 2 * count)) return FALSE;

    std::vector<TBBUTTON> buttons;
    int images = 0;
    m_ids.clear();
    for (WORD i = 0; i < count; ++i) {
        UINT id = words[4 + i];
        m_ids.push_back(id);
        TBBUTTON b{};
        if (id == 0) {
            b.iBitmap = SEPARATOR_WIDTH;
            b.fsStyle = BTNS_SEP;
        } else {
            b.iBitmap = images++;
            b.idCommand = static_cast<int>(id);
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(b);
    }
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(width, height));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(width + 7, height + 7));
    TBADDBITMAP bitmap{ inst, resourceId };
    if (SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(images), reinterpret_cast<LPARAM>(&bitmap)) == -1)
        return FALSE;
    if (!SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())))
        return FALSE;
    return TRUE;
}

CSize CToolBar::ItemsExtent() const
{
    CSize extent(0, 0);
    for (int i = 0; i < GetCount(); ++i) {
        RECT r{};
        if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)) || r.right <= r.left)
            continue;   // hidden
        if (r.right > extent.cx) extent.cx = r.right;
        if (r.bottom > extent.cy) extent.cy = r.bottom;
    }
    return extent;
}

CSize CToolBar::CalcFixedLayout(DWORD side) const
{
    DWORD size = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
    RECT in = NonClientInsets();
    const int insetX = in.left + in.right, insetY = in.top + in.bottom;
    if (side == 0) {
        CSize items = ItemsExtent();
        return CSize(items.cx + 2 * TOOLBAR_BORDER, items.cy + 2 * TOOLBAR_BORDER);
    }
    // Docked in one row or column: the thickness across the side.
    if (side == CBRS_ALIGN_LEFT || side == CBRS_ALIGN_RIGHT)
        return CSize(LOWORD(size) + 2 * TOOLBAR_BORDER + insetX, 0);
    return CSize(0, HIWORD(size) + 2 * TOOLBAR_BORDER + insetY);
}

int CToolBar::ButtonWidth() const
{
    return LOWORD(SendMessage(TB_GETBUTTONSIZE));
}

CSize CToolBar::CalcDynamicLayout(DWORD side, int length)
{
    RECT in = NonClientInsets();
    const int insetX = in.left + in.right, insetY = in.top + in.bottom;
    if (side == CBRS_ALIGN_LEFT || side == CBRS_ALIGN_RIGHT) {
        CSize items = WrapToHeight(length - insetY - 2 * TOOLBAR_BORDER);
        return CSize(items.cx + 2 * TOOLBAR_BORDER + insetX, length);
    }
    if (side == CBRS_ALIGN_TOP || side == CBRS_ALIGN_BOTTOM) {
        CSize items = WrapToWidth(length - insetX - 2 * TOOLBAR_BORDER);
        return CSize(length, items.cy + 2 * TOOLBAR_BORDER + insetY);
    }
    return CalcFixedLayout(side);
}

CSize CToolBar::CalcFloatingLayout(SIZE wanted, BOOL byHeight)
{
    CSize items = byHeight ? WrapToHeight(wanted.cy - 2 * TOOLBAR_BORDER)
                           : WrapToWidth(wanted.cx - 2 * TOOLBAR_BORDER);
    return CSize(items.cx + 2 * TOOLBAR_BORDER, items.cy + 2 * TOOLBAR_BORDER);
}

CSize CToolBar::WrapToHeight(int height)
{
    const int buttons = GetCount();
    CSize items(0, 0);
    for (int columns = 1; columns <= buttons; ++columns) {
        items = WrapToWidth(columns * ButtonWidth());
        if (items.cy <= height) break;
    }
    return items;
}

CSize CToolBar::WrapToWidth(int width)
{
    const int buttonWidth = ButtonWidth();
    if (width < buttonWidth) width = buttonWidth;
    // The states first: a wrap decided at a button goes on the item before it.
    std::vector<BYTE> states(m_ids.size());
    int x = 0;
    for (size_t i = 0; i < m_ids.size(); ++i) {
        TBBUTTON b{};
        SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b));
        BYTE state = b.fsState & ~(TBSTATE_WRAP | TBSTATE_HIDDEN);
        if (m_ids[i] == 0) {
            int group = 0;
            for (size_t j = i + 1; j < m_ids.size() && m_ids[j] != 0; ++j) group += buttonWidth;
            if (x == 0) {
                state |= TBSTATE_HIDDEN;              // nothing to separate from yet
            } else if (x + SEPARATOR_WIDTH + group > width) {
                state |= TBSTATE_WRAP;                // drawn across, between two rows
                x = 0;
            } else {
                x += SEPARATOR_WIDTH;
            }
        } else {
            if (x > 0 && x + buttonWidth > width) {
                states[i - 1] |= TBSTATE_WRAP;
                x = 0;
            }
            x += buttonWidth;
        }
        states[i] = state;
    }
    bool changed = false;
    for (size_t i = 0; i < m_ids.size(); ++i) {
        TBBUTTONINFOA info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_BYINDEX | TBIF_STATE;
        SendMessage(TB_GETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info));
        if (info.fsState == states[i]) continue;
        info.fsState = states[i];
        SendMessage(TB_SETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info));
        changed = true;
    }
    if (changed) {
        SendMessage(TB_AUTOSIZE);
        Invalidate(TRUE);
    }
    return ItemsExtent();
}

void CToolBar::OnOrientation(DWORD side)
{
    // Docked, the frame's layout wraps the buttons to the side's length;
    // floating, rows of a few buttons broken between groups where they can be.
    if (side == 0) WrapToWidth(FLOAT_ROW_BUTTONS * ButtonWidth());
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CToolCmdUI state;
    state.m_hBar = m_hWnd;
    for (size_t i = 0; i < m_ids.size(); ++i) {
        if (m_ids[i] == 0) continue;
        state.m_nID = m_ids[i];
        state.m_nIndex = static_cast<UINT>(i);
        state.DoUpdate(target, disableIfNoHandler);
    }
}

// ---------------------------------------------------------------- status bar

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    m_dwStyle = style & (CBRS_ALIGN_ANY | CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM);
    DWORD ws = (style & (WS_CHILD | WS_VISIBLE)) | WS_CHILD | WS_CLIPSIBLINGS | CCS_NOPARENTALIGN |
               CCS_NORESIZE | CCS_NODIVIDER | SBARS_SIZEGRIP;
    HWND h = ::CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, ws, 0, 0, 0, 0, parent->m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AfxGetInstanceHandle(), nullptr);
    if (!h) return FALSE;
    SubclassWindow(h);
    if (auto* frame = dynamic_cast<CFrameWnd*>(parent)) {
        m_pDockSite = frame;
        frame->AddControlBar(this);
    }
    return TRUE;
}

int CStatusBar::TextWidth(const char* text) const
{
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    if (old) ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return size.cx;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    std::vector<Pane> panes;
    for (int i = 0; i < count; ++i) {
        Pane p{ ids[i], SBPS_NORMAL, 0, CString() };
        if (p.id == 0) {
            p.style = SBPS_NOBORDERS | SBPS_STRETCH;
        } else {
            if (!p.text.LoadString(p.id)) return FALSE;
            p.width = TextWidth(p.text);
        }
        panes.push_back(p);
    }
    m_panes = panes;
    UpdateLayout();
    return TRUE;
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const
{
    const Pane& p = m_panes[static_cast<size_t>(index)];
    id = p.id;
    style = p.style;
    width = p.width;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width)
{
    Pane& p = m_panes[static_cast<size_t>(index)];
    bool changed = p.id != id || p.style != style || p.width != width;
    p.id = id;
    p.style = style;
    p.width = width;
    if (changed) UpdateLayout();
}

void CStatusBar::SetPaneStyle(int index, UINT style)
{
    m_panes[static_cast<size_t>(index)].style = style;
    ShowPane(index);
}

BOOL CStatusBar::SetPaneText(int index, const char* text, BOOL update)
{
    if (index < 0 || index >= GetCount()) return FALSE;
    Pane& p = m_panes[static_cast<size_t>(index)];
    if (p.text == text) return TRUE;
    p.text = text;
    if (update) ShowPane(index);
    return TRUE;
}

void CStatusBar::ShowPane(int index)
{
    if (!m_hWnd) return;
    const Pane& p = m_panes[static_cast<size_t>(index)];
    WPARAM how = static_cast<WPARAM>(index);
    if (p.style & SBPS_NOBORDERS) how |= SBT_NOBORDERS;
    if (p.style & SBPS_POPOUT) how |= SBT_POPOUT;
    SendMessage(SB_SETTEXTA, how, reinterpret_cast<LPARAM>((p.style & SBPS_DISABLED) ? "" : p.text.c_str()));
}

void CStatusBar::UpdateLayout()
{
    if (!m_hWnd || m_panes.empty()) return;
    RECT client;
    GetClientRect(&client);
    int grip = ::GetSystemMetrics(SM_CXVSCROLL);
    int fixed = 0;
    for (const Pane& p : m_panes)
        if (!(p.style & SBPS_STRETCH)) fixed += p.width + PANE_PADDING;
    std::vector<int> edges;
    int x = 0;
    for (const Pane& p : m_panes) {
        int w = p.width + PANE_PADDING;
        if (p.style & SBPS_STRETCH) {
            int room = client.right - fixed - grip;
            if (room > w) w = room;
        }
        x += w;
        edges.push_back(x);
    }
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < GetCount(); ++i) ShowPane(i);
}

CSize CStatusBar::CalcFixedLayout(DWORD) const
{
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    TEXTMETRICA tm{};
    ::GetTextMetricsA(dc, &tm);
    if (old) ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return CSize(0, tm.tmHeight + 8);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    CStatusCmdUI state;
    state.m_pBar = this;
    for (int i = 0; i < GetCount(); ++i) {
        UINT id = m_panes[static_cast<size_t>(i)].id;
        if (id == 0) continue;
        state.m_nID = id;
        state.m_nIndex = static_cast<UINT>(i);
        state.DoUpdate(target, disableIfNoHandler);
    }
}
