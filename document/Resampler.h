// Band-limited rate conversion: a Kaiser-windowed sinc kernel, read from a
// table, whose cut-off lies below the lower of the two Nyquist frequencies.
#pragma once
#include <cstddef>
#include <vector>

class Resampler {
public:
    Resampler(int fromRate, int toRate);
    // How many input frames the first outFrames output frames are made from.
    size_t InputFramesFor(size_t outFrames) const;
    // The first outFrames frames at the new rate; input beyond its end is silence.
    std::vector<double> Convert(const std::vector<double>& in, size_t outFrames) const;

private:
    double Kernel(double distance) const;
    double m_step;        // input frames per output frame
    double m_cutoff;      // cycles per input frame
    double m_halfWidth;   // input frames on each side of an output frame
    std::vector<double> m_table;
};
