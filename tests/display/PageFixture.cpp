#include "PageFixture.h"
#include <cstdio>

namespace {

struct TimeSteps {
    int code, pixelsPerSample, samplesPerPixel;
};
// The time bases with their two steps, as the commands set them.
constexpr TimeSteps kSteps[] = {
    {50, 1, 5}, {20, 1, 2}, {10, 1, 1}, {5000, 2, 1},
    {2000, 5, 1}, {1000, 10, 1}, {500, 20, 1}, {200, 50, 1}};

}  // namespace

Instrument::Instrument() : m_view(new COndavView), m_doc(new COndavDoc)
{
    m_doc->AddView(m_view.get());
    COndavView& v = *m_view;
    v.m_bGrid = TRUE;
    v.m_bAudioFailed = FALSE;
    v.m_clrScopeBack = v.m_clrVuBack = v.m_clrBarBack = kDefaultBackColor;
    v.m_nOutputTarget = 1;
    v.m_bNeedResources = TRUE;
    v.m_bRunning = FALSE;
    v.m_nTracePenWidth = 2;
    v.m_nRefreshPeriod = 500;
    v.m_nDisplayMode = kModeScope;
    v.m_nSumY = 220;
    v.m_nDiffY = 220;
    v.m_rcScope.SetRect(20, 20, 520, 420);
    v.m_pScopeRect = &v.m_rcScope;
    v.m_nTriggerOffset = 0;
    v.m_bSyncFound = FALSE;
    v.m_nVerticalGain = 1;
    v.m_nScaleChannel = 1;
    v.m_nVerticalScale = 1;
    SetLayout(1);
    SetTimeBase(1000);
    Fill([](int) { return std::pair{1, 1}; });
}

Instrument::~Instrument() = default;

void Instrument::Fill(const std::function<std::pair<int, int>(int)>& f)
{
    for (int i = 0; i < kFrameUsed; ++i) {
        auto [right, left] = f(i);
        m_doc->m_right[i] = right;
        m_doc->m_left[i] = left;
        m_doc->m_sum[i] = right + left;
        m_doc->m_difference[i] = right - left;
    }
}

void Instrument::SetLayout(int layout)
{
    COndavView& v = *m_view;
    v.m_nScopeLayout = layout;
    v.m_nScopeSignal = layout == 2 ? 1 : layout;
    if (layout == 1) { v.m_nTraceY1 = 120; v.m_nTraceY2 = 320; }
    if (layout == 2) { v.m_nTraceY1 = 220; v.m_nTraceY2 = 220; }
}

void Instrument::SetTimeBase(int code)
{
    for (const TimeSteps& s : kSteps) {
        if (s.code != code) continue;
        m_view->m_nTimeBase = code;
        m_view->m_nPixelsPerSample = s.pixelsPerSample;
        m_view->m_nSamplesPerPixel = s.samplesPerPixel;
    }
}

DibPage::DibPage(int width, int height, COLORREF background) : m_width(width), m_height(height)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_dc = ::CreateCompatibleDC(nullptr);
    m_bitmap = ::CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    m_bits = static_cast<const DWORD*>(bits);
    m_oldBitmap = ::SelectObject(m_dc, m_bitmap);
    HBRUSH brush = ::CreateSolidBrush(background);
    RECT all{0, 0, width, height};
    ::FillRect(m_dc, &all, brush);
    ::DeleteObject(brush);
}

DibPage::~DibPage()
{
    ::SelectObject(m_dc, m_oldBitmap);
    ::DeleteObject(m_bitmap);
    ::DeleteDC(m_dc);
}

void DibPage::Draw(COndavView& view)
{
    CDC dc(m_dc);
    view.OnDraw(&dc);
    ::GdiFlush();
}

void DibPage::DrawClipped(COndavView& view, const std::vector<RECT>& areas)
{
    HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
    for (const RECT& r : areas) {
        HRGN part = ::CreateRectRgnIndirect(&r);
        ::CombineRgn(clip, clip, part, RGN_OR);
        ::DeleteObject(part);
    }
    ::SaveDC(m_dc);
    ::SelectClipRgn(m_dc, clip);
    Draw(view);
    ::RestoreDC(m_dc, -1);
    ::DeleteObject(clip);
}

COLORREF DibPage::At(int x, int y) const
{
    const DWORD p = m_bits[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::vector<int> DibPage::RowsWith(int x, int y0, int y1, COLORREF c) const
{
    std::vector<int> rows;
    for (int y = y0; y <= y1; ++y)
        if (At(x, y) == c) rows.push_back(y);
    return rows;
}

bool DibPage::SaveBmp(const std::string& path) const
{
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    const DWORD imageBytes = static_cast<DWORD>(m_width) * static_cast<DWORD>(m_height) * 4;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + imageBytes;
    ih.biSize = sizeof(ih);
    ih.biWidth = m_width;
    ih.biHeight = -m_height;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    ih.biCompression = BI_RGB;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(&fh, sizeof(fh), 1, f) == 1 && std::fwrite(&ih, sizeof(ih), 1, f) == 1 &&
              std::fwrite(m_bits, imageBytes, 1, f) == 1;
    return std::fclose(f) == 0 && ok;
}

namespace {

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM data)
{
    auto* out = reinterpret_cast<std::vector<TextRecord>*>(data);
    if (rec->iType == EMR_EXTTEXTOUTW) {
        const auto* t = reinterpret_cast<const EMREXTTEXTOUTW*>(rec);
        const auto* chars = reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(rec) + t->emrtext.offString);
        std::string s;
        for (DWORD i = 0; i < t->emrtext.nChars; ++i) s += static_cast<char>(chars[i]);
        out->push_back({t->emrtext.ptlReference.x, t->emrtext.ptlReference.y, s});
    } else if (rec->iType == EMR_EXTTEXTOUTA) {
        const auto* t = reinterpret_cast<const EMREXTTEXTOUTA*>(rec);
        const auto* chars = reinterpret_cast<const char*>(rec) + t->emrtext.offString;
        out->push_back({t->emrtext.ptlReference.x, t->emrtext.ptlReference.y,
                        std::string(chars, t->emrtext.nChars)});
    }
    return 1;
}

}  // namespace

std::vector<TextRecord> RecordTexts(COndavView& view)
{
    HDC meta = ::CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    {
        CDC dc(meta);
        view.OnDraw(&dc);
    }
    HENHMETAFILE emf = ::CloseEnhMetaFile(meta);
    std::vector<TextRecord> texts;
    ::EnumEnhMetaFile(nullptr, emf, CollectText, &texts, nullptr);
    ::DeleteEnhMetaFile(emf);
    return texts;
}

std::vector<std::string> TextsAt(const std::vector<TextRecord>& texts, int x, int y)
{
    std::vector<std::string> found;
    for (const TextRecord& t : texts)
        if (t.x == x && t.y == y) found.push_back(t.text);
    return found;
}
