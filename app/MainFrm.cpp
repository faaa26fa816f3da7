#include "app/MainFrm.h"
#include "help/HelpContext.h"
#include "help/HelpWindow.h"
#include "app/MeasureWindow.h"
#include "acquisition/OndavView.h"
#include "document/Splash.h"
#include "resource.h"
#include <vector>

IMPLEMENT_DYNCREATE(CMainFrame)

// The status-bar timer only makes the idle-time update run once a second.
constexpr UINT_PTR kClockTimer = 4096;
constexpr UINT kClockPeriod = 1000;
constexpr UINT kPromptPaneStyle = SBPS_STRETCH | SBPS_NOBORDERS;
constexpr int kPromptPaneWidth = 16384;   // pushes the other panes out of sight

static const UINT indicators[] = {
    ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL,
};

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_MENUSELECT()
    ON_WM_INITMENUPOPUP()
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_DATE, OnUpdateDate)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_TIME, OnUpdateTime)
    ON_COMMAND(ID_HELP_FINDER, CFrameWnd::OnHelpFinder)
    ON_COMMAND(ID_DEFAULT_HELP, CFrameWnd::OnHelpFinder)
    ON_COMMAND(ID_HELP, CFrameWnd::OnHelp)
    ON_COMMAND(ID_CONTEXT_HELP, CFrameWnd::OnContextHelp)
    ON_COMMAND(ID_AFFICHAGE_MESURES, OnMeasures)
END_MESSAGE_MAP()

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.x = 0;
    cs.y = 0;
    cs.cx = 800;
    cs.cy = 572;
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CFrameWnd::OnCreate(cs) == -1) return -1;

    if (!m_wndToolBar.CreateEx(this, 0x800, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;

    if (!m_wndStatusBar.Create(this, 0x50008200, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(indicators, 4))
        return -1;

    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);

    std::vector<UINT> ids(indicators, indicators + 4);
    ids.resize(6);
    if (!AppendDateTimePanes(ids.data(), 4)) return -1;

    CSplashScreen::ShowSplash(this);
    return 0;
}

BOOL CMainFrame::AppendDateTimePanes(UINT* ids, int count)
{
    ids[count] = ID_INDICATOR_DATE;
    ids[count + 1] = ID_INDICATOR_TIME;
    m_nDatePane = count;
    m_nTimePane = count + 1;
    m_wndStatusBar.SetTimer(kClockTimer, kClockPeriod);
    return m_wndStatusBar.SetIndicators(ids, count + 2);
}

void CMainFrame::UpdateClockPane(CCmdUI* cmdUI, int pane, const char* format)
{
    CString text = CTime::GetCurrentTime().Format(format);

    HFONT font = reinterpret_cast<HFONT>(m_wndStatusBar.SendMessage(WM_GETFONT, 0, 0));
    CClientDC dc(nullptr);
    HGDIOBJ old = font ? dc.SelectObject(font) : nullptr;
    CSize extent = dc.GetTextExtent(text);
    if (old) dc.SelectObject(old);

    UINT id, style;
    int width;
    m_wndStatusBar.GetPaneInfo(pane, id, style, width);
    m_wndStatusBar.SetPaneInfo(pane, id, style, extent.cx);
    cmdUI->SetText(text);
    cmdUI->Enable();
}

void CMainFrame::OnUpdateDate(CCmdUI* cmdUI) { UpdateClockPane(cmdUI, m_nDatePane, "%x"); }
void CMainFrame::OnUpdateTime(CCmdUI* cmdUI) { UpdateClockPane(cmdUI, m_nTimePane, "%X"); }

void CMainFrame::OnMenuSelect(UINT itemId, UINT flags, HMENU menu)
{
    CFrameWnd::OnMenuSelect(itemId, flags, menu);
    if (flags == 0xFFFF && !menu && m_nSavedPaneWidth != -1) {
        // The menu has closed: the panes come back as they were.
        m_bMenuActive = FALSE;
        m_wndStatusBar.SetPaneInfo(0, m_nSavedPaneId, m_nSavedPaneStyle, m_nSavedPaneWidth);
        m_nSavedPaneWidth = -1;
        return;
    }
    m_bMenuActive = TRUE;
}

void CMainFrame::OnInitMenuPopup(HMENU popup, UINT index, BOOL sysMenu)
{
    CFrameWnd::OnInitMenuPopup(popup, index, sysMenu);
    if (m_nSavedPaneWidth == -1 && m_bMenuActive) {
        // Long prompts get the whole bar while the menu is open.
        m_wndStatusBar.GetPaneInfo(0, m_nSavedPaneId, m_nSavedPaneStyle, m_nSavedPaneWidth);
        m_wndStatusBar.SetPaneInfo(0, m_nSavedPaneId, kPromptPaneStyle, kPromptPaneWidth);
    }
}

void CMainFrame::OnMeasures()
{
    auto* view = dynamic_cast<COndavView*>(GetActiveView());
    CMeasureWindow::Open(m_hWnd, view ? view->GetDocument() : nullptr);
}

// ---------------------------------------------------------------- help

void CMainFrame::OnDestroy()
{
    CHelpWindow::Close();   // the help and the measures go with the program
    CMeasureWindow::Close();
    CFrameWnd::OnDestroy();
}

void CMainFrame::ShowHelpContents()
{
    CHelpWindow::Open(helpcontext::kContents, m_hWnd);
}

void CMainFrame::ShowHelpDefault()
{
    auto* view = dynamic_cast<COndavView*>(GetActiveView());
    CHelpWindow::Open(helpcontext::ForDisplay(view ? view->m_nDisplayMode : kModeScope), m_hWnd);
}

void CMainFrame::ShowHelpForCommand(UINT id)
{
    CHelpWindow::Open(helpcontext::ForCommand(id), m_hWnd);
}

void CMainFrame::ShowHelpForPoint(HWND hit, POINT screen)
{
    auto belongs = [hit](HWND bar) { return bar && (hit == bar || ::IsChild(bar, hit)); };
    std::string key;
    if (belongs(m_wndToolBar.m_hWnd)) {
        POINT p = screen;
        ::ScreenToClient(m_wndToolBar.m_hWnd, &p);
        auto index = m_wndToolBar.SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&p));
        key = index >= 0 && index < m_wndToolBar.GetCount() && m_wndToolBar.GetItemID(static_cast<int>(index))
                  ? helpcontext::ForCommand(m_wndToolBar.GetItemID(static_cast<int>(index)))
                  : helpcontext::kToolBar;
    } else if (belongs(m_wndStatusBar.m_hWnd)) {
        key = helpcontext::kStatusBar;
    } else if (auto* view = dynamic_cast<COndavView*>(GetActiveView()); view && belongs(view->m_hWnd)) {
        POINT p = screen;
        ::ScreenToClient(view->m_hWnd, &p);
        key = helpcontext::ForViewPoint(view->m_nDisplayMode, p);
    } else {
        auto* active = dynamic_cast<COndavView*>(GetActiveView());
        key = helpcontext::ForDisplay(active ? active->m_nDisplayMode : kModeScope);
    }
    CHelpWindow::Open(key, m_hWnd);
}
