// Speed of the instrument's hot paths: painting a full page, turning a
// capture into a frame with its trigger search, and an .osc round trip.
#include "acquisition/OndavView.h"
#include <cmath>
#include <numbers>
#include <cstdio>
#include <functional>
#include <string>

namespace {
double microseconds(const std::function<void()>& work, int runs)
{
    LARGE_INTEGER freq, t0, t1;
    ::QueryPerformanceFrequency(&freq);
    work();   // warm up (fonts and pens are created on the first paint)
    ::QueryPerformanceCounter(&t0);
    for (int i = 0; i < runs; ++i) work();
    ::QueryPerformanceCounter(&t1);
    return 1e6 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart) / runs;
}

// Start values of the settings, without opening the sound card or the settings file.
void startValues(COndavView& v)
{
    v.m_bGrid = TRUE; v.m_nOutputTarget = 1; v.m_bNeedResources = TRUE; v.m_nTracePenWidth = 2;
    v.m_clrScopeBack = v.m_clrVuBack = v.m_clrBarBack = kDefaultBackColor;
    v.m_nRefreshPeriod = 500; v.m_nDisplayMode = kModeScope; v.m_nScopeLayout = 1; v.m_nScopeSignal = 1;
    v.m_nTraceY1 = 120; v.m_nTraceY2 = 320; v.m_nSumY = 220; v.m_nDiffY = 220;
    v.m_nTimeBase = 1000; v.m_nPixelsPerSample = 10; v.m_nSamplesPerPixel = 1;
    v.m_rcScope.SetRect(20, 20, 520, 420); v.m_pScopeRect = &v.m_rcScope;
    v.m_nTriggerOffset = 0; v.m_bSyncFound = FALSE; v.m_nVerticalGain = 1; v.m_nScaleChannel = 1;
    v.m_nVerticalScale = 1; v.m_bRunning = FALSE; v.m_nCaptureBufLen = kCaptureBufferBytes;
    v.m_pCaptureBuf = v.m_captureBuf;
}

void sineFrame(COndavDoc& doc, BYTE* capture)
{
    for (int i = 0; i < kFrameUsed; ++i) {
        int r = static_cast<int>(std::lround(100 * std::sin(2 * std::numbers::pi * 1000.0 * i / 44100.0)));
        int l = static_cast<int>(std::lround(60 * std::sin(2 * std::numbers::pi * 2500.0 * i / 44100.0)));
        doc.m_right[i] = r; doc.m_left[i] = l; doc.m_sum[i] = r + l; doc.m_difference[i] = r - l;
        if (i < kCaptureFrames) {
            capture[2 * i] = static_cast<BYTE>(l + 127);
            capture[2 * i + 1] = static_cast<BYTE>(r + 127);
        }
    }
}
} // namespace

int main()
{
    auto* doc = new COndavDoc;
    auto* view = new COndavView;
    view->SetDocument(doc);
    startValues(*view);
    sineFrame(*doc, view->m_captureBuf);

    BITMAPINFO bi{};
    bi.bmiHeader = { sizeof(BITMAPINFOHEADER), 800, -600, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
    void* bits = nullptr;
    HDC mem = ::CreateCompatibleDC(nullptr);
    HBITMAP dib = ::CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, dib);
    CDC dc(mem);

    const int runs = 200;
    auto paint = [&](int mode) {
        view->m_nDisplayMode = mode;
        return microseconds([&] { ::SaveDC(mem); view->OnDraw(&dc); ::RestoreDC(mem, -1); }, runs);
    };
    double scope = paint(kModeScope);
    double vu = paint(kModeVuMeters);
    double bars = paint(kModeBargraphs);
    double collect = microseconds([&] { view->CollectFrame(); view->FindTrigger(); }, 2000);

    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + "bench.osc";
    double roundTrip = microseconds([&] { doc->OnSaveDocument(path.c_str()); doc->OnOpenDocument(path.c_str()); }, 50);
    ::DeleteFileA(path.c_str());

    std::printf("| operation | time per run |\n|---|---|\n");
    std::printf("| paint the scope page (800 x 600, two traces) | %.0f us |\n", scope);
    std::printf("| paint the VU-meter page | %.0f us |\n", vu);
    std::printf("| paint the bargraph page | %.0f us |\n", bars);
    std::printf("| collect a capture (8000 bytes) and search the trigger | %.1f us |\n", collect);
    std::printf("| save and reopen an .osc file (64176 bytes) | %.0f us |\n", roundTrip);

    dc.Detach();
    ::SelectObject(mem, old);
    ::DeleteObject(dib);
    ::DeleteDC(mem);
    view->SetDocument(nullptr);
    delete view;
    delete doc;
    return 0;
}
