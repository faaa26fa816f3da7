// Cost of measuring one frame (both channels: levels, spectrum, fundamental,
// distortion, phase), as the measures window does after every capture. Each
// batch analyses a few hundred frames of two sines with some noise; one line
// per batch size: wall-clock and thread CPU time per frame, in microseconds.
// Usage: ondav_measure_bench [FRAMES]
#include "measure/Readouts.h"
#include <windows.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>
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
} // namespace

int main(int argc, char** argv)
{
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
    return 0;
}
