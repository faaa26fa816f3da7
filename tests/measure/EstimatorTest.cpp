// The estimators on synthetic captures quantised as the 8-bit capture path
// does: a sample is the byte minus 127, -127 to +128.
#include "measure/Readouts.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kCount = 4000;
constexpr double kRate = 44100, kPi = std::numbers::pi;

// signal(t) in fractions of full scale, as the sound card delivers it.
std::vector<int> capture(const std::function<double(double)>& signal)
{
    std::vector<int> s(kCount);
    for (int i = 0; i < kCount; ++i) {
        int byte = static_cast<int>(std::floor(signal(i / kRate) * 128)) + 128;
        s[static_cast<size_t>(i)] = std::clamp(byte, 0, 255) - 127;
    }
    return s;
}

auto sine(double hz, double amplitude, double phaseDeg = 0)
{
    return [=](double t) { return amplitude * std::sin(2 * kPi * hz * t + phaseDeg * kPi / 180); };
}

FrameAnalysis analyse(const std::vector<int>& right, const std::vector<int>& left)
{
    FrameAnalysis a;
    AnalyseFrame(right.data(), left.data(), kCount, a);
    return a;
}

double frequencyBound(double hz) { return std::max(hz * 0.0005, 0.05); }
double dbfs(double amplitude) { return 20 * std::log10(amplitude * 128 / 127.5); }

} // namespace

TEST(Estimators, SinesGiveFrequencyLevelAndPeakWithinTheirBounds)
{
    for (double hz : {50.0, 441.0, 1102.5, 4567.8, 15000.0}) {
        for (double amplitude : {0.1, 0.9}) {
            auto a = analyse(capture(sine(hz, amplitude)), capture(sine(hz * 1.1, amplitude)));
            const ChannelAnalysis& c = a.right;
            ASSERT_TRUE(c.pitch.periodic) << hz << " Hz at " << amplitude;
            EXPECT_NEAR(c.pitch.frequency, hz, frequencyBound(hz)) << amplitude;
            EXPECT_NEAR(a.left.pitch.frequency, hz * 1.1, frequencyBound(hz * 1.1)) << amplitude;
            EXPECT_NEAR(c.levels.rmsDbfs, dbfs(amplitude), 0.1) << hz << " Hz at " << amplitude;
            EXPECT_NEAR(c.peak.frequency, hz, 2.0) << amplitude;
            EXPECT_NEAR(c.peak.level, dbfs(amplitude), 0.5) << hz << " Hz at " << amplitude;
            // 8 bits leave a few % of harmonics on a weak sine.
            EXPECT_LT(c.distortion.percent, amplitude > 0.5 ? 1.0 : 5.0) << hz << " Hz at " << amplitude;
            EXPECT_FALSE(a.phaseCompared);   // 10 % apart
        }
    }
}

TEST(Estimators, PartPeriodLeftInTheCaptureBiasesNeitherMeanNorRms)
{
    // 4.5 and 8.8 periods in a capture, caught at any phase.
    for (double hz : {50.0, 97.3}) {
        for (double phase = 0; phase < 180; phase += 30) {
            auto a = analyse(capture(sine(hz, 0.9, phase)), capture(sine(hz, 0.1, phase)));
            EXPECT_NEAR(a.right.levels.rmsDbfs, dbfs(0.9), 0.1) << hz << " Hz from " << phase << " deg";
            EXPECT_NEAR(a.left.levels.rmsDbfs, dbfs(0.1), 0.1) << hz << " Hz from " << phase << " deg";
            EXPECT_NEAR(a.right.levels.mean, 0.5, 0.3) << hz << " Hz from " << phase << " deg";
        }
    }
}

TEST(Estimators, SquareAndTriangleGiveTheirFundamental)
{
    for (double hz : {50.0, 1000.0, 3333.0}) {
        auto square = [=](double t) { return std::sin(2 * kPi * hz * t) >= 0 ? 0.5 : -0.5; };
        auto triangle = [=](double t) { return 0.8 * (2 / kPi) * std::asin(std::sin(2 * kPi * hz * t)); };
        auto a = analyse(capture(square), capture(triangle));
        ASSERT_TRUE(a.right.pitch.periodic && a.left.pitch.periodic) << hz;
        EXPECT_NEAR(a.right.pitch.frequency, hz, frequencyBound(hz));
        EXPECT_NEAR(a.left.pitch.frequency, hz, frequencyBound(hz));
        // Odd harmonics 1/3, 1/5, 1/7, 1/9 (up to the 10th): 42.8 %.
        if (hz * 9 < kRate / 2) {
            EXPECT_NEAR(a.right.distortion.percent, 42.8, 2.0) << hz;
        }
    }
}

TEST(Estimators, NoPeriodicSignalGivesNoFrequencyNorPeriod)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> uniform(-0.5, 0.5);
    const std::function<double(double)> cases[] = {
        [](double) { return 0.0; },                       // silence: +1 everywhere
        [](double) { return 50 / 128.0; },                 // DC
        [&](double) { return uniform(random); },           // white noise
        sine(15, 0.5),                                      // fewer than two periods
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        auto a = analyse(capture(cases[i]), capture(cases[i]));
        EXPECT_FALSE(a.right.pitch.periodic) << "case " << i << ": " << a.right.pitch.frequency;
        ReadoutTable t = MakeReadouts(a);
        EXPECT_EQ(t[static_cast<size_t>(Readout::Frequency)][0], kNoReadout) << i;
        EXPECT_EQ(t[static_cast<size_t>(Readout::Period)][1], kNoReadout) << i;
        EXPECT_EQ(t[static_cast<size_t>(Readout::Distortion)][0], kNoReadout) << i;
        EXPECT_EQ(t[static_cast<size_t>(Readout::PhaseDifference)][0], kNoReadout) << i;
    }
    auto dc = analyse(capture(cases[1]), capture(cases[0]));
    EXPECT_DOUBLE_EQ(dc.right.levels.mean, 51);
    EXPECT_DOUBLE_EQ(dc.left.levels.mean, 1);
    EXPECT_EQ(dc.right.levels.peakToPeak, 0);
    EXPECT_FALSE(dc.levelsCompared);
    EXPECT_EQ(MakeReadouts(dc)[static_cast<size_t>(Readout::Rms)][0], kNoReadout);
}

TEST(Estimators, ClippedSineReachesFullScaleAndDistorts)
{
    auto a = analyse(capture(sine(1000, 1.5)), capture(sine(1000, 0.99)));
    EXPECT_EQ(a.right.levels.maximum, 128);
    EXPECT_EQ(a.right.levels.minimum, -127);
    EXPECT_EQ(a.right.levels.peakToPeak, 255);
    EXPECT_EQ(MakeReadouts(a)[static_cast<size_t>(Readout::PeakToPeak)][0], "255 (100,0 %)");
    EXPECT_NEAR(a.right.pitch.frequency, 1000, frequencyBound(1000));
    EXPECT_GT(a.right.distortion.percent, 10);
    EXPECT_LT(a.left.distortion.percent, 1);
}

TEST(Estimators, TwoTonesAndTwoChannelsCompare)
{
    // The stronger of two tones is the one measured and marked.
    auto two = [](double t) { return sine(1000, 0.5)(t) + sine(3700, 0.2)(t); };
    // Left: half the level, 60 degrees ahead.
    auto a = analyse(capture(two), capture(sine(1000, 0.25, 60)));
    EXPECT_NEAR(a.right.pitch.frequency, 1000, frequencyBound(1000));
    EXPECT_NEAR(a.right.peak.frequency, 1000, 2);
    ASSERT_TRUE(a.phaseCompared);
    EXPECT_NEAR(a.phaseDifferenceDeg, 60, 1);
    // RMS of both tones on the right: 0.5 and 0.2 together.
    EXPECT_NEAR(a.levelDifferenceDb, dbfs(0.25) - dbfs(std::hypot(0.5, 0.2)), 0.1);

    for (double shift : {-179.0, 179.0, -90.0}) {
        auto b = analyse(capture(sine(441, 0.5)), capture(sine(441, 0.5, shift)));
        ASSERT_TRUE(b.phaseCompared) << shift;
        double error = std::remainder(b.phaseDifferenceDeg - shift, 360.0);
        EXPECT_LT(std::abs(error), 1) << shift << " read " << b.phaseDifferenceDeg;
        EXPECT_NEAR(b.levelDifferenceDb, 0, 0.1);
    }
    EXPECT_FALSE(analyse(capture(sine(1000, 0.5)), capture(sine(1020, 0.5))).phaseCompared);
}

TEST(Readouts, FrenchNumbersWithUnitsAndDashes)
{
    EXPECT_EQ(FormatSignificant(441.03, 4), "441,0");
    EXPECT_EQ(FormatSignificant(1102.5, 4), "1103");
    EXPECT_EQ(FormatSignificant(0.0666667, 4), "0,06667");
    EXPECT_EQ(FormatSignificant(999.96, 4), "1000");
    EXPECT_EQ(FormatFixed(-0.004, 2), "0,00");
    EXPECT_EQ(FormatFixed(6.021, 2, true), "+6,02");
    auto a = analyse(capture(sine(441, 0.5)), capture(sine(441, 0.25, -30)));
    ReadoutTable t = MakeReadouts(a);
    auto at = [&](Readout r, int c) { return t[static_cast<size_t>(r)][static_cast<size_t>(c)]; };
    EXPECT_EQ(at(Readout::Frequency, 0), "441,0 Hz");
    EXPECT_EQ(at(Readout::Period, 1), "2,268 ms");
    // "-6,0x dBFS", "-6,0x dB", "-30,0°" give or take their last digit.
    auto number = [](std::string text, const char* unit) {
        EXPECT_EQ(text.substr(text.size() - std::strlen(unit)), unit);
        std::replace(text.begin(), text.end(), ',', '.');
        return std::stod(text);
    };
    EXPECT_NEAR(number(at(Readout::Rms, 0), " dBFS"), -6.0, 0.05);
    EXPECT_NEAR(number(at(Readout::LevelDifference, 0), " dB"), -6.02, 0.05);
    EXPECT_NEAR(number(at(Readout::PhaseDifference, 0), "\xB0"), -30, 1);
}
