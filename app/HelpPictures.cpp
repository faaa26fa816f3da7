#include "app/HelpPictures.h"
#include "display/PageTables.h"
#include "framework/framework.h"
#include "resource.h"
#include <cmath>
#include <numbers>

namespace {
constexpr COLORREF kGrey = RGB(192, 192, 192);
constexpr COLORREF kLink = RGB(0, 0, 160);
constexpr int kButtonW = 19, kButtonH = 22;

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

HFONT pageFont(int height, int width)
{
    // The program's own panel and label fonts.
    return ::CreateFontA(height, width, 0, 0, 100, 0, 0, 0, OEM_CHARSET, 0, 0, 0, 0, "Arial");
}

HFONT captionFont(int height, int weight = FW_NORMAL)
{
    return ::CreateFontA(-height, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
}

void fill(HDC dc, int x, int y, int cx, int cy, COLORREF c)
{
    RECT r{x, y, x + cx, y + cy};
    HBRUSH b = ::CreateSolidBrush(c);
    ::FillRect(dc, &r, b);
    ::DeleteObject(b);
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

void bump(HDC dc, RECT r)
{
    ::DrawEdge(dc, &r, EDGE_BUMP, BF_RECT);
}

void box(HDC dc, const page::PanelBox& b, bool lit)
{
    bump(dc, {b.left, b.top, b.left + page::kBoxSize, b.top + page::kBoxSize});
    if (lit)
        fill(dc, b.left + page::kIndicatorInset, b.top + page::kIndicatorInset, page::kIndicatorSize,
             page::kIndicatorSize, b.indicator);
    text(dc, b.labelX, b.labelY, b.label);
}

// The settings panel as the program draws it, with its start-up choices lit
// (and a trigger found, to show the synchronisation box).
void drawPanel(HDC dc)
{
    HFONT font = pageFont(12, 5);
    Selected f(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, page::kBlack);
    RECT frame = page::kPanelFrame;
    bump(dc, frame);
    for (const page::PanelBox& b : page::kLayoutBoxes) box(dc, b, b.value == 1);
    for (const page::TimeBase& t : page::kTimeBases) {
        page::PanelBox b{page::Setting::Layout, t.code, page::kTimeBoxLeft, t.boxTop, page::kYellow,
                         t.panelText, page::kTimeTextX, t.boxTop + 3};
        box(dc, b, t.code == 1000);
    }
    for (const page::PanelBox& b : page::kSettingBoxes) {
        bool lit = (b.setting == page::Setting::Refresh && b.value == 500) || b.setting == page::Setting::Sync ||
                   (b.setting == page::Setting::Gain && b.value == 1) ||
                   (b.setting == page::Setting::Scale && b.value == page::kScaleDb);
        box(dc, b, lit);
    }
    for (const page::PanelBox& b : page::kChannelBoxes) box(dc, b, b.value == 1);
    text(dc, page::kScaleCaption.x, page::kScaleCaption.y, page::kScaleCaption.text);
    for (const page::Line& l : page::kSeparators) line(dc, l.x1, l.y1, l.x2, l.y2);
    text(dc, page::kHelpPanel.x, page::kHelpPanel.y, page::kHelpPanel.text);
    ::DeleteObject(font);
}

// The scope screen with its graticule and two sines, in page units.
void drawScreen(HDC dc)
{
    HPEN thick = ::CreatePen(PS_SOLID, 4, page::kBlack);
    {
        Selected p(dc, thick);
        Selected b(dc, ::GetStockObject(WHITE_BRUSH));
        ::Rectangle(dc, page::kScreen.left, page::kScreen.top, page::kScreen.right, page::kScreen.bottom);
    }
    HPEN dotted = ::CreatePen(PS_DOT, 1, page::kBlack);
    {
        Selected p(dc, dotted);
        for (int x : page::kGridX) line(dc, x, page::kScreen.top, x, page::kScreen.bottom);
        for (int y : page::kGridY) line(dc, page::kScreen.left, y, page::kScreen.right, y);
    }
    HPEN axis = ::CreatePen(PS_SOLID, 2, page::kBlack);
    {
        Selected p(dc, axis);
        line(dc, page::kScreen.left, page::kAxisY, page::kScreen.right, page::kAxisY);
        line(dc, page::kAxisX, page::kScreen.top, page::kAxisX, page::kScreen.bottom);
    }
    struct Trace { COLORREF colour; int zero, amplitude; double cycles; };
    for (Trace t : {Trace{page::kRed, 120, 60, 4.5}, Trace{page::kYellow, 320, 80, 2.0}}) {
        HPEN pen = ::CreatePen(PS_SOLID, 2, t.colour);
        Selected p(dc, pen);
        for (int x = page::kTraceStartX; x <= page::kTraceRight; x += 2) {
            double phase = 2 * std::numbers::pi * t.cycles * (x - page::kTraceStartX) / 441.0;
            int y = t.zero - static_cast<int>(t.amplitude * std::sin(phase));
            if (x == page::kTraceStartX) ::MoveToEx(dc, x, y, nullptr); else ::LineTo(dc, x, y);
        }
        ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
        ::DeleteObject(pen);
    }
    ::DeleteObject(axis);
    ::DeleteObject(dotted);
    ::DeleteObject(thick);
}

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

// The scope display at half size: strips, screen, scale column, time labels,
// panel and help line; then numbered marks on its parts.
void drawScopeMiniature(HDC dc, int x, int y)
{
    int saved = ::SaveDC(dc);
    ::SetMapMode(dc, MM_ANISOTROPIC);
    ::SetWindowExtEx(dc, 800, 480, nullptr);
    ::SetViewportExtEx(dc, 400, 240, nullptr);
    ::SetViewportOrgEx(dc, x, y, nullptr);
    fill(dc, 0, 0, 800, 480, ::GetSysColor(COLOR_WINDOW));
    for (const page::Fill& s : page::kScopeStrips) fill(dc, s.x, s.y, s.cx, std::min(s.cy, 480 - s.y), kGrey);
    bump(dc, page::kScopeFrame);
    for (const page::BandSet& set : page::kBandSets) {
        if (set.group != page::ScaleGroup::OffsetRight || set.gain != 1) continue;
        for (int i = 0; i < set.count; ++i)
            fill(dc, page::kBandX, set.bands[i].top, page::kBandWidth, set.bands[i].bottom - set.bands[i].top,
                 set.bands[i].colour);
    }
    HFONT font = pageFont(12, 5);
    {
        Selected f(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        for (const page::LabelSet& set : page::kLabelSets) {
            if (set.group != page::ScaleGroup::OffsetRight || set.gain != 1 || set.scale != page::kScaleDb) continue;
            for (size_t i = 0; i < set.text.size(); ++i)
                if (set.text[i]) text(dc, page::kScaleLabelX, page::kScaleLabelY[i], set.text[i]);
        }
        const page::TimeBase& oneMs = page::kTimeBases[5];
        for (size_t i = 0; i < oneMs.labels.size(); ++i)
            text(dc, page::kTimeLabelX[i], page::kTimeLabelY, oneMs.labels[i]);
        text(dc, page::kTimeUnitAt.x, page::kTimeUnitAt.y, oneMs.unit);
        text(dc, page::kHelpStopped.x, page::kHelpStopped.y, page::kHelpStopped.text);
    }
    ::DeleteObject(font);
    drawPanel(dc);
    drawScreen(dc);
    ::RestoreDC(dc, saved);

    HFONT bold = captionFont(11, FW_BOLD);
    Selected f(dc, bold);
    // Screen, scale column, time axis, layouts, time bases, other settings, help line.
    const POINT marks[] = {{135, 60}, {268, 120}, {190, 228}, {372, 30}, {372, 95}, {372, 170}, {60, 240}};
    for (int i = 0; i < 7; ++i) callout(dc, x + marks[i].x, y + marks[i].y, i + 1);
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

// The left VU meter at its real size, needle at a peak of 80.
void drawVuMeter(HDC dc, int x, int y)
{
    int saved = ::SaveDC(dc);
    ::SetViewportOrgEx(dc, x - page::kVuLeft.left + 2, y - page::kVuLeft.top + 2, nullptr);
    RECT frame = page::kVuLeft;
    bump(dc, frame);
    for (const page::ColourFill& f : page::kVuScale) fill(dc, f.at.x, f.at.y, f.at.cx, f.at.cy, f.colour);
    HPEN needle = ::CreatePen(PS_SOLID, 2, page::kBlack);
    {
        Selected p(dc, needle);
        line(dc, page::kVuPivot.x, page::kVuPivot.y, page::kVuTipX0 + 2 * 80, page::kVuTipY);
    }
    ::DeleteObject(needle);
    HFONT font = pageFont(24, 10);
    {
        Selected f(dc, font);
        text(dc, page::kVuNameLeft.x, page::kVuNameLeft.y, page::kVuNameLeft.text);
        ::SetBkMode(dc, TRANSPARENT);
        for (const page::Text& t : page::kVuLabels) text(dc, t.x, t.y, t.text);
    }
    ::DeleteObject(font);
    ::RestoreDC(dc, saved);
}

// The left bargraph at its real size, at a peak of 80.
void drawBargraph(HDC dc, int x, int y)
{
    const int left = 140, top = 96;
    int saved = ::SaveDC(dc);
    ::SetViewportOrgEx(dc, x - left, y - top, nullptr);
    RECT frame = page::kBarLeft;
    bump(dc, frame);
    for (const page::ColourFill& f : page::kBarZones) fill(dc, f.at.x, f.at.y, f.at.cx, f.at.cy, f.colour);
    fill(dc, page::kBarMaskX, page::kBarMaskTop, page::kBarMaskWidth, page::kBarFullHeight - 2 * 80, page::kWhite);
    HFONT font = pageFont(24, 10);
    {
        Selected f(dc, font);
        text(dc, page::kBarNameLeft.x, page::kBarNameLeft.y, page::kBarNameLeft.text);
        ::SetBkMode(dc, TRANSPARENT);
        for (const page::Text& t : page::kBarLabels) text(dc, t.x, t.y, t.text);
    }
    ::DeleteObject(font);
    ::RestoreDC(dc, saved);
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

void drawPanelPicture(HDC dc, int x, int y)
{
    int saved = ::SaveDC(dc);
    ::SetViewportOrgEx(dc, x - 550, y - 10, nullptr);
    fill(dc, 550, 10, 240, 440, ::GetSysColor(COLOR_WINDOW));
    fill(dc, 550, 10, 14, 415, kGrey);
    fill(dc, 776, 10, 14, 415, kGrey);
    fill(dc, 550, 10, 240, 4, kGrey);
    fill(dc, 550, 425, 240, 25, kGrey);
    drawPanel(dc);
    ::RestoreDC(dc, saved);
}
struct Picture {
    const char* name;
    SIZE size;
    void (*draw)(HDC, int, int);
};

const Picture kPictures[] = {
    {"ecran", {400, 250}, drawScopeMiniature},
    {"panneau", {240, 440}, drawPanelPicture},
    {"declenchement", {400, 200}, drawTrigger},
    {"vumetres", {354, 245}, drawVuMeter},
    {"bargraphes", {130, 350}, drawBargraph},
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
