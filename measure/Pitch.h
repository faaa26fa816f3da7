// The fundamental frequency of one channel of a capture, or none when the
// channel holds no periodic signal (silence, noise, under two periods).
#pragma once
#include "measure/Spectrum.h"
#include <complex>

struct Pitch {
    bool periodic = false;
    double frequency = 0;   // Hz
    double PeriodMs() const { return periodic ? 1000.0 / frequency : 0; }
};

// The spectrum gives the tone to one bin; the phase it turns through between
// the two halves of the capture gives it to a few thousandths of a hertz.
Pitch FindPitch(const int* samples, int count, const Spectrum& spectrum);

// The tone at hz in samples[0 .. count-1], fitted with an offset under a
// Blackman-Harris window; its argument is the phase at the first sample.
std::complex<double> ComponentAt(const int* samples, int count, double hz);
