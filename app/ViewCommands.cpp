// The view's menu and toolbar commands: each sets a setting and redraws; the
// update handlers put the check mark on the current choice.
#include "acquisition/OndavView.h"
#include "acquisition/SettingsModel.h"
#include "app/BackColorDlg.h"
#include "resource.h"
#include <string>

namespace {
// Index of id in a run of consecutive command ids starting at first.
size_t indexOf(UINT id, UINT first) { return static_cast<size_t>(id - first); }

// Starts a program and returns at once (WinExec may wait for it to settle).
bool startProgram(const char* commandLine, UINT show)
{
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION pi{};
    std::string line(commandLine);
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return true;
}
} // namespace

void COndavView::Redraw() { InvalidateRect(nullptr, TRUE); }

void COndavView::ApplyScopeLayout(int layout)
{
    const ScopeLayoutRow& row = kScopeLayouts[layout - 1];
    m_nScopeLayout = row.layout;
    m_nDisplayMode = kModeScope;
    m_nScopeSignal = row.signal;
    if (row.traceY1) {
        m_nTraceY1 = row.traceY1;
        m_nTraceY2 = row.traceY2;
    }
}

void COndavView::ApplyTimeBase(size_t row)
{
    m_nTimeBase = kTimeBases[row].timeBase;
    m_nPixelsPerSample = kTimeBases[row].pixelsPerSample;
    m_nSamplesPerPixel = kTimeBases[row].samplesPerPixel;
}

BOOL COndavView::ScaleChannelSelectable() const
{
    return m_nScopeLayout == 1 && m_nTraceY1 == 120;
}

// ---------------------------------------------------------------- Mode

void COndavView::OnScopeLayout(UINT id)
{
    ApplyScopeLayout(static_cast<int>(indexOf(id, ID_MODE_DECALEES)) + 1);
    Redraw();
}

void COndavView::OnUpdateScopeLayout(CCmdUI* cmdUI)
{
    int layout = static_cast<int>(indexOf(cmdUI->m_nID, ID_MODE_DECALEES)) + 1;
    cmdUI->SetCheck(m_nScopeLayout == layout && m_nDisplayMode == kModeScope);
}

void COndavView::OnLevelDisplay(UINT id)
{
    // The level displays only make sense live, and fast.
    StartMeasurement();
    m_nRefreshPeriod = 100;
    m_nDisplayMode = id == ID_MODE_VUMETRES ? kModeVuMeters : kModeBargraphs;
    Redraw();
}

void COndavView::OnUpdateLevelDisplay(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_nDisplayMode == (cmdUI->m_nID == ID_MODE_VUMETRES ? kModeVuMeters : kModeBargraphs));
}

// ---------------------------------------------------------------- Réglages

void COndavView::OnTimeBase(UINT id)
{
    ApplyTimeBase(indexOf(id, ID_BASE_50MS));
    Redraw();
}

void COndavView::OnUpdateTimeBase(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_nTimeBase == kTimeBases[indexOf(cmdUI->m_nID, ID_BASE_50MS)].timeBase);
}

void COndavView::OnRefreshSpeed(UINT id)
{
    m_nRefreshPeriod = kRefreshPeriods[indexOf(id, ID_RAFR_LENT)];
    Redraw();
}

void COndavView::OnUpdateRefreshSpeed(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_nRefreshPeriod == kRefreshPeriods[indexOf(cmdUI->m_nID, ID_RAFR_LENT)]);
}

void COndavView::OnVerticalGain(UINT id)
{
    if (m_nDisplayMode != kModeScope) return;
    m_nVerticalGain = kVerticalGains[indexOf(id, ID_GAIN_X1)];
    Redraw();
}

void COndavView::OnUpdateVerticalGain(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_nVerticalGain == kVerticalGains[indexOf(cmdUI->m_nID, ID_GAIN_X1)]);
}

void COndavView::OnVerticalScale(UINT id)
{
    m_nVerticalScale = static_cast<int>(indexOf(id, ID_ECHELLE_DB)) + 1;
    Redraw();
}

void COndavView::OnUpdateVerticalScale(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_nVerticalScale == static_cast<int>(indexOf(cmdUI->m_nID, ID_ECHELLE_DB)) + 1);
}

void COndavView::OnScaleChannel(UINT id)
{
    if (!ScaleChannelSelectable()) return;
    m_nScaleChannel = static_cast<int>(indexOf(id, ID_ECHELLE_DROITE)) + 1;
    Redraw();
}

void COndavView::OnUpdateScaleChannel(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_nScaleChannel == static_cast<int>(indexOf(cmdUI->m_nID, ID_ECHELLE_DROITE)) + 1);
}

void COndavView::OnSoundCardSettings()
{
    // The mixer of the sound card, without waiting for it; later systems
    // renamed it, so fall back to their own recording settings.
    static const char* const mixers[] = { "sndvol32.exe", "sndvol.exe", "control.exe mmsys.cpl,,1" };
    m_nExecShow = SW_SHOWNORMAL;
    for (const char* mixer : mixers) {
        m_pszExecCmd = mixer;
        if (startProgram(m_pszExecCmd, m_nExecShow)) return;
    }
}

// ---------------------------------------------------------------- Affichage, Options

void COndavView::OnGrid()
{
    m_bGrid = m_bGrid ? FALSE : TRUE;
    Redraw();
}

void COndavView::OnUpdateGrid(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_bGrid ? 1 : 0);
}

void COndavView::OnBackColor()
{
    COLORREF* colour = m_nDisplayMode == kModeScope     ? &m_clrScopeBack
                     : m_nDisplayMode == kModeVuMeters  ? &m_clrVuBack
                     : m_nDisplayMode == kModeBargraphs ? &m_clrBarBack : nullptr;
    if (!colour) return;
    CBackColorDlg dlg;
    dlg.m_clrChoice = *colour;
    if (dlg.DoModal() == IDOK) *colour = dlg.m_clrChoice;
    Redraw();
}
