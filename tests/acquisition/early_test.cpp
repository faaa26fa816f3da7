// The sound card opened ahead by the application: the view takes that very
// device, once, and an open it cannot use is closed, not left holding the card.
#include "support.h"
#include "acquisition/EarlyWaveIn.h"
#include <gtest/gtest.h>
#include <memory>

using namespace acqtest;

namespace {

BOOL TakeEarly(DWORD rate)
{
    HWAVEIN handle = nullptr;
    MMRESULT result = MMSYSERR_NOERROR;
    return CEarlyWaveIn::Take(WAVE_MAPPER, COndavView::CaptureFormat(rate), 0, 0, CALLBACK_NULL, &handle, &result);
}

TEST(EarlyWaveIn, TheViewTakesTheCardOpenedAheadOnce)
{
    ASSERT_TRUE(HaveVirtualMic()) << "ONDAV_VMIC_SIGNAL is not set";
    WriteSignal([](double) { return std::make_pair(0.0, 0.0); }, 2.0);
    SettingsFileGuard guard;
    BoxWatcher watcher;
    CEarlyWaveIn::Start(COndavView::CaptureFormat(kSampleRate));
    auto harness = std::make_unique<ViewHarness>();
    EXPECT_EQ(watcher.Count(), 0u);
    EXPECT_FALSE(harness->view->m_bAudioFailed);
    UINT id = 99;
    EXPECT_EQ(::waveInGetID(harness->view->m_hWaveIn, &id), MMSYSERR_NOERROR) << "a live device";
    EXPECT_FALSE(TakeEarly(kSampleRate)) << "the device is handed over once";
    harness->Destroy();
}

TEST(EarlyWaveIn, AnOpenWithOtherArgumentsIsDroppedForTheCaller)
{
    WriteSignal([](double) { return std::make_pair(0.0, 0.0); }, 2.0);
    CEarlyWaveIn::Start(COndavView::CaptureFormat(kSampleRate));
    EXPECT_FALSE(TakeEarly(kSampleRate / 2));
    EXPECT_FALSE(TakeEarly(kSampleRate)) << "dropped, not kept open";
}

} // namespace
