// The fixed picture of the 800 x 600 page: strips, panel boxes, graticule,
// time-axis labels, scale column and level displays, as tables.
#pragma once
#include <windows.h>
#include <array>
#include <string>

class CDC;

namespace page {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The range of one channel's sample (8-bit PCM minus 127).
constexpr int kSampleMin = -127;
constexpr int kSampleMax = 128;

// Solid fill as x, y, width, height.
struct Fill {
    int x, y, cx, cy;
};
using Strips = std::array<Fill, 5>;

// The background strips round each display's instrument areas.
inline constexpr Strips kScopeStrips{{
    {0, 0, 800, 14}, {0, 0, 14, 600}, {528, 0, 36, 600}, {0, 425, 800, 175}, {776, 0, 24, 600}}};
inline constexpr Strips kVuStrips{{
    {0, 0, 800, 99}, {0, 0, 19, 600}, {0, 301, 800, 299}, {371, 0, 48, 600}, {771, 0, 29, 600}}};
inline constexpr Strips kBarStrips{{
    {0, 0, 800, 99}, {0, 0, 179, 600}, {0, 401, 800, 199}, {211, 0, 368, 600}, {611, 0, 189, 600}}};

void FillStrips(CDC* dc, const Strips& strips, COLORREF colour);

// Only what meets the area being repainted is drawn: a capture repaints the
// scope screen and the synchronisation box, not the whole page. On paper
// everything shows.
bool Shows(CDC* dc, const RECT& area);
// The room a line of text takes on the page, generously: no glyph of the
// small font is wider than 8 units or taller than 16 (scale 2: the large font).
constexpr RECT TextRoom(int x, int y, const char* text, int scale = 1)
{
    const int length = static_cast<int>(std::char_traits<char>::length(text));
    return RECT{x, y, x + scale * (8 * length + 4), y + scale * 16};
}
struct Text;
constexpr RECT TextRoom(const Text& t, int scale = 1);
// A line of the small font, drawn only when the room it takes shows.
void TextOutShown(CDC* dc, int x, int y, const char* text);

// ---- Scope screen -----------------------------------------------------------

constexpr RECT kScopeFrame{15, 15, 527, 424};
constexpr RECT kPanelFrame{565, 15, 775, 424};
constexpr RECT kScreen{20, 20, 520, 420};
// The screen with the outline's pen, which reaches 2 units outside it.
constexpr RECT kScreenArea{16, 16, 524, 424};
constexpr int kAxisX = 270;
constexpr int kAxisY = 220;

// Graticule lines (the centre axes are drawn apart, solid).
inline constexpr std::array<int, 10> kGridX{45, 90, 135, 180, 225, 315, 360, 405, 450, 495};
inline constexpr std::array<int, 6> kGridY{70, 120, 170, 270, 320, 370};
// Border ticks: the graticule positions with the centre ones.
inline constexpr std::array<int, 11> kTickX{45, 90, 135, 180, 225, 270, 315, 360, 405, 450, 495};
inline constexpr std::array<int, 7> kTickY{70, 120, 170, 220, 270, 320, 370};

// ---- Settings panel ---------------------------------------------------------

constexpr int kBoxSize = 15;
constexpr int kIndicatorInset = 2;
constexpr int kIndicatorSize = 11;

// Which setting a panel box shows.
enum class Setting { Layout, Refresh, Sync, Gain, Scale, Channel };

struct PanelBox {
    Setting setting;
    int value;          // the box is lit when the setting holds this value
    int left, top;
    COLORREF indicator;
    const char* label;
    int labelX, labelY;
};

inline constexpr std::array<PanelBox, 5> kLayoutBoxes{{
    {Setting::Layout, 1, 570, 20, kRed, "Stereo Decales", 590, 23},
    {Setting::Layout, 2, 570, 40, kRed, "Stereo Superposes", 590, 43},
    {Setting::Layout, 3, 570, 60, kRed, "Somme des 2 voies", 590, 63},
    {Setting::Layout, 4, 570, 80, kRed, "Difference", 590, 83},
    {Setting::Layout, 5, 570, 100, kRed, "Figure de Lissajou", 590, 103},
}};

inline constexpr std::array<PanelBox, 9> kSettingBoxes{{
    {Setting::Refresh, 100, 570, 280, kGreen, "Rapide", 590, 283},
    {Setting::Refresh, 500, 570, 300, kGreen, "Moyen", 590, 303},
    {Setting::Refresh, 1000, 570, 320, kGreen, "Lent", 590, 323},
    {Setting::Sync, 1, 570, 340, kRed, "Synchronisation", 590, 343},
    {Setting::Gain, 1, 570, 360, kBlue, "X 1", 590, 363},
    {Setting::Gain, 2, 570, 380, kBlue, "X 2", 590, 383},
    {Setting::Gain, 5, 570, 400, kBlue, "X 5", 590, 403},
    {Setting::Scale, 1, 665, 370, kGreen, "DB.", 685, 373},
    {Setting::Scale, 2, 665, 390, kGreen, "Lin.", 685, 393},
}};

// Shown only in the offset layout; the colours are the two traces'.
inline constexpr std::array<PanelBox, 2> kChannelBoxes{{
    {Setting::Channel, 1, 710, 370, kRed, "Droite", 730, 373},
    {Setting::Channel, 2, 710, 390, kYellow, "Gauche", 730, 393},
}};

struct Text {
    int x, y;
    const char* text;
};
constexpr RECT TextRoom(const Text& t, int scale) { return TextRoom(t.x, t.y, t.text, scale); }

constexpr Text kScaleCaption{625, 383, "Echelle"};

struct Line {
    int x1, y1, x2, y2;
};

inline constexpr std::array<Line, 5> kSeparators{{
    {590, 117, 770, 117}, {590, 277, 770, 277}, {590, 337, 770, 337}, {590, 357, 770, 357},
    {620, 360, 620, 417}}};
// The separator under "Synchronisation", drawn again after the help lines.
constexpr Line kSyncSeparator{590, 357, 770, 357};

constexpr Text kHelpPanel{555, 430, "Cliquez dans les cases pour choisir les reglages"};
constexpr Text kHelpRunning{15, 460, "Cliquez sur l'ecran avec le bouton DROIT pour arreter la mesure."};
constexpr Text kHelpStopped{15, 460, "Cliquez sur l'ecran avec le bouton GAUCHE pour demarrer la mesure."};

// ---- Time bases -------------------------------------------------------------

struct TimeBase {
    int code;       // m_nTimeBase
    int boxTop;     // its panel box, at x 570
    const char* panelText;
    std::array<const char*, 11> labels;
    const char* unit;
};

constexpr int kTimeBoxLeft = 570;
constexpr int kTimeTextX = 590;
constexpr int kTimeLabelY = 430;
constexpr Text kTimeUnitAt{252, 445, nullptr};
inline constexpr std::array<int, 11> kTimeLabelX{40, 85, 130, 175, 220, 265, 310, 355, 400, 445, 490};
// Where the time-axis labels and their unit stand.
constexpr RECT kTimeLabelArea{30, 426, 545, 462};

inline constexpr std::array<TimeBase, 8> kTimeBases{{
    {50, 120, "50ms.(5ms./div.)", {"0", "5", "10", "15", "20", "25", "30", "35", "40", "45", "50"}, "(mSec.)"},
    {20, 140, "20ms.(2ms./div.)", {"0", "2", "4", "6", "8", "10", "12", "14", "16", "18", "20"}, "(mSec.)"},
    {10, 160, "10ms.(1ms./div.)", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}, "(mSec.)"},
    {5000, 180, "5ms.(500us./div.)", {"0", "0.5", "1", "1.5", "2", "2.5", "3", "3.5", "4", "4.5", "5"}, "(mSec.)"},
    {2000, 200, "2ms.(200us./div.)", {"0", "0.2", "0.4", "0.6", "0.8", "1", "1.2", "1.4", "1.6", "1.8", "2"}, "(mSec.)"},
    {1000, 220, "1ms.(100us./div.)", {"0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1"}, "(mSec.)"},
    {500, 240, "0.5ms.(50us./div.)", {"0", "50", "100", "150", "200", "250", "300", "350", "400", "450", "500"}, "(uSec.)"},
    {200, 260, "0.2ms.(20us./div.)", {"0", "20", "40", "60", "80", "100", "120", "140", "160", "180", "200"}, "(uSec.)"},
}};

// ---- Traces -----------------------------------------------------------------

constexpr int kTraceTop = 22;
constexpr int kTraceBottom = 416;
constexpr int kTraceRight = 516;   // also the Lissajous x limit
constexpr int kTraceStartX = 23;
constexpr int kTraceStopX = 515;   // a point at or beyond it ends the trace
constexpr int kTraceLastStepX = 514;
constexpr int kTriggerBase = 300;  // the trigger offset counts from this sample
constexpr int kLastIndex = 4010;
constexpr int kLissajousFirst = 300;
constexpr int kLissajousLast = 1000;

// ---- Scale column -----------------------------------------------------------

enum class ScaleGroup { OffsetRight, OffsetLeft, Centred, Sum };

constexpr int kBandX = 520;
constexpr int kBandWidth = 5;
constexpr int kScaleLabelX = 530;
inline constexpr std::array<int, 9> kScaleLabelY{14, 64, 114, 164, 214, 264, 314, 364, 414};
// The colour bands and the labels of the scale column.
constexpr RECT kScaleArea{520, 12, 565, 430};

struct Band {
    int top, bottom;
    COLORREF colour;
};

// The level bands of one group at one gain, in drawing order (later ones cover).
struct BandSet {
    ScaleGroup group;
    int gain;
    int count;
    std::array<Band, 5> bands;
};

inline constexpr std::array<BandSet, 12> kBandSets{{
    {ScaleGroup::OffsetRight, 1, 4, {{{20, 49, kYellow}, {49, 191, kGreen}, {191, 220, kYellow}, {220, 261, kRed}}}},
    {ScaleGroup::OffsetRight, 2, 3, {{{20, 262, kGreen}, {262, 320, kYellow}, {320, 402, kRed}}}},
    {ScaleGroup::OffsetRight, 5, 1, {{{18, 420, kGreen}}}},
    {ScaleGroup::OffsetLeft, 1, 4, {{{181, 222, kRed}, {220, 249, kYellow}, {249, 391, kGreen}, {391, 420, kYellow}}}},
    {ScaleGroup::OffsetLeft, 2, 3, {{{178, 420, kGreen}, {120, 178, kYellow}, {38, 120, kRed}}}},
    {ScaleGroup::OffsetLeft, 5, 1, {{{18, 420, kGreen}}}},
    {ScaleGroup::Centred, 1, 5, {{{79, 120, kRed}, {120, 149, kYellow}, {149, 291, kGreen}, {291, 320, kYellow}, {320, 361, kRed}}}},
    {ScaleGroup::Centred, 2, 3, {{{78, 362, kGreen}, {20, 78, kYellow}, {362, 420, kYellow}}}},
    {ScaleGroup::Centred, 5, 1, {{{18, 420, kGreen}}}},
    {ScaleGroup::Sum, 1, 3, {{{78, 362, kGreen}, {20, 78, kYellow}, {362, 420, kYellow}}}},
    {ScaleGroup::Sum, 2, 1, {{{18, 420, kGreen}}}},
    {ScaleGroup::Sum, 5, 1, {{{18, 420, kGreen}}}},
}};

constexpr int kScaleDb = 1;
constexpr int kScaleLinear = 2;

// The labels of one group, gain and scale, by row; nullptr leaves a row empty.
struct LabelSet {
    ScaleGroup group;
    int gain;
    int scale;
    std::array<const char*, 9> text;
};

inline constexpr std::array<LabelSet, 24> kLabelSets{{
    {ScaleGroup::OffsetRight, 1, kScaleDb, {"0", "-6", "--", "-6", "0", "+3", nullptr, nullptr, nullptr}},
    {ScaleGroup::OffsetRight, 1, kScaleLinear, {"100", "50", "0", "50", "100", "150", nullptr, nullptr, nullptr}},
    {ScaleGroup::OffsetRight, 2, kScaleDb, {"-6", "-12", "--", "-12", "-6", "-2.5", "0", "+2", "+3"}},
    {ScaleGroup::OffsetRight, 2, kScaleLinear, {"50", "25", "0", "25", "50", "75", "100", "125", "150"}},
    {ScaleGroup::OffsetRight, 5, kScaleDb, {"-14", "-20", "--", "-20", "-14", "-12", "-8", "-6", "-4.4"}},
    {ScaleGroup::OffsetRight, 5, kScaleLinear, {"20", "10", "0", "10", "20", "30", "40", "50", "60"}},
    {ScaleGroup::OffsetLeft, 1, kScaleDb, {nullptr, nullptr, nullptr, "+3", "0", "-6", "--", "-6", "0"}},
    {ScaleGroup::OffsetLeft, 1, kScaleLinear, {nullptr, nullptr, nullptr, "150", "100", "50", "0", "50", "100"}},
    {ScaleGroup::OffsetLeft, 2, kScaleDb, {"+3", "+2", "0", "-2.5", "-6", "-12", "--", "-12", "-6"}},
    {ScaleGroup::OffsetLeft, 2, kScaleLinear, {"150", "125", "100", "75", "50", "25", "0", "25", "50"}},
    {ScaleGroup::OffsetLeft, 5, kScaleDb, {"-4.4", "-6", "-8", "-12", "-14", "-20", "--", "-20", "-14"}},
    {ScaleGroup::OffsetLeft, 5, kScaleLinear, {"60", "50", "40", "30", "20", "10", "0", "10", "20"}},
    {ScaleGroup::Centred, 1, kScaleDb, {nullptr, "+3", "0", "-6", "--", "-6", "0", "+3", nullptr}},
    {ScaleGroup::Centred, 1, kScaleLinear, {nullptr, "150", "100", "50", "0", "50", "100", "150", nullptr}},
    {ScaleGroup::Centred, 2, kScaleDb, {"0", "-2.5", "-6", "-12", "--", "-12", "-6", "-2.5", "0"}},
    {ScaleGroup::Centred, 2, kScaleLinear, {"100", "75", "50", "25", "0", "25", "50", "75", "100"}},
    {ScaleGroup::Centred, 5, kScaleDb, {"-8", "-12", "-14", "-20", "--", "-20", "-14", "-12", "-8"}},
    {ScaleGroup::Centred, 5, kScaleLinear, {"40", "30", "20", "10", "0", "10", "20", "30", "40"}},
    {ScaleGroup::Sum, 1, kScaleDb, {"0", "-2.5", "-6", "-12", "--", "-12", "-6", "-2.5", "0"}},
    {ScaleGroup::Sum, 1, kScaleLinear, {"200", "150", "100", "50", "0", "50", "100", "150", "200"}},
    {ScaleGroup::Sum, 2, kScaleDb, {"-6", nullptr, "-12", nullptr, "--", nullptr, "-12", nullptr, "-6"}},
    {ScaleGroup::Sum, 2, kScaleLinear, {"100", "75", "50", "25", "0", "25", "50", "75", "100"}},
    {ScaleGroup::Sum, 5, kScaleDb, {"-14", nullptr, "-20", nullptr, "--", nullptr, "-20", nullptr, "-14"}},
    {ScaleGroup::Sum, 5, kScaleLinear, {"40", "30", "20", "10", "0", "10", "20", "30", "40"}},
}};

// ---- Click zones --------------------------------------------------------------

// What a left click in a zone of the scope display does.
enum class ZoneEffect { Start, Layout, TimeBase, Refresh, Gain, Scale, Channel, Nothing };

struct ClickZone {
    int left, top, right, bottom;   // hit strictly inside
    ZoneEffect effect;
    int value;                      // layout, time-base row, period, gain, scale or channel
};

// The scope screen, then the panel's boxes (a little larger than drawn).
inline constexpr std::array<ClickZone, 25> kClickZones{{
    { 15, 15, 524, 424, ZoneEffect::Start, 0 },
    { 565, 15, 585, 35, ZoneEffect::Layout, 1 },     // offset
    { 565, 35, 585, 55, ZoneEffect::Layout, 2 },     // superposed
    { 565, 55, 585, 75, ZoneEffect::Layout, 3 },     // sum
    { 565, 75, 585, 95, ZoneEffect::Layout, 4 },     // difference
    { 565, 95, 585, 115, ZoneEffect::Layout, 5 },    // Lissajous
    { 565, 115, 585, 135, ZoneEffect::TimeBase, 0 }, // 50 ms
    { 565, 135, 585, 155, ZoneEffect::TimeBase, 1 }, // 20 ms
    { 565, 155, 585, 175, ZoneEffect::TimeBase, 2 }, // 10 ms
    { 565, 175, 585, 195, ZoneEffect::TimeBase, 3 }, // 5 ms
    { 565, 195, 585, 215, ZoneEffect::TimeBase, 4 }, // 2 ms
    { 565, 215, 585, 235, ZoneEffect::TimeBase, 5 }, // 1 ms
    { 565, 235, 585, 255, ZoneEffect::TimeBase, 6 }, // 0.5 ms
    { 565, 255, 585, 275, ZoneEffect::TimeBase, 7 }, // 0.2 ms
    { 565, 275, 585, 295, ZoneEffect::Refresh, 100 },
    { 565, 295, 585, 315, ZoneEffect::Refresh, 500 },
    { 565, 315, 585, 335, ZoneEffect::Refresh, 1000 },
    { 565, 335, 585, 355, ZoneEffect::Nothing, 0 },  // synchronisation: an indicator only
    { 565, 355, 585, 375, ZoneEffect::Gain, 1 },
    { 565, 375, 585, 395, ZoneEffect::Gain, 2 },
    { 565, 395, 585, 415, ZoneEffect::Gain, 5 },
    { 665, 370, 680, 385, ZoneEffect::Scale, 1 },    // dB
    { 665, 390, 680, 405, ZoneEffect::Scale, 2 },    // linear
    { 710, 370, 725, 385, ZoneEffect::Channel, 1 },  // right
    { 710, 390, 725, 405, ZoneEffect::Channel, 2 },  // left
}};

constexpr bool Inside(const ClickZone& z, POINT p)
{
    return z.left < p.x && p.x < z.right && z.top < p.y && p.y < z.bottom;
}

// ---- Level displays ---------------------------------------------------------

// The right meter and bar are the left ones moved this far to the right.
constexpr int kRightShift = 400;

struct ColourFill {
    Fill at;
    COLORREF colour;
};

// Left VU meter; its needle tip moves 2 units per sample unit from x 67.
constexpr RECT kVuLeft{20, 100, 370, 300};
constexpr Text kVuNameLeft{150, 310, "GAUCHE"};
constexpr Text kVuNameRight{550, 310, "DROITE"};
inline constexpr std::array<ColourFill, 4> kVuScale{{
    {{65, 138, 260, 24}, kBlack}, {{67, 140, 136, 20}, kGreen},
    {{203, 140, 64, 20}, kYellow}, {{267, 140, 56, 20}, kRed}}};
constexpr POINT kVuPivot{195, 298};
constexpr int kVuTipX0 = 67;
constexpr int kVuTipY = 140;
inline constexpr std::array<Text, 6> kVuLabels{{
    {313, 110, "+3"}, {262, 110, "0"}, {210, 110, "-3"}, {158, 110, "-6"}, {77, 110, "-20"},
    {185, 172, "db"}}};

// Left bargraph; the white mask hides the bar above the peak.
constexpr RECT kBarLeft{180, 100, 210, 400};
constexpr Text kBarNameLeft{150, 420, "GAUCHE"};
constexpr Text kBarNameRight{550, 420, "DROITE"};
inline constexpr std::array<ColourFill, 3> kBarZones{{
    {{184, 242, 22, 154}, kGreen}, {{184, 178, 22, 64}, kYellow}, {{184, 122, 22, 56}, kRed}}};
inline constexpr std::array<Text, 4> kBarLabels{{
    {216, 102, "+3"}, {216, 158, " 0"}, {216, 257, "-6"}, {216, 354, "-20"}}};
constexpr Text kBarUnit{395, 100, "db"};
constexpr int kBarMaskX = 184;
constexpr int kBarMaskTop = 122;
constexpr int kBarMaskWidth = 22;
constexpr int kBarFullHeight = 256;

}  // namespace page
