// The readouts of a frame as the user reads them: French numbers (decimal
// comma), units, and a dash wherever there is no true value to show.
#pragma once
#include "measure/FrameAnalysis.h"
#include <array>
#include <string>

enum class Readout {
    // One value per channel.
    Frequency, Period, PeakToPeak, Maximum, Minimum, Mean, Rms, Distortion, Peak,
    // One value for the pair.
    LevelDifference, PhaseDifference,
    Count
};
constexpr int kReadoutCount = static_cast<int>(Readout::Count);
constexpr bool IsPairReadout(Readout r) { return r >= Readout::LevelDifference; }

// Column 0 is the right channel, column 1 the left one; pair readouts use column 0.
using ReadoutTable = std::array<std::array<std::string, 2>, kReadoutCount>;

ReadoutTable MakeReadouts(const FrameAnalysis& a);

// value with `significant` digits, decimal comma: 441,0 - 1103 - 0,06667.
std::string FormatSignificant(double value, int significant);
// value with `decimals` decimals, decimal comma, and a sign when asked.
std::string FormatFixed(double value, int decimals, bool sign = false);
// The text shown where a value would be wrong: the em dash of cp1252.
extern const char kNoReadout[];
