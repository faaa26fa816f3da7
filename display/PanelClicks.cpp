// The settings panel made clickable, the click on the scope screen that
// starts a measurement, and the printing hooks.
#include "acquisition/OndavView.h"
#include "acquisition/SettingsModel.h"
#include "display/PageTables.h"

using Effect = page::ZoneEffect;

void COndavView::OnLButtonDown(UINT flags, CPoint point)
{
    m_nOutputTarget = 1;
    m_ptClick = point;
    if (m_nDisplayMode == kModeScope) {
        for (const page::ClickZone& z : page::kClickZones)
            if (page::Inside(z, m_ptClick)) ApplyZone(static_cast<int>(z.effect), z.value);
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
