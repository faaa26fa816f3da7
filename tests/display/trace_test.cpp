// Traces of every layout at fine and coarse time bases, probed pixel by pixel.
// A 2-unit pen at (x, y) covers rows y - 1 and y of column x.
#include "PageFixture.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>

namespace {


struct Trace {
    const char* name;
    COLORREF colour;
    int zero;
    std::function<int(int right, int left)> value;
};

// The traces each layout draws, with their zero lines.
std::vector<Trace> TracesOf(int layout)
{
    auto right = [](int r, int) { return r; };
    auto left = [](int, int l) { return l; };
    switch (layout) {
    case 1: return {{"right", kRed, 120, right}, {"left", kYellow, 320, left}};
    case 2: return {{"right", kRed, 220, right}, {"left", kYellow, 220, left}};
    case 3: return {{"sum", kBlue, 220, [](int r, int l) { return r + l; }}};
    case 4: return {{"difference", kGreen, 220, [](int r, int l) { return r - l; }}};
    }
    return {};
}

struct Point {
    int x, index;
};

// Where the points of a time base fall: every samplesPerPixel-th sample from
// the start, pixelsPerSample apart from x 23, the last one pulled to x 516.
std::vector<Point> PointsOf(int pixelsPerSample, int samplesPerPixel, int start)
{
    std::vector<Point> points;
    for (int x = 23, i = start;; x += pixelsPerSample, i += samplesPerPixel) {
        points.push_back({x > 514 ? 516 : x, i});
        if (x >= 515) break;
    }
    return points;
}

using Frame = std::function<std::pair<int, int>(int)>;

// Right always below (positive) and left above (negative) their zero lines,
// so the two traces of the superposed layout never cover each other.
const std::pair<const char*, Frame> kFrames[] = {
    {"constant", [](int) { return std::pair{60, -40}; }},
    {"ramp", [](int i) { return std::pair{10 + (i % 67), -10 - (i % 61)}; }},
    {"square", [](int i) { return (i / 7) % 2 ? std::pair{90, -20} : std::pair{20, -90}; }},
};

struct Base {
    int code, pixelsPerSample, samplesPerPixel;
};
constexpr Base kFine{200, 50, 1};
constexpr Base kCoarse{50, 1, 5};

void ExpectTracePoints(const DibPage& page, const Trace& t, const Frame& f, const Base& b, int start)
{
    const auto points = PointsOf(b.pixelsPerSample, b.samplesPerPixel, start);
    for (const Point& p : points) {
        auto [r, l] = f(p.index);
        const int y = std::clamp(t.zero + t.value(r, l), 22, 416);
        const bool hit = page.At(p.x, y) == t.colour && page.At(p.x, y - 1) == t.colour;
        EXPECT_TRUE(hit) << t.name << " point x " << p.x << " index " << p.index << " y " << y;
        if (!hit) return;   // one report per trace is enough
    }
}

class TraceLayouts : public ::testing::TestWithParam<int> {};

TEST_P(TraceLayouts, EveryPointAtFineAndCoarseTimeBases)
{
    const int layout = GetParam();
    for (const auto& [frameName, frame] : kFrames) {
        for (const Base& b : {kFine, kCoarse}) {
            SCOPED_TRACE(std::string(frameName) + " time base " + std::to_string(b.code));
            Instrument in;
            in.SetLayout(layout);
            in.SetTimeBase(b.code);
            in.Fill(frame);
            DibPage page(800, 600);
            page.Draw(in.view());
            for (const Trace& t : TracesOf(layout)) {
                ExpectTracePoints(page, t, frame, b, 300);
                // Nothing of the trace left of x 22 or right of x 516.
                EXPECT_TRUE(page.RowsWith(21, 22, 418, t.colour).empty()) << t.name;
                EXPECT_TRUE(page.RowsWith(517, 22, 418, t.colour).empty()) << t.name;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, TraceLayouts, ::testing::Values(1, 2, 3, 4));

TEST(Traces, SilenceLiesOneGainStepBelowEachZeroLine)
{
    for (int gain : {1, 2, 5}) {
        for (int layout : {1, 3}) {
            Instrument in;   // silence: every sample +1, the sum +2
            in.SetLayout(layout);
            in.view().m_nVerticalGain = gain;
            DibPage page(800, 600);
            page.Draw(in.view());
            if (layout == 1) {
                EXPECT_EQ(page.At(300, 120 + gain), kRed) << gain;
                EXPECT_EQ(page.At(300, 320 + gain), kYellow) << gain;
            } else {
                EXPECT_EQ(page.At(300, 220 + 2 * gain), kBlue) << gain;
            }
        }
    }
}

TEST(Traces, TriggerOffsetMovesTheStart)
{
    // A step from 0 to 80 at sample 500; at 1 ms each sample is 10 units.
    Instrument in;
    in.Fill([](int i) { return std::pair{i < 500 ? 0 : 80, 0}; });
    const std::pair<int, int> cases[] = {{0, -1}, {180, 20}, {200, 0}};   // offset, point of the step
    for (auto [offset, stepPoint] : cases) {
        in.view().m_nTriggerOffset = offset;
        DibPage page(800, 600);
        page.Draw(in.view());
        for (int k : {0, 10, 19, 21, 30, 49}) {
            const bool high = stepPoint >= 0 && k >= stepPoint;
            EXPECT_EQ(page.At(23 + 10 * k, high ? 200 : 120), kRed) << "offset " << offset << " point " << k;
        }
    }
}

TEST(Traces, GainFiveClampsToTheWholeScreen)
{
    Instrument in;
    in.view().m_nVerticalGain = 5;
    in.Fill([](int) { return std::pair{128, -127}; });
    DibPage page(800, 600);
    page.Draw(in.view());
    // The right channel runs down into the left half, clamped at 416, the left one at 22.
    EXPECT_EQ(page.RowsWith(300, 20, 420, kRed), (std::vector<int>{415, 416}));
    EXPECT_EQ(page.RowsWith(300, 20, 420, kYellow), (std::vector<int>{21, 22}));
}

TEST(Traces, ValuesOfAnyFileNeitherWrapNorEscapeTheScreen)
{
    // 5 x INT_MAX would wrap to a negative y in 32 bits.
    for (int layout : {1, 3, 4, 5}) {
        Instrument in;
        in.SetLayout(layout);
        in.view().m_nVerticalGain = 5;
        for (int i = 0; i < kFrameUsed; ++i) {
            in.doc().m_right[i] = INT_MAX;
            in.doc().m_left[i] = INT_MIN;
            in.doc().m_sum[i] = INT_MAX;
            in.doc().m_difference[i] = INT_MAX;
        }
        DibPage page(800, 600);
        page.Draw(in.view());
        switch (layout) {
        case 1:
            EXPECT_EQ(page.At(300, 416), kRed);
            EXPECT_EQ(page.At(300, 22), kYellow);
            break;
        case 3: EXPECT_EQ(page.At(300, 416), kBlue); break;
        case 4: EXPECT_EQ(page.At(300, 416), kGreen); break;
        case 5: EXPECT_EQ(page.At(22, 416), kRed) << "Lissajous corner x 22, y 416"; break;
        }
    }
}

TEST(Traces, LissajousIsADotForSilenceAndACircleForQuadratureSines)
{
    Instrument in;
    in.SetLayout(5);
    in.SetTimeBase(50);   // ignored by the figure
    in.view().m_nTriggerOffset = 300;   // ignored too
    {
        DibPage page(800, 600);
        page.Draw(in.view());
        for (int x = 266; x <= 276; ++x)
            for (int y = 216; y <= 226; ++y)
                EXPECT_EQ(page.At(x, y) == kRed, (x == 270 || x == 271) && (y == 220 || y == 221)) << x << "," << y;
    }
    // 100 sin against 100 cos: a circle of radius 100 round (270, 220),
    // drawn only from entries 300 to 1000.
    in.Fill([](int i) {
        const double t = 2 * 3.14159265358979 * i / 44.1;
        return i < 300 || i > 1000 ? std::pair{0, 0}
                                   : std::pair{static_cast<int>(std::lround(100 * std::sin(t))),
                                               static_cast<int>(std::lround(100 * std::cos(t)))};
    });
    DibPage page(800, 600);
    page.Draw(in.view());
    EXPECT_FALSE(page.RowsWith(370, 215, 225, kRed).empty());
    EXPECT_FALSE(page.RowsWith(170, 215, 225, kRed).empty());
    EXPECT_FALSE(page.RowsWith(270, 115, 125, kRed).empty());
    EXPECT_FALSE(page.RowsWith(270, 315, 325, kRed).empty());
    EXPECT_EQ(page.At(300, 250), kWhite) << "inside the circle";
    EXPECT_NE(page.At(270, 220), kRed) << "entries outside 300..1000 would put a point at the centre";
}

}  // namespace
