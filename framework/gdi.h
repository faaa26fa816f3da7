// GDI wrappers: drawing objects that own their handle, and device contexts.
#pragma once
#include "framework/types.h"

class CWnd;

class CGdiObject {
public:
    HGDIOBJ m_hObject = nullptr;
    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    operator HGDIOBJ() const { return m_hObject; }
    BOOL DeleteObject();
    BOOL Attach(HGDIOBJ h) { DeleteObject(); m_hObject = h; return h != nullptr; }
};

class CPen : public CGdiObject {
public:
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight,
                    BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet,
                    BYTE outPrecision, BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
                    const char* faceName);
    BOOL CreateFontIndirect(const LOGFONTA* lf) { return Attach(::CreateFontIndirectA(lf)); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CBitmap : public CGdiObject {
public:
    BOOL LoadBitmap(UINT id);
    int GetBitmap(BITMAP* bm) const { return ::GetObjectA(m_hObject, sizeof(BITMAP), bm); }
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

// A device context. The subclasses get and release the handle; CDC itself
// wraps a handle someone else owns (or one it created with CreateCompatibleDC).
class CDC {
public:
    HDC m_hDC = nullptr;
    BOOL m_bPrinting = FALSE;

    CDC() = default;
    explicit CDC(HDC h) : m_hDC(h) {}
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    operator HDC() const { return m_hDC; }
    BOOL IsPrinting() const { return m_bPrinting; }
    BOOL CreateCompatibleDC(CDC* dc);
    BOOL DeleteDC();
    void Attach(HDC h) { m_hDC = h; m_bOwnsCompatible = FALSE; }
    HDC Detach() { HDC h = m_hDC; m_hDC = nullptr; return h; }

    int SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
    CSize SetWindowExt(int cx, int cy);
    CSize SetViewportExt(int cx, int cy);
    void LPtoDP(POINT* pts, int count = 1) const { ::LPtoDP(m_hDC, pts, count); }

    // Selection returns the previous object's handle, to select it back.
    HGDIOBJ SelectObject(HGDIOBJ obj) { return ::SelectObject(m_hDC, obj); }
    HGDIOBJ SelectObject(const CGdiObject* obj) { return ::SelectObject(m_hDC, obj->m_hObject); }
    HGDIOBJ SelectStockObject(int index) { return ::SelectObject(m_hDC, ::GetStockObject(index)); }

    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }

    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(const RECT* r) { return ::Rectangle(m_hDC, r->left, r->top, r->right, r->bottom); }
    // Fills with a solid colour without touching the DC's colours or brush.
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    BOOL DrawEdge(RECT* rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }
    BOOL TextOut(int x, int y, const char* text) { return ::TextOutA(m_hDC, x, y, text, lstrlenA(text)); }
    CSize GetTextExtent(const char* text) const;
    BOOL BitBlt(int x, int y, int cx, int cy, CDC* src, int xSrc, int ySrc, DWORD rop)
    { return ::BitBlt(m_hDC, x, y, cx, cy, src->m_hDC, xSrc, ySrc, rop); }

private:
    BOOL m_bOwnsCompatible = FALSE;
};

// BeginPaint / EndPaint for a window's WM_PAINT.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};
private:
    HWND m_hWnd;
};

// GetDC / ReleaseDC; a null window gives the whole screen.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;
private:
    HWND m_hWnd;
};
