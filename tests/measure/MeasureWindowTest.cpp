// The measures window on a document's frame: its texts, what Ctrl+C copies,
// and the spectrum's traces in the scope's colours.
#include "app/MeasureWindow.h"
#include "display/PageTables.h"
#include "document/OndavDoc.h"
#include <gtest/gtest.h>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>

namespace {

std::string cell(int row, int column)
{
    char text[128] = "";
    ::GetDlgItemTextA(CMeasureWindow::Instance()->m_hWnd, static_cast<int>(CMeasureWindow::CellId(row, column)), text,
                      sizeof text);
    return text;
}

// Right: 1000 Hz at half scale; left: 441 Hz at a quarter.
std::unique_ptr<COndavDoc> twoSines()
{
    auto doc = std::make_unique<COndavDoc>();
    for (int i = 0; i < kFrameUsed; ++i) {
        double t = i / 44100.0;
        doc->m_right[i] = static_cast<int>(std::floor(64 * std::sin(2 * std::numbers::pi * 1000 * t))) + 1;
        doc->m_left[i] = static_cast<int>(std::floor(32 * std::sin(2 * std::numbers::pi * 441 * t))) + 1;
    }
    return doc;
}

// Does column x hold a pixel of colour c between levels high and low (dBFS)?
bool columnHas(HDC dc, int x, const RECT& plot, COLORREF c, double high, double low)
{
    for (int y = CSpectrumPane::YOf(high, plot); y <= CSpectrumPane::YOf(low, plot); ++y)
        if (::GetPixel(dc, x, y) == c) return true;
    return false;
}

} // namespace

TEST(MeasureWindow, ShowsCopiesAndDrawsTheFrameThenCloses)
{
    auto doc = twoSines();
    CMeasureWindow* w = CMeasureWindow::Open(nullptr, doc.get());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetWindowText().str(), "Mesures - Ondavis");
    EXPECT_EQ(cell(0, 1), "Voie droite");
    EXPECT_EQ(cell(1, 0), "Fréquence");
    EXPECT_EQ(cell(1, 1), "1000 Hz");
    EXPECT_EQ(cell(1, 2), "441,0 Hz");
    EXPECT_EQ(cell(1 + static_cast<int>(Readout::PhaseDifference), 1), "\x97");   // not the same frequency

    // A new frame replaces the readouts.
    doc->m_left[0] = 0;
    for (int i = 0; i < kFrameUsed; ++i) doc->m_left[i] = 1;
    CMeasureWindow::Notify(doc.get());
    EXPECT_EQ(cell(1, 2), "\x97");

    w->CopyReadouts();
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_TEXT);
    std::string copied = data ? static_cast<const char*>(::GlobalLock(data)) : "";
    if (data) ::GlobalUnlock(data);
    ::CloseClipboard();
    EXPECT_EQ(copied.substr(0, copied.find("\r\n", copied.find("\r\n") + 2)),
              "Mesure\tVoie droite\tVoie gauche\r\nFréquence\t1000 Hz\t\x97");

    // Drawn into a bitmap: the right channel's red line stands at 1000 Hz on
    // either axis, and the left channel, silent now, draws no yellow peak there.
    RECT client{0, 0, 600, 400};
    RECT plot = CSpectrumPane::PlotArea(client);
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    int columns[2];
    for (bool log : {false, true}) {
        w->SpectrumPane().SetLogarithmic(log);
        w->SpectrumPane().Draw(dc, client);
        int x = columns[log] = w->SpectrumPane().XOf(1000, plot);
        // Under the peak's mark: the trace itself, -6 dBFS at the top.
        EXPECT_TRUE(columnHas(dc, x, plot, page::kRed, -6.5, -20)) << log;
        EXPECT_FALSE(columnHas(dc, x, plot, page::kRed, 0, -2.5)) << log;
        EXPECT_FALSE(columnHas(dc, x, plot, page::kYellow, 0, -50)) << log;
    }
    EXPECT_GT(columns[1], columns[0] + 100);
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);

    CMeasureWindow::Close();
    EXPECT_EQ(CMeasureWindow::Instance(), nullptr);
    CMeasureWindow::Notify(doc.get());   // nothing open: nothing happens
}
