// The paint routine: the page, the drawing resources and the static part of
// the scope display (strips, frames, settings panel, help lines, graticule).
#include "acquisition/OndavView.h"
#include "display/PageTables.h"
#include <tuple>

using namespace page;

namespace {

// The page is 800 x 600 logical units; the printer gets it three times larger.
constexpr int kPageWidth = 800;
constexpr int kPageHeight = 600;
constexpr int kTargetScreen = 1;
constexpr int kTargetPrinter = 2;
constexpr int kPrinterScale = 3;

int SettingValue(const COndavView& v, Setting s)
{
    switch (s) {
    case Setting::Layout: return v.m_nScopeLayout;
    case Setting::Refresh: return static_cast<int>(v.m_nRefreshPeriod);
    case Setting::Sync: return v.m_bSyncFound;
    case Setting::Gain: return v.m_nVerticalGain;
    case Setting::Scale: return v.m_nVerticalScale;
    case Setting::Channel: return v.m_nScaleChannel;
    }
    return 0;
}

void FillIndicator(CDC* dc, int left, int top, COLORREF colour)
{
    dc->FillSolidRect(left + kIndicatorInset, top + kIndicatorInset, kIndicatorSize, kIndicatorSize, colour);
}

void DrawLine(CDC* dc, const Line& l)
{
    dc->MoveTo(l.x1, l.y1);
    dc->LineTo(l.x2, l.y2);
}

void DrawText(CDC* dc, const Text& t)
{
    TextOutShown(dc, t.x, t.y, t.text);
}

bool ChannelBoxesShown(const COndavView& v)
{
    return v.m_nScopeLayout == 1 && v.m_nTraceY1 == 120;
}

}  // namespace

void page::FillStrips(CDC* dc, const Strips& strips, COLORREF colour)
{
    for (const Fill& f : strips) dc->FillSolidRect(f.x, f.y, f.cx, f.cy, colour);
}

bool page::Shows(CDC* dc, const RECT& area)
{
    return ::RectVisible(dc->m_hDC, &area) != FALSE;
}

void page::TextOutShown(CDC* dc, int x, int y, const char* text)
{
    if (Shows(dc, TextRoom(x, y, text))) dc->TextOut(x, y, text);
}

void COndavView::OnDraw(CDC* dc)
{
    SetupPage(dc);
    if (m_bNeedResources) CreateDrawingResources();
    CopyDocumentFrame();

    // The DC only borrows our pens and fonts: give it its own back at the end,
    // so none of ours stays selected when it is destroyed.
    HGDIOBJ oldFont = ::GetCurrentObject(dc->m_hDC, OBJ_FONT);
    HGDIOBJ oldPen = ::GetCurrentObject(dc->m_hDC, OBJ_PEN);

    if (m_nDisplayMode == kModeScope) DrawScopeDisplay(dc);
    if (m_nDisplayMode == kModeVuMeters || m_nDisplayMode == kModeBargraphs) {
        dc->SelectObject(&m_fontLarge);
        ComputePeaks();
        if (m_nDisplayMode == kModeVuMeters) DrawVuMeters(dc);
        else DrawBargraphs(dc);
    }

    dc->SelectObject(oldPen);
    dc->SelectObject(oldFont);
}

void COndavView::SetupPage(CDC* dc)
{
    dc->SetMapMode(MM_ANISOTROPIC);
    dc->SetWindowExt(kPageWidth, kPageHeight);
    if (m_nOutputTarget == kTargetScreen) dc->SetViewportExt(kPageWidth, kPageHeight);
    if (m_nOutputTarget == kTargetPrinter)
        dc->SetViewportExt(kPrinterScale * kPageWidth, kPrinterScale * kPageHeight);
}

void COndavView::CreateDrawingResources()
{
    m_strFontFace = "Arial";
    for (auto [font, height, width] : {std::tuple{&m_fontSmall, 12, 5}, std::tuple{&m_fontLarge, 24, 10}})
        font->CreateFont(height, width, 0, 0, FW_THIN, FALSE, FALSE, FALSE, OEM_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, m_strFontFace);
    m_penBlack4.CreatePen(PS_SOLID, 4, kBlack);
    m_penBlack2.CreatePen(PS_SOLID, 2, kBlack);
    m_penDotBlack.CreatePen(PS_DOT, 1, kBlack);
    m_penBlack1.CreatePen(PS_SOLID, 1, kBlack);
    m_penRed.CreatePen(PS_SOLID, m_nTracePenWidth, kRed);
    m_penYellow.CreatePen(PS_SOLID, m_nTracePenWidth, kYellow);
    m_penBlue.CreatePen(PS_SOLID, m_nTracePenWidth, kBlue);
    m_penGreen.CreatePen(PS_SOLID, m_nTracePenWidth, kGreen);
    m_bNeedResources = FALSE;
}

void COndavView::CopyDocumentFrame()
{
    const COndavDoc* doc = GetDocument();
    if (!doc) return;
    for (m_nCopyIndex = 0; m_nCopyIndex < kFrameUsed; ++m_nCopyIndex) {
        m_aRight[m_nCopyIndex] = doc->m_right[m_nCopyIndex];
        m_aLeft[m_nCopyIndex] = doc->m_left[m_nCopyIndex];
        m_aSum[m_nCopyIndex] = doc->m_sum[m_nCopyIndex];
        m_aDiff[m_nCopyIndex] = doc->m_difference[m_nCopyIndex];
    }
}

void COndavView::DrawScopeDisplay(CDC* dc)
{
    const bool screen = m_nOutputTarget != kTargetPrinter;
    dc->SelectObject(&m_fontSmall);
    dc->SetTextColor(kBlack);
    if (screen) FillStrips(dc, kScopeStrips, m_clrScopeBack);

    m_pScopeFrameRect = &m_rcScopeFrame;
    m_rcScopeFrame = kScopeFrame;
    if (Shows(dc, kScopeFrame)) dc->DrawEdge(m_pScopeFrameRect, EDGE_BUMP, BF_RECT);
    dc->SetBkMode(TRANSPARENT);
    DrawScaleColumn(dc);

    if (screen) {
        m_pPanelRect = &m_rcPanel;
        m_rcPanel = kPanelFrame;
        if (Shows(dc, kPanelFrame)) dc->DrawEdge(m_pPanelRect, EDGE_BUMP, BF_RECT);
        DrawLayoutBoxes(dc);
    }
    DrawTimeBases(dc);
    if (screen) {
        DrawSettingBoxes(dc);
        DrawPanelTexts(dc);
        DrawHelpLines(dc);
    }
    if (Shows(dc, kScreenArea)) {
        DrawScreen(dc);
        DrawTraces(dc);
    }
}

void COndavView::DrawPanelBox(CDC* dc, int left, int top)
{
    m_pBoxRect = &m_rcBox;
    m_rcBox.SetRect(left, top, left + kBoxSize, top + kBoxSize);
    if (Shows(dc, m_rcBox)) dc->DrawEdge(m_pBoxRect, EDGE_BUMP, BF_RECT);
}

void COndavView::DrawLayoutBoxes(CDC* dc)
{
    for (const PanelBox& b : kLayoutBoxes) {
        DrawPanelBox(dc, b.left, b.top);
        if (SettingValue(*this, b.setting) == b.value) FillIndicator(dc, b.left, b.top, b.indicator);
    }
}

// The time bases share one pass: box and indicator on screen, and the axis
// labels of the current one on screen and on paper.
void COndavView::DrawTimeBases(CDC* dc)
{
    const bool screen = m_nOutputTarget != kTargetPrinter;
    for (int row = 0; row < static_cast<int>(page::kTimeBases.size()); ++row) {
        const TimeBase& t = page::kTimeBases[static_cast<size_t>(row)];
        if (screen) DrawPanelBox(dc, kTimeBoxLeft, t.boxTop);
        if (t.code != m_nTimeBase) continue;
        if (screen) FillIndicator(dc, kTimeBoxLeft, t.boxTop, kYellow);
        DrawTimeLabels(dc, row);
    }
}

void COndavView::DrawSettingBoxes(CDC* dc)
{
    auto draw = [&](const PanelBox& b) {
        DrawPanelBox(dc, b.left, b.top);
        if (SettingValue(*this, b.setting) == b.value) FillIndicator(dc, b.left, b.top, b.indicator);
    };
    for (const PanelBox& b : kSettingBoxes) draw(b);
    if (ChannelBoxesShown(*this))
        for (const PanelBox& b : kChannelBoxes) draw(b);
}

void COndavView::DrawPanelTexts(CDC* dc)
{
    for (const PanelBox& b : kLayoutBoxes) TextOutShown(dc, b.labelX, b.labelY, b.label);
    for (const TimeBase& t : page::kTimeBases) TextOutShown(dc, kTimeTextX, t.boxTop + 3, t.panelText);
    for (const PanelBox& b : kSettingBoxes) TextOutShown(dc, b.labelX, b.labelY, b.label);
    DrawText(dc, kScaleCaption);
    if (ChannelBoxesShown(*this))
        for (const PanelBox& b : kChannelBoxes) TextOutShown(dc, b.labelX, b.labelY, b.label);

    dc->SelectObject(&m_penBlack1);
    for (const Line& l : kSeparators) DrawLine(dc, l);
}

void COndavView::DrawHelpLines(CDC* dc)
{
    DrawText(dc, kHelpPanel);
    DrawText(dc, m_bRunning ? kHelpRunning : kHelpStopped);
    DrawLine(dc, kSyncSeparator);
}

void COndavView::DrawScreen(CDC* dc)
{
    // The default white brush paints the screen's inside on every repaint.
    dc->SelectObject(&m_penBlack4);
    dc->Rectangle(&kScreen);

    const int l = kScreen.left, t = kScreen.top, r = kScreen.right, b = kScreen.bottom;
    dc->SelectObject(&m_penBlack2);
    if (m_bGrid) {
        DrawLine(dc, {l, kAxisY, r, kAxisY});
        DrawLine(dc, {kAxisX, t, kAxisX, b});
    }
    dc->SelectObject(&m_penDotBlack);
    if (m_bGrid) {
        for (int x : kGridX) DrawLine(dc, {x, t, x, b});
        for (int y : kGridY) DrawLine(dc, {l, y, r, y});
    }
    dc->SelectObject(&m_penBlack2);
    if (m_bGrid) {
        for (int x : kGridX) DrawLine(dc, {x, kAxisY - 10, x, kAxisY + 10});
        for (int y : kGridY) DrawLine(dc, {kAxisX - 10, y, kAxisX + 10, y});
    }
    for (int x : kTickX) {
        DrawLine(dc, {x, t, x, t + 10});
        DrawLine(dc, {x, b - 10, x, b});
    }
    for (int y : kTickY) {
        DrawLine(dc, {l, y, l + 10, y});
        DrawLine(dc, {r - 10, y, r, y});
    }
}
