#include "support/RunningApp.h"
#include "resource.h"
#include "support/ModalWatcher.h"
#include <commctrl.h>
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <string>

// The menu and toolbar commands of the running program (started by StartupTest).
namespace {

// The check marks of every item of the menu bar, as the frame computes them
// when each menu opens.
std::map<UINT, bool> checks()
{
    std::map<UINT, bool> result;
    std::function<void(HMENU)> walk = [&](HMENU menu) {
        frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            if (HMENU sub = ::GetSubMenu(menu, i)) { walk(sub); continue; }
            UINT id = ::GetMenuItemID(menu, i);
            if (id && id != static_cast<UINT>(-1))
                result[id] = (::GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED) != 0;
        }
    };
    HMENU bar = ::GetMenu(frame()->m_hWnd);
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i) walk(::GetSubMenu(bar, i));
    return result;
}

// The boxes with this caption (a running measurement on a machine without a
// sound card adds its refusal boxes to the ones a test provokes).
std::vector<ModalWatcher::Seen> named(const std::vector<ModalWatcher::Seen>& seen, const std::string& caption)
{
    std::vector<ModalWatcher::Seen> r;
    for (const auto& s : seen)
        if (s.caption == caption) r.push_back(s);
    return r;
}

bool toolbarPressed(UINT id)
{
    theApp.OnIdle(0);
    return (::SendMessageA(frame()->m_wndToolBar.m_hWnd, TB_GETSTATE, id, 0) & TBSTATE_CHECKED) != 0;
}

struct Commands : ::testing::Test {
    void SetUp() override
    {
        // Back to the start values, whatever an earlier test chose.
        command(ID_MESURE_ARRET);
        for (UINT id : { ID_MODE_DECALEES, ID_BASE_1MS, ID_RAFR_MOYEN, ID_GAIN_X1, ID_ECHELLE_DB, ID_ECHELLE_DROITE })
            command(id);
        if (!view()->m_bGrid) command(ID_AFFICHAGE_GRILLE);
    }
    void TearDown() override { command(ID_MESURE_ARRET); }
};
} // namespace

TEST_F(Commands, StartValuesAreTickedInTheMenusAndPressedOnTheToolbar)
{
    std::map<UINT, bool> c = checks();
    for (UINT id : { ID_MESURE_ARRET, ID_MODE_DECALEES, ID_BASE_1MS, ID_RAFR_MOYEN, ID_GAIN_X1, ID_ECHELLE_DB,
                     ID_ECHELLE_DROITE, ID_AFFICHAGE_GRILLE })
        EXPECT_TRUE(c[id]) << id;
    int ticked = 0;
    for (auto& [id, on] : c)
        if (on && id >= ID_MESURE_MARCHE && id <= ID_AFFICHAGE_GRILLE) ++ticked;
    EXPECT_EQ(ticked, 8) << "nothing else is ticked";
    EXPECT_TRUE(toolbarPressed(ID_MODE_DECALEES));
    EXPECT_TRUE(toolbarPressed(ID_BASE_1MS));
    EXPECT_FALSE(toolbarPressed(ID_BASE_2MS));
    EXPECT_TRUE(toolbarPressed(ID_MESURE_ARRET));
    // Every command is enabled.
    for (UINT id = ID_MESURE_MARCHE; id <= ID_ECHELLE_GAUCHE; ++id)
        EXPECT_TRUE(::SendMessageA(frame()->m_wndToolBar.m_hWnd, TB_ISBUTTONENABLED, id, 0) ||
                    ::SendMessageA(frame()->m_wndToolBar.m_hWnd, TB_COMMANDTOINDEX, id, 0) < 0) << id;
}

TEST_F(Commands, TimeBasesSetTheirTwoSteps)
{
    struct Row { UINT id; int timeBase, pixelsPerSample, samplesPerPixel; };
    static const Row rows[] = {
        { ID_BASE_50MS, 50, 1, 5 }, { ID_BASE_20MS, 20, 1, 2 }, { ID_BASE_10MS, 10, 1, 1 },
        { ID_BASE_5MS, 5000, 2, 1 }, { ID_BASE_2MS, 2000, 5, 1 }, { ID_BASE_1MS, 1000, 10, 1 },
        { ID_BASE_05MS, 500, 20, 1 }, { ID_BASE_02MS, 200, 50, 1 },
    };
    for (const Row& r : rows) {
        command(r.id);
        EXPECT_EQ(view()->m_nTimeBase, r.timeBase);
        EXPECT_EQ(view()->m_nPixelsPerSample, r.pixelsPerSample);
        EXPECT_EQ(view()->m_nSamplesPerPixel, r.samplesPerPixel);
        std::map<UINT, bool> c = checks();
        for (const Row& other : rows) EXPECT_EQ(c[other.id], other.id == r.id) << other.id;
    }
}

TEST_F(Commands, LayoutsMoveTheZeroLinesOnlyForOffsetAndSuperposed)
{
    command(ID_MODE_SUPERPOSEES);
    EXPECT_EQ(view()->m_nTraceY1, 220);
    EXPECT_EQ(view()->m_nTraceY2, 220);
    command(ID_MODE_SOMME);
    EXPECT_EQ(view()->m_nScopeSignal, 3);
    EXPECT_EQ(view()->m_nTraceY1, 220);
    command(ID_MODE_DECALEES);
    EXPECT_EQ(view()->m_nTraceY1, 120);
    EXPECT_EQ(view()->m_nTraceY2, 320);
    // From the offset layout to the sum: the scale-channel commands are ignored.
    command(ID_MODE_SOMME);
    command(ID_ECHELLE_GAUCHE);
    EXPECT_EQ(view()->m_nScaleChannel, 1);
    command(ID_MODE_DECALEES);
    command(ID_ECHELLE_GAUCHE);
    EXPECT_EQ(view()->m_nScaleChannel, 2);
    command(ID_MODE_LISSAJOUS);
    EXPECT_EQ(view()->m_nScopeSignal, 5);
    EXPECT_TRUE(checks()[ID_MODE_LISSAJOUS]);
}

TEST_F(Commands, BargraphsStartTheMeasurementFastAndGainStaysOutsideTheScope)
{
    ASSERT_FALSE(view()->m_bRunning);
    command(ID_MODE_BARGRAPHES);
    EXPECT_TRUE(view()->m_bRunning);
    EXPECT_EQ(view()->m_nDisplayMode, kModeBargraphs);
    EXPECT_EQ(view()->m_nRefreshPeriod, 100u);
    std::map<UINT, bool> c = checks();
    EXPECT_TRUE(c[ID_MODE_BARGRAPHES]);
    EXPECT_TRUE(c[ID_MESURE_MARCHE]);
    EXPECT_TRUE(c[ID_RAFR_RAPIDE]);
    for (UINT id = ID_MODE_DECALEES; id <= ID_MODE_LISSAJOUS; ++id) EXPECT_FALSE(c[id]) << id;
    EXPECT_EQ(view()->m_nScopeLayout, 1);

    command(ID_GAIN_X5);
    EXPECT_EQ(view()->m_nVerticalGain, 1) << "gain changes only on the scope";
    command(ID_MODE_VUMETRES);
    EXPECT_EQ(view()->m_nDisplayMode, kModeVuMeters);
    command(ID_MODE_DECALEES);
    EXPECT_EQ(view()->m_nDisplayMode, kModeScope);
    EXPECT_TRUE(view()->m_bRunning) << "a layout neither starts nor stops";
    command(ID_GAIN_X5);
    EXPECT_EQ(view()->m_nVerticalGain, 5);
}

TEST_F(Commands, RefreshScaleAndGridFollowTheirCommands)
{
    command(ID_RAFR_LENT);
    EXPECT_EQ(view()->m_nRefreshPeriod, 1000u);
    command(ID_RAFR_RAPIDE);
    EXPECT_EQ(view()->m_nRefreshPeriod, 100u);
    command(ID_ECHELLE_LIN);
    EXPECT_EQ(view()->m_nVerticalScale, 2);
    EXPECT_TRUE(checks()[ID_ECHELLE_LIN]);
    command(ID_AFFICHAGE_GRILLE);
    EXPECT_FALSE(view()->m_bGrid);
    EXPECT_FALSE(checks()[ID_AFFICHAGE_GRILLE]);
    command(ID_AFFICHAGE_GRILLE);
    EXPECT_TRUE(view()->m_bGrid);
}

TEST_F(Commands, BackgroundColourDialogEditsTheColourOfTheDisplayOnScreen)
{
    COLORREF scope = view()->m_clrScopeBack;
    command(ID_MODE_VUMETRES);
    COLORREF before = view()->m_clrVuBack;
    struct Restore { COLORREF colour; ~Restore() { view()->m_clrVuBack = colour; } } restore{ before };
    {
        ModalWatcher white({ IDC_COLOR_FIRST + 1, IDOK });
        command(ID_OPTIONS_COULEUR);
        auto seen = named(white.seen(), "Choisir la couleur du fond");
        ASSERT_EQ(seen.size(), 1u);
        if (before == 0xC0C0C0) {
            EXPECT_EQ(seen[0].checked, std::vector<int>{ IDC_COLOR_FIRST });
        }
    }
    EXPECT_EQ(view()->m_clrVuBack, 0xFFFFFFu);
    EXPECT_EQ(view()->m_clrScopeBack, scope) << "only the VU meters' colour changes";
    {
        ModalWatcher cancel({ IDC_COLOR_FIRST + 7, IDCANCEL });   // red, then Cancel
        command(ID_OPTIONS_COULEUR);
        auto seen = named(cancel.seen(), "Choisir la couleur du fond");
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].checked, std::vector<int>{ IDC_COLOR_FIRST + 1 }) << "white is shown selected";
    }
    EXPECT_EQ(view()->m_clrVuBack, 0xFFFFFFu);
}

TEST_F(Commands, ColourOutsideTheEightOpensWithNothingSelectedAndOkKeepsIt)
{
    struct Restore { ~Restore() { view()->m_clrScopeBack = 0xC0C0C0; } } restore;
    view()->m_clrScopeBack = 0x123456;   // only an edited settings file can hold this
    {
        ModalWatcher ok(IDOK);
        command(ID_OPTIONS_COULEUR);
        auto seen = named(ok.seen(), "Choisir la couleur du fond");
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_TRUE(seen[0].checked.empty());
    }
    EXPECT_EQ(view()->m_clrScopeBack, 0x123456u);
}
