// VU meters and bargraphs: strips, needle tips and bar tops from the peaks.
#include "PageFixture.h"
#include <gtest/gtest.h>
#include <climits>

namespace {


// A frame whose right and left peaks are the given values, reached once
// each, with a louder value after entry 3999 that must not count.
void FillPeaks(Instrument& in, int right, int left)
{
    in.Fill([&](int i) {
        if (i >= 4000) return std::pair{INT_MAX, INT_MAX};
        if (i == 1234) return std::pair{right, -127};
        if (i == 2345) return std::pair{-127, left};
        return std::pair{std::min(right, -127), std::min(left, -127)};
    });
}

// Columns of row y, from x0 to x1, that are black.
std::vector<int> BlackColumns(const DibPage& page, int y, int x0, int x1)
{
    std::vector<int> cols;
    for (int x = x0; x <= x1; ++x)
        if (page.At(x, y) == kBlack) cols.push_back(x);
    return cols;
}

TEST(VuMeters, NeedleTipFollowsEachPeak)
{
    // Peak p puts the tip at x 67 + 2p (left) and 467 + 2p (right), y 140.
    const std::pair<int, int> peaks[] = {{1, 100}, {100, 128}, {128, 1}};
    for (auto [right, left] : peaks) {
        Instrument in;
        in.view().m_nDisplayMode = kModeVuMeters;
        FillPeaks(in, right, left);
        DibPage page(800, 600);
        page.Draw(in.view());
        EXPECT_EQ(in.view().m_nPeakRight, right);
        EXPECT_EQ(in.view().m_nPeakLeft, left);
        for (auto [tip, pivot] : {std::pair{67 + 2 * left, 195}, std::pair{467 + 2 * right, 595}}) {
            // Just below the tip, inside the coloured strip (67 to 322 from
            // the meter's left), the 2-unit needle leans towards the pivot.
            const int strip = pivot - 128;
            const auto cols = BlackColumns(page, 142, std::max(tip - 6, strip), std::min(tip + 6, strip + 255));
            const int below = tip + (pivot - tip) * 2 / (298 - 140);
            ASSERT_FALSE(cols.empty()) << "tip " << tip;
            EXPECT_LE(std::abs(cols.front() - below), 2) << "tip " << tip;
            EXPECT_LE(std::abs(cols.back() - below), 2) << "tip " << tip;
            // Half-way down, over the meter's background, it is where the
            // straight line from the pivot to the tip passes.
            const int mid = pivot + (tip - pivot) * (298 - 220) / (298 - 140);
            const auto midCols = BlackColumns(page, 220, mid - 15, mid + 15);
            ASSERT_FALSE(midCols.empty()) << "tip " << tip;
            EXPECT_LE(std::abs(midCols.front() - mid), 2) << "tip " << tip;
            EXPECT_LE(std::abs(midCols.back() - mid), 2) << "tip " << tip;
        }
    }
}

TEST(VuMeters, ScaleZonesStripsAndOpaqueNames)
{
    Instrument in;
    in.view().m_nDisplayMode = kModeVuMeters;
    in.view().m_clrVuBack = RGB(255, 0, 255);
    in.view().m_clrScopeBack = RGB(0, 255, 255);
    DibPage page(800, 600);
    page.Draw(in.view());
    for (POINT p : {POINT{400, 50}, POINT{10, 200}, POINT{400, 500}, POINT{395, 200}, POINT{785, 200}})
        EXPECT_EQ(page.At(p.x, p.y), RGB(255, 0, 255)) << p.x << "," << p.y;
    EXPECT_EQ(page.At(100, 250), kUnpainted) << "the meter's inside shows the window background";
    for (int dx : {0, 400}) {
        EXPECT_EQ(page.At(66 + dx, 150), kBlack);
        EXPECT_EQ(page.At(150 + dx, 150), kGreen);
        EXPECT_EQ(page.At(230 + dx, 150), kYellow);
        EXPECT_EQ(page.At(300 + dx, 150), kRed);
        EXPECT_EQ(page.At(324 + dx, 150), kBlack);
        EXPECT_EQ(page.At(330 + dx, 150), kUnpainted);
    }
    // The names stand on the white text background, whatever the strip's colour.
    int white = 0;
    for (int x = 150; x < 160; ++x) white += page.At(x, 312) == kWhite;
    EXPECT_GT(white, 0);
}

TEST(Bargraphs, BarTopFollowsEachPeak)
{
    // The coloured part starts at y 378 - 2p; above it the white mask.
    struct Case {
        int peak;
        COLORREF atTop;
    };
    for (Case c : {Case{1, kGreen}, Case{100, kYellow}, Case{128, kRed}}) {
        Instrument in;
        in.view().m_nDisplayMode = kModeBargraphs;
        FillPeaks(in, c.peak, c.peak);
        DibPage page(800, 600);
        page.Draw(in.view());
        const int top = 378 - 2 * c.peak;
        for (int x : {195, 595}) {
            EXPECT_EQ(page.At(x, top), c.atTop) << "peak " << c.peak << " x " << x;
            if (top > 122) {
                EXPECT_EQ(page.At(x, top - 1), kWhite) << "peak " << c.peak << " x " << x;
            }
            EXPECT_EQ(page.At(x, 395), kGreen);
        }
        EXPECT_EQ(in.view().m_nBarMaskHeight, 256 - 2 * c.peak);
    }
}

TEST(Bargraphs, StripsAndZonesWithoutSignal)
{
    Instrument in;
    in.view().m_nDisplayMode = kModeBargraphs;
    in.view().m_clrBarBack = RGB(0, 0, 255);
    FillPeaks(in, 0, 0);   // mask 256 high: only the bottom 18 units show
    DibPage page(800, 600);
    page.Draw(in.view());
    for (POINT p : {POINT{400, 50}, POINT{100, 300}, POINT{400, 500}, POINT{300, 300}, POINT{700, 300}})
        EXPECT_EQ(page.At(p.x, p.y), RGB(0, 0, 255)) << p.x << "," << p.y;
    EXPECT_EQ(page.At(195, 377), kWhite);
    EXPECT_EQ(page.At(195, 378), kGreen);
    EXPECT_EQ(page.At(182, 300), page.At(582, 300)) << "both frames alike";
}

TEST(LevelDisplays, NegativePeaksStayInTheirRangeAndHugeOnesAreHeld)
{
    // All negative: the needle leaves the scale to the left and the mask runs
    // below the bar over the background, as the instrument always did.
    {
        Instrument in;
        in.view().m_nDisplayMode = kModeBargraphs;
        in.Fill([](int) { return std::pair{-127, -127}; });
        DibPage page(800, 600);
        page.Draw(in.view());
        EXPECT_EQ(page.At(195, 398), kWhite);
        EXPECT_EQ(page.At(195, 500), kWhite);   // mask 510 high, from 122 to 632
        EXPECT_EQ(in.view().m_nBarMaskHeight, 510);
    }
    // A value just beyond a sample's range (possible in a file) is drawn
    // where the scale puts it: the tip two units past the red zone's end.
    {
        Instrument in;
        in.view().m_nDisplayMode = kModeVuMeters;
        FillPeaks(in, 129, 129);
        DibPage page(800, 600);
        page.Draw(in.view());
        const auto cols = BlackColumns(page, 141, 318, 330);
        ASSERT_FALSE(cols.empty());
        EXPECT_GE(cols.back(), 324) << "tip at 325, not held at 323";
        in.view().m_nDisplayMode = kModeBargraphs;
        DibPage bars(800, 600);
        bars.Draw(in.view());
        EXPECT_EQ(in.view().m_nBarMaskHeight, 256 - 2 * 129);
    }
    // Only values whose double would overflow are held, far off the page:
    // the bar is full, nothing wraps round to a small or negative travel.
    for (int extreme : {INT_MAX, INT_MIN}) {
        Instrument in;
        in.Fill([&](int) { return std::pair{extreme, extreme}; });
        const bool high = extreme > 0;
        in.view().m_nDisplayMode = kModeBargraphs;
        {
            DibPage page(800, 600);
            page.Draw(in.view());
            EXPECT_EQ(high, in.view().m_nBarMaskHeight < -100000);
            EXPECT_EQ(page.At(195, 300), high ? kGreen : kWhite);
            EXPECT_EQ(page.At(195, 200), high ? kYellow : kWhite);
        }
        in.view().m_nDisplayMode = kModeVuMeters;
        DibPage page(800, 600);
        page.Draw(in.view());
    }
}

}  // namespace
