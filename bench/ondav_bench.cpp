// Speed of the instrument's hot paths, each timed in several batches so the
// spread shows: the paint of every display, layout and time base (screen and
// printer page), the repaint that follows a capture, turning a capture into a
// frame (collect, copy into the document, trigger search) and an .osc round
// trip. One line per row: name, then each batch's time per run in
// microseconds, fastest first, tab-separated. Usage: ondav_bench [BATCHES]
#include "acquisition/OndavView.h"
#include "acquisition/SettingsModel.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace {

int g_batches = 2;

// Each batch runs the work `runs` times; the row gives each batch's time per
// run. The benchmark runs this program in every round of a run and takes the
// spread over all of them: one process alone hides how much a fresh start
// (its heap, its caches, what the host does then) moves the figures.
void row(const std::string& name, int runs, const std::function<void()>& work)
{
    LARGE_INTEGER freq;
    ::QueryPerformanceFrequency(&freq);
    work();   // warm up (fonts and pens are created on the first paint)
    std::vector<double> perRun;
    for (int b = 0; b < g_batches; ++b) {
        LARGE_INTEGER t0, t1;
        ::QueryPerformanceCounter(&t0);
        for (int i = 0; i < runs; ++i) work();
        ::QueryPerformanceCounter(&t1);
        perRun.push_back(1e6 * static_cast<double>(t1.QuadPart - t0.QuadPart) /
                         static_cast<double>(freq.QuadPart) / runs);
    }
    std::sort(perRun.begin(), perRun.end());
    std::printf("%s", name.c_str());
    for (double t : perRun) std::printf("\t%.1f", t);
    std::printf("\n");
    std::fflush(stdout);
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

// Two sines, 1 kHz on the right and 2.5 kHz on the left, as a capture and as a frame.
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

// A 32-bit DIB section of the given size with a DC on it.
struct Surface {
    HDC mem = ::CreateCompatibleDC(nullptr);
    HBITMAP dib = nullptr;
    HGDIOBJ old = nullptr;
    Surface(int cx, int cy)
    {
        BITMAPINFO bi{};
        bi.bmiHeader = { sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
        void* bits = nullptr;
        dib = ::CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = ::SelectObject(mem, dib);
    }
    ~Surface()
    {
        ::SelectObject(mem, old);
        ::DeleteObject(dib);
        ::DeleteDC(mem);
    }
};

const char* kLayoutNames[] = { "", "offset", "superposed", "sum", "difference", "Lissajous" };

std::string timeBaseName(int code)
{
    char buf[32];
    if (code >= 100) std::snprintf(buf, sizeof buf, "%g ms", code / 1000.0);
    else std::snprintf(buf, sizeof buf, "%d ms", code);
    return buf;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1) g_batches = std::max(1, std::atoi(argv[1]));
    auto* doc = new COndavDoc;
    auto* view = new COndavView;
    view->SetDocument(doc);
    startValues(*view);
    sineFrame(*doc, view->m_captureBuf);
    // The trigger of that frame, as a capture would have found it.
    for (int i = 0; i < kFrameUsed; ++i) view->m_aSum[i] = doc->m_sum[i];
    view->FindTrigger();

    Surface screen(800, 600), printer(2400, 1800);
    CDC screenDc(screen.mem), printerDc(printer.mem);
    auto paintOn = [&](CDC& dc, HRGN clip) {
        ::SaveDC(dc.m_hDC);
        if (clip) ::SelectClipRgn(dc.m_hDC, clip);
        view->OnDraw(&dc);
        ::RestoreDC(dc.m_hDC, -1);
    };

    // Every layout at every time base, on the screen and on the printer page.
    for (int target = 1; target <= 2; ++target) {
        view->m_nOutputTarget = target;
        CDC& dc = target == 1 ? screenDc : printerDc;
        for (const ScopeLayoutRow& l : kScopeLayouts)
            for (const TimeBaseRow& t : kTimeBases) {
                view->m_nDisplayMode = kModeScope;
                view->m_nScopeLayout = l.layout;
                view->m_nScopeSignal = l.signal;
                if (l.traceY1) { view->m_nTraceY1 = l.traceY1; view->m_nTraceY2 = l.traceY2; }
                view->m_nTimeBase = t.timeBase;
                view->m_nPixelsPerSample = t.pixelsPerSample;
                view->m_nSamplesPerPixel = t.samplesPerPixel;
                row(std::string("paint/") + (target == 1 ? "screen" : "printer") + "/scope/" +
                        kLayoutNames[l.layout] + "/" + timeBaseName(t.timeBase),
                    target == 1 ? 20 : 4, [&] { paintOn(dc, nullptr); });
            }
    }
    view->m_nOutputTarget = 1;
    view->m_nScopeLayout = 1; view->m_nScopeSignal = 1; view->m_nTraceY1 = 120; view->m_nTraceY2 = 320;
    view->m_nTimeBase = 1000; view->m_nPixelsPerSample = 10; view->m_nSamplesPerPixel = 1;
    view->m_nDisplayMode = kModeVuMeters;
    row("paint/screen/VU meters", 20, [&] { paintOn(screenDc, nullptr); });
    view->m_nDisplayMode = kModeBargraphs;
    row("paint/screen/bargraphs", 20, [&] { paintOn(screenDc, nullptr); });

    // What a capture invalidates: the synchronisation box and the display's data areas.
    const std::pair<int, const char*> repaints[] = {
        { kModeScope, "scope" }, { kModeVuMeters, "VU meters" }, { kModeBargraphs, "bargraphs" } };
    for (auto [mode, name] : repaints) {
        view->m_nDisplayMode = mode;
        paintOn(screenDc, nullptr);   // sets the level displays' rectangles
        const RECT sync{572, 342, 683, 353};
        const std::vector<RECT> rects = mode == kModeScope ? std::vector<RECT>{ sync, view->m_rcScope }
            : mode == kModeVuMeters ? std::vector<RECT>{ sync, view->m_rcVuLeft, view->m_rcVuRight }
                                    : std::vector<RECT>{ sync, view->m_rcBarLeft, view->m_rcBarRight };
        HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
        for (const RECT& rc : rects) {
            HRGN part = ::CreateRectRgnIndirect(&rc);
            ::CombineRgn(clip, clip, part, RGN_OR);
            ::DeleteObject(part);
        }
        row(std::string("repaint after a capture/") + name, 20, [&] { paintOn(screenDc, clip); });
        ::DeleteObject(clip);
    }

    view->m_nDisplayMode = kModeScope;
    row("capture/collect + copy into the document + trigger", 200, [&] {
        view->CollectFrame();
        view->CopyFrameToDocument();
        view->FindTrigger();
    });

    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + "bench.osc";
    row("document/save and reopen (.osc, 64176 bytes)", 10, [&] {
        doc->OnSaveDocument(path.c_str());
        doc->OnOpenDocument(path.c_str());
    });
    ::DeleteFileA(path.c_str());

    screenDc.Detach();
    printerDc.Detach();
    view->SetDocument(nullptr);
    delete view;
    delete doc;
    return 0;
}
