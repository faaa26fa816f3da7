// Everything measured on one capture: each channel's levels, fundamental,
// spectrum, strongest peak and distortion, and how the two channels compare.
#pragma once
#include "measure/Levels.h"
#include "measure/Pitch.h"
#include "measure/Spectrum.h"

struct ChannelAnalysis {
    Levels levels;
    Pitch pitch;
    Spectrum spectrum;
    SpectrumPeak peak;
    Distortion distortion;   // of the fundamental, when there is one
};

struct FrameAnalysis {
    ChannelAnalysis right, left;
    bool levelsCompared = false;   // both channels carry a signal
    double levelDifferenceDb = 0;  // left minus right, RMS
    bool phaseCompared = false;    // both periodic, frequencies within 1 %
    double phaseDifferenceDeg = 0; // left minus right, -180 to 180
};

// Analyses right[0 .. count-1] and left[0 .. count-1] into out.
void AnalyseFrame(const int* right, const int* left, int count, FrameAnalysis& out);
