#include "document/WavFile.h"
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr int kPcm = 1;
constexpr int kFloat = 3;
constexpr int kExtensible = 0xFFFE;
// The subformat GUID of the extensible header, after its first two bytes.
constexpr unsigned char kSubformatTail[14] = { 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                               0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 };

unsigned u16(const unsigned char* p) { return p[0] | (p[1] << 8); }
uint32_t u32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

void put16(std::vector<unsigned char>& out, unsigned v) { out.push_back(v & 0xFF); out.push_back((v >> 8) & 0xFF); }
void put32(std::vector<unsigned char>& out, uint32_t v) { put16(out, v & 0xFFFF); put16(out, v >> 16); }
void putId(std::vector<unsigned char>& out, const char* id) { for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(id[i])); }

WavError ParseFormat(const unsigned char* p, uint32_t size, WavFormat& f)
{
    if (size < 16) return WavError::Truncated;
    int tag = static_cast<int>(u16(p));
    f.channels = static_cast<int>(u16(p + 2));
    uint32_t rate = u32(p + 4);
    unsigned align = u16(p + 12);
    f.bits = static_cast<int>(u16(p + 14));
    if (tag == kExtensible) {
        if (size < 40 || u16(p + 16) < 22) return WavError::Truncated;
        if (std::memcmp(p + 26, kSubformatTail, sizeof kSubformatTail) != 0) return WavError::Compressed;
        tag = static_cast<int>(u16(p + 24));
        if (u16(p + 18) > static_cast<unsigned>(f.bits)) return WavError::BadSampleSize;
    }
    if (tag != kPcm && tag != kFloat) return WavError::Compressed;
    f.encoding = tag;
    if (f.channels < 1 || f.channels > WavFile::kMaxChannels) return WavError::BadChannels;
    if (rate < WavFile::kMinRate || rate > WavFile::kMaxRate) return WavError::BadRate;
    f.rate = static_cast<int>(rate);
    bool sizeKnown = tag == kPcm ? (f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32)
                                 : (f.bits == 32 || f.bits == 64);
    if (!sizeKnown || align != static_cast<unsigned>(f.channels * f.bits / 8)) return WavError::BadSampleSize;
    return WavError::None;
}

double SampleAt(const unsigned char* p, const WavFormat& f)
{
    if (f.encoding == kFloat) {
        double v;
        if (f.bits == 32) { float x; uint32_t b = u32(p); std::memcpy(&x, &b, 4); v = x; }
        else { uint64_t b = u32(p) | (static_cast<uint64_t>(u32(p + 4)) << 32); std::memcpy(&v, &b, 8); }
        return std::isfinite(v) ? std::clamp(v, -1.0, 1.0) : 0.0;
    }
    switch (f.bits) {
    case 8: return (p[0] - 128) / 128.0;
    case 16: return static_cast<int16_t>(u16(p)) / 32768.0;
    case 24: return static_cast<int32_t>((p[0] << 8) | (p[1] << 16) | (static_cast<uint32_t>(p[2]) << 24)) / 2147483648.0;
    default: return static_cast<int32_t>(u32(p)) / 2147483648.0;
    }
}
} // namespace

WavError WavFile::Parse(const unsigned char* b, size_t count, uint64_t fileSize, WavFormat& format)
{
    format = WavFormat{};
    if (count < 12 || std::memcmp(b, "RIFF", 4) != 0 || std::memcmp(b + 8, "WAVE", 4) != 0)
        return WavError::NotRiffWave;
    const uint64_t end = static_cast<uint64_t>(u32(b + 4)) + 8;
    if (end > fileSize) return WavError::Truncated;
    bool haveFormat = false, haveData = false;
    uint64_t dataSize = 0;
    for (uint64_t pos = 12; pos + 8 <= end && !(haveFormat && haveData); ) {
        if (pos + 8 > count) return WavError::TooLarge;
        const unsigned char* chunk = b + pos;
        const uint32_t size = u32(chunk + 4);
        if (pos + 8 + size > end) return WavError::Truncated;
        if (!std::memcmp(chunk, "fmt ", 4) && !haveFormat) {
            if (pos + 8 + size > count) return WavError::TooLarge;
            if (WavError e = ParseFormat(chunk + 8, size, format); e != WavError::None) return e;
            haveFormat = true;
        } else if (!std::memcmp(chunk, "data", 4) && !haveData) {
            format.dataOffset = static_cast<size_t>(pos + 8);
            dataSize = size;
            haveData = true;
        }
        pos += 8 + static_cast<uint64_t>(size) + (size & 1);
    }
    if (!haveFormat) return WavError::NoFormat;
    if (!haveData) return WavError::NoData;
    format.frames = dataSize / static_cast<unsigned>(format.channels * format.bits / 8);
    return format.frames ? WavError::None : WavError::Empty;
}

void WavFile::Decode(const unsigned char* bytes, size_t count, const WavFormat& f, size_t maxFrames,
                     std::vector<double>& left, std::vector<double>& right)
{
    const size_t sampleBytes = static_cast<size_t>(f.bits / 8);
    const size_t frameBytes = sampleBytes * static_cast<size_t>(f.channels);
    size_t frames = std::min<uint64_t>(f.frames, maxFrames);
    if (f.dataOffset >= count) frames = 0;
    else frames = std::min(frames, (count - f.dataOffset) / frameBytes);
    left.resize(frames);
    right.resize(frames);
    for (size_t i = 0; i < frames; ++i) {
        const unsigned char* p = bytes + f.dataOffset + i * frameBytes;
        left[i] = SampleAt(p, f);
        right[i] = f.channels > 1 ? SampleAt(p + sampleBytes, f) : left[i];
    }
}

std::vector<unsigned char> WavFile::WriteStereo8(const int* left, const int* right, int frames, int rate)
{
    const uint32_t dataSize = 2u * static_cast<uint32_t>(frames);
    std::vector<unsigned char> out;
    out.reserve(44 + dataSize + 1);
    putId(out, "RIFF"); put32(out, 36 + dataSize + (dataSize & 1)); putId(out, "WAVE");
    putId(out, "fmt "); put32(out, 16);
    put16(out, kPcm); put16(out, 2); put32(out, static_cast<uint32_t>(rate)); put32(out, 2u * static_cast<uint32_t>(rate));
    put16(out, 2); put16(out, 8);
    putId(out, "data"); put32(out, dataSize);
    for (int i = 0; i < frames; ++i)
        for (int sample : { left[i], right[i] })
            out.push_back(static_cast<unsigned char>(std::clamp(sample + 127, 0, 255)));
    if (dataSize & 1) out.push_back(0);
    return out;
}
