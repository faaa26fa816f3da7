// The two level displays: needle VU meters and bargraphs, both driven by the
// positive peak of each channel over the capture.
#include "acquisition/OndavView.h"
#include "display/PageTables.h"
#include <algorithm>

using namespace page;

namespace {

// An opened .osc file may hold any value. Every peak a picture can show is
// drawn where the scale puts it; only values so large that 2 x peak, and the
// coordinates built on it, would overflow are held, far off the page.
constexpr int kPeakGuard = 1 << 24;

int PeakTravel(int peak)
{
    return 2 * std::clamp(peak, -kPeakGuard, kPeakGuard);
}

RECT Shifted(const RECT& r, int dx)
{
    return {r.left + dx, r.top, r.right + dx, r.bottom};
}

void FillShifted(CDC* dc, const ColourFill& f, int dx)
{
    dc->FillSolidRect(f.at.x + dx, f.at.y, f.at.cx, f.at.cy, f.colour);
}

void DrawTexts(CDC* dc, const Text* first, const Text* last, int dx)
{
    for (const Text* t = first; t != last; ++t) dc->TextOut(t->x + dx, t->y, t->text);
}

// The channel names stand on the DC's opaque white text background.
void DrawChannelName(CDC* dc, const Text& name)
{
    dc->SetBkMode(OPAQUE);
    dc->TextOut(name.x, name.y, name.text);
}

void DrawVuScaleAndNeedle(CDC* dc, int dx, int peak)
{
    for (const ColourFill& f : kVuScale) FillShifted(dc, f, dx);
    dc->MoveTo(kVuPivot.x + dx, kVuPivot.y);
    dc->LineTo(kVuTipX0 + dx + PeakTravel(peak), kVuTipY);
}

}  // namespace

void COndavView::ComputePeaks()
{
    m_nPeakRight = *std::max_element(m_aRight, m_aRight + kCaptureFrames);
    m_nPeakLeft = *std::max_element(m_aLeft, m_aLeft + kCaptureFrames);
}

void COndavView::DrawVuMeters(CDC* dc)
{
    dc->SelectObject(&m_penBlack2);
    FillStrips(dc, kVuStrips, m_clrVuBack);

    m_rcVuLeft = kVuLeft;
    dc->DrawEdge(&m_rcVuLeft, EDGE_BUMP, BF_RECT);
    DrawChannelName(dc, kVuNameLeft);
    m_rcVuRight = Shifted(kVuLeft, kRightShift);
    dc->DrawEdge(&m_rcVuRight, EDGE_BUMP, BF_RECT);
    DrawChannelName(dc, kVuNameRight);

    DrawVuScaleAndNeedle(dc, 0, m_nPeakLeft);
    dc->SetBkMode(TRANSPARENT);
    DrawTexts(dc, kVuLabels.data(), kVuLabels.data() + kVuLabels.size(), 0);
    DrawVuScaleAndNeedle(dc, kRightShift, m_nPeakRight);
    DrawTexts(dc, kVuLabels.data(), kVuLabels.data() + kVuLabels.size(), kRightShift);
}

void COndavView::DrawBargraphs(CDC* dc)
{
    m_rcBarLeft = kBarLeft;
    m_rcBarRight = Shifted(kBarLeft, kRightShift);
    FillStrips(dc, kBarStrips, m_clrBarBack);

    dc->DrawEdge(&m_rcBarLeft, EDGE_BUMP, BF_RECT);
    DrawChannelName(dc, kBarNameLeft);
    dc->DrawEdge(&m_rcBarRight, EDGE_BUMP, BF_RECT);
    DrawChannelName(dc, kBarNameRight);

    for (const ColourFill& f : kBarZones) FillShifted(dc, f, 0);
    dc->SetBkMode(TRANSPARENT);
    DrawTexts(dc, kBarLabels.data(), kBarLabels.data() + kBarLabels.size(), 0);
    DrawTexts(dc, kBarLabels.data(), kBarLabels.data() + kBarLabels.size(), kRightShift);
    dc->TextOut(kBarUnit.x, kBarUnit.y, kBarUnit.text);
    for (const ColourFill& f : kBarZones) FillShifted(dc, f, kRightShift);

    // The white mask hides the bar above the peak.
    for (auto [dx, peak] : {std::pair{0, m_nPeakLeft}, std::pair{kRightShift, m_nPeakRight}}) {
        m_nBarMaskHeight = kBarFullHeight - PeakTravel(peak);
        dc->FillSolidRect(kBarMaskX + dx, kBarMaskTop, kBarMaskWidth, m_nBarMaskHeight, kWhite);
    }
}
