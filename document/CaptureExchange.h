// A capture frame to and from the files of other programs: WAV sound in and
// out, CSV tables out.
#pragma once
#include "document/WavFile.h"
#include <string>
#include <vector>

// The rate of every capture, and of what is imported.
constexpr int kCaptureRate = 44100;

struct ImportedFrame {
    std::vector<int> right, left;   // kCaptureFrames samples each, -127 to +128
    int framesFromFile = 0;         // the rest is silence
};

class CaptureExchange {
public:
    // The first 4000 frames of a WAV file (count bytes read of fileSize) at
    // the capture rate, as capture samples.
    static WavError FrameFromWav(const unsigned char* bytes, size_t count, uint64_t fileSize, ImportedFrame& out);
    // The capture as 8-bit stereo WAV: opening it gives the same samples back.
    static std::vector<unsigned char> WavFromFrame(const int* right, const int* left);
    // header, then one line per entry: index; time in ms; right; left; sum;
    // difference, with decimal commas.
    static std::string CsvFromFrame(const std::string& header, const int* right, const int* left, const int* sum,
                                    const int* difference, int entries);
    // A sound value (-1.0 to +1.0) as a capture sample: the 8-bit byte,
    // rounded, minus 127.
    static int SampleFromLevel(double level);
};
