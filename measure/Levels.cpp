#include "measure/Levels.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr double kPositiveFullScale = 128, kNegativeFullScale = 127;
// The RMS of a sine from -127 to +128.
const double kFullScaleRms = 127.5 / std::sqrt(2.0);
} // namespace

double Levels::MaximumPercent() const { return 100 * (maximum >= 0 ? maximum / kPositiveFullScale : maximum / kNegativeFullScale); }
double Levels::MinimumPercent() const { return 100 * (minimum >= 0 ? minimum / kPositiveFullScale : minimum / kNegativeFullScale); }
double Levels::PeakToPeakPercent() const { return 100 * static_cast<double>(peakToPeak) / (kPositiveFullScale + kNegativeFullScale); }

Levels MeasureLevels(const int* samples, int count, double periodSamples)
{
    Levels l;
    if (count <= 0) return l;
    l.maximum = *std::max_element(samples, samples + count);
    l.minimum = *std::min_element(samples, samples + count);
    int whole = count;
    if (periodSamples > 0 && periodSamples <= count)
        whole = std::clamp(static_cast<int>(std::lround(std::floor(count / periodSamples) * periodSamples)), 1, count);
    double sum = 0;
    for (int i = 0; i < whole; ++i) sum += samples[i];
    l.mean = sum / whole;
    double squares = 0;
    for (int i = 0; i < whole; ++i) squares += (samples[i] - l.mean) * (samples[i] - l.mean);
    l.rms = std::sqrt(squares / whole);
    l.peakToPeak = static_cast<long long>(l.maximum) - l.minimum;
    l.rmsDbfs = l.rms > 0 ? 20 * std::log10(l.rms / kFullScaleRms) : -200;
    return l;
}
