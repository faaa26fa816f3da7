// The static picture of the scope display, probed in a DIB section.
#include "PageFixture.h"
#include <gtest/gtest.h>

namespace {


// One point inside each of the five background strips, away from any text.
constexpr POINT kStripPoints[] = {{400, 7}, {7, 300}, {555, 300}, {400, 560}, {790, 300}};

TEST(ScopePage, StripsTakeEveryBackgroundColourAndTheScreenStaysWhite)
{
    const COLORREF choices[] = {0xC0C0C0, 0xFFFFFF, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0xFF00FF, 0x0000FF};
    for (COLORREF back : choices) {
        Instrument in;
        in.view().m_clrScopeBack = back;
        DibPage page(800, 600);
        page.Draw(in.view());
        for (POINT p : kStripPoints)
            EXPECT_EQ(page.At(p.x, p.y), back) << "strip at " << p.x << "," << p.y << " colour " << std::hex << back;
        EXPECT_EQ(page.At(100, 100), kWhite) << "screen inside, colour " << std::hex << back;
        EXPECT_EQ(page.At(400, 380), kWhite);
        EXPECT_EQ(page.At(700, 200), kUnpainted) << "the panel's inside keeps the window background";
    }
}

// The centre of each panel box, with the setting value that lights it.
struct BoxProbe {
    int x, y;
    const char* name;
};
constexpr BoxProbe kBoxes[] = {
    {577, 27, "layout1"}, {577, 47, "layout2"}, {577, 67, "layout3"}, {577, 87, "layout4"},
    {577, 107, "layout5"}, {577, 127, "tb50"}, {577, 147, "tb20"}, {577, 167, "tb10"},
    {577, 187, "tb5000"}, {577, 207, "tb2000"}, {577, 227, "tb1000"}, {577, 247, "tb500"},
    {577, 267, "tb200"}, {577, 287, "fast"}, {577, 307, "medium"}, {577, 327, "slow"},
    {577, 347, "sync"}, {577, 367, "x1"}, {577, 387, "x2"}, {577, 407, "x5"},
    {672, 377, "db"}, {672, 397, "lin"}, {717, 377, "right"}, {717, 397, "left"}};

struct Lit {
    const char* name;
    COLORREF colour;
};

void ExpectIndicators(const DibPage& page, std::initializer_list<Lit> lit)
{
    for (const BoxProbe& b : kBoxes) {
        COLORREF want = kUnpainted;
        for (const Lit& l : lit)
            if (std::string(l.name) == b.name) want = l.colour;
        EXPECT_EQ(page.At(b.x, b.y), want) << b.name;
        // The square is 11 x 11 from the box's corner + 2.
        EXPECT_EQ(page.At(b.x - 5, b.y - 5), want) << b.name;
        EXPECT_EQ(page.At(b.x + 5, b.y + 5), want) << b.name;
        if (want != kUnpainted) {
            EXPECT_NE(page.At(b.x + 6, b.y + 6), want) << b.name << ": the box edge stays";
        }
    }
}

TEST(ScopePage, IndicatorSquaresShowTheCurrentSettings)
{
    Instrument in;
    {
        DibPage page(800, 600);
        page.Draw(in.view());
        ExpectIndicators(page, {{"layout1", kRed}, {"tb1000", kYellow}, {"medium", kGreen}, {"x1", kBlue},
                                {"db", kGreen}, {"right", kRed}});
    }
    COndavView& v = in.view();
    v.m_nScaleChannel = 2;
    v.m_nVerticalGain = 5;
    v.m_nVerticalScale = 2;
    v.m_nRefreshPeriod = 100;
    v.m_bSyncFound = TRUE;
    in.SetTimeBase(50);
    {
        DibPage page(800, 600);
        page.Draw(v);
        ExpectIndicators(page, {{"layout1", kRed}, {"tb50", kYellow}, {"fast", kGreen}, {"sync", kRed},
                                {"x5", kBlue}, {"lin", kGreen}, {"left", kYellow}});
    }
    // Outside the offset layout the scale-channel boxes are not drawn at all.
    for (int layout : {2, 3, 4, 5}) {
        in.SetLayout(layout);
        v.m_nVerticalGain = 2;
        v.m_nRefreshPeriod = 1000;
        in.SetTimeBase(200);
        DibPage page(800, 600);
        page.Draw(v);
        const std::string name = "layout" + std::to_string(layout);
        ExpectIndicators(page, {{name.c_str(), kRed}, {"tb200", kYellow}, {"slow", kGreen}, {"sync", kRed},
                                {"x2", kBlue}, {"lin", kGreen}});
        EXPECT_EQ(page.At(710, 370), kUnpainted) << "box frame in layout " << layout;
    }
    // Values outside the settings light nothing.
    v.m_nScopeLayout = 7;
    v.m_nTimeBase = 3;
    v.m_nRefreshPeriod = 250;
    v.m_bSyncFound = FALSE;
    v.m_nVerticalGain = 3;
    v.m_nVerticalScale = 0;
    DibPage page(800, 600);
    page.Draw(v);
    ExpectIndicators(page, {});
}

TEST(ScopePage, GridOnlyWhenAskedButBorderTicksAlways)
{
    Instrument in;
    in.Fill([](int) { return std::pair{400, 400}; });   // traces clamped out of the way, at 416
    for (BOOL grid : {TRUE, FALSE}) {
        in.view().m_bGrid = grid;
        DibPage page(800, 600);
        page.Draw(in.view());
        const COLORREF axis = grid ? kBlack : kWhite;
        SCOPED_TRACE(grid ? "grid on" : "grid off");
        // Solid axes and their ticks, 2 units wide.
        EXPECT_EQ(page.At(100, 219), axis);
        EXPECT_EQ(page.At(100, 220), axis);
        EXPECT_EQ(page.At(270, 100), axis);
        EXPECT_EQ(page.At(45, 212), axis);
        EXPECT_EQ(page.At(262, 70), axis);
        // Dotted graticule: some dots in every line, only with the grid.
        for (int x : {45, 90, 135, 180, 225, 315, 360, 405, 450, 495})
            EXPECT_EQ(page.RowsWith(x, 100, 110, kBlack).empty(), !grid) << "vertical line " << x;
        for (int y : {70, 120, 170, 270, 320, 370}) {
            int dots = 0;
            for (int x = 100; x <= 110; ++x) dots += page.At(x, y) == kBlack;
            EXPECT_EQ(dots == 0, !grid) << "horizontal line " << y;
        }
        EXPECT_EQ(page.At(100, 100), kWhite);
        // The 36 border ticks, 10 units long inwards.
        for (int x : {45, 90, 135, 180, 225, 270, 315, 360, 405, 450, 495}) {
            EXPECT_EQ(page.At(x, 28), kBlack) << "top tick " << x;
            EXPECT_EQ(page.At(x, 412), kBlack) << "bottom tick " << x;
        }
        for (int y : {70, 120, 170, 220, 270, 320, 370}) {
            EXPECT_EQ(page.At(28, y), kBlack) << "left tick " << y;
            EXPECT_EQ(page.At(512, y), kBlack) << "right tick " << y;
        }
        int beyondTick = 0;
        for (int x = 32; x <= 40; ++x) beyondTick += page.At(x, 70) == kBlack;
        EXPECT_EQ(beyondTick == 0, !grid) << "beyond a tick only the grid";
    }
}

TEST(ScopePage, PrinterPageIsScaledByThreeWithoutPanelHelpOrStrips)
{
    Instrument in;
    in.view().m_nOutputTarget = 2;
    in.view().m_clrScopeBack = RGB(255, 0, 255);
    in.Fill([](int) { return std::pair{50, -30}; });
    DibPage page(2400, 1800);
    page.Draw(in.view());
    for (POINT p : kStripPoints) EXPECT_EQ(page.At(3 * p.x, 3 * p.y), kUnpainted);
    EXPECT_EQ(page.At(3 * 577, 3 * 27), kUnpainted) << "no panel on paper";
    EXPECT_EQ(page.At(3 * 100, 3 * 100), kWhite);
    // The screen outline is 4 units = 12 pixels wide round x 20.
    EXPECT_EQ(page.At(3 * 20, 3 * 300), kBlack);
    EXPECT_EQ(page.At(3 * 20 - 5, 3 * 300), kBlack);
    EXPECT_EQ(page.At(3 * 20 + 8, 3 * 300), kWhite);
    EXPECT_EQ(page.At(3 * 100, 3 * 220), kBlack) << "grid axis";
    // The right trace at 120 + 50 and the left at 320 - 30, 6 pixels thick.
    EXPECT_EQ(page.RowsWith(3 * 300, 3 * 150, 3 * 190, kRed).size(), 6u);
    EXPECT_EQ(page.At(3 * 300, 3 * 170 - 1), kRed);
    EXPECT_EQ(page.At(3 * 300, 3 * 290 - 1), kYellow);
    // The frame round the screen and the scale column stay.
    EXPECT_NE(page.At(3 * 15 + 1, 3 * 300), kUnpainted);
    EXPECT_EQ(page.At(3 * 523, 3 * 100), kGreen);
}

TEST(ScopePage, ScaleColumnBandsFollowLayoutChannelAndGain)
{
    struct Case {
        int layout, channel, gain;
        std::vector<std::pair<int, COLORREF>> probes;   // y, colour at x 523
    };
    const Case cases[] = {
        {1, 1, 1, {{30, kYellow}, {100, kGreen}, {200, kYellow}, {240, kRed}, {300, kUnpainted}}},
        {1, 1, 2, {{30, kGreen}, {290, kYellow}, {380, kRed}, {410, kUnpainted}}},
        {1, 1, 5, {{30, kGreen}, {400, kGreen}}},
        {1, 2, 1, {{100, kUnpainted}, {190, kRed}, {221, kYellow}, {300, kGreen}, {400, kYellow}}},
        {1, 2, 2, {{60, kRed}, {150, kYellow}, {300, kGreen}, {30, kUnpainted}}},
        {1, 2, 5, {{30, kGreen}, {410, kGreen}}},
        {2, 1, 1, {{50, kUnpainted}, {100, kRed}, {130, kYellow}, {220, kGreen}, {300, kYellow}, {350, kRed}, {400, kUnpainted}}},
        {4, 1, 2, {{40, kYellow}, {220, kGreen}, {400, kYellow}}},
        {5, 1, 5, {{30, kGreen}, {410, kGreen}}},
        {3, 1, 1, {{40, kYellow}, {220, kGreen}, {400, kYellow}}},
        {3, 1, 2, {{30, kGreen}, {410, kGreen}}},
        {3, 1, 5, {{30, kGreen}, {410, kGreen}}},
        {1, 3, 1, {{30, kUnpainted}, {100, kUnpainted}, {240, kUnpainted}}},
        {2, 1, 3, {{100, kUnpainted}, {220, kUnpainted}}},
    };
    for (const Case& c : cases) {
        Instrument in;
        in.SetLayout(c.layout);
        in.view().m_nScaleChannel = c.channel;
        in.view().m_nVerticalGain = c.gain;
        DibPage page(800, 600);
        page.Draw(in.view());
        for (auto [y, colour] : c.probes)
            EXPECT_EQ(page.At(523, y), colour)
                << "layout " << c.layout << " channel " << c.channel << " gain " << c.gain << " y " << y;
    }
}

TEST(ScopePage, ResourcesAreCreatedOnceAndNotLeftSelected)
{
    Instrument in;
    DibPage page(800, 600);
    page.Draw(in.view());
    EXPECT_FALSE(in.view().m_bNeedResources);
    const HGDIOBJ red = in.view().m_penRed.m_hObject, small = in.view().m_fontSmall.m_hObject;
    ASSERT_NE(red, nullptr);
    ASSERT_NE(small, nullptr);
    page.Draw(in.view());
    EXPECT_EQ(in.view().m_penRed.m_hObject, red);
    EXPECT_EQ(in.view().m_fontSmall.m_hObject, small);
    LOGPEN lp{};
    ASSERT_EQ(::GetObjectA(red, sizeof lp, &lp), static_cast<int>(sizeof lp));
    EXPECT_EQ(lp.lopnWidth.x, 2);
    EXPECT_EQ(lp.lopnColor, kRed);
    LOGFONTA lf{};
    ASSERT_GT(::GetObjectA(in.view().m_fontLarge.m_hObject, sizeof lf, &lf), 0);
    EXPECT_EQ(lf.lfHeight, 24);
    EXPECT_EQ(lf.lfWidth, 10);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    // Our objects are not selected into the DC once the paint is over, so
    // deleting them succeeds.
    EXPECT_TRUE(in.view().m_penRed.DeleteObject());
    EXPECT_TRUE(in.view().m_fontSmall.DeleteObject());
}

TEST(ScopePage, TheRepaintAfterACaptureDrawsItsAreasAsAFullPaintWouldAndNothingElse)
{
    // What a capture invalidates: the synchronisation box and the scope screen.
    const std::vector<RECT> areas{{572, 342, 683, 353}, {20, 20, 520, 420}};
    auto inside = [&](int x, int y) {
        for (const RECT& r : areas)
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
        return false;
    };
    for (int layout = 1; layout <= 5; ++layout) {
        Instrument before, after;
        before.SetLayout(layout);
        after.SetLayout(layout);
        after.SetTimeBase(5000);
        before.SetTimeBase(5000);
        after.Fill([](int i) { return std::pair{i % 90 < 45 ? 90 : -90, (i % 40) * 3 - 60}; });
        after.view().m_bSyncFound = TRUE;
        after.view().m_nTriggerOffset = 17;

        DibPage full(800, 600), repainted(800, 600), old(800, 600);
        full.Draw(after.view());
        old.Draw(before.view());
        repainted.Draw(before.view());
        repainted.DrawClipped(after.view(), areas);
        int wrong = 0;
        for (int y = 0; y < 600 && wrong < 5; ++y)
            for (int x = 0; x < 800 && wrong < 5; ++x) {
                const COLORREF want = inside(x, y) ? full.At(x, y) : old.At(x, y);
                if (repainted.At(x, y) != want) {
                    ++wrong;
                    ADD_FAILURE() << "layout " << layout << ": (" << x << ", " << y << ") is " << std::hex
                                  << repainted.At(x, y) << ", not " << want;
                }
            }
    }
}

}  // namespace
