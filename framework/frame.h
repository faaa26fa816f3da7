// CFrameWnd: the main window, holding the menu, control bars and the view.
#pragma once
#include "framework/wnd.h"
#include "framework/bars.h"
#include <vector>

class CView;
class CDocument;
struct CCreateContext;

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the frame from resource id: menu, accelerators, icon and the
    // title (first field of the string of that id).
    virtual BOOL LoadFrame(UINT idResource, DWORD style, CWnd* parent, CCreateContext* context);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCmdMsg(UINT id, UINT code, void* extra) override;
    // A command's boxes have its help (F1 in them).
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void PostNcDestroy() override;
    virtual BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);
    CView* CreateView(CCreateContext* context, UINT id = 0xE900);
    virtual void RecalcLayout();
    void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    CView* GetActiveView() const { return m_pViewActive; }
    CDocument* GetActiveDocument() const;

    // Docking: bars that stay put (the status bar) take the outer edges; a
    // movable bar docks on any side both it and the frame allow, or floats.
    void EnableDocking(DWORD dockStyle) { m_dwDockStyle = dockStyle & CBRS_ALIGN_ANY; }
    DWORD GetDockStyle() const { return m_dwDockStyle; }
    // Docks bar on side (a CBRS_ALIGN_ bit; 0: the first side allowed, top first).
    void DockControlBar(CControlBar* bar, DWORD side = 0);
    // Floats bar in its own small window, whose top-left corner goes to topLeft (screen).
    void FloatControlBar(CControlBar* bar, POINT topLeft);
    // Shows or hides bar wherever it stands.
    void ShowControlBar(CControlBar* bar, BOOL show);
    // The part of the client area that movable bars dock around, in screen coordinates.
    RECT GetDockingArea() const;
    CControlBar* GetControlBar(UINT id) const;
    // Bars register themselves with their frame when they are created.
    void AddControlBar(CControlBar* bar) { m_bars.push_back(bar); }

    // The text of the message pane (pane 0 of the status bar).
    void SetMessageText(const char* text);
    void SetMessageText(UINT idString);
    // A text of the program's own, kept until the pane shows a prompt again.
    void ShowMessageText(const char* text) { SetMessageText(text); m_nIDLastMessage = m_nIDTracking; }
    CStatusBar* GetMessageBar() const;
    // The state of every bar's items, refreshed in idle time.
    void OnIdleUpdateCmdUI();

    // Handlers.
    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnClose();
    BOOL OnQueryEndSession();
    LRESULT OnEndSession(WPARAM ending, LPARAM);
    void OnSize(UINT type, int cx, int cy);
    void OnMenuSelect(UINT itemId, UINT flags, HMENU menu);
    void OnInitMenuPopup(HMENU popup, UINT index, BOOL sysMenu);
    void OnDropFiles(HDROP drop);
    LRESULT OnEnable(WPARAM enable, LPARAM);
    LRESULT OnNcActivate(WPARAM active, LPARAM);
    // Whether the user works in this frame or in one of its floating bars.
    BOOL IsFrameOrBarActive() const;
    void OnBarCheck(UINT id);
    void OnUpdateControlBarMenu(CCmdUI* cmdUI);
    void OnUpdateKeyIndicator(CCmdUI* cmdUI);
    void OnHelpFinder();
    void OnHelp();
    void OnContextHelp();
    BOOL IsInHelpMode() const { return m_bHelpMode; }

    // What the help shows; a program puts its own help here. By default
    // each shows the short help text.
    virtual void ShowHelpContents();                  // help topics
    virtual void ShowHelpDefault();                   // F1 outside a menu
    virtual void ShowHelpForCommand(UINT id);         // F1 on a menu item; a command chosen in help mode
    virtual void ShowHelpForPoint(HWND hit, POINT screen);   // a click in help mode

    DECLARE_MESSAGE_MAP()

protected:
    HACCEL m_hAccelTable = nullptr;
    HMENU m_hMenuDefault = nullptr;
    CString m_strTitle;
    CView* m_pViewActive = nullptr;
    DWORD m_dwDockStyle = 0;
    std::vector<CControlBar*> m_bars;
    RECT m_rcDockArea{};        // client coordinates, from the last layout
    UINT m_nIDTracking;         // the string shown in the message pane
    UINT m_nIDLastMessage = 0;  // what the pane shows now
    BOOL m_bMenuTracking = FALSE;
    BOOL m_bHelpMode = FALSE;

    void RepaintAfterDockChange();
    void ShowHelpText();
    void EndHelpMode();
    // In help mode: a click on one of this frame's windows is answered with
    // help instead of its action.
    BOOL PreTranslateHelpMode(MSG* msg);
    BOOL OwnsWindow(HWND h) const;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
