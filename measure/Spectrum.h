// The magnitude spectrum of one channel of a capture: Hann window, 4096-point
// FFT, levels in dBFS (a full-scale sine's peak reads 0 dBFS).
#pragma once
#include <array>
#include <cstddef>

struct SpectrumPeak {
    double frequency = 0;   // Hz, interpolated between bins
    double level = -200;    // dBFS
};

struct Distortion {
    bool valid = false;     // at least one harmonic below the Nyquist frequency
    double percent = 0;     // harmonics 2 to 10 against the fundamental, in amplitude
    double db = 0;
};

class Spectrum {
public:
    static constexpr int kSize = 4096;
    static constexpr int kBins = kSize / 2 + 1;
    static constexpr double kSampleRate = 44100.0;
    static constexpr double kBinHz = kSampleRate / kSize;

    // Both channels at once (one complex FFT carries the two real ones).
    // Each channel's mean is removed first; count is at most kSize.
    static void Compute(const int* right, const int* left, int count, Spectrum& outRight, Spectrum& outLeft);

    // Power of a bin, relative to a full-scale sine's peak.
    double Power(int bin) const { return m_power[static_cast<size_t>(bin)]; }
    double LevelDb(int bin) const;
    double TotalPower() const;
    // Power of the main lobe around hz (the bins within halfWidth of it).
    double LobePower(double hz, int halfWidth = 2) const;
    // The strongest bin above the lowest ones, interpolated.
    SpectrumPeak StrongestPeak() const;
    // Total harmonic distortion of the tone at fundamentalHz (harmonics 2 to 10).
    Distortion HarmonicDistortion(double fundamentalHz) const;

private:
    std::array<double, kBins> m_power{};
};
