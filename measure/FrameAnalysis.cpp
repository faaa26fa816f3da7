#include "measure/FrameAnalysis.h"
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double kSameFrequency = 0.01;   // relative

void analyseChannel(const int* samples, int count, ChannelAnalysis& c)
{
    c.peak = c.spectrum.StrongestPeak();
    c.pitch = FindPitch(samples, count, c.spectrum);
    c.levels = MeasureLevels(samples, count, c.pitch.periodic ? Spectrum::kSampleRate / c.pitch.frequency : 0);
    c.distortion = c.pitch.periodic ? c.spectrum.HarmonicDistortion(c.pitch.frequency) : Distortion{};
}
} // namespace

void AnalyseFrame(const int* right, const int* left, int count, FrameAnalysis& out)
{
    count = std::clamp(count, 0, Spectrum::kSize);
    Spectrum::Compute(right, left, count, out.right.spectrum, out.left.spectrum);
    analyseChannel(right, count, out.right);
    analyseChannel(left, count, out.left);

    out.levelsCompared = out.right.levels.rms > 0 && out.left.levels.rms > 0;
    out.levelDifferenceDb = out.levelsCompared ? out.left.levels.rmsDbfs - out.right.levels.rmsDbfs : 0;

    const Pitch &r = out.right.pitch, &l = out.left.pitch;
    out.phaseCompared = r.periodic && l.periodic &&
                        std::abs(r.frequency - l.frequency) <= kSameFrequency * std::min(r.frequency, l.frequency);
    out.phaseDifferenceDeg = 0;
    if (out.phaseCompared) {
        // Both at one frequency: an error in it shifts both phases alike.
        double hz = (r.frequency + l.frequency) / 2;
        auto cr = ComponentAt(right, count, hz), cl = ComponentAt(left, count, hz);
        out.phaseCompared = std::abs(cr) > 0 && std::abs(cl) > 0;
        double deg = out.phaseCompared ? std::arg(cl / cr) * 180 / std::numbers::pi : 0;
        out.phaseDifferenceDeg = deg <= -180 ? deg + 360 : deg;
    }
}
