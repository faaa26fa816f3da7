#include "document/CaptureExchange.h"
#include "document/OndavDoc.h"
#include "document/Resampler.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

int CaptureExchange::SampleFromLevel(double level)
{
    const long byte = std::clamp(std::lround(level * 128.0) + 128L, 0L, 255L);
    return static_cast<int>(byte) - 127;
}

WavError CaptureExchange::FrameFromWav(const unsigned char* bytes, size_t count, uint64_t fileSize, ImportedFrame& out)
{
    WavFormat format;
    if (WavError e = WavFile::Parse(bytes, count, fileSize, format); e != WavError::None) return e;
    const bool sameRate = format.rate == kCaptureRate;
    const Resampler resampler(format.rate, kCaptureRate);
    std::vector<double> left, right;
    WavFile::Decode(bytes, count, format, sameRate ? kCaptureFrames : resampler.InputFramesFor(kCaptureFrames),
                    left, right);
    if (left.empty()) return WavError::TooLarge;   // the data lies beyond what was read
    const double fileFrames = static_cast<double>(format.frames) * kCaptureRate / format.rate;
    out.framesFromFile = static_cast<int>(std::min<double>(kCaptureFrames, std::floor(fileFrames)));
    if (!sameRate) {
        left = resampler.Convert(left, kCaptureFrames);
        right = resampler.Convert(right, kCaptureFrames);
    }
    out.left.assign(kCaptureFrames, SampleFromLevel(0.0));
    out.right.assign(kCaptureFrames, SampleFromLevel(0.0));
    for (int i = 0; i < out.framesFromFile && i < static_cast<int>(left.size()); ++i) {
        out.left[static_cast<size_t>(i)] = SampleFromLevel(left[static_cast<size_t>(i)]);
        out.right[static_cast<size_t>(i)] = SampleFromLevel(right[static_cast<size_t>(i)]);
    }
    return WavError::None;
}

std::vector<unsigned char> CaptureExchange::WavFromFrame(const int* right, const int* left)
{
    return WavFile::WriteStereo8(left, right, kCaptureFrames, kCaptureRate);
}

std::string CaptureExchange::CsvFromFrame(const std::string& header, const int* right, const int* left,
                                          const int* sum, const int* difference, int entries)
{
    std::string csv = header + "\r\n";
    char line[96];
    for (int i = 0; i < entries; ++i) {
        // Tenths of a microsecond, written by hand: the decimal comma does not
        // depend on the C locale.
        const long long t = std::llround(i * 1.0e7 / kCaptureRate);
        std::snprintf(line, sizeof line, "%d;%lld,%04lld;%d;%d;%d;%d\r\n", i, t / 10000, t % 10000, right[i], left[i],
                      sum[i], difference[i]);
        csv += line;
    }
    return csv;
}
