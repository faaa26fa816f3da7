#include "framework/bars.h"
#include "framework/app.h"
#include "framework/frame.h"
#include <commctrl.h>

namespace {
// The resource that lists a toolbar's buttons (type 241): version, image
// width and height, count, then one command id per item (0: separator).
constexpr WORD RT_TOOLBAR_TYPE = 241;
constexpr int TOOLBAR_BORDER = 2;
constexpr int PANE_PADDING = 10;   // room for the pane's borders around its text

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

int CToolBar::CalcHeight() const
{
    if (!m_hWnd || !IsWindowVisible()) return 0;
    return HIWORD(SendMessage(TB_GETBUTTONSIZE)) + 2 * TOOLBAR_BORDER;
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

int CStatusBar::CalcHeight() const
{
    if (!m_hWnd || !IsWindowVisible()) return 0;
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    TEXTMETRICA tm{};
    ::GetTextMetricsA(dc, &tm);
    if (old) ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return tm.tmHeight + 8;
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
