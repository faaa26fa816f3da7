#include "measure/Spectrum.h"
#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace {

using Complex = std::complex<double>;
constexpr double kFullScale = 127.5;   // amplitude of a sine from -127 to +128
constexpr int kLowestBin = 2;          // below lies what is left of the mean

// Tables built once: the twiddles of the FFT and the bit reversal.
struct FftTables {
    std::vector<Complex> twiddle;
    std::vector<int> reversed;
    FftTables() : twiddle(Spectrum::kSize / 2), reversed(Spectrum::kSize)
    {
        for (int k = 0; k < Spectrum::kSize / 2; ++k)
            twiddle[static_cast<size_t>(k)] = std::polar(1.0, -2 * std::numbers::pi * k / Spectrum::kSize);
        int bits = 0;
        while ((1 << bits) < Spectrum::kSize) ++bits;
        for (int i = 0; i < Spectrum::kSize; ++i) {
            int r = 0;
            for (int b = 0; b < bits; ++b) r |= ((i >> b) & 1) << (bits - 1 - b);
            reversed[static_cast<size_t>(i)] = r;
        }
    }
};

const FftTables& tables()
{
    static const FftTables t;
    return t;
}

// In-place radix-2 FFT of kSize points. The products are written out: the
// library's complex product checks for infinities at every step.
void fft(std::vector<Complex>& a)
{
    const FftTables& t = tables();
    const int n = Spectrum::kSize;
    for (int i = 0; i < n; ++i) {
        int r = t.reversed[static_cast<size_t>(i)];
        if (i < r) std::swap(a[static_cast<size_t>(i)], a[static_cast<size_t>(r)]);
    }
    for (int len = 2; len <= n; len <<= 1) {
        const int half = len / 2, step = n / len;
        for (int start = 0; start < n; start += len) {
            for (int k = 0; k < half; ++k) {
                Complex& even = a[static_cast<size_t>(start + k)];
                Complex& odd = a[static_cast<size_t>(start + k + half)];
                const Complex& w = t.twiddle[static_cast<size_t>(k * step)];
                double vr = odd.real() * w.real() - odd.imag() * w.imag();
                double vi = odd.real() * w.imag() + odd.imag() * w.real();
                odd = Complex(even.real() - vr, even.imag() - vi);
                even = Complex(even.real() + vr, even.imag() + vi);
            }
        }
    }
}

// The Hann window of a capture's length, built once per length.
const std::vector<double>& hann(int count)
{
    static std::vector<double> w;
    if (static_cast<int>(w.size()) != count) {
        w.resize(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            w[static_cast<size_t>(i)] = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / (count - 1));
    }
    return w;
}

double mean(const int* s, int count)
{
    double sum = 0;
    for (int i = 0; i < count; ++i) sum += s[i];
    return count > 0 ? sum / count : 0;
}

} // namespace

void Spectrum::Compute(const int* right, const int* left, int count, Spectrum& outRight, Spectrum& outLeft)
{
    count = std::clamp(count, 0, kSize);
    if (count < 2) count = 0;
    const double mr = mean(right, count), ml = mean(left, count);
    std::vector<Complex> z(kSize);
    const std::vector<double>& window = hann(count);
    double windowSum = 0;
    for (int i = 0; i < count; ++i) {
        double w = window[static_cast<size_t>(i)];
        windowSum += w;
        z[static_cast<size_t>(i)] = Complex(w * (right[i] - mr), w * (left[i] - ml));
    }
    fft(z);
    // A sine of amplitude A gives |X| = A * windowSum / 2 at its bin.
    const double scale = windowSum > 0 ? 2.0 / (windowSum * kFullScale) : 0;
    for (int k = 0; k < kBins; ++k) {
        Complex a = z[static_cast<size_t>(k)], b = std::conj(z[static_cast<size_t>((kSize - k) % kSize)]);
        // Right = (a + b) / 2, left = (a - b) / 2i: the same magnitudes as (a - b) / 2.
        outRight.m_power[static_cast<size_t>(k)] = std::norm(a + b) * 0.25 * scale * scale;
        outLeft.m_power[static_cast<size_t>(k)] = std::norm(a - b) * 0.25 * scale * scale;
    }
}

double Spectrum::LevelDb(int bin) const
{
    return 10 * std::log10(std::max(Power(bin), 1e-20));
}

double Spectrum::TotalPower() const
{
    double sum = 0;
    for (int k = kLowestBin; k < kBins; ++k) sum += Power(k);
    return sum;
}

double Spectrum::LobePower(double hz, int halfWidth) const
{
    int centre = static_cast<int>(std::lround(hz / kBinHz));
    double sum = 0;
    for (int k = std::max(kLowestBin, centre - halfWidth); k <= std::min(kBins - 1, centre + halfWidth); ++k)
        sum += Power(k);
    return sum;
}

SpectrumPeak Spectrum::StrongestPeak() const
{
    int best = kLowestBin;
    for (int k = kLowestBin; k < kBins; ++k)
        if (Power(k) > Power(best)) best = k;
    SpectrumPeak peak{best * kBinHz, LevelDb(best)};
    if (best <= kLowestBin || best >= kBins - 1 || Power(best) <= 0) return peak;
    // A parabola through the three levels around the top (Hann: a few hundredths of a bin).
    double a = LevelDb(best - 1), b = LevelDb(best), c = LevelDb(best + 1);
    double denom = a - 2 * b + c;
    if (denom >= 0) return peak;
    double offset = 0.5 * (a - c) / denom;
    peak.frequency = (best + offset) * kBinHz;
    peak.level = b - 0.25 * (a - c) * offset;
    return peak;
}

Distortion Spectrum::HarmonicDistortion(double fundamentalHz) const
{
    Distortion d;
    // Harmonics closer than two lobes would share bins: the lobe narrows for low tones.
    int halfWidth = std::clamp(static_cast<int>(fundamentalHz / kBinHz / 2) - 1, 0, 2);
    double fundamental = LobePower(fundamentalHz, halfWidth), harmonics = 0;
    for (int h = 2; h <= 10; ++h) {
        double hz = h * fundamentalHz;
        if (hz > kSampleRate / 2 - halfWidth * kBinHz) break;
        harmonics += LobePower(hz, halfWidth);
        d.valid = true;
    }
    if (!d.valid || fundamental <= 0) return Distortion{};
    double ratio = std::sqrt(harmonics / fundamental);
    d.percent = 100 * ratio;
    d.db = 20 * std::log10(std::max(ratio, 1e-10));
    return d;
}
