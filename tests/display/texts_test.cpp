// Every text of the page with its position, read back from an enhanced
// metafile recording of the paint.
#include "PageFixture.h"
#include <gtest/gtest.h>
#include <sstream>

namespace {

using Texts = std::vector<std::string>;

// Splits "a b c" into its words; "." stands for an empty place.
Texts Words(const char* s)
{
    std::istringstream in(s);
    Texts words;
    for (std::string w; in >> w;) words.push_back(w == "." ? "" : w);
    return words;
}

std::string One(const std::vector<TextRecord>& texts, int x, int y)
{
    const Texts at = TextsAt(texts, x, y);
    if (at.size() > 1) return "<several texts>";
    return at.empty() ? "" : at.front();
}

TEST(PageTexts, PanelLabelsAndHelpLines)
{
    Instrument in;
    auto texts = RecordTexts(in.view());
    const std::tuple<int, int, const char*> panel[] = {
        {590, 23, "Stereo Decales"}, {590, 43, "Stereo Superposes"}, {590, 63, "Somme des 2 voies"},
        {590, 83, "Difference"}, {590, 103, "Figure de Lissajou"}, {590, 123, "50ms.(5ms./div.)"},
        {590, 143, "20ms.(2ms./div.)"}, {590, 163, "10ms.(1ms./div.)"}, {590, 183, "5ms.(500us./div.)"},
        {590, 203, "2ms.(200us./div.)"}, {590, 223, "1ms.(100us./div.)"}, {590, 243, "0.5ms.(50us./div.)"},
        {590, 263, "0.2ms.(20us./div.)"}, {590, 283, "Rapide"}, {590, 303, "Moyen"}, {590, 323, "Lent"},
        {590, 343, "Synchronisation"}, {590, 363, "X 1"}, {590, 383, "X 2"}, {590, 403, "X 5"},
        {685, 373, "DB."}, {685, 393, "Lin."}, {625, 383, "Echelle"}, {730, 373, "Droite"},
        {730, 393, "Gauche"}, {555, 430, "Cliquez dans les cases pour choisir les reglages"},
        {15, 460, "Cliquez sur l'ecran avec le bouton GAUCHE pour demarrer la mesure."}};
    for (auto [x, y, text] : panel) EXPECT_EQ(One(texts, x, y), text) << x << "," << y;
    // Panel, help lines, 11 time labels and their unit, 6 scale labels.
    EXPECT_EQ(texts.size(), std::size(panel) + 12 + 6);

    in.view().m_bRunning = TRUE;
    in.SetLayout(2);
    texts = RecordTexts(in.view());
    EXPECT_EQ(One(texts, 15, 460), "Cliquez sur l'ecran avec le bouton DROIT pour arreter la mesure.");
    EXPECT_EQ(One(texts, 730, 373), "") << "scale-channel labels only in the offset layout";
    EXPECT_EQ(One(texts, 730, 393), "");
    EXPECT_EQ(One(texts, 590, 23), "Stereo Decales");
}

TEST(PageTexts, TimeAxisLabelsOfEveryTimeBaseOnScreenAndPaper)
{
    const std::tuple<int, const char*, const char*> rows[] = {
        {50, "0 5 10 15 20 25 30 35 40 45 50", "(mSec.)"},
        {20, "0 2 4 6 8 10 12 14 16 18 20", "(mSec.)"},
        {10, "0 1 2 3 4 5 6 7 8 9 10", "(mSec.)"},
        {5000, "0 0.5 1 1.5 2 2.5 3 3.5 4 4.5 5", "(mSec.)"},
        {2000, "0 0.2 0.4 0.6 0.8 1 1.2 1.4 1.6 1.8 2", "(mSec.)"},
        {1000, "0 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 1", "(mSec.)"},
        {500, "0 50 100 150 200 250 300 350 400 450 500", "(uSec.)"},
        {200, "0 20 40 60 80 100 120 140 160 180 200", "(uSec.)"}};
    for (int target : {1, 2}) {
        for (auto [code, labels, unit] : rows) {
            Instrument in;
            in.SetTimeBase(code);
            in.view().m_nOutputTarget = target;
            const auto texts = RecordTexts(in.view());
            Texts drawn;
            for (int x = 40; x <= 490; x += 45) drawn.push_back(One(texts, x, 430));
            EXPECT_EQ(drawn, Words(labels)) << "time base " << code << " target " << target;
            EXPECT_EQ(One(texts, 252, 445), unit) << "time base " << code;
            if (target == 2) {
                // On paper: the time labels and the scale column only.
                EXPECT_EQ(texts.size(), 12u + 6u) << "time base " << code;
            }
        }
    }
    Instrument in;
    in.view().m_nTimeBase = 100;   // no such time base: no labels
    const auto texts = RecordTexts(in.view());
    EXPECT_EQ(One(texts, 40, 430), "");
    EXPECT_EQ(One(texts, 252, 445), "");
}

TEST(PageTexts, EveryScaleColumnRow)
{
    // layout, channel, gain, dB labels, linear labels, top to bottom.
    struct Row {
        int layout, channel, gain;
        const char* db;
        const char* lin;
    };
    const Row rows[] = {
        {1, 1, 1, "0 -6 -- -6 0 +3 . . .", "100 50 0 50 100 150 . . ."},
        {1, 1, 2, "-6 -12 -- -12 -6 -2.5 0 +2 +3", "50 25 0 25 50 75 100 125 150"},
        {1, 1, 5, "-14 -20 -- -20 -14 -12 -8 -6 -4.4", "20 10 0 10 20 30 40 50 60"},
        {1, 2, 1, ". . . +3 0 -6 -- -6 0", ". . . 150 100 50 0 50 100"},
        {1, 2, 2, "+3 +2 0 -2.5 -6 -12 -- -12 -6", "150 125 100 75 50 25 0 25 50"},
        {1, 2, 5, "-4.4 -6 -8 -12 -14 -20 -- -20 -14", "60 50 40 30 20 10 0 10 20"},
        {2, 1, 1, ". +3 0 -6 -- -6 0 +3 .", ". 150 100 50 0 50 100 150 ."},
        {4, 2, 2, "0 -2.5 -6 -12 -- -12 -6 -2.5 0", "100 75 50 25 0 25 50 75 100"},
        {5, 1, 5, "-8 -12 -14 -20 -- -20 -14 -12 -8", "40 30 20 10 0 10 20 30 40"},
        {3, 1, 1, "0 -2.5 -6 -12 -- -12 -6 -2.5 0", "200 150 100 50 0 50 100 150 200"},
        {3, 2, 2, "-6 . -12 . -- . -12 . -6", "100 75 50 25 0 25 50 75 100"},
        {3, 1, 5, "-14 . -20 . -- . -20 . -14", "40 30 20 10 0 10 20 30 40"},
        // Outside the settings: no column.
        {1, 0, 1, ". . . . . . . . .", ". . . . . . . . ."},
        {2, 1, 4, ". . . . . . . . .", ". . . . . . . . ."},
    };
    for (const Row& r : rows) {
        for (int scale : {1, 2}) {
            Instrument in;
            in.SetLayout(r.layout);
            in.view().m_nScaleChannel = r.channel;
            in.view().m_nVerticalGain = r.gain;
            in.view().m_nVerticalScale = scale;
            const auto texts = RecordTexts(in.view());
            Texts drawn;
            for (int y = 14; y <= 414; y += 50) drawn.push_back(One(texts, 530, y));
            EXPECT_EQ(drawn, Words(scale == 1 ? r.db : r.lin))
                << "layout " << r.layout << " channel " << r.channel << " gain " << r.gain << " scale " << scale;
        }
    }
    // Centred layouts 2, 4 and 5 share their column; so do all channels outside layout 1.
    for (int layout : {2, 4, 5}) {
        Instrument in;
        in.SetLayout(layout);
        in.view().m_nVerticalGain = 2;
        EXPECT_EQ(One(RecordTexts(in.view()), 530, 64), "-2.5") << layout;
    }
    Instrument in;
    in.view().m_nVerticalScale = 3;
    EXPECT_EQ(One(RecordTexts(in.view()), 530, 14), "") << "unknown scale";
}

TEST(PageTexts, LevelDisplays)
{
    Instrument in;
    in.view().m_nDisplayMode = kModeVuMeters;
    auto texts = RecordTexts(in.view());
    const std::tuple<int, int, const char*> vu[] = {
        {150, 310, "GAUCHE"}, {550, 310, "DROITE"}, {313, 110, "+3"}, {262, 110, "0"}, {210, 110, "-3"},
        {158, 110, "-6"}, {77, 110, "-20"}, {185, 172, "db"}, {713, 110, "+3"}, {662, 110, "0"},
        {610, 110, "-3"}, {558, 110, "-6"}, {477, 110, "-20"}, {585, 172, "db"}};
    for (auto [x, y, text] : vu) EXPECT_EQ(One(texts, x, y), text) << x << "," << y;
    EXPECT_EQ(texts.size(), std::size(vu));

    in.view().m_nDisplayMode = kModeBargraphs;
    texts = RecordTexts(in.view());
    const std::tuple<int, int, const char*> bars[] = {
        {150, 420, "GAUCHE"}, {550, 420, "DROITE"}, {216, 102, "+3"}, {216, 158, " 0"}, {216, 257, "-6"},
        {216, 354, "-20"}, {616, 102, "+3"}, {616, 158, " 0"}, {616, 257, "-6"}, {616, 354, "-20"},
        {395, 100, "db"}};
    for (auto [x, y, text] : bars) EXPECT_EQ(One(texts, x, y), text) << x << "," << y;
    EXPECT_EQ(texts.size(), std::size(bars));

    in.view().m_nDisplayMode = 4;
    EXPECT_TRUE(RecordTexts(in.view()).empty()) << "no display for an unknown mode";
}

}  // namespace
