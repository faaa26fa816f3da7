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

Levels MeasureLevels(const int* samples, int count)
{
    Levels l;
    if (count <= 0) return l;
    l.maximum = l.minimum = samples[0];
    double sum = 0;
    for (int i = 0; i < count; ++i) {
        l.maximum = std::max(l.maximum, samples[i]);
        l.minimum = std::min(l.minimum, samples[i]);
        sum += samples[i];
    }
    l.mean = sum / count;
    double squares = 0;
    for (int i = 0; i < count; ++i) squares += (samples[i] - l.mean) * (samples[i] - l.mean);
    l.rms = std::sqrt(squares / count);
    l.peakToPeak = static_cast<long long>(l.maximum) - l.minimum;
    l.rmsDbfs = l.rms > 0 ? 20 * std::log10(l.rms / kFullScaleRms) : -200;
    return l;
}
