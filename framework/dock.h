// Moving control bars: the small window a floating bar lives in, and the
// drag that docks a bar on a side of its frame or floats it.
#pragma once
#include "framework/wnd.h"

// Signed coordinates of a mouse message.
inline int xOf(LPARAM l) { return static_cast<short>(LOWORD(l)); }
inline int yOf(LPARAM l) { return static_cast<short>(HIWORD(l)); }

class CControlBar;
class CFrameWnd;

// A tool window owned by the frame, holding one floating bar. Its caption is
// the bar's handle: dragged, it moves (or docks) the bar; double-clicked, it
// docks the bar back where it was; its close box hides the bar; its border
// reshapes the bar.
class CMiniDockFrameWnd : public CWnd {
public:
    explicit CMiniDockFrameWnd(CControlBar* bar) : m_pBar(bar) {}
    BOOL Create(HWND owner, const char* title);
    // Sizes the window around a client area of clientSize, its top-left
    // corner at topLeft (screen), shown or hidden.
    void Place(POINT topLeft, SIZE clientSize, BOOL show);
    // The outer size of a window holding a client of clientSize.
    static SIZE WindowSize(SIZE clientSize);

    void PostNcDestroy() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnClose();
    LRESULT OnNcLButtonDown(WPARAM hit, LPARAM lParam);
    LRESULT OnNcLButtonDblClk(WPARAM hit, LPARAM lParam);
    LRESULT OnMouseActivate(WPARAM, LPARAM);
    LRESULT OnNcActivate(WPARAM, LPARAM lParam);
    // Sized by its border, it takes the nearest shape of rows and columns.
    LRESULT OnSizing(WPARAM edge, LPARAM lParam);
    void OnSize(UINT type, int cx, int cy);

    DECLARE_MESSAGE_MAP()

private:
    CControlBar* m_pBar;
};

// One drag of a bar, from the button press on its handle to the release.
class CDockContext {
public:
    explicit CDockContext(CControlBar* bar);
    // Follows the pointer from start (screen) with the button down, showing
    // where the bar would go; on release docks or floats it there. A press
    // without a drag, Escape or the right button leave the bar as it was.
    void Track(HWND handle, POINT start);
    // Where a bar released at pt (screen) goes: the side of the frame whose
    // edge is nearest, if close enough and allowed, else 0 (floating).
    DWORD SideAt(POINT pt) const;
    // The top-left corner of the floating window for a release at pt.
    POINT FloatOrigin(POINT pt) const;

private:
    CControlBar* m_pBar;
    CFrameWnd* m_pFrame;
    POINT m_grab{};   // the pointer's offset in the floating window's caption

    RECT FeedbackRect(POINT pt) const;
    static void DrawFeedback(const RECT& r);
};
