// CWnd: a C++ object attached to a window handle, with message-map dispatch.
#pragma once
#include "framework/cmdtarget.h"

struct CCreateContext;

class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to a handle by this framework, or nullptr.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Creation: fills a CREATESTRUCT, lets PreCreateWindow adjust it, then
    // creates the window with this object attached from its first message.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  int x, int y, int cx, int cy, HWND parent, HMENU idOrMenu, void* param = nullptr);
    virtual BOOL Create(const char* className, const char* windowName, DWORD style,
                        const RECT& rect, CWnd* parent, UINT id, CCreateContext* context = nullptr);
    BOOL SubclassWindow(HWND hWnd);
    BOOL DestroyWindow();

    // Registers (once) a window class of this framework and returns its name.
    static const char* RegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                        HBRUSH background = nullptr, HICON icon = nullptr);

    // Dispatch.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual void PostNcDestroy() {}
    // The default processing of the message being handled now.
    LRESULT Default();

    // Default handlers, for derived handlers to call.
    int OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
    void OnDestroy() { Default(); }
    void OnClose() { Default(); }
    void OnPaint() { Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnSize(UINT, int, int) { Default(); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnRButtonDown(UINT, CPoint) { Default(); }
    void OnMenuSelect(UINT, UINT, HMENU) { Default(); }
    void OnInitMenuPopup(HMENU, UINT, BOOL) { Default(); }

    // Thin wrappers over USER.
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, id, elapse, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    void GetClientRect(RECT* r) const { ::GetClientRect(m_hWnd, r); }
    void GetWindowRect(RECT* r) const { ::GetWindowRect(m_hWnd, r); }
    void MoveWindow(int x, int y, int cx, int cy, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, cx, cy, repaint); }
    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    // A caption holding a user's file name. The window procedures are ANSI,
    // which would pass the text through the code page: the system's own
    // Unicode handler stores it as it is (GetWindowTextW, the taskbar and
    // the caption show it exactly).
    void SetWindowTextWide(const std::wstring& text)
    {
        ::DefWindowProcW(m_hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    CString GetWindowText() const;
    LRESULT SendMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, m, w, l); }
    BOOL PostMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageA(m_hWnd, m, w, l); }
    void DragAcceptFiles(BOOL accept = TRUE);
    void CenterWindow(HWND alternateOwner = nullptr);
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    // Message box owned by this window; a null caption shows the application title.
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

protected:
    WNDPROC m_pfnSuper = nullptr;  // the procedure of a subclassed control

    void Attach(HWND hWnd);
    void Detach();
    static LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct CurrentMessage { UINT message; WPARAM wParam; LPARAM lParam; };
    CurrentMessage m_current{};
};

// Message box for the whole application: owned by the main window if any,
// captioned with the application title.
int AfxMessageBox(const char* text, UINT type = MB_OK);
int AfxMessageBox(UINT idPrompt, UINT type = MB_OK);
