// The levels of one channel of a capture, in sample units (-127 to +128).
#pragma once

struct Levels {
    int maximum = 0, minimum = 0;
    long long peakToPeak = 0;
    double mean = 0;        // the DC offset
    double rms = 0;         // about the mean
    double rmsDbfs = -200;  // 0 dBFS: a sine from -127 to +128
    // The same, in % of full scale.
    double MaximumPercent() const;
    double MinimumPercent() const;
    double PeakToPeakPercent() const;
};

// Levels of samples[0 .. count-1]. Given the period of the signal (in
// samples), the mean and the RMS are taken over its whole periods from the
// start: a part period left over would bias them by as much as a few tenths
// of a dB on a low tone.
Levels MeasureLevels(const int* samples, int count, double periodSamples = 0);
