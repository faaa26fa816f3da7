// The measurement cycle: timer 250, used one-shot, alternates an arm tick
// (queue the buffer, start recording) and a collect tick (convert the buffer,
// store the frame in the document, find the trigger, redraw the data).
#include "acquisition/OndavView.h"
#include "app/MeasureWindow.h"
#include "resource.h"

namespace {

const char kRefusalText[] =
    "Le programme ne peut pas fonctionner normalement à cause d'un problème qui vous a déjà été "
    "signalé. Quittez le programme et réessayez.";
const char kRefusalCaption[] = "Ondavis";

enum : int { kPhaseArm = 1, kPhaseCollect = 2 };

// The trigger is looked for on the sum, from this index up to kTriggerLast.
constexpr int kTriggerFirst = 300;
constexpr int kTriggerLast = 1000;
constexpr int kTriggerLevel = -60;

// A right click stops the measurement only strictly inside this zone, the
// scope screen with a small margin.
bool InScopeClickZone(CPoint point)
{
    return point.x > 15 && point.x < 524 && point.y > 15 && point.y < 424;
}

} // namespace

void COndavView::StartMeasurement()
{
    if (m_bRunning) return;   // a running measurement keeps its phase
    m_nCapturePhase = kPhaseArm;
    SetTimer(kMeasureTimer, m_nCaptureWait);
    m_bRunning = TRUE;
}

void COndavView::StopMeasurement()
{
    if (!m_bRunning) return;
    KillTimer(kMeasureTimer);
    m_bRunning = FALSE;
    Invalidate(TRUE);
}

// Every tick kills the timer before anything that may show a message box, so
// no tick arrives while one is open, and sets it again at its end.
void COndavView::OnTimer(UINT_PTR id)
{
    if (m_bAudioFailed) {
        if (m_bRunning) {
            KillTimer(kMeasureTimer);
            m_bRunning = FALSE;
            Invalidate(TRUE);
        }
        CBoxHelp help(IDH_MSG_REFUS_MESURE);
        MessageBox(kRefusalText, kRefusalCaption);
    } else {
        if (m_bRunning) {
            KillTimer(kMeasureTimer);
            m_bRunning = FALSE;
        }
        if (m_nCapturePhase == kPhaseArm)
            ArmTick();
        else if (m_nCapturePhase == kPhaseCollect)
            CollectTick();
    }
    CView::OnTimer(id);
}

void COndavView::RestartTimer(UINT period)
{
    if (m_bRunning) return;
    SetTimer(kMeasureTimer, period);
    m_bRunning = TRUE;
}

void COndavView::ArmTick()
{
    // A failed call reports itself; the cycle still moves on, and the next
    // tick turns into the refusal.
    ArmCapture();
    RestartTimer(m_nCaptureWait);
    m_nCapturePhase = kPhaseCollect;
}

void COndavView::CollectTick()
{
    CollectFrame();
    CopyFrameToDocument();
    FindTrigger();
    m_rcSync.SetRect(572, 342, 683, 353);
    m_pSyncRect = &m_rcSync;
    InvalidateRect(m_pSyncRect, TRUE);
    m_nCapturePhase = kPhaseArm;
    InvalidateFrameAreas();
    RestartTimer(m_nRefreshPeriod);
    // After the timer is set again, so measuring never lengthens the frame period.
    CMeasureWindow::Notify(GetDocument());
}

// What is drawn, printed and saved is the document's copy of the frame.
void COndavView::CopyFrameToDocument()
{
    COndavDoc* doc = GetDocument();
    if (!doc) return;
    for (m_nCopyIndex = 0; m_nCopyIndex < kFrameUsed; ++m_nCopyIndex) doc->m_right[m_nCopyIndex] = m_aRight[m_nCopyIndex];
    for (m_nCopyIndex = 0; m_nCopyIndex < kFrameUsed; ++m_nCopyIndex) doc->m_left[m_nCopyIndex] = m_aLeft[m_nCopyIndex];
    for (m_nCopyIndex = 0; m_nCopyIndex < kFrameUsed; ++m_nCopyIndex) doc->m_sum[m_nCopyIndex] = m_aSum[m_nCopyIndex];
    for (m_nCopyIndex = 0; m_nCopyIndex < kFrameUsed; ++m_nCopyIndex) doc->m_difference[m_nCopyIndex] = m_aDiff[m_nCopyIndex];
    doc->SetModifiedFlag(TRUE);
}

// The trigger is the first fall of the sum below the level, from index 300
// on, after it has been at or above the level; indexes up to 1000 are looked at.
void COndavView::FindTrigger()
{
    m_nTriggerOffset = 0;
    m_bSyncFound = FALSE;
    m_iSum = kTriggerFirst;
    while (m_aSum[m_iSum] < kTriggerLevel) {
        if (m_iSum >= kTriggerLast) return;
        ++m_iSum;
    }
    while (m_aSum[m_iSum] >= kTriggerLevel) {
        if (m_iSum >= kTriggerLast) return;
        ++m_iSum;
    }
    m_nTriggerOffset = m_iSum - kTriggerFirst;
    m_bSyncFound = TRUE;
}

void COndavView::InvalidateFrameAreas()
{
    switch (m_nDisplayMode) {
    case kModeScope:
        InvalidateRect(m_pScopeRect, TRUE);
        break;
    case kModeVuMeters:
        InvalidateRect(&m_rcVuLeft, TRUE);
        InvalidateRect(&m_rcVuRight, TRUE);
        break;
    case kModeBargraphs:
        InvalidateRect(&m_rcBarLeft, TRUE);
        InvalidateRect(&m_rcBarRight, TRUE);
        break;
    default:
        break;
    }
}

void COndavView::OnUpdate(CView* sender)
{
    // A sound opened from a file is held still by the trigger, as a capture is.
    if (const COndavDoc* doc = GetDocument(); doc && doc->IsFromWav()) {
        CopyDocumentFrame();
        FindTrigger();
    }
    CView::OnUpdate(sender);
    CMeasureWindow::Notify(GetDocument());
}

void COndavView::OnRButtonDown(UINT flags, CPoint point)
{
    m_ptClick = point;
    if (m_nDisplayMode == kModeScope && InScopeClickZone(point)) StopMeasurement();
    CView::OnRButtonDown(flags, point);
}

void COndavView::OnDestroy()
{
    CView::OnDestroy();
    // The timer goes first, so no tick can reach a closed device.
    if (m_bRunning) {
        KillTimer(kMeasureTimer);
        m_bRunning = FALSE;
    }
    CloseCapture();
    SaveSettings();
}

void COndavView::OnMeasureStart()
{
    if (m_bRunning) return;
    StartMeasurement();
    Invalidate(TRUE);
}

void COndavView::OnMeasureStop()
{
    StopMeasurement();
}

void COndavView::OnUpdateMeasureStart(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_bRunning ? 1 : 0);
}

void COndavView::OnUpdateMeasureStop(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_bRunning ? 0 : 1);
}
