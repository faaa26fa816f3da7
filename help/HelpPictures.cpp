#include "help/HelpPictures.h"
#include "acquisition/OndavView.h"
#include "display/PageTables.h"
#include "framework/framework.h"
#include "resource.h"
#include <cmath>
#include <numbers>

namespace {
constexpr COLORREF kLink = RGB(0, 0, 160);
constexpr int kButtonW = 19, kButtonH = 22;
constexpr int kPageWidth = 800, kPageHeight = 600;
constexpr int kPictureMargin = 10;          // page units kept round a part of the page
constexpr int kSmallTextHeight = 12; // the heights of the page's two fonts
constexpr int kLargeTextHeight = 24;

// A GDI object selected for the life of a scope.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ obj) : m_dc(dc), m_old(::SelectObject(dc, obj)) {}
    ~Selected() { ::SelectObject(m_dc, m_old); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
private:
    HDC m_dc;
    HGDIOBJ m_old;
};

HFONT captionFont(int height, int weight = FW_NORMAL)
{
    return ::CreateFontA(-height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
}

void line(HDC dc, int x1, int y1, int x2, int y2)
{
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

void text(HDC dc, int x, int y, const char* s)
{
    ::TextOutA(dc, x, y, s, lstrlenA(s));
}

// The program's own view, whose page the pictures show; none before the
// main window exists.
COndavView* pageView()
{
    CWinApp* app = AfxGetApp();
    auto* frame = app ? dynamic_cast<CFrameWnd*>(app->m_pMainWnd) : nullptr;
    return frame && frame->m_hWnd ? dynamic_cast<COndavView*>(frame->GetActiveView()) : nullptr;
}

// The page of a display as the view paints it on the screen, with its
// settings and its last capture, in a bitmap of its own.
class PageShot {
public:
    PageShot(COndavView& view, int displayMode)
    {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), kPageWidth, -kPageHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        // The view's own background where the page paints nothing.
        auto brush = reinterpret_cast<HBRUSH>(::GetClassLongPtrA(view.m_hWnd, GCLP_HBRBACKGROUND));
        RECT all{0, 0, kPageWidth, kPageHeight};
        ::FillRect(m_dc, &all, brush ? brush : ::GetSysColorBrush(COLOR_WINDOW));
        const int mode = view.m_nDisplayMode, target = view.m_nOutputTarget;
        view.m_nDisplayMode = displayMode;
        view.m_nOutputTarget = 1;
        {
            CDC dc(m_dc);
            view.OnDraw(&dc);
            dc.Detach();
        }
        view.m_nDisplayMode = mode;
        view.m_nOutputTarget = target;
    }
    ~PageShot()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    PageShot(const PageShot&) = delete;
    PageShot& operator=(const PageShot&) = delete;
    HDC dc() const { return m_dc; }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

// A part of a display's page, at its real size.
void copyPart(HDC dc, int x, int y, int displayMode, const RECT& part)
{
    COndavView* view = pageView();
    if (!view) return;
    PageShot shot(*view, displayMode);
    ::BitBlt(dc, x, y, part.right - part.left, part.bottom - part.top, shot.dc(), part.left, part.top, SRCCOPY);
}

RECT unite(RECT a, const RECT& b)
{
    ::UnionRect(&a, &a, &b);
    return a;
}

RECT around(RECT r)
{
    ::InflateRect(&r, kPictureMargin, kPictureMargin);
    return r;
}

// The parts of the page each picture shows.
const RECT kPanelPart = around(unite(page::kPanelFrame, page::TextRoom(page::kHelpPanel)));
const RECT kVuPart = around(unite(page::kVuLeft, RECT{page::kVuNameLeft.x, page::kVuNameLeft.y, page::kVuNameLeft.x,
                                                       page::kVuNameLeft.y + kLargeTextHeight}));
const RECT kBarPart = around(unite(unite(page::kBarLeft, page::TextRoom(page::kBarLabels[3], 2)),
                                   RECT{page::kBarNameLeft.x, page::kBarNameLeft.y, page::kBarNameLeft.x,
                                        page::kBarNameLeft.y + kLargeTextHeight}));
// The scope page down to its help line.
const RECT kScopePart{0, 0, kPageWidth, page::kHelpStopped.y + kSmallTextHeight + kPictureMargin};

SIZE sizeOf(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

// A numbered round mark, in device units.
void callout(HDC dc, int x, int y, int n)
{
    HBRUSH b = ::CreateSolidBrush(kLink);
    {
        Selected sb(dc, b);
        Selected sp(dc, ::GetStockObject(NULL_PEN));
        ::Ellipse(dc, x - 9, y - 9, x + 10, y + 10);
    }
    ::DeleteObject(b);
    char s[4];
    wsprintfA(s, "%d", n);
    ::SetTextColor(dc, page::kWhite);
    ::SetBkMode(dc, TRANSPARENT);
    SIZE size;
    ::GetTextExtentPoint32A(dc, s, lstrlenA(s), &size);
    text(dc, x - size.cx / 2, y - size.cy / 2, s);
    ::SetTextColor(dc, page::kBlack);
}

// The scope display at half size, then numbered marks on its parts.
void drawScopeMiniature(HDC dc, int x, int y)
{
    COndavView* view = pageView();
    if (!view) return;
    {
        PageShot shot(*view, kModeScope);
        ::SetStretchBltMode(dc, HALFTONE);
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
        ::StretchBlt(dc, x, y, kScopePart.right / 2, kScopePart.bottom / 2, shot.dc(), 0, 0, kScopePart.right,
                     kScopePart.bottom, SRCCOPY);
    }
    // Screen, scale column, time axis, layouts, time bases, other settings, help line.
    const int panelMark = page::kPanelFrame.right - page::kBoxSize;
    const POINT marks[] = {
        {page::kGridX[2], page::kGridY[0]},
        {(page::kScaleArea.left + page::kScaleArea.right) / 2, page::kGridY[1]},
        {page::kTimeLabelX[3], (page::kTimeLabelArea.top + page::kTimeLabelArea.bottom) / 2},
        {panelMark, page::kLayoutBoxes[2].top + page::kBoxSize / 2},
        {panelMark, page::kTimeBases[3].boxTop + page::kBoxSize / 2},
        {panelMark, page::kSettingBoxes[3].top + page::kBoxSize / 2},
        {page::kTimeLabelX[0], page::kHelpStopped.y + kSmallTextHeight / 2},
    };
    HFONT bold = captionFont(11, FW_BOLD);
    Selected f(dc, bold);
    for (int i = 0; i < 7; ++i) callout(dc, x + marks[i].x / 2, y + marks[i].y / 2, i + 1);
    ::DeleteObject(bold);
}

// A sum trace held by the trigger: it starts where it crosses the level
// 60 units above its zero line going up the screen.
void drawTrigger(HDC dc, int x, int y)
{
    const int w = 400, h = 200, zero = 100, level = 60;
    RECT screen{x, y, x + w, y + h};
    ::FillRect(dc, &screen, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::FrameRect(dc, &screen, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    HPEN dotted = ::CreatePen(PS_DOT, 1, page::kBlack);
    HPEN dashed = ::CreatePen(PS_DASH, 1, page::kRed);
    HPEN blue = ::CreatePen(PS_SOLID, 2, page::kBlue);
    HPEN grey = ::CreatePen(PS_DOT, 1, RGB(128, 128, 255));
    {
        Selected p(dc, dotted);
        line(dc, x, y + zero, x + w, y + zero);
    }
    {
        Selected p(dc, dashed);
        line(dc, x, y + zero - level, x + w, y + zero - level);
    }
    // Positive samples go down the screen; the trigger is the first fall of
    // the sum below -60 after it was at -60 or more.
    const double amplitude = 90, period = 130;
    const double start = period * (std::asin(level / amplitude) / (2 * std::numbers::pi));   // sum = -60, falling
    auto sumY = [&](double t) { return y + zero - static_cast<int>(amplitude * std::sin(2 * std::numbers::pi * t / period)); };
    {
        Selected p(dc, grey);
        for (int i = 0; i <= 60; ++i) {
            double t = start - 60 + i;
            if (i == 0) ::MoveToEx(dc, x + 4 + i, sumY(t), nullptr); else ::LineTo(dc, x + 4 + i, sumY(t));
        }
    }
    {
        Selected p(dc, blue);
        for (int i = 0; i <= w - 70; ++i) {
            int px = x + 64 + i;
            if (i == 0) ::MoveToEx(dc, px, sumY(start + i), nullptr); else ::LineTo(dc, px, sumY(start + i));
        }
    }
    HBRUSH red = ::CreateSolidBrush(page::kRed);
    {
        Selected b(dc, red);
        Selected p(dc, ::GetStockObject(NULL_PEN));
        ::Ellipse(dc, x + 64 - 5, y + zero - level - 5, x + 64 + 6, y + zero - level + 6);
    }
    HFONT font = captionFont(11);
    {
        Selected f(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, page::kRed);
        text(dc, x + 72, y + zero - level - 30, "point de déclenchement : le tracé commence ici");
        text(dc, x + w - 170, y + zero - level - 15, "niveau : somme = -60 (60 × gain)");
        ::SetTextColor(dc, page::kBlack);
        text(dc, x + w - 80, y + zero + 2, "ligne du zéro");
        ::SetTextColor(dc, RGB(96, 96, 200));
        text(dc, x + 6, y + h - 18, "avant : non affiché");
        ::SetTextColor(dc, page::kBlack);
    }
    ::DeleteObject(font);
    ::DeleteObject(red);
    ::DeleteObject(grey);
    ::DeleteObject(blue);
    ::DeleteObject(dashed);
    ::DeleteObject(dotted);
}

// The position of command id among the toolbar's images, or -1.
int buttonImage(UINT id)
{
    HINSTANCE inst = AfxGetResourceHandle();
    HRSRC res = ::FindResourceA(inst, MAKEINTRESOURCEA(IDR_MAINFRAME), MAKEINTRESOURCEA(241));
    HGLOBAL data = res ? ::LoadResource(inst, res) : nullptr;
    const WORD* words = data ? static_cast<const WORD*>(::LockResource(data)) : nullptr;
    if (!words || ::SizeofResource(inst, res) < 8) return -1;
    int image = 0;
    for (WORD i = 0; i < words[3] && 8u + 2u * i < ::SizeofResource(inst, res); ++i) {
        if (words[4 + i] == id) return image;
        if (words[4 + i] != 0) ++image;
    }
    return -1;
}

void drawButton(HDC dc, int x, int y, int image)
{
    RECT r{x, y, x + kButtonW + 8, y + kButtonH + 8};
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    ::DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
    HBITMAP strip = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!strip) return;
    HDC mem = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(mem, strip);
    ::BitBlt(dc, x + 4, y + 4, kButtonW, kButtonH, mem, image * kButtonW, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::DeleteObject(strip);
}

void drawPanelPicture(HDC dc, int x, int y) { copyPart(dc, x, y, kModeScope, kPanelPart); }
void drawVuMeter(HDC dc, int x, int y) { copyPart(dc, x, y, kModeVuMeters, kVuPart); }
void drawBargraph(HDC dc, int x, int y) { copyPart(dc, x, y, kModeBargraphs, kBarPart); }

struct Picture {
    const char* name;
    SIZE size;
    void (*draw)(HDC, int, int);
    const RECT* part;   // the part of the page shown at its real size, if it is one
};

const Picture kPictures[] = {
    {"ecran", {kScopePart.right / 2, kScopePart.bottom / 2}, drawScopeMiniature, nullptr},
    {"panneau", sizeOf(kPanelPart), drawPanelPicture, &kPanelPart},
    {"declenchement", {400, 200}, drawTrigger, nullptr},
    {"vumetres", sizeOf(kVuPart), drawVuMeter, &kVuPart},
    {"bargraphes", sizeOf(kBarPart), drawBargraph, &kBarPart},
};
} // namespace

SIZE HelpPictureSize(const std::string& name, const std::string& argument)
{
    for (const Picture& p : kPictures)
        if (name == p.name) return p.size;
    if (name == "bouton" && buttonImage(static_cast<UINT>(std::atoi(argument.c_str()))) >= 0)
        return {kButtonW + 8, kButtonH + 8};
    return {0, 0};
}

void DrawHelpPicture(HDC dc, const std::string& name, const std::string& argument, int x, int y)
{
    for (const Picture& p : kPictures)
        if (name == p.name) return p.draw(dc, x, y);
    int image = name == "bouton" ? buttonImage(static_cast<UINT>(std::atoi(argument.c_str()))) : -1;
    if (image >= 0) drawButton(dc, x, y, image);
}

RECT HelpPicturePart(const std::string& name)
{
    for (const Picture& p : kPictures)
        if (name == p.name && p.part) return *p.part;
    return {0, 0, 0, 0};
}
