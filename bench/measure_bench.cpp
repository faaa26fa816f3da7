// Cost of measuring one frame (both channels: levels, spectrum, fundamental,
// distortion, phase), as the measures window does after every capture. Each
// batch analyses a few hundred frames of two sines with some noise; one line
// per batch: wall-clock and thread CPU time per frame, in microseconds; then
// the same for the whole work of an open window (texts and spectrum painted).
// With "period", the frame period of a real view measuring the sound card at
// « Rapide » (nominal 500 ms), first with the window closed, then open, in one
// run: the mean, shortest and longest of the periods. With "live", what the
// open window measures on each frame of the sound card at « Rapide », in full
// precision (scripts/measure_bench.sh plays it known signals).
// Usage: ondav_measure_bench [FRAMES] | ondav_measure_bench period|live [FRAMES]
#include "app/MeasureWindow.h"
#include "acquisition/OndavView.h"
#include <algorithm>
#include <cstring>
#include "measure/Readouts.h"
#include <windows.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {
double cpuSeconds()
{
    FILETIME created, ended, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &ended, &kernel, &user);
    auto value = [](FILETIME f) { return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    return static_cast<double>(value(kernel) + value(user)) * 1e-7;
}

double wallSeconds()
{
    LARGE_INTEGER now, freq;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&freq);
    return static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}
// Pumps messages until `frames` collect ticks have passed; their times in ms.
std::vector<double> collectTimes(COndavView& view, int frames)
{
    std::vector<double> times;
    while (static_cast<int>(times.size()) < frames) {
        MSG msg;
        if (!::GetMessageA(&msg, nullptr, 0, 0)) break;
        int phase = view.m_nCapturePhase;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
        if (phase == 2 && view.m_nCapturePhase == 1) times.push_back(wallSeconds() * 1000);
    }
    return times;
}

void printPeriods(const char* name, const std::vector<double>& times)
{
    std::vector<double> periods;
    for (size_t i = 1; i < times.size(); ++i) periods.push_back(times[i] - times[i - 1]);
    if (periods.empty()) return;
    double mean = (times.back() - times.front()) / static_cast<double>(periods.size());
    auto [low, high] = std::minmax_element(periods.begin(), periods.end());
    std::printf("%s\t%.1f\t%.1f\t%.1f\n", name, mean, *low, *high);
}

// A real view capturing the sound card at « Rapide »; null without one.
COndavView* startView(COndavDoc* doc)
{
    auto* view = new COndavView;
    doc->AddView(view);
    view->CreateEx(0, nullptr, nullptr, WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr);
    if (!view->m_bDeviceOpen) { std::printf("no sound card\n"); return nullptr; }
    view->m_nRefreshPeriod = 100;
    view->StartMeasurement();
    collectTimes(*view, 2);   // settle
    return view;
}

int framePeriods(int frames)
{
    auto* doc = new COndavDoc;
    COndavView* view = startView(doc);
    if (!view) return 1;
    std::printf("window\tmean ms\tshortest ms\tlongest ms\n");
    printPeriods("closed", collectTimes(*view, frames));
    CMeasureWindow::Open(nullptr, doc);
    collectTimes(*view, 1);
    printPeriods("open", collectTimes(*view, frames));
    CMeasureWindow::Close();
    ::DestroyWindow(view->m_hWnd);
    delete doc;
    return 0;
}

// One line per frame: each channel's frequency (0: none) and RMS level as the
// open window finds them on the document's frame, in full precision, then the
// frequencies the window shows, then the phase of the left against the right
// (or "-").
int liveReadouts(int frames)
{
    auto* doc = new COndavDoc;
    COndavView* view = startView(doc);
    if (!view) return 1;
    CMeasureWindow* window = CMeasureWindow::Open(nullptr, doc);
    auto shown = [window](int column) {
        char text[64] = "";
        ::GetDlgItemTextA(window->m_hWnd, static_cast<int>(CMeasureWindow::CellId(1, column)), text, sizeof text);
        return std::string(text);
    };
    std::printf("frame\tright Hz\tleft Hz\tright dBFS\tleft dBFS\tright text\tleft text\tphase\n");
    FrameAnalysis a;
    for (int f = 0; f < frames; ++f) {
        collectTimes(*view, 1);
        AnalyseFrame(doc->m_right, doc->m_left, kCaptureFrames, a);
        auto hz = [](const Pitch& p) { return p.periodic ? p.frequency : 0.0; };
        std::printf("%d\t%.4f\t%.4f\t%.4f\t%.4f\t%s\t%s\t", f + 1, hz(a.right.pitch), hz(a.left.pitch), a.right.levels.rmsDbfs,
                    a.left.levels.rmsDbfs, shown(1).c_str(), shown(2).c_str());
        if (a.phaseCompared) std::printf("%.3f\n", a.phaseDifferenceDeg);
        else std::printf("-\n");
        std::fflush(stdout);
    }
    CMeasureWindow::Close();
    ::DestroyWindow(view->m_hWnd);
    delete doc;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "period") == 0) return framePeriods(argc > 2 ? std::atoi(argv[2]) : 20);
    if (argc > 1 && std::strcmp(argv[1], "live") == 0) return liveReadouts(argc > 2 ? std::atoi(argv[2]) : 10);
    const int frames = argc > 1 ? std::atoi(argv[1]) : 400;
    std::mt19937 random(1);
    std::normal_distribution<double> noise(0, 1.5);
    std::vector<int> right(4000), left(4000);
    for (int i = 0; i < 4000; ++i) {
        double t = i / 44100.0;
        right[static_cast<size_t>(i)] = static_cast<int>(std::lround(60 * std::sin(2 * std::numbers::pi * 1000 * t) + noise(random))) + 1;
        left[static_cast<size_t>(i)] = static_cast<int>(std::lround(30 * std::sin(2 * std::numbers::pi * 441 * t) + noise(random))) + 1;
    }
    FrameAnalysis analysis;
    AnalyseFrame(right.data(), left.data(), 4000, analysis);   // tables built once
    std::printf("batch\twall us/frame\tcpu us/frame\n");
    for (int batch = 0; batch < 5; ++batch) {
        double w0 = wallSeconds(), c0 = cpuSeconds();
        for (int f = 0; f < frames; ++f) {
            AnalyseFrame(right.data(), left.data(), 4000, analysis);
            ReadoutTable t = MakeReadouts(analysis);
            if (t[0][0].empty()) return 1;
        }
        double w = (wallSeconds() - w0) / frames * 1e6, c = (cpuSeconds() - c0) / frames * 1e6;
        std::printf("%d\t%.1f\t%.1f\n", batch + 1, w, c);
    }
    CMeasureWindow* window = CMeasureWindow::Open(nullptr, nullptr);
    if (!window) return 1;
    std::printf("window\twall us/frame\tcpu us/frame\n");
    for (int batch = 0; batch < 5; ++batch) {
        double w0 = wallSeconds(), c0 = cpuSeconds();
        for (int f = 0; f < frames / 4; ++f) {
            // Alternate two frames, so every text changes.
            window->Show(f % 2 ? right.data() : left.data(), f % 2 ? left.data() : right.data(), 4000);
            window->SpectrumPane().UpdateWindow();
        }
        double w = (wallSeconds() - w0) / (frames / 4) * 1e6, c = (cpuSeconds() - c0) / (frames / 4) * 1e6;
        std::printf("%d\t%.1f\t%.1f\n", batch + 1, w, c);
    }
    CMeasureWindow::Close();
    return 0;
}
