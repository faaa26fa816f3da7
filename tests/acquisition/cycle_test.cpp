// The measurement cycle's starts and stops as the menus and the mouse drive
// them, on a real view with the virtual microphone behind it.
#include "support.h"
#include <gtest/gtest.h>
#include <cmath>
#include <memory>

using namespace acqtest;

namespace {

// Records the check state an update handler gives.
struct CheckProbe : CCmdUI {
    int checked = -1;
    void SetCheck(int nCheck) override { checked = nCheck; }
};

class Cycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(HaveVirtualMic());
        WriteSignal([](double t) { return std::make_pair(0.5 * std::sin(2 * 3.14159265358979 * 441 * t), 0.0); }, 20);
        harness = std::make_unique<ViewHarness>();
        view = harness->view;
        ASSERT_FALSE(view->m_bAudioFailed);
    }
    void TearDown() override
    {
        harness.reset();
        for (const ShownBox& b : watcher.Boxes()) ADD_FAILURE() << "message box \"" << b.caption << "\": " << b.text;
    }
    int CheckOf(UINT id)
    {
        CheckProbe probe;
        probe.m_nID = id;
        probe.DoUpdate(view, FALSE);
        return probe.checked;
    }
    void Command(UINT id) { view->SendMessage(WM_COMMAND, id); }
    void RightClick(int x, int y) { view->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y)); }
    // Pumps until the cycle reaches phase (after its arm tick: 2; after a collect: 1).
    bool PumpUntilPhase(int phase) { return Pump(2000, [&] { return view->m_nCapturePhase == phase; }); }

    SettingsFileGuard settings;
    BoxWatcher watcher;
    std::unique_ptr<ViewHarness> harness;
    COndavView* view = nullptr;
};

TEST_F(Cycle, MarcheStartsOnceAndArretStopsWithTheirCheckMarks)
{
    EXPECT_EQ(CheckOf(COndavView::kCmdMeasureStart), 0);
    EXPECT_EQ(CheckOf(COndavView::kCmdMeasureStop), 1);

    Command(COndavView::kCmdMeasureStart);
    EXPECT_TRUE(view->m_bRunning);
    EXPECT_EQ(view->m_nCapturePhase, 1);
    EXPECT_EQ(CheckOf(COndavView::kCmdMeasureStart), 1);
    EXPECT_EQ(CheckOf(COndavView::kCmdMeasureStop), 0);

    // A second start while armed leaves the cycle where it was.
    ASSERT_TRUE(PumpUntilPhase(2));
    Command(COndavView::kCmdMeasureStart);
    view->StartMeasurement();
    EXPECT_EQ(view->m_nCapturePhase, 2);
    EXPECT_TRUE(view->m_bRunning);

    // Stopping between the arm and its collect drops that capture.
    Command(COndavView::kCmdMeasureStop);
    EXPECT_FALSE(view->m_bRunning);
    EXPECT_EQ(CheckOf(COndavView::kCmdMeasureStop), 1);
    harness->doc->SetModifiedFlag(FALSE);
    Pump(900);
    EXPECT_FALSE(harness->doc->IsModified()) << "no tick after a stop";
    EXPECT_EQ(view->m_nCapturePhase, 2) << "a stop leaves the phase";

    // The next start begins with an arm and captures again: the buffer was
    // given back by the driver in the meantime.
    Command(COndavView::kCmdMeasureStart);
    EXPECT_EQ(view->m_nCapturePhase, 1);
    ASSERT_TRUE(Pump(2000, [&] { return harness->doc->IsModified() != FALSE; }));
    EXPECT_NEAR(Analyse(harness->doc->m_left, kCaptureFrames).frequencyHz, 441, 5);
}

TEST_F(Cycle, RightClickStopsOnlyInsideTheScopeZoneInScopeMode)
{
    view->StartMeasurement();
    for (auto [x, y] : { std::pair{ 15, 100 }, std::pair{ 524, 100 }, std::pair{ 100, 15 }, std::pair{ 100, 424 } }) {
        RightClick(x, y);
        EXPECT_TRUE(view->m_bRunning) << "stopped by a click at " << x << "," << y;
        EXPECT_EQ(view->m_ptClick.x, x);
        EXPECT_EQ(view->m_ptClick.y, y);
    }
    view->m_nDisplayMode = kModeVuMeters;
    RightClick(100, 100);
    EXPECT_TRUE(view->m_bRunning) << "a right click does not stop the VU meters";
    Command(COndavView::kCmdMeasureStop);
    EXPECT_FALSE(view->m_bRunning) << "Arrêt stops in every mode";

    view->m_nDisplayMode = kModeScope;
    view->StartMeasurement();
    RightClick(16, 423);
    EXPECT_FALSE(view->m_bRunning);
}

TEST_F(Cycle, ClosingWhileRunningStopsCleanlyEvenWithTheBufferQueued)
{
    // A fresh view on no settings file: it is created anew and written at exit.
    harness.reset();
    ::DeleteFileA(SettingsPath().c_str());
    harness = std::make_unique<ViewHarness>();
    view = harness->view;
    view->StartMeasurement();
    // Right after the arm tick: recording has started and the buffer is queued.
    ASSERT_TRUE(PumpUntilPhase(2));
    EXPECT_TRUE(view->m_waveHdr.dwFlags & WHDR_INQUEUE);
    harness->Destroy();
    EXPECT_EQ(watcher.Count(), 0u) << "the close failed";
    EXPECT_EQ(ReadFileBytes(SettingsPath()).size(), 48u);
    Pump(1000);   // a tick left behind would reach a deleted view
}

} // namespace
