// WAV sound files: the format of any file the program can read, its first
// two channels as numbers, and the 8-bit stereo file the program writes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Why a file cannot be read as sound; each has its French message.
enum class WavError { None, NotRiffWave, Truncated, NoFormat, NoData, Compressed, BadChannels, BadRate,
                      BadSampleSize, Empty, TooLarge };

struct WavFormat {
    int encoding = 0;       // 1 integer PCM, 3 IEEE float
    int channels = 0;
    int rate = 0;
    int bits = 0;           // container size of one sample
    size_t dataOffset = 0;  // in the file
    uint64_t frames = 0;    // whole frames in the data chunk
};

class WavFile {
public:
    static constexpr int kMinRate = 8000;
    static constexpr int kMaxRate = 384000;
    static constexpr int kMaxChannels = 8;

    // Reads the chunks of a file of fileSize bytes whose first count bytes
    // are in bytes; every size is checked against the file's end.
    static WavError Parse(const unsigned char* bytes, size_t count, uint64_t fileSize, WavFormat& format);
    // Up to maxFrames frames of the first two channels (a mono file feeds
    // both), from -1.0 to +1.0; only frames within the count bytes are read.
    static void Decode(const unsigned char* bytes, size_t count, const WavFormat& format, size_t maxFrames,
                       std::vector<double>& left, std::vector<double>& right);
    // 8-bit unsigned PCM, 2 channels (left first), each byte = sample + 127.
    static std::vector<unsigned char> WriteStereo8(const int* left, const int* right, int frames, int rate);
};
