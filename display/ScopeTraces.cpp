// What moves on the scope display: the traces, the time-axis labels of the
// current time base and the scale column beside the screen.
#include "acquisition/OndavView.h"
#include "display/PageTables.h"
#include <algorithm>

using namespace page;

namespace {

// Samples come from the document, and an opened .osc file may hold any
// 32-bit value: work in 64 bits so the product cannot overflow, then clamp.
int ClampedCoord(long long value, int low, int high)
{
    return static_cast<int>(std::clamp<long long>(value, low, high));
}

int TraceY(int gain, int sample, int zeroY)
{
    return ClampedCoord(static_cast<long long>(gain) * sample + zeroY, kTraceTop, kTraceBottom);
}

bool ScaleGroupOf(const COndavView& v, ScaleGroup& group)
{
    switch (v.m_nScopeLayout) {
    case 1:
        if (v.m_nScaleChannel == 1) { group = ScaleGroup::OffsetRight; return true; }
        if (v.m_nScaleChannel == 2) { group = ScaleGroup::OffsetLeft; return true; }
        return false;
    case 2: case 4: case 5: group = ScaleGroup::Centred; return true;
    case 3: group = ScaleGroup::Sum; return true;
    }
    return false;
}

}  // namespace

void COndavView::DrawTimeLabels(CDC* dc, int timeBaseRow)
{
    if (!Shows(dc, kTimeLabelArea)) return;
    const TimeBase& t = page::kTimeBases[static_cast<size_t>(timeBaseRow)];
    for (size_t i = 0; i < t.labels.size(); ++i) dc->TextOut(kTimeLabelX[i], kTimeLabelY, t.labels[i]);
    dc->TextOut(kTimeUnitAt.x, kTimeUnitAt.y, t.unit);
}

void COndavView::DrawScaleColumn(CDC* dc)
{
    ScaleGroup group;
    if (!ScaleGroupOf(*this, group) || !Shows(dc, kScaleArea)) return;
    auto labels = std::find_if(kLabelSets.begin(), kLabelSets.end(), [&](const LabelSet& s) {
        return s.group == group && s.gain == m_nVerticalGain && s.scale == m_nVerticalScale;
    });
    if (labels == kLabelSets.end()) return;
    auto bands = std::find_if(kBandSets.begin(), kBandSets.end(), [&](const BandSet& s) {
        return s.group == group && s.gain == m_nVerticalGain;
    });
    for (int i = 0; i < bands->count; ++i) {
        const Band& b = bands->bands[static_cast<size_t>(i)];
        dc->FillSolidRect(kBandX, b.top, kBandWidth, b.bottom - b.top, b.colour);
    }
    for (size_t row = 0; row < labels->text.size(); ++row)
        if (labels->text[row]) dc->TextOut(kScaleLabelX, kScaleLabelY[row], labels->text[row]);
}

void COndavView::DrawTraces(CDC* dc)
{
    if (m_nScopeSignal == 5) {
        DrawLissajous(dc);
        return;
    }
    // Steps outside the time-base table would never reach the right edge.
    if (m_nPixelsPerSample < 1 || m_nSamplesPerPixel < 1) return;
    switch (m_nScopeSignal) {
    case 1:
        dc->SelectObject(&m_penRed);
        DrawTimeTrace(dc, m_aRight, m_nTraceY1, m_iRight);
        dc->SelectObject(&m_penYellow);
        DrawTimeTrace(dc, m_aLeft, m_nTraceY2, m_iLeft);
        break;
    case 3:
        dc->SelectObject(&m_penBlue);
        DrawTimeTrace(dc, m_aSum, m_nSumY, m_iSum);
        break;
    case 4:
        dc->SelectObject(&m_penGreen);
        DrawTimeTrace(dc, m_aDiff, m_nDiffY, m_iDiff);
        break;
    }
}

// One trace from the trigger sample, 23 to 516 across the screen; the first
// line has zero length and the last point is pulled to the right edge.
void COndavView::DrawTimeTrace(CDC* dc, const int* samples, int zeroY, int& index)
{
    index = ClampedCoord(static_cast<long long>(m_nTriggerOffset) + kTriggerBase, 0, kLastIndex);
    m_nPenX = kTraceStartX;
    m_nPenY = TraceY(m_nVerticalGain, samples[index], zeroY);
    dc->MoveTo(m_nPenX, m_nPenY);
    for (;;) {
        m_nPenY = TraceY(m_nVerticalGain, samples[index], zeroY);
        dc->LineTo(m_nPenX, m_nPenY);
        if (m_nPenX >= kTraceStopX) break;
        index += m_nSamplesPerPixel;
        m_nPenX += m_nPixelsPerSample;
        if (m_nPenX > kTraceLastStepX) m_nPenX = kTraceRight;
        if (index > kLastIndex) index = kLastIndex;
    }
}

// Left against right over a fixed stretch of the capture; trigger and time
// base do not apply.
void COndavView::DrawLissajous(CDC* dc)
{
    auto point = [&](int i) {
        const long long gain = m_nVerticalGain;
        m_nPenX = ClampedCoord(gain * m_aLeft[i] + kAxisX, kTraceTop, kTraceRight);
        m_nPenY = ClampedCoord(gain * m_aRight[i] + kAxisY, kTraceTop, kTraceBottom);
    };
    dc->SelectObject(&m_penRed);
    m_iRight = m_iLeft = kLissajousFirst;
    point(m_iLeft);
    dc->MoveTo(m_nPenX, m_nPenY);
    while (m_iLeft < kLissajousLast) {
        ++m_iRight;
        ++m_iLeft;
        point(m_iLeft);
        dc->LineTo(m_nPenX, m_nPenY);
    }
}
