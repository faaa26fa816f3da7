// Control bars of a frame: toolbar and status bar, over the common controls.
#pragma once
#include "framework/wnd.h"
#include <vector>

class CFrameWnd;

// Bar styles (the low word of a bar's style, beside the window style bits).
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_TOOLTIPS     = 0x0010;
constexpr DWORD CBRS_FLYBY        = 0x0020;
constexpr DWORD CBRS_BORDER_LEFT  = 0x0100;
constexpr DWORD CBRS_BORDER_TOP   = 0x0200;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_BORDER_ANY   = 0x0F00;
constexpr DWORD CBRS_ALIGN_LEFT   = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP    = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT  = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY    = 0xF000;
constexpr DWORD CBRS_GRIPPER      = 0x00400000;
constexpr DWORD CBRS_TOP          = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_BOTTOM       = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;

// Status pane styles.
constexpr UINT SBPS_NORMAL    = 0x0000;
constexpr UINT SBPS_NOBORDERS = 0x0100;
constexpr UINT SBPS_POPOUT    = 0x0200;
constexpr UINT SBPS_OWNERDRAW = 0x1000;
constexpr UINT SBPS_DISABLED  = 0x04000000;
constexpr UINT SBPS_STRETCH   = 0x08000000;

class CMiniDockFrameWnd;

class CControlBar : public CWnd {
public:
    DWORD m_dwStyle = 0;        // bar styles; the CBRS_ALIGN_ bit is the side it is docked on
    DWORD m_dwDockStyle = 0;    // sides it may dock on
    CFrameWnd* m_pDockSite = nullptr;

    ~CControlBar() override;
    void EnableDocking(DWORD dockStyle) { m_dwDockStyle = dockStyle & CBRS_ALIGN_ANY; }
    DWORD GetBarStyle() const { return m_dwStyle; }
    // The side the bar is docked on, or 0 while it floats.
    DWORD GetDockSide() const { return m_dwStyle & CBRS_ALIGN_ANY; }
    BOOL IsFloating() const { return GetDockSide() == 0; }
    BOOL IsHorz() const { return (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) == 0; }
    // Shown (wherever it stands), whether or not its frame is on screen yet.
    BOOL IsVisible() const;
    // The window that floats the bar, or nullptr while it has never floated.
    CMiniDockFrameWnd* GetDockingFrame() const { return m_pFloatFrame; }
    // The side it was last docked on: where a floating bar goes back to.
    DWORD GetLastDockSide() const { return m_dwLastSide; }

    // The size of the bar for a side (0: floating), borders and gripper included;
    // the length along a docked side is the frame's business.
    virtual CSize CalcFixedLayout(DWORD side) const = 0;
    // The size of the bar docked on side with length pixels along it; a bar
    // that can wrap its items does so to fit. By default the fixed size.
    virtual CSize CalcDynamicLayout(DWORD side, int length) { (void)length; return CalcFixedLayout(side); }
    // The floating bar's size nearest to a client area of wanted, the user
    // sizing its window by the height (byHeight) or by the width.
    virtual CSize CalcFloatingLayout(SIZE wanted, BOOL byHeight) { (void)wanted; (void)byHeight; return CalcFixedLayout(0); }
    // Refreshes the state of its items through the frame's command routing.
    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) = 0;

    // Moves the bar to a side of its frame's edge, or (side 0) into its own
    // small window at topLeft (screen); the frame does the layout after.
    void SetDockSide(DWORD side, POINT topLeft = POINT{ 0, 0 });

    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

protected:
    // The bar arranges its items for a side (0: floating).
    virtual void OnOrientation(DWORD) {}
    // The widths of the gripper and border strips around the client area.
    RECT NonClientInsets() const;

private:
    CMiniDockFrameWnd* m_pFloatFrame = nullptr;
    DWORD m_dwLastSide = CBRS_ALIGN_TOP;
    friend class CMiniDockFrameWnd;
    RECT GripperRect() const;   // in window coordinates
};

class CToolBar : public CControlBar {
public:
    BOOL CreateEx(CFrameWnd* parent, DWORD ctrlStyle, DWORD style, const RECT& borders, UINT id);
    // Loads the toolbar resource (type 241) and its bitmap of the same id.
    BOOL LoadToolBar(UINT resourceId);
    int GetCount() const { return static_cast<int>(m_ids.size()); }
    UINT GetItemID(int index) const { return m_ids[static_cast<size_t>(index)]; }
    CSize CalcFixedLayout(DWORD side) const override;
    CSize CalcDynamicLayout(DWORD side, int length) override;
    CSize CalcFloatingLayout(SIZE wanted, BOOL byHeight) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

protected:
    void OnOrientation(DWORD side) override;

private:
    std::vector<UINT> m_ids;   // 0 for separators
    // The size of the buttons as laid out now, wrapped rows included.
    CSize ItemsExtent() const;
    int ButtonWidth() const;
    // Lays the buttons out in rows at most width pixels wide, a group going
    // to the next row after its separator (then drawn across) when it does
    // not fit; returns the extent of the buttons.
    CSize WrapToWidth(int width);
    // The fewest columns whose rows fit in height; returns their extent.
    CSize WrapToHeight(int height);
};

class CStatusBar : public CControlBar {
public:
    BOOL Create(CWnd* parent, DWORD style, UINT id);
    // Installs the panes; each non-zero id needs a string resource, which
    // gives the pane its first text and width.
    BOOL SetIndicators(const UINT* ids, int count);
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    UINT GetItemID(int index) const { return m_panes[static_cast<size_t>(index)].id; }
    BOOL SetPaneText(int index, const char* text, BOOL update = TRUE);
    CString GetPaneText(int index) const { return m_panes[static_cast<size_t>(index)].text; }
    UINT GetPaneStyle(int index) const { return m_panes[static_cast<size_t>(index)].style; }
    void SetPaneStyle(int index, UINT style);
    CSize CalcFixedLayout(DWORD side) const override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    // Recomputes the parts of the control from the panes and the bar's width.
    void UpdateLayout();

private:
    struct Pane { UINT id; UINT style; int width; CString text; };
    std::vector<Pane> m_panes;
    int TextWidth(const char* text) const;
    void ShowPane(int index);
};
