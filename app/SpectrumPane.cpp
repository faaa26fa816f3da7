#include "app/SpectrumPane.h"
#include "display/PageTables.h"
#include "measure/Readouts.h"
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {
constexpr double kTopDb = 0, kBottomDb = -100, kDbStep = 20;
constexpr double kLogLowest = 20, kHighest = Spectrum::kSampleRate / 2;
constexpr COLORREF kBackground = RGB(0, 0, 0), kGrid = RGB(64, 64, 64), kLabels = RGB(200, 200, 200);
constexpr int kLeftMargin = 40, kBottomMargin = 20, kTopMargin = 38, kRightMargin = 12;

// Graduations of the frequency axis: every hertz value with a label.
struct Tick { double hz; const char* label; };
constexpr Tick kLinearTicks[] = {
    {0, "0"}, {2000, "2k"}, {4000, "4k"}, {6000, "6k"}, {8000, "8k"}, {10000, "10k"},
    {12000, "12k"}, {14000, "14k"}, {16000, "16k"}, {18000, "18k"}, {20000, "20k"},
};
constexpr Tick kLogTicks[] = {
    {20, "20"}, {50, "50"}, {100, "100"}, {200, "200"}, {500, "500"}, {1000, "1k"},
    {2000, "2k"}, {5000, "5k"}, {10000, "10k"}, {20000, "20k"},
};

void line(HDC dc, int x0, int y0, int x1, int y1)
{
    ::MoveToEx(dc, x0, y0, nullptr);
    ::LineTo(dc, x1, y1);
}

void text(HDC dc, int x, int y, const std::string& s, UINT align)
{
    ::SetTextAlign(dc, align);
    ::TextOutA(dc, x, y, s.c_str(), static_cast<int>(s.size()));
}
} // namespace

BEGIN_MESSAGE_MAP(CSpectrumPane, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBackground)
END_MESSAGE_MAP()

BOOL CSpectrumPane::Create(CWnd* parent, UINT id)
{
    const char* cls = RegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
    return CreateEx(WS_EX_CLIENTEDGE, cls, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent->m_hWnd,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CSpectrumPane::SetAnalysis(const FrameAnalysis* analysis)
{
    m_analysis = analysis;
    Invalidate(FALSE);
}

void CSpectrumPane::SetLogarithmic(bool log)
{
    m_bLog = log;
    Invalidate(FALSE);
}

RECT CSpectrumPane::PlotArea(const RECT& client)
{
    return {client.left + kLeftMargin, client.top + kTopMargin, std::max(client.left + kLeftMargin + 1, client.right - kRightMargin),
            std::max(client.top + kTopMargin + 1, client.bottom - kBottomMargin)};
}

int CSpectrumPane::XOf(double hz, const RECT& plot) const
{
    double width = plot.right - plot.left, share;
    if (m_bLog)
        share = std::log(std::max(hz, kLogLowest) / kLogLowest) / std::log(kHighest / kLogLowest);
    else
        share = hz / kHighest;
    return plot.left + static_cast<int>(std::lround(std::clamp(share, 0.0, 1.0) * width));
}

int CSpectrumPane::YOf(double db, const RECT& plot)
{
    double share = (kTopDb - std::clamp(db, kBottomDb, kTopDb)) / (kTopDb - kBottomDb);
    return plot.top + static_cast<int>(std::lround(share * (plot.bottom - plot.top)));
}

void CSpectrumPane::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT client;
    GetClientRect(&client);
    // Drawn off screen first, so a new frame does not flicker.
    HDC mem = ::CreateCompatibleDC(dc);
    HBITMAP bmp = ::CreateCompatibleBitmap(dc, std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom));
    HGDIOBJ oldBmp = ::SelectObject(mem, bmp);
    Draw(mem, client);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, oldBmp);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::EndPaint(m_hWnd, &ps);
}

void CSpectrumPane::Draw(HDC dc, const RECT& client) const
{
    HBRUSH back = ::CreateSolidBrush(kBackground);
    ::FillRect(dc, &client, back);
    ::DeleteObject(back);
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    RECT plot = PlotArea(client);
    DrawAxes(dc, plot);
    if (m_analysis) {
        DrawTrace(dc, plot, m_analysis->right.spectrum, page::kRed);
        DrawTrace(dc, plot, m_analysis->left.spectrum, page::kYellow);
        DrawPeak(dc, plot, m_analysis->right, page::kRed, 0, "D");
        DrawPeak(dc, plot, m_analysis->left, page::kYellow, 1, "G");
    }
    ::SelectObject(dc, oldFont);
}

void CSpectrumPane::DrawAxes(HDC dc, const RECT& plot) const
{
    HPEN grid = ::CreatePen(PS_SOLID, 1, kGrid);
    HGDIOBJ oldPen = ::SelectObject(dc, grid);
    ::SetTextColor(dc, kLabels);
    for (double db = kTopDb; db >= kBottomDb; db -= kDbStep) {
        int y = YOf(db, plot);
        line(dc, plot.left, y, plot.right, y);
        text(dc, plot.left - 4, y - 6, FormatFixed(db, 0), TA_RIGHT | TA_TOP);
    }
    const Tick* first = m_bLog ? kLogTicks : kLinearTicks;
    size_t count = m_bLog ? std::size(kLogTicks) : std::size(kLinearTicks);
    for (size_t i = 0; i < count; ++i) {
        int x = XOf(first[i].hz, plot);
        line(dc, x, plot.top, x, plot.bottom);
        text(dc, x, plot.bottom + 3, first[i].label, TA_CENTER | TA_TOP);
    }
    text(dc, plot.right, plot.bottom + 3, "Hz", TA_RIGHT | TA_TOP);
    text(dc, plot.left - 4, plot.top - 18, "dBFS", TA_RIGHT | TA_TOP);
    ::SelectObject(dc, ::GetStockObject(WHITE_PEN));
    ::MoveToEx(dc, plot.left, plot.top, nullptr);
    ::LineTo(dc, plot.left, plot.bottom);
    ::LineTo(dc, plot.right, plot.bottom);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(grid);
}

// One point per column: the strongest bin that falls in it, so no peak is lost.
void CSpectrumPane::DrawTrace(HDC dc, const RECT& plot, const Spectrum& s, COLORREF colour) const
{
    std::vector<POINT> points;
    points.reserve(static_cast<size_t>(plot.right - plot.left + 1));
    for (int k = 1; k < Spectrum::kBins; ++k) {
        double hz = k * Spectrum::kBinHz;
        if (m_bLog && hz < kLogLowest) continue;
        POINT p{XOf(hz, plot), YOf(s.LevelDb(k), plot)};
        if (!points.empty() && points.back().x == p.x)
            points.back().y = std::min(points.back().y, p.y);
        else
            points.push_back(p);
    }
    HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = ::SelectObject(dc, pen);
    if (points.size() > 1) ::Polyline(dc, points.data(), static_cast<int>(points.size()));
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

// A small triangle over the peak, and its values on the line of the channel above the plot.
void CSpectrumPane::DrawPeak(HDC dc, const RECT& plot, const ChannelAnalysis& c, COLORREF colour, int row,
                             const char* name) const
{
    if (c.peak.level <= -150) return;
    int x = XOf(c.peak.frequency, plot), y = YOf(c.peak.level, plot);
    POINT mark[] = {{x, y - 2}, {x - 5, y - 10}, {x + 5, y - 10}};
    HBRUSH brush = ::CreateSolidBrush(colour);
    HGDIOBJ oldBrush = ::SelectObject(dc, brush), oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
    ::Polygon(dc, mark, 3);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(brush);
    ::SetTextColor(dc, colour);
    std::string label = std::string(name) + " : " + FormatSignificant(c.peak.frequency, 4) + " Hz ; " +
                        FormatFixed(c.peak.level, 1) + " dBFS";
    if (c.distortion.valid) label += " ; THD " + FormatSignificant(c.distortion.percent, 3) + " %";
    text(dc, plot.left + 4 + row * (plot.right - plot.left) / 2, plot.top - 34, label, TA_LEFT | TA_TOP);
}
