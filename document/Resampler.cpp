#include "document/Resampler.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
// Zero crossings of the sinc on each side: sets the transition band's width.
constexpr int kZeroCrossings = 32;
// Table steps per zero crossing (linear interpolation between them).
constexpr int kStepsPerCrossing = 256;
// Kaiser window shape: about 80 dB of stop-band attenuation, well under the
// 8-bit floor the samples end up in.
constexpr double kBeta = 8.0;
// Share of the lower Nyquist frequency that passes.
constexpr double kPassBand = 0.9;

double BesselI0(double x)
{
    double sum = 1.0, term = 1.0;
    for (int k = 1; k < 40; ++k) {
        term *= (x / (2.0 * k)) * (x / (2.0 * k));
        sum += term;
    }
    return sum;
}
} // namespace

Resampler::Resampler(int fromRate, int toRate)
    : m_step(static_cast<double>(fromRate) / toRate),
      m_cutoff(0.5 * kPassBand * std::min(1.0, static_cast<double>(toRate) / fromRate)),
      m_halfWidth(kZeroCrossings / (2.0 * m_cutoff))
{
    // The kernel against distance in zero crossings: 2fc sinc(2fc x) w(x).
    const int n = kZeroCrossings * kStepsPerCrossing;
    m_table.resize(static_cast<size_t>(n) + 2, 0.0);
    const double norm = BesselI0(kBeta);
    for (int i = 0; i <= n; ++i) {
        const double u = static_cast<double>(i) / kStepsPerCrossing;
        const double sinc = i == 0 ? 1.0 : std::sin(kPi * u) / (kPi * u);
        const double r = u / kZeroCrossings;
        m_table[static_cast<size_t>(i)] = 2.0 * m_cutoff * sinc * BesselI0(kBeta * std::sqrt(1.0 - r * r)) / norm;
    }
}

double Resampler::Kernel(double distance) const
{
    const double pos = std::fabs(distance) * 2.0 * m_cutoff * kStepsPerCrossing;
    const size_t i = static_cast<size_t>(pos);
    if (i >= m_table.size() - 1) return 0.0;
    const double frac = pos - static_cast<double>(i);
    return m_table[i] + frac * (m_table[i + 1] - m_table[i]);
}

size_t Resampler::InputFramesFor(size_t outFrames) const
{
    if (outFrames == 0) return 0;
    return static_cast<size_t>(std::ceil(static_cast<double>(outFrames - 1) * m_step + m_halfWidth)) + 1;
}

std::vector<double> Resampler::Convert(const std::vector<double>& in, size_t outFrames) const
{
    std::vector<double> out(outFrames, 0.0);
    const long long last = static_cast<long long>(in.size()) - 1;
    for (size_t n = 0; n < outFrames; ++n) {
        const double t = static_cast<double>(n) * m_step;
        const long long first = std::max(0LL, static_cast<long long>(std::ceil(t - m_halfWidth)));
        const long long stop = std::min(last, static_cast<long long>(std::floor(t + m_halfWidth)));
        double sum = 0.0;
        for (long long k = first; k <= stop; ++k) sum += in[static_cast<size_t>(k)] * Kernel(t - static_cast<double>(k));
        out[n] = sum;
    }
    return out;
}
