#include "support/RunningApp.h"
#include "resource.h"
#include "support/ModalWatcher.h"
#include "framework/preview.h"
#include <gtest/gtest.h>

// Clicks on the settings panel and the scope screen of the running program,
// and the printing hooks.
namespace {
void click(int x, int y) { view()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }

struct Panel : ::testing::Test {
    void SetUp() override
    {
        command(ID_MESURE_ARRET);
        for (UINT id : { ID_MODE_DECALEES, ID_BASE_1MS, ID_RAFR_MOYEN, ID_GAIN_X1, ID_ECHELLE_DB, ID_ECHELLE_DROITE })
            command(id);
    }
    void TearDown() override { command(ID_MESURE_ARRET); }
};
} // namespace

TEST_F(Panel, BoxesSetTheSameValuesAsTheCommands)
{
    struct Case { int x, y; int COndavView::*member; int expected; };
    static const Case cases[] = {
        { 575, 45, &COndavView::m_nScopeLayout, 2 },  { 575, 65, &COndavView::m_nScopeSignal, 3 },
        { 575, 85, &COndavView::m_nScopeLayout, 4 },  { 575, 105, &COndavView::m_nScopeSignal, 5 },
        { 575, 25, &COndavView::m_nTraceY2, 320 },    { 575, 125, &COndavView::m_nSamplesPerPixel, 5 },
        { 575, 145, &COndavView::m_nTimeBase, 20 },   { 575, 185, &COndavView::m_nPixelsPerSample, 2 },
        { 575, 265, &COndavView::m_nTimeBase, 200 },  { 575, 365, &COndavView::m_nVerticalGain, 1 },
        { 575, 385, &COndavView::m_nVerticalGain, 2 }, { 575, 405, &COndavView::m_nVerticalGain, 5 },
        { 672, 397, &COndavView::m_nVerticalScale, 2 }, { 672, 377, &COndavView::m_nVerticalScale, 1 },
        { 717, 397, &COndavView::m_nScaleChannel, 2 }, { 717, 377, &COndavView::m_nScaleChannel, 1 },
    };
    for (const Case& c : cases) {
        click(c.x, c.y);
        EXPECT_EQ(view()->*c.member, c.expected) << "click at " << c.x << "," << c.y;
    }
    click(575, 285);
    EXPECT_EQ(view()->m_nRefreshPeriod, 100u);
    click(575, 325);
    EXPECT_EQ(view()->m_nRefreshPeriod, 1000u);
    EXPECT_FALSE(view()->m_bRunning) << "panel clicks start nothing";
}

TEST_F(Panel, EdgesAndTheSynchronisationBoxChangeNothing)
{
    click(575, 35);   // between the first two layout boxes
    click(565, 45);
    click(585, 45);
    click(575, 345);  // synchronisation
    EXPECT_EQ(view()->m_nScopeLayout, 1);
    EXPECT_EQ(view()->m_nTimeBase, 1000);
    EXPECT_FALSE(view()->m_bRunning);
}

TEST_F(Panel, ScaleChannelBoxesWorkOnlyInTheOffsetLayout)
{
    click(575, 45);   // superposed: the first zero line is 220
    click(717, 397);
    EXPECT_EQ(view()->m_nScaleChannel, 1);
    click(575, 25);
    click(717, 397);
    EXPECT_EQ(view()->m_nScaleChannel, 2);
}

TEST_F(Panel, LeftClickOnTheScreenStartsOnlyOnTheScope)
{
    click(15, 200);   // on the zone's edge
    EXPECT_FALSE(view()->m_bRunning);
    click(16, 200);
    EXPECT_TRUE(view()->m_bRunning);
    int phase = view()->m_nCapturePhase;
    click(300, 300);  // a second click while running changes nothing
    EXPECT_EQ(view()->m_nCapturePhase, phase);
    command(ID_MESURE_ARRET);

    command(ID_MODE_VUMETRES);   // starts a measurement itself
    command(ID_MESURE_ARRET);
    click(300, 200);
    click(575, 45);
    EXPECT_FALSE(view()->m_bRunning) << "no start outside the scope";
    EXPECT_EQ(view()->m_nScopeLayout, 1) << "no panel outside the scope";
}

TEST_F(Panel, PrintingStopsTheMeasurementAndComesBackToTheScopeOnScreen)
{
    command(ID_MODE_BARGRAPHES);
    ASSERT_TRUE(view()->m_bRunning);
    CDC dc;
    CPrintInfo info;
    view()->OnBeginPrinting(&dc, &info);
    EXPECT_FALSE(view()->m_bRunning);
    EXPECT_EQ(view()->m_nDisplayMode, kModeScope);
    EXPECT_EQ(view()->m_nOutputTarget, 2);
    view()->OnEndPrinting(&dc, &info);
    EXPECT_EQ(view()->m_nOutputTarget, 1);
    EXPECT_EQ(view()->m_nDisplayMode, kModeScope);
    EXPECT_FALSE(view()->m_bRunning) << "nothing restarts it";

    // Without a printer (or with the dialog cancelled) the screen extents come back.
    command(ID_MODE_VUMETRES);
    {
        ModalWatcher cancel(IDCANCEL);
        EXPECT_FALSE(view()->OnPreparePrinting(&info));
    }
    EXPECT_FALSE(view()->m_bRunning);
    EXPECT_EQ(view()->m_nDisplayMode, kModeScope);
    EXPECT_EQ(view()->m_nOutputTarget, 1);
}

TEST_F(Panel, PrintPreviewShowsThePrinterPageAndClosesBackToTheScreen)
{
    command(ID_MODE_VUMETRES);
    command(ID_FILE_PRINT_PREVIEW);
    HWND preview = ::FindWindowA(nullptr, "Aperçu avant impression - Sans titre");
    ASSERT_NE(preview, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(frame()->m_hWnd)) << "the preview stands in for the frame";
    EXPECT_FALSE(view()->m_bRunning);
    EXPECT_EQ(view()->m_nDisplayMode, kModeScope);
    auto* wnd = dynamic_cast<CPreviewWnd*>(CWnd::FromHandlePermanent(preview));
    ASSERT_NE(wnd, nullptr);
    ENHMETAHEADER header{};
    ASSERT_TRUE(::GetEnhMetaFileHeader(wnd->GetPage(), sizeof header, &header));
    EXPECT_GT(header.nRecords, 100u) << "the scope page was drawn";
    ::SendMessageA(preview, WM_COMMAND, 2 /* close */, 0);
    EXPECT_FALSE(::IsWindow(preview));
    EXPECT_TRUE(::IsWindowEnabled(frame()->m_hWnd));
    EXPECT_EQ(view()->m_nOutputTarget, 1);
}
