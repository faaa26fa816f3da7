// The settings panel made clickable, the click on the scope screen that
// starts a measurement, and the printing hooks.
#include "acquisition/OndavView.h"
#include "acquisition/SettingsModel.h"

namespace {
enum class Effect { Start, Layout, TimeBase, Refresh, Gain, Scale, Channel, Nothing };

struct Zone {
    int left, top, right, bottom;   // hit strictly inside
    Effect effect;
    int value;                      // layout, time-base row, period, gain, scale or channel
};

constexpr Zone kZones[] = {
    { 15, 15, 524, 424, Effect::Start, 0 },
    { 565, 15, 585, 35, Effect::Layout, 1 },     // offset
    { 565, 35, 585, 55, Effect::Layout, 2 },     // superposed
    { 565, 55, 585, 75, Effect::Layout, 3 },     // sum
    { 565, 75, 585, 95, Effect::Layout, 4 },     // difference
    { 565, 95, 585, 115, Effect::Layout, 5 },    // Lissajous
    { 565, 115, 585, 135, Effect::TimeBase, 0 }, // 50 ms
    { 565, 135, 585, 155, Effect::TimeBase, 1 }, // 20 ms
    { 565, 155, 585, 175, Effect::TimeBase, 2 }, // 10 ms
    { 565, 175, 585, 195, Effect::TimeBase, 3 }, // 5 ms
    { 565, 195, 585, 215, Effect::TimeBase, 4 }, // 2 ms
    { 565, 215, 585, 235, Effect::TimeBase, 5 }, // 1 ms
    { 565, 235, 585, 255, Effect::TimeBase, 6 }, // 0.5 ms
    { 565, 255, 585, 275, Effect::TimeBase, 7 }, // 0.2 ms
    { 565, 275, 585, 295, Effect::Refresh, 100 },
    { 565, 295, 585, 315, Effect::Refresh, 500 },
    { 565, 315, 585, 335, Effect::Refresh, 1000 },
    { 565, 335, 585, 355, Effect::Nothing, 0 },  // synchronisation: an indicator only
    { 565, 355, 585, 375, Effect::Gain, 1 },
    { 565, 375, 585, 395, Effect::Gain, 2 },
    { 565, 395, 585, 415, Effect::Gain, 5 },
    { 665, 370, 680, 385, Effect::Scale, 1 },    // dB
    { 665, 390, 680, 405, Effect::Scale, 2 },    // linear
    { 710, 370, 725, 385, Effect::Channel, 1 },  // right
    { 710, 390, 725, 405, Effect::Channel, 2 },  // left
};

bool inside(const Zone& z, CPoint p)
{
    return z.left < p.x && p.x < z.right && z.top < p.y && p.y < z.bottom;
}
} // namespace

void COndavView::OnLButtonDown(UINT flags, CPoint point)
{
    m_nOutputTarget = 1;
    m_ptClick = point;
    if (m_nDisplayMode == kModeScope) {
        for (const Zone& z : kZones)
            if (inside(z, m_ptClick)) ApplyZone(static_cast<int>(z.effect), z.value);
    }
    InvalidateRect(nullptr, TRUE);
    CView::OnLButtonDown(flags, point);
}

void COndavView::ApplyZone(int effect, int value)
{
    switch (static_cast<Effect>(effect)) {
    case Effect::Start: StartMeasurement(); break;
    case Effect::Layout: ApplyScopeLayout(value); break;
    case Effect::TimeBase: ApplyTimeBase(static_cast<size_t>(value)); break;
    case Effect::Refresh: m_nRefreshPeriod = static_cast<UINT>(value); break;
    case Effect::Gain: m_nVerticalGain = value; break;
    case Effect::Scale: m_nVerticalScale = value; break;
    case Effect::Channel: if (ScaleChannelSelectable()) m_nScaleChannel = value; break;
    case Effect::Nothing: break;
    }
}

// ---------------------------------------------------------------- printing

void COndavView::StopForPrinting()
{
    // No repaint of its own: the print or preview draws next.
    if (!m_bRunning) return;
    KillTimer(kMeasureTimer);
    m_bRunning = FALSE;
}

BOOL COndavView::OnPreparePrinting(CPrintInfo* info)
{
    StopForPrinting();
    m_nOutputTarget = 2;
    m_nDisplayMode = kModeScope;
    if (DoPreparePrinting(info)) return TRUE;
    m_nOutputTarget = 1;
    return FALSE;
}

void COndavView::OnBeginPrinting(CDC*, CPrintInfo*)
{
    StopForPrinting();
    m_nOutputTarget = 2;
    m_nDisplayMode = kModeScope;
}

void COndavView::OnEndPrinting(CDC*, CPrintInfo*)
{
    StopForPrinting();
    m_nOutputTarget = 1;
    m_nDisplayMode = kModeScope;
}
