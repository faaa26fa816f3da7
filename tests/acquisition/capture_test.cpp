// Real capture through the virtual microphone: a measurement started on a real
// view window fills the document with the signal the test plays.
#include "support.h"
#include <gtest/gtest.h>
#include <cmath>
#include <memory>

using namespace acqtest;

namespace {

constexpr double kPi = 3.14159265358979323846;

class Capture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(HaveVirtualMic()) << "ONDAV_VMIC_SIGNAL is not set"; }
    // Leaving closes the device whatever state the cycle was in (often with
    // the buffer still queued): that must never be reported as a failure.
    void TearDown() override
    {
        harness.reset();
        for (const ShownBox& b : watcher.Boxes()) ADD_FAILURE() << "message box \"" << b.caption << "\": " << b.text;
    }

    void OpenView(const StereoSignal& signal)
    {
        WriteSignal(signal);
        harness = std::make_unique<ViewHarness>();
        ASSERT_NE(harness->hwnd, nullptr);
        ASSERT_EQ(watcher.Count(), 0u) << "open failed: " << watcher.Boxes()[0].text;
        ASSERT_FALSE(harness->view->m_bAudioFailed);
    }
    // Waits for the next frame to reach the document; false after timeoutMs.
    bool WaitForFrame(double timeoutMs = 3000)
    {
        harness->doc->SetModifiedFlag(FALSE);
        return Pump(timeoutMs, [&] { return harness->doc->IsModified() != FALSE; });
    }
    // Starts a view on the signal and runs the measurement until its first frame.
    void CaptureOneFrame(const StereoSignal& signal)
    {
        ASSERT_NO_FATAL_FAILURE(OpenView(signal));
        harness->view->StartMeasurement();
        COndavView* v = harness->view;
        ASSERT_TRUE(WaitForFrame()) << "no frame within 3 s: phase " << v->m_nCapturePhase << " running "
                                    << v->m_bRunning << " failed " << v->m_bAudioFailed << " result "
                                    << v->m_mmResult << " header flags " << v->m_waveHdr.dwFlags;
        EXPECT_EQ(watcher.Count(), 0u);
        // The cycle goes on: armed again after the refresh period.
        EXPECT_TRUE(v->m_bRunning);
        EXPECT_EQ(v->m_nCapturePhase, 1);
    }
    void ExpectSumAndDifferenceOfChannels()
    {
        const COndavDoc* d = harness->doc;
        int bad = 0;
        for (int i = 0; i < kCaptureFrames; ++i)
            if (d->m_sum[i] != d->m_right[i] + d->m_left[i] || d->m_difference[i] != d->m_right[i] - d->m_left[i]) ++bad;
        EXPECT_EQ(bad, 0) << "samples whose sum or difference does not match the channels";
    }
    int CountOf(const int* a, int value)
    {
        int n = 0;
        for (int i = 0; i < kCaptureFrames; ++i) n += a[i] == value;
        return n;
    }

    SettingsFileGuard settings;
    BoxWatcher watcher;
    std::unique_ptr<ViewHarness> harness;
};

TEST_F(Capture, EachChannelKeepsItsFrequencyAndAmplitude)
{
    // Left 441 Hz at half scale, right 1000 Hz at a quarter: the 8-bit samples
    // swing about 64 and 32 around the mid-scale value +1.
    ASSERT_NO_FATAL_FAILURE(CaptureOneFrame([](double t) {
        return std::make_pair(0.5 * std::sin(2 * kPi * 441 * t), 0.25 * std::sin(2 * kPi * 1000 * t));
    }));
    const COndavDoc* d = harness->doc;
    ChannelStats left = Analyse(d->m_left, kCaptureFrames);
    ChannelStats right = Analyse(d->m_right, kCaptureFrames);
    EXPECT_NEAR(left.frequencyHz, 441, 5);
    EXPECT_NEAR(right.frequencyHz, 1000, 25);
    EXPECT_NEAR(left.high, 1 + 64, 3);
    EXPECT_NEAR(left.low, 1 - 64, 3);
    EXPECT_NEAR(right.high, 1 + 32, 3);
    EXPECT_NEAR(right.low, 1 - 32, 3);
    ExpectSumAndDifferenceOfChannels();
}

TEST_F(Capture, SilenceReadsPlusOneAndNeverTriggers)
{
    ASSERT_NO_FATAL_FAILURE(CaptureOneFrame([](double) { return std::make_pair(0.0, 0.0); }));
    const COndavDoc* d = harness->doc;
    EXPECT_EQ(CountOf(d->m_left, 1), kCaptureFrames);
    EXPECT_EQ(CountOf(d->m_right, 1), kCaptureFrames);
    EXPECT_EQ(CountOf(d->m_sum, 2), kCaptureFrames);
    EXPECT_EQ(CountOf(d->m_difference, 0), kCaptureFrames);
    EXPECT_FALSE(harness->view->m_bSyncFound);
    EXPECT_EQ(harness->view->m_nTriggerOffset, 0);
}

TEST_F(Capture, FullScaleReachesBothEndsOfTheRange)
{
    // Left at the bottom (byte 0), right at the top (byte 255).
    ASSERT_NO_FATAL_FAILURE(CaptureOneFrame([](double) { return std::make_pair(-1.0, 1.0); }));
    const COndavDoc* d = harness->doc;
    EXPECT_EQ(CountOf(d->m_left, -127), kCaptureFrames);
    EXPECT_EQ(CountOf(d->m_right, 128), kCaptureFrames);
    EXPECT_EQ(CountOf(d->m_sum, 1), kCaptureFrames);
    EXPECT_EQ(CountOf(d->m_difference, 255), kCaptureFrames);
}

TEST_F(Capture, NegativeOffsetStaysBelowTheLevelAndDoesNotTrigger)
{
    // Both channels a quarter scale below zero: about -31 each, a sum near -62.
    ASSERT_NO_FATAL_FAILURE(CaptureOneFrame([](double) { return std::make_pair(-0.25, -0.25); }));
    const COndavDoc* d = harness->doc;
    ChannelStats sum = Analyse(d->m_sum, kCaptureFrames);
    EXPECT_LT(sum.max, -60);
    EXPECT_GT(sum.min, -66);
    ExpectSumAndDifferenceOfChannels();
    EXPECT_FALSE(harness->view->m_bSyncFound);
    EXPECT_EQ(harness->view->m_nTriggerOffset, 0);
}

TEST_F(Capture, SineOnTheSumTriggersAtItsFirstFallFrom300On)
{
    // The same 441 Hz on both channels: the sum swings about +-128 and falls
    // through -60 once every 100 samples.
    ASSERT_NO_FATAL_FAILURE(CaptureOneFrame([](double t) {
        double v = 0.5 * std::sin(2 * kPi * 441 * t);
        return std::make_pair(v, v);
    }));
    const COndavDoc* d = harness->doc;
    const COndavView* v = harness->view;
    ASSERT_TRUE(v->m_bSyncFound);
    int at = v->m_nTriggerOffset + 300;
    EXPECT_GE(v->m_nTriggerOffset, 1);
    EXPECT_LE(v->m_nTriggerOffset, 150) << "more than a period (and a dropped chunk) after 300";
    EXPECT_LT(d->m_sum[at], -60);
    EXPECT_GE(d->m_sum[at - 1], -60);
    // No earlier fall through the level once the sum had been at or above it.
    bool above = false;
    for (int i = 300; i < at; ++i) {
        if (d->m_sum[i] >= -60) above = true;
        else EXPECT_FALSE(above) << "an earlier fall at " << i;
    }
}

TEST_F(Capture, FramesComeAfter800msThenEveryWaitPlusRefreshPeriod)
{
    ASSERT_NO_FATAL_FAILURE(OpenView([](double t) { return std::make_pair(0.5 * std::sin(2 * kPi * 441 * t), 0.0); }));
    COndavView* v = harness->view;
    std::vector<double> at;
    auto frame = [&] {
        bool got = WaitForFrame(2500);
        at.push_back(NowMs());
        return got;
    };
    double start = NowMs();
    v->StartMeasurement();
    ASSERT_TRUE(frame());
    ASSERT_TRUE(frame());
    ASSERT_TRUE(frame());
    v->m_nRefreshPeriod = 100;    // "Rapide": from the next collect on
    ASSERT_TRUE(frame());
    ASSERT_TRUE(frame());
    v->m_nRefreshPeriod = 1000;   // "Lent"
    ASSERT_TRUE(frame());
    ASSERT_TRUE(frame());
    std::vector<double> gaps{ at[0] - start };
    for (size_t i = 1; i < at.size(); ++i) gaps.push_back(at[i] - at[i - 1]);
    // The period chosen between two frames applies after the next one.
    const double expected[] = { 800, 900, 900, 900, 500, 500, 1400 };
    std::string measured;
    for (double g : gaps) measured += std::to_string(static_cast<int>(g)) + " ";
    std::printf("frame intervals (ms): %s\n", measured.c_str());
    for (size_t i = 0; i < gaps.size(); ++i)
        EXPECT_NEAR(gaps[i], expected[i], 80) << "interval " << i << "; all: " << measured;
}

} // namespace
