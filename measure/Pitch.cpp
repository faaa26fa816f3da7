#include "measure/Pitch.h"
#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <vector>

namespace {

constexpr double kMinimumLevelDb = -40;      // weaker tones are left unmeasured
constexpr double kMinimumHarmonicShare = 0.6; // of the power, in the tone and its harmonics
// A quarter capture's window spreads a tone over +-180 Hz: above this its
// second harmonic stands clear of it.
constexpr double kQuartersFrom = 400;
// Hz: a first correction under this leaves nothing for a second one to find.
constexpr double kSettled = 0.5;

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

// Least-squares fit of dc + a cos(wj) + b sin(wj) to s[0 .. count-1], each
// sample weighted by the window: the offset and the mirror image of the tone
// are fitted, not leaked into it. Returns a - ib, whose argument is the
// tone's phase at the first sample.
std::complex<double> component(const int* s, int count, double hz)
{
    const double w = 2 * std::numbers::pi * hz / Spectrum::kSampleRate;
    const double stepC = std::cos(w), stepS = std::sin(w);
    const std::vector<double>& window = blackmanHarris(count);
    double c = 1, n = 0;   // cos and sin of w i, turned by hand
    // Normal equations over the basis (1, cos, sin).
    double s1 = 0, sc = 0, ss = 0, scc = 0, scs = 0, sss = 0, x1 = 0, xc = 0, xs = 0;
    for (int i = 0; i < count; ++i) {
        double v = window[static_cast<size_t>(i)], x = s[i];
        s1 += v; sc += v * c; ss += v * n;
        scc += v * c * c; scs += v * c * n; sss += v * n * n;
        x1 += v * x; xc += v * x * c; xs += v * x * n;
        double next = c * stepC - n * stepS;
        n = c * stepS + n * stepC;
        c = next;
    }
    const double m[3][3] = {{s1, sc, ss}, {sc, scc, scs}, {ss, scs, sss}};
    const double rhs[3] = {x1, xc, xs};
    auto det = [](const double a[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    double d = det(m);
    if (std::abs(d) < 1e-12 * s1 * s1 * s1) return {};
    double ab[2];
    for (int k = 1; k <= 2; ++k) {   // Cramer's rule for a and b
        double mk[3][3];
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) mk[r][c] = c == k ? rhs[r] : m[r][c];
        ab[k - 1] = det(mk) / d;
    }
    return {ab[0], -ab[1]};
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

// The phase turns by 2 pi f T between segments T samples apart: hz corrected
// by the middle of the corrections that the segments give.
double refine(const int* samples, int count, double hz, int segments)
{
    const int length = count / segments;
    std::vector<double> corrections;
    std::complex<double> before = component(samples, length, hz);
    for (int k = 1; k < segments; ++k) {
        std::complex<double> now = component(samples + k * length, length, hz);
        if (std::abs(before) <= 0 || std::abs(now) <= 0) return hz;
        double expected = 2 * std::numbers::pi * hz * length / Spectrum::kSampleRate;
        double turned = std::remainder(std::arg(now / before) - expected, 2 * std::numbers::pi);
        corrections.push_back(turned * Spectrum::kSampleRate / (2 * std::numbers::pi * length));
        before = now;
    }
    std::sort(corrections.begin(), corrections.end());
    return hz + corrections[corrections.size() / 2];
}

} // namespace

std::complex<double> ComponentAt(const int* samples, int count, double hz)
{
    if (count < 2) return {};
    return component(samples, count, hz);
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

    // From the two halves or, where a quarter still holds the tone apart from
    // its harmonics, from the quarters, whose middle correction stays true
    // when the input skipped somewhere in the capture.
    // A second pass only when the first moved the tone much.
    const int segments = peak.frequency >= kQuartersFrom ? 4 : 2;
    double hz = refine(samples, count, peak.frequency, segments);
    if (std::abs(hz - peak.frequency) > kSettled) hz = refine(samples, count, hz, segments);
    // A tone that does not hold still over the capture has no single frequency.
    if (std::abs(hz - peak.frequency) > 2 * Spectrum::kBinHz) return pitch;
    pitch.periodic = true;
    pitch.frequency = hz;
    return pitch;
}
