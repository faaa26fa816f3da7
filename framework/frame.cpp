#include "framework/frame.h"
#include "framework/preview.h"
#include "framework/app.h"
#include "framework/doc.h"
#include "framework/doctempl.h"
#include "framework/view.h"
#include "framework/ids.h"
#include "framework/dock.h"
#include "framework/dialog.h"
#include <commctrl.h>
#include <shellapi.h>

namespace {
// The part of a command string before its newline: the status-bar prompt.
CString promptOf(UINT id)
{
    CString s;
    if (id == 0 || !s.LoadString(id)) return CString();
    int nl = s.Find('\n');
    return nl < 0 ? s : s.Left(nl);
}

// The part after the newline: the tooltip.
CString tooltipOf(UINT id)
{
    CString s;
    if (!s.LoadString(id)) return CString();
    int nl = s.Find('\n');
    return nl < 0 ? CString() : s.Mid(nl + 1);
}
} // namespace

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_MENUSELECT()
    ON_WM_INITMENUPOPUP()
    ON_WM_DROPFILES()
    ON_WM_QUERYENDSESSION()
    ON_MESSAGE(WM_ENDSESSION, OnEndSession)
    ON_MESSAGE(WM_ENABLE, OnEnable)
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivate)
    ON_COMMAND_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_UPDATE_COMMAND_UI_RANGE(ID_INDICATOR_CAPS, ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() : m_nIDTracking(AFX_IDS_IDLEMESSAGE) {}

CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    return CWnd::PreCreateWindow(cs);
}

BOOL CFrameWnd::LoadFrame(UINT idResource, DWORD style, CWnd* parent, CCreateContext* context)
{
    HINSTANCE inst = AfxGetResourceHandle();
    CString strings;
    strings.LoadString(idResource);
    int nl = strings.Find('\n');
    m_strTitle = nl < 0 ? strings : strings.Left(nl);
    m_hMenuDefault = ::LoadMenuA(inst, MAKEINTRESOURCEA(idResource));
    m_hAccelTable = ::LoadAcceleratorsA(inst, MAKEINTRESOURCEA(idResource));
    const char* cls = RegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                       ::LoadIconA(inst, MAKEINTRESOURCEA(idResource)));
    if (!CreateEx(0, cls, m_strTitle, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  parent ? parent->m_hWnd : nullptr, m_hMenuDefault, context)) {
        return FALSE;   // the window, if it existed, destroyed itself and this object
    }
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs)
{
    CDialogCentring::Install(m_hWnd);
    auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    if (!OnCreateClient(cs, context)) return -1;
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context)
{
    if (!context || !context->m_pNewViewClass) return TRUE;
    return CreateView(context) != nullptr;
}

CView* CFrameWnd::CreateView(CCreateContext* context, UINT id)
{
    auto* view = dynamic_cast<CView*>(context->m_pNewViewClass->CreateObject());
    if (!view) return nullptr;
    // A view whose creation fails deletes itself (PostNcDestroy).
    if (!view->CreateEx(WS_EX_CLIENTEDGE, nullptr, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), context))
        return nullptr;
    m_pViewActive = view;
    return view;
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL)
{
    if (m_pViewActive) {
        m_pViewActive->OnInitialUpdate();
        ::SetFocus(m_pViewActive->m_hWnd);
    }
    (void)doc;
    RecalcLayout();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    CDocument* doc = GetActiveDocument();
    if (addToTitle && doc)
        SetWindowTextWide(doc->GetTitle() + L" - " + CPathName::FromAnsi(m_strTitle));
    else
        SetWindowText(m_strTitle);
}

// ---------------------------------------------------------------- layout and bars

void CFrameWnd::DockControlBar(CControlBar* bar, DWORD side)
{
    static const DWORD sides[] = { CBRS_ALIGN_TOP, CBRS_ALIGN_BOTTOM, CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT };
    if (!side) {
        for (DWORD s : sides)
            if (bar->m_dwDockStyle & m_dwDockStyle & s) { side = s; break; }
    }
    if (!(bar->m_dwDockStyle & m_dwDockStyle & side)) return;
    bar->SetDockSide(side);
    RecalcLayout();
    RepaintAfterDockChange();
}

void CFrameWnd::RepaintAfterDockChange()
{
    // The view's bits are moved with it, but what a bar uncovers and the
    // view's paint may not agree on the new place: all is painted afresh.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void CFrameWnd::FloatControlBar(CControlBar* bar, POINT topLeft)
{
    bar->SetDockSide(0, topLeft);
    RecalcLayout();
    RepaintAfterDockChange();
    // The new window must not make the program look inactive.
    BOOL active = IsFrameOrBarActive();
    SendMessage(WM_NCACTIVATE, active);
    if (bar->GetDockingFrame()) bar->GetDockingFrame()->SendMessage(WM_NCACTIVATE, active);
}

CControlBar* CFrameWnd::GetControlBar(UINT id) const
{
    for (CControlBar* bar : m_bars)
        if (bar->m_hWnd && static_cast<UINT>(::GetDlgCtrlID(bar->m_hWnd)) == id) return bar;
    return nullptr;
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show)
{
    bar->ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (bar->IsFloating() && bar->GetDockingFrame())
        bar->GetDockingFrame()->ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
    RecalcLayout();
}

RECT CFrameWnd::GetDockingArea() const
{
    RECT r = m_rcDockArea;
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void CFrameWnd::RecalcLayout()
{
    if (!m_hWnd) return;
    CRect r;
    GetClientRect(&r);
    auto place = [&r](CControlBar* bar) {
        const DWORD side = bar->GetDockSide();
        CSize size = bar->CalcDynamicLayout(side, bar->IsHorz() ? r.Width() : r.Height());
        switch (side) {
        case CBRS_ALIGN_BOTTOM:
            bar->MoveWindow(r.left, r.bottom - size.cy, r.Width(), size.cy);
            r.bottom -= size.cy;
            break;
        case CBRS_ALIGN_LEFT:
            bar->MoveWindow(r.left, r.top, size.cx, r.Height());
            r.left += size.cx;
            break;
        case CBRS_ALIGN_RIGHT:
            bar->MoveWindow(r.right - size.cx, r.top, size.cx, r.Height());
            r.right -= size.cx;
            break;
        default:
            bar->MoveWindow(r.left, r.top, r.Width(), size.cy);
            r.top += size.cy;
            break;
        }
        if (auto* status = dynamic_cast<CStatusBar*>(bar)) status->UpdateLayout();
    };
    // The bars that stay put first, at the outer edges; then the movable
    // ones: top and bottom across the whole width, left and right between.
    enum Pass { Fixed, Across, Along };
    for (Pass pass : { Fixed, Across, Along }) {
        for (CControlBar* bar : m_bars) {
            if (!bar->m_hWnd || !bar->IsVisible() || bar->IsFloating()) continue;
            Pass mine = !bar->m_dwDockStyle ? Fixed : bar->IsHorz() ? Across : Along;
            if (mine == pass) place(bar);
        }
        if (pass == Fixed) m_rcDockArea = r;
    }
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    if (m_pViewActive && m_pViewActive->m_hWnd)
        m_pViewActive->MoveWindow(r.left, r.top, r.Width(), r.Height());
}

void CFrameWnd::OnSize(UINT, int, int)
{
    RecalcLayout();
}

void CFrameWnd::OnBarCheck(UINT id)
{
    if (CControlBar* bar = GetControlBar(id)) ShowControlBar(bar, !bar->IsVisible());
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* cmdUI)
{
    CControlBar* bar = GetControlBar(cmdUI->m_nID);
    cmdUI->Enable(bar != nullptr);
    cmdUI->SetCheck(bar && bar->IsVisible() ? 1 : 0);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* cmdUI)
{
    int key = cmdUI->m_nID == ID_INDICATOR_CAPS ? VK_CAPITAL
            : cmdUI->m_nID == ID_INDICATOR_NUM  ? VK_NUMLOCK : VK_SCROLL;
    cmdUI->Enable((::GetKeyState(key) & 1) != 0);
}

CStatusBar* CFrameWnd::GetMessageBar() const
{
    return dynamic_cast<CStatusBar*>(GetControlBar(AFX_IDW_STATUS_BAR));
}

void CFrameWnd::SetMessageText(const char* text)
{
    if (CStatusBar* bar = GetMessageBar()) {
        if (bar->GetCount() > 0) bar->SetPaneText(0, text);
    }
}

void CFrameWnd::SetMessageText(UINT idString)
{
    m_nIDLastMessage = idString;
    SetMessageText(promptOf(idString));
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    for (CControlBar* bar : m_bars)
        if (bar->m_hWnd && bar->IsWindowVisible()) bar->OnUpdateCmdUI(this, TRUE);
    if (!m_bMenuTracking && !m_bHelpMode && m_nIDTracking != m_nIDLastMessage)
        SetMessageText(m_nIDTracking);
}

// ---------------------------------------------------------------- menus and prompts

void CFrameWnd::OnMenuSelect(UINT itemId, UINT flags, HMENU menu)
{
    if (flags == 0xFFFF && !menu) {          // the menu has closed
        m_bMenuTracking = FALSE;
        m_nIDTracking = m_bHelpMode ? AFX_IDS_HELPMODEMESSAGE : AFX_IDS_IDLEMESSAGE;
        SetMessageText(m_nIDTracking);
        return;
    }
    m_bMenuTracking = TRUE;
    UINT id = 0;
    if (flags & (MF_POPUP | MF_SEPARATOR)) id = 0;
    else if ((flags & MF_SYSMENU) && itemId >= 0xF000) id = AFX_IDS_SCFIRST + ((itemId - 0xF000) >> 4);
    else if (itemId >= ID_FILE_MRU_FILE1 && itemId <= ID_FILE_MRU_FILE16) id = ID_FILE_MRU_FILE1;
    else id = itemId;
    m_nIDTracking = id;
    SetMessageText(id);
}

void CFrameWnd::OnInitMenuPopup(HMENU popup, UINT, BOOL sysMenu)
{
    if (sysMenu) return;
    CWinApp* app = AfxGetApp();
    int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(popup, i);
        if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16) {
            if (app && app->m_pRecentFileList) app->m_pRecentFileList->UpdateMenu(popup);
            break;
        }
    }
    count = ::GetMenuItemCount(popup);
    CCmdUI state;
    state.m_hMenu = popup;
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;   // separators and submenus
        // An empty recent-file list keeps its greyed placeholder.
        if (id == ID_FILE_MRU_FILE1 && app && app->m_pRecentFileList && app->m_pRecentFileList->GetCount() == 0)
            continue;
        state.m_nID = id;
        state.m_nIndex = static_cast<UINT>(i);
        state.DoUpdate(this, TRUE);
    }
}

BOOL CFrameWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (hdr->code == TTN_GETDISPINFOA || hdr->code == TTN_GETDISPINFOW) {
        auto* tt = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        if (tt->uFlags & TTF_IDISHWND) return FALSE;
        CString tip = tooltipOf(static_cast<UINT>(hdr->idFrom));
        if (hdr->code == TTN_GETDISPINFOA) {
            lstrcpynA(tt->szText, tip, sizeof(tt->szText));
            tt->lpszText = tt->szText;
        } else {
            auto* ttw = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            ::MultiByteToWideChar(CP_ACP, 0, tip, -1, ttw->szText, sizeof(ttw->szText) / sizeof(WCHAR));
            ttw->lpszText = ttw->szText;
        }
        *result = 0;
        return TRUE;
    }
    if (hdr->code == TBN_HOTITEMCHANGE) {
        // Fly-by prompts: the pointer resting on a button shows its prompt.
        auto* hot = reinterpret_cast<NMTBHOTITEM*>(lParam);
        m_nIDTracking = (hot->dwFlags & HICF_LEAVING) ? AFX_IDS_IDLEMESSAGE : static_cast<UINT>(hot->idNew);
        if (!m_bHelpMode) SetMessageText(m_nIDTracking);
        *result = 0;
        return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------- commands and routing

BOOL CFrameWnd::OnCmdMsg(UINT id, UINT code, void* extra)
{
    // The view (and through it the document) first, then the frame, then the application.
    if (m_pViewActive && m_pViewActive->OnCmdMsg(id, code, extra)) return TRUE;
    if (CWnd::OnCmdMsg(id, code, extra)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code, extra);
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    CBoxHelp help(LOWORD(wParam));
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (m_bHelpMode && PreTranslateHelpMode(msg)) return TRUE;
    if (CPreviewWnd::PreTranslate(msg)) return TRUE;
    // The keys of the frame's windows only: another top-level window of the
    // program (the help) keeps its own keys.
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hAccelTable && ::IsWindowEnabled(m_hWnd)
        && OwnsWindow(msg->hwnd))
        return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg) != 0;
    return FALSE;
}

void CFrameWnd::OnDropFiles(HDROP drop)
{
    std::wstring path;
    if (::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        path.resize(::DragQueryFileW(drop, 0, nullptr, 0) + 1);
        path.resize(::DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
    }
    bool got = !path.empty();
    ::DragFinish(drop);
    ::SetForegroundWindow(m_hWnd);
    if (got && AfxGetApp()) AfxGetApp()->OpenDocumentFile(path);
}

LRESULT CFrameWnd::OnEnable(WPARAM enable, LPARAM)
{
    // A modal box disables the frame: its floating bars must not take clicks either.
    for (CControlBar* bar : m_bars)
        if (bar->GetDockingFrame() && bar->GetDockingFrame()->m_hWnd)
            ::EnableWindow(bar->GetDockingFrame()->m_hWnd, enable != 0);
    return 0;
}

BOOL CFrameWnd::IsFrameOrBarActive() const
{
    HWND active = ::GetForegroundWindow();
    if (active == m_hWnd) return TRUE;
    for (CControlBar* bar : m_bars)
        if (bar->GetDockingFrame() && bar->GetDockingFrame()->m_hWnd == active) return TRUE;
    return FALSE;
}

LRESULT CFrameWnd::OnNcActivate(WPARAM active, LPARAM lParam)
{
    // Working in a floating bar is working in the frame: its caption stays active.
    if (!active && IsFrameOrBarActive()) active = TRUE;
    return DefWindowProc(WM_NCACTIVATE, active, lParam);
}

BOOL CFrameWnd::OnQueryEndSession()
{
    // Windows is shutting down: the same save prompt as closing the window.
    CDocument* doc = GetActiveDocument();
    return !doc || doc->SaveModified();
}

LRESULT CFrameWnd::OnEndSession(WPARAM ending, LPARAM)
{
    // No WM_DESTROY follows when the session ends: keep the recent files now.
    if (ending && AfxGetApp()) AfxGetApp()->ExitInstance();
    return 0;
}

void CFrameWnd::OnClose()
{
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->CanCloseFrame()) return;
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    CDialogCentring::Remove(m_hWnd);
    Default();
}

void CFrameWnd::PostNcDestroy()
{
    CWinApp* app = AfxGetApp();
    // The run ends after the children are destroyed too: a box shown by the
    // view while it is destroyed must not meet a quit message already posted.
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    if (app)
        if (auto* sdi = dynamic_cast<CSingleDocTemplate*>(app->GetDocTemplate()))
            if (sdi->GetFrame() == this) sdi->OnFrameDestroyed();
    delete this;
}

// ---------------------------------------------------------------- help

namespace {
// Posted by F1 in a menu: the help opens once the menu has closed.
constexpr UINT kHelpOnCommandMessage = WM_APP + 0x3F0;

bool isButtonDown(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

bool isNonClient(UINT message)
{
    return message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK;
}

// While a menu of a frame is open, F1 is caught here: not every system
// tells the frame (WM_HELP) when F1 is pressed in a menu.
HHOOK g_menuHook = nullptr;
HWND g_menuFrame = nullptr;

LRESULT CALLBACK menuKeyFilter(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_MENU && msg->message == WM_KEYDOWN && msg->wParam == VK_F1 && g_menuFrame) {
        ::PostMessageA(g_menuFrame, WM_HELP, 0, 0);   // no HELPINFO: the item highlighted now
        return TRUE;
    }
    return ::CallNextHookEx(g_menuHook, code, wParam, lParam);
}
} // namespace

void CFrameWnd::ShowHelpText()
{
    CString text, title;
    text.LoadString(FW_IDS_HELP_TEXT);
    title.LoadString(FW_IDS_HELP_TITLE);
    ::MessageBoxA(m_hWnd, text, title, MB_OK | MB_ICONINFORMATION);
}

void CFrameWnd::ShowHelpContents() { ShowHelpText(); }
void CFrameWnd::ShowHelpDefault() { ShowHelpText(); }
void CFrameWnd::ShowHelpForCommand(UINT) { ShowHelpText(); }
void CFrameWnd::ShowHelpForPoint(HWND, POINT) { ShowHelpText(); }

void CFrameWnd::OnHelpFinder() { ShowHelpContents(); }
void CFrameWnd::OnHelp() { ShowHelpDefault(); }

void CFrameWnd::OnContextHelp()
{
    // Help mode: the next click on this window asks for help on what it hits.
    if (m_bHelpMode) return;
    m_bHelpMode = TRUE;
    m_nIDTracking = AFX_IDS_HELPMODEMESSAGE;
    SetMessageText(AFX_IDS_HELPMODEMESSAGE);
    ::SetCursor(::LoadCursor(nullptr, IDC_HELP));
}

void CFrameWnd::EndHelpMode()
{
    if (!m_bHelpMode) return;
    m_bHelpMode = FALSE;
    m_nIDTracking = AFX_IDS_IDLEMESSAGE;
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
}

BOOL CFrameWnd::OwnsWindow(HWND h) const
{
    return h && (h == m_hWnd || ::IsChild(m_hWnd, h) || ::GetAncestor(h, GA_ROOTOWNER) == m_hWnd);
}

BOOL CFrameWnd::PreTranslateHelpMode(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        EndHelpMode();
        return TRUE;
    }
    if (!OwnsWindow(msg->hwnd)) return FALSE;
    if (msg->message == WM_MOUSEMOVE) ::SetCursor(::LoadCursor(nullptr, IDC_HELP));
    if (!isButtonDown(msg->message)) return FALSE;
    // The frame's caption, borders and menu bar keep working: a command
    // chosen from the menu gets its help instead of running (WindowProc).
    if (msg->hwnd == m_hWnd && isNonClient(msg->message)) return FALSE;
    POINT p{static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
    if (!isNonClient(msg->message)) ::ClientToScreen(msg->hwnd, &p);
    EndHelpMode();
    ShowHelpForPoint(msg->hwnd, p);
    return TRUE;
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENTERMENULOOP && !g_menuHook) {
        g_menuFrame = m_hWnd;
        g_menuHook = ::SetWindowsHookExA(WH_MSGFILTER, menuKeyFilter, nullptr, ::GetCurrentThreadId());
    }
    if (message == WM_EXITMENULOOP && g_menuHook && g_menuFrame == m_hWnd) {
        ::UnhookWindowsHookEx(g_menuHook);
        g_menuHook = nullptr;
        g_menuFrame = nullptr;
    }
    if (message == WM_HELP) {
        auto* info = reinterpret_cast<HELPINFO*>(lParam);
        if (!info || info->iContextType == HELPINFO_MENUITEM) {
            // The item highlighted now, the one whose prompt the bar shows.
            UINT id = m_bMenuTracking || !info ? m_nIDTracking : static_cast<UINT>(info->iCtrlId);
            EndHelpMode();
            ::EndMenu();
            PostMessage(kHelpOnCommandMessage, id);
        }
        // Elsewhere F1 and Shift+F1 are the accelerators' (help and help
        // mode): the key's WM_HELP must not open the help a second time.
        return TRUE;
    }
    if (message == kHelpOnCommandMessage) {
        ShowHelpForCommand(static_cast<UINT>(wParam));
        return 0;
    }
    if (m_bHelpMode) {
        switch (message) {
        case WM_SETCURSOR:
        case WM_MOUSEMOVE:
            ::SetCursor(::LoadCursor(nullptr, IDC_HELP));
            return TRUE;
        case WM_COMMAND:
            if (lParam == 0) {   // a menu item or a key: its help, not its action
                EndHelpMode();
                ShowHelpForCommand(LOWORD(wParam));
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN: {   // a click on the frame itself, between its bars
            POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ::ClientToScreen(m_hWnd, &p);
            EndHelpMode();
            ShowHelpForPoint(m_hWnd, p);
            return 0;
        }
        default:
            break;
        }
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
