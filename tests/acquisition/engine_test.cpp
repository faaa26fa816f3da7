// The conversion of the capture buffer and the trigger search, on bytes and
// sums the test puts in place; no device is involved.
#include "support.h"
#include <gtest/gtest.h>
#include <memory>

namespace {

class Engine : public ::testing::Test {
protected:
    void SetUp() override
    {
        view = std::make_unique<COndavView>();
        view->m_nSampleRate = 44100;
        view->SetupCapture();
    }
    void FillFrames(BYTE left, BYTE right)
    {
        for (int i = 0; i < kCaptureFrames; ++i) {
            view->m_captureBuf[2 * i] = left;
            view->m_captureBuf[2 * i + 1] = right;
        }
    }
    void SumEverywhere(int value)
    {
        for (int& s : view->m_aSum) s = value;
    }
    std::unique_ptr<COndavView> view;
};

TEST_F(Engine, BytesBecomeSamplesLeftFirstAndFillOnlyTheFirst4000)
{
    // Sentinels past the capture must survive it.
    for (int i = kCaptureFrames; i < kFrameArrayLength; ++i)
        view->m_aRight[i] = view->m_aLeft[i] = view->m_aSum[i] = view->m_aDiff[i] = 777;

    FillFrames(128, 128);   // silence
    view->CollectFrame();
    EXPECT_EQ(view->m_aLeft[0], 1);
    EXPECT_EQ(view->m_aRight[3999], 1);
    EXPECT_EQ(view->m_aSum[2000], 2);
    EXPECT_EQ(view->m_aDiff[2000], 0);

    FillFrames(0, 255);
    view->CollectFrame();
    for (int i : { 0, 1234, 3999 }) {
        EXPECT_EQ(view->m_aLeft[i], -127);
        EXPECT_EQ(view->m_aRight[i], 128);
        EXPECT_EQ(view->m_aSum[i], 1);
        EXPECT_EQ(view->m_aDiff[i], 255);
    }

    // Every byte value, on the left; the right runs the other way.
    for (int i = 0; i < kCaptureFrames; ++i) {
        view->m_captureBuf[2 * i] = static_cast<BYTE>(i);
        view->m_captureBuf[2 * i + 1] = static_cast<BYTE>(255 - i);
    }
    view->CollectFrame();
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(view->m_aLeft[i], i - 127) << "byte " << i;
        ASSERT_EQ(view->m_aRight[i], 128 - i) << "byte " << 255 - i;
    }
    for (int i = kCaptureFrames; i < kFrameArrayLength; ++i) {
        ASSERT_EQ(view->m_aLeft[i], 777);
        ASSERT_EQ(view->m_aDiff[i], 777);
    }
}

TEST_F(Engine, TriggerIsTheFirstFallBelowMinus60After300)
{
    SumEverywhere(2);   // silence
    view->FindTrigger();
    EXPECT_FALSE(view->m_bSyncFound);
    EXPECT_EQ(view->m_nTriggerOffset, 0);

    // Falls before 300 do not count; the one at 450 does.
    SumEverywhere(0);
    view->m_aSum[200] = -100;
    for (int i = 450; i < 500; ++i) view->m_aSum[i] = -61;
    view->FindTrigger();
    EXPECT_TRUE(view->m_bSyncFound);
    EXPECT_EQ(view->m_nTriggerOffset, 150);

    // Exactly -60 is not below the level.
    SumEverywhere(0);
    view->m_aSum[400] = -60;
    view->m_aSum[401] = -61;
    view->FindTrigger();
    EXPECT_EQ(view->m_nTriggerOffset, 101);

    // Already below at 300: skipped until it rises, the next fall is the trigger.
    SumEverywhere(-100);
    for (int i = 350; i < 600; ++i) view->m_aSum[i] = 50;
    view->FindTrigger();
    EXPECT_TRUE(view->m_bSyncFound);
    EXPECT_EQ(view->m_nTriggerOffset, 300);
}

TEST_F(Engine, TriggerIsLookedForUpToIndex1000Only)
{
    SumEverywhere(0);
    view->m_aSum[1000] = -61;
    view->FindTrigger();
    EXPECT_TRUE(view->m_bSyncFound);
    EXPECT_EQ(view->m_nTriggerOffset, 700);

    SumEverywhere(0);
    view->m_aSum[1001] = -61;
    view->FindTrigger();
    EXPECT_FALSE(view->m_bSyncFound);
    EXPECT_EQ(view->m_nTriggerOffset, 0);

    // Below the level all the way: a pure negative offset never triggers.
    SumEverywhere(-126);
    view->FindTrigger();
    EXPECT_FALSE(view->m_bSyncFound);
}

} // namespace
