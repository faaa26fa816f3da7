#include "measure/Readouts.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

const char kNoReadout[] = "\x97";

namespace {

std::string withComma(std::string s)
{
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

std::string percentOf(long long units, double percent)
{
    return std::to_string(units) + " (" + FormatFixed(percent, 1) + " %)";
}

std::string frequency(const Pitch& p)
{
    return p.periodic ? FormatSignificant(p.frequency, 4) + " Hz" : kNoReadout;
}

std::string period(const Pitch& p)
{
    if (!p.periodic) return kNoReadout;
    double ms = p.PeriodMs();
    return ms >= 1 ? FormatSignificant(ms, 4) + " ms" : FormatSignificant(ms * 1000, 4) + " \xB5s";
}

std::string decibels(double db, const char* unit, bool sign = false)
{
    return db <= -150 ? std::string(kNoReadout) : FormatFixed(db, 2, sign) + " " + unit;
}

std::string distortion(const Distortion& d)
{
    return d.valid ? FormatSignificant(d.percent, 3) + " % (" + FormatFixed(d.db, 1) + " dB)" : kNoReadout;
}

std::string peak(const SpectrumPeak& p)
{
    return p.level <= -150 ? std::string(kNoReadout)
                           : FormatSignificant(p.frequency, 4) + " Hz ; " + FormatFixed(p.level, 1) + " dBFS";
}

void channel(const ChannelAnalysis& c, ReadoutTable& t, size_t column)
{
    auto at = [&](Readout r) -> std::string& { return t[static_cast<size_t>(r)][column]; };
    at(Readout::Frequency) = frequency(c.pitch);
    at(Readout::Period) = period(c.pitch);
    at(Readout::PeakToPeak) = percentOf(c.levels.peakToPeak, c.levels.PeakToPeakPercent());
    at(Readout::Maximum) = percentOf(c.levels.maximum, c.levels.MaximumPercent());
    at(Readout::Minimum) = percentOf(c.levels.minimum, c.levels.MinimumPercent());
    at(Readout::Mean) = FormatFixed(c.levels.mean, 2);
    at(Readout::Rms) = decibels(c.levels.rmsDbfs, "dBFS");
    at(Readout::Distortion) = distortion(c.distortion);
    at(Readout::Peak) = peak(c.peak);
}

} // namespace

std::string FormatSignificant(double value, int significant)
{
    if (!std::isfinite(value)) return kNoReadout;
    if (value == 0) return "0";
    int magnitude = static_cast<int>(std::floor(std::log10(std::abs(value))));
    // Rounding may carry into one more digit (999,95 -> 1000).
    double rounded = std::round(value / std::pow(10, magnitude - significant + 1)) * std::pow(10, magnitude - significant + 1);
    if (rounded != 0) magnitude = static_cast<int>(std::floor(std::log10(std::abs(rounded))));
    int decimals = std::max(0, significant - 1 - magnitude);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, rounded);
    return withComma(text);
}

std::string FormatFixed(double value, int decimals, bool sign)
{
    if (!std::isfinite(value)) return kNoReadout;
    char text[64];
    std::snprintf(text, sizeof text, sign ? "%+.*f" : "%.*f", decimals, value);
    std::string s = withComma(text);
    // No "-0,0": a value that rounds to zero has no sign.
    if (s.find_first_of("123456789") == std::string::npos) s = withComma(std::string(text).substr(s[0] == '-' || s[0] == '+' ? 1 : 0));
    return s;
}

ReadoutTable MakeReadouts(const FrameAnalysis& a)
{
    ReadoutTable t;
    channel(a.right, t, 0);
    channel(a.left, t, 1);
    t[static_cast<size_t>(Readout::LevelDifference)][0] =
        a.levelsCompared ? FormatFixed(a.levelDifferenceDb, 2, true) + " dB" : kNoReadout;
    t[static_cast<size_t>(Readout::PhaseDifference)][0] =
        a.phaseCompared ? FormatFixed(a.phaseDifferenceDeg, 1, true) + "\xB0" : kNoReadout;
    return t;
}
