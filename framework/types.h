// Plain value types of the framework: strings, points, sizes, rectangles.
#pragma once
#include <windows.h>
#include <string>
#include <cstdarg>

class CString {
public:
    CString() = default;
    CString(const char* s) : m_s(s ? s : "") {}
    CString(const std::string& s) : m_s(s) {}
    CString(const char* s, int n) : m_s(s, static_cast<size_t>(n)) {}

    operator const char*() const { return m_s.c_str(); }
    const char* c_str() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }
    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    char operator[](int i) const { return m_s[static_cast<size_t>(i)]; }

    CString& operator=(const char* s) { m_s = s ? s : ""; return *this; }
    CString& operator+=(const char* s) { m_s += s ? s : ""; return *this; }
    CString& operator+=(char c) { m_s += c; return *this; }
    friend CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
    friend CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
    friend CString operator+(const CString& a, const CString& b) { CString r(a); r += b.c_str(); return r; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const char* b) { return a.m_s == (b ? b : ""); }

    int Find(char c, int start = 0) const;
    int ReverseFind(char c) const;
    CString Left(int n) const;
    CString Mid(int first, int n = -1) const;
    void Format(const char* fmt, ...);
    void FormatV(const char* fmt, va_list args);
    // Loads a string resource of the running module; FALSE when there is none.
    BOOL LoadString(UINT id);

private:
    std::string m_s;
};

struct CSize : SIZE {
    CSize() : SIZE{0, 0} {}
    CSize(int x, int y) : SIZE{x, y} {}
};

struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(int x0, int y0) : POINT{x0, y0} {}
    explicit CPoint(LPARAM l) : POINT{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))} {}
};

struct CRect : RECT {
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    operator RECT*() { return this; }
    operator const RECT*() const { return this; }
};
