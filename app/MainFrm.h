// The main window: menu, toolbar, status bar with live date and time panes.
#pragma once
#include "framework/framework.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    int m_nDatePane = 0;
    int m_nTimePane = 0;
    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    UINT m_nSavedPaneId = 0;
    UINT m_nSavedPaneStyle = 0;
    int m_nSavedPaneWidth = -1;
    BOOL m_bMenuActive = FALSE;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Appends the date and time ids to ids (room for two more after count),
    // starts the clock timer and installs the count + 2 indicators.
    BOOL AppendDateTimePanes(UINT* ids, int count);

    int OnCreate(LPCREATESTRUCT cs);
    void OnMenuSelect(UINT itemId, UINT flags, HMENU menu);
    void OnInitMenuPopup(HMENU popup, UINT index, BOOL sysMenu);
    void OnUpdateDate(CCmdUI* cmdUI);
    void OnUpdateTime(CCmdUI* cmdUI);
    void OnDestroy();
    void OnMeasures();

    // The help window, on the topic of what is asked about.
    void ShowHelpContents() override;
    void ShowHelpDefault() override;
    void ShowHelpForCommand(UINT id) override;
    void ShowHelpForPoint(HWND hit, POINT screen) override;

    DECLARE_MESSAGE_MAP()

private:
    // Shows the current time in pane, formatted, with the pane as wide as the text.
    void UpdateClockPane(CCmdUI* cmdUI, int pane, const char* format);
};
