// A machine without any recording device (the suite runs this part with an
// ALSA configuration that has no PCM): the program opens, refuses every
// measurement, reports the sound interface at exit and still keeps its settings.
#include "support.h"
#include "acquisition/EarlyWaveIn.h"
#include <gtest/gtest.h>
#include <memory>

using namespace acqtest;

namespace {

const char kOpenCaption[] = "Ouverture de l'interface audio.";
const char kOpenText[] =
    "Impossible d'ouvrir l'interface audio! Soit celle-ci n'est pas compatible, soit elle est "
    "déjà utilisée par une autre application. Fermez l'Ondavis, fermez l'application utilisant "
    "l'interface et réessayez.  ";
const char kRefusalText[] =
    "Le programme ne peut pas fonctionner normalement à cause d'un problème qui vous a déjà été "
    "signalé. Quittez le programme et réessayez.";
const char kSoundText[] =
    "Un problème est survenu au cours de l'utilisation de l'interface son. Fermez l'Ondavis est "
    "réessayez.";

// Pumps until the watcher has seen count boxes in all; false on timeout.
bool WaitForBoxes(BoxWatcher& watcher, size_t count, double timeoutMs)
{
    double end = NowMs() + timeoutMs;
    while (watcher.Count() < count && NowMs() < end) Pump(10);
    return watcher.Count() >= count;
}

TEST(NoDevice, OpensRefusesEveryStartAndReportsTheInterfaceAtExit)
{
    ASSERT_EQ(::waveInGetNumDevs(), 0u) << "this part needs a machine without recording device";
    SettingsFileGuard guard;
    ::DeleteFileA(SettingsPath().c_str());
    BoxWatcher watcher;
    auto harness = std::make_unique<ViewHarness>();
    COndavView* view = harness->view;

    std::vector<ShownBox> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u) << "the open failure, once";
    EXPECT_EQ(boxes[0].caption, kOpenCaption);
    EXPECT_EQ(boxes[0].text, kOpenText);
    EXPECT_EQ(boxes[0].owner, nullptr) << "no window exists yet";
    ASSERT_TRUE(::IsWindow(harness->hwnd)) << "the window opens all the same";
    EXPECT_TRUE(view->m_bAudioFailed);
    EXPECT_TRUE(view->m_bDeviceOpen);

    // Each start ("M&arche") is refused one wait later, and the timer stops.
    for (size_t n = 2; n <= 3; ++n) {
        double start = NowMs();
        view->SendMessage(WM_COMMAND, COndavView::kCmdMeasureStart);
        EXPECT_TRUE(view->m_bRunning);
        ASSERT_TRUE(WaitForBoxes(watcher, n, 2000)) << "no refusal";
        ShownBox refusal = watcher.Boxes().back();
        EXPECT_EQ(refusal.caption, "Ondavis");
        EXPECT_EQ(refusal.text, kRefusalText);
        // One 400 ms wait: never sooner, and well before a second wait would
        // end (a loaded machine delays the timer, never advances it).
        EXPECT_GE(refusal.atMs - start, 380);
        EXPECT_LT(refusal.atMs - start, 750);
        std::printf("refusal %zu came %.0f ms after the start\n", n - 1, refusal.atMs - start);
        Pump(300);
        EXPECT_FALSE(view->m_bRunning);
    }
    Pump(1000);
    EXPECT_EQ(watcher.Count(), 3u) << "a refused measurement does not come back";

    harness->Destroy();
    boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 4u) << "the close at exit fails too";
    EXPECT_EQ(boxes[3].caption, "Ondavis");
    EXPECT_EQ(boxes[3].text, kSoundText);
    std::vector<BYTE> bytes = ReadFileBytes(SettingsPath());
    EXPECT_EQ(bytes.size(), 48u) << "the settings are written all the same";
}

// Opened ahead by the application, the failure is still the view's one box.
TEST(NoDevice, AFailedOpenAheadIsReportedOnceByTheView)
{
    SettingsFileGuard guard;
    BoxWatcher watcher;
    CEarlyWaveIn::Start(COndavView::CaptureFormat(kSampleRate));
    auto harness = std::make_unique<ViewHarness>();
    std::vector<ShownBox> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kOpenText);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_TRUE(harness->view->m_bAudioFailed);
    harness->Destroy();
}

} // namespace
