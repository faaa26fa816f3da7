#include "measure/Pitch.h"
#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <vector>

namespace {

constexpr double kMinimumLevelDb = -40;      // weaker tones are left unmeasured
constexpr double kMinimumHarmonicShare = 0.6; // of the power, in the tone and its harmonics
constexpr int kRefinements = 2;

// Its sidelobes stay under -92 dB, so the mirror image and the harmonics of a
// tone do not pull its phase. Built once per length.
const std::vector<double>& blackmanHarris(int n)
{
    static std::map<int, std::vector<double>> windows;
    auto& w = windows[n];
    if (w.empty()) {
        w.resize(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            double x = 2 * std::numbers::pi * i / (n - 1);
            w[static_cast<size_t>(i)] = 0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
        }
    }
    return w;
}

double meanOf(const int* s, int count)
{
    double sum = 0;
    for (int i = 0; i < count; ++i) sum += s[i];
    return sum / count;
}

// Weighted single-frequency DFT over samples[0 .. count-1].
std::complex<double> component(const int* s, int count, double mean, double hz)
{
    const double w = 2 * std::numbers::pi * hz / Spectrum::kSampleRate;
    const std::complex<double> step = std::polar(1.0, -w);
    const std::vector<double>& window = blackmanHarris(count);
    std::complex<double> turn(1, 0), sum;
    for (int i = 0; i < count; ++i) {
        sum += window[static_cast<size_t>(i)] * (s[i] - mean) * turn;
        turn *= step;
    }
    return sum;
}

// Share of the power that the tone at hz and its harmonics hold.
double harmonicShare(const Spectrum& spectrum, double hz)
{
    double total = spectrum.TotalPower();
    if (total <= 0) return 0;
    int halfWidth = std::clamp(static_cast<int>(hz / Spectrum::kBinHz / 2) - 1, 0, 2);
    double held = 0;
    for (int h = 1; h <= 10 && h * hz < Spectrum::kSampleRate / 2; ++h) held += spectrum.LobePower(h * hz, halfWidth);
    return held / total;
}

} // namespace

std::complex<double> ComponentAt(const int* samples, int count, double hz)
{
    if (count < 2) return {};
    return component(samples, count, meanOf(samples, count), hz);
}

Pitch FindPitch(const int* samples, int count, const Spectrum& spectrum)
{
    Pitch pitch;
    if (count < 4) return pitch;
    SpectrumPeak peak = spectrum.StrongestPeak();
    const double lowest = 2 * Spectrum::kSampleRate / count;   // two periods in the capture
    if (peak.level < kMinimumLevelDb || peak.frequency < lowest ||
        peak.frequency > Spectrum::kSampleRate / 2 - Spectrum::kBinHz ||
        harmonicShare(spectrum, peak.frequency) < kMinimumHarmonicShare)
        return pitch;

    // The phase turns by 2 pi f T between halves T samples apart.
    const int half = count / 2;
    const double mean = meanOf(samples, count);
    double hz = peak.frequency;
    for (int pass = 0; pass < kRefinements; ++pass) {
        auto first = component(samples, half, mean, hz), second = component(samples + half, half, mean, hz);
        if (std::abs(first) <= 0 || std::abs(second) <= 0) return pitch;
        double expected = 2 * std::numbers::pi * hz * half / Spectrum::kSampleRate;
        double turned = std::arg(second / first) - expected;
        turned = std::remainder(turned, 2 * std::numbers::pi);
        hz += turned * Spectrum::kSampleRate / (2 * std::numbers::pi * half);
    }
    // A tone that does not hold still over the capture has no single frequency.
    if (std::abs(hz - peak.frequency) > Spectrum::kBinHz) return pitch;
    pitch.periodic = true;
    pitch.frequency = hz;
    return pitch;
}
