// WAV and CSV exchange through the real document and files: round trips,
// imports of sox-made sounds (ONDAV_SOX_DIR), refusals of damaged files.
#include "document/CaptureExchange.h"
#include "docs.h"
#include "harness.h"
#include <gtest/gtest.h>
#include <cmath>
#include <fstream>
#include <cstring>
#include <random>

namespace {
// A capture as the measurement cycle leaves it: random bytes minus 127.
void fillCapture(COndavDoc& doc)
{
    std::mt19937 random(7);
    for (int i = 0; i < kFrameUsed; ++i) {
        doc.m_right[i] = i < kCaptureFrames ? static_cast<int>(random() % 256) - 127 : 0;
        doc.m_left[i] = i < kCaptureFrames ? static_cast<int>(random() % 256) - 127 : 0;
        doc.m_sum[i] = doc.m_right[i] + doc.m_left[i];
        doc.m_difference[i] = doc.m_right[i] - doc.m_left[i];
    }
}

// A canonical WAV header followed by data bytes.
std::vector<unsigned char> wav(int tag, int channels, int rate, int bits, std::vector<unsigned char> data)
{
    auto le = [](std::vector<unsigned char>& v, uint32_t x, int n) { for (int i = 0; i < n; ++i) v.push_back((x >> (8 * i)) & 0xFF); };
    std::vector<unsigned char> b = { 'R', 'I', 'F', 'F' };
    le(b, 36 + static_cast<uint32_t>(data.size()), 4);
    for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<unsigned char>(c));
    le(b, 16, 4); le(b, static_cast<uint32_t>(tag), 2); le(b, static_cast<uint32_t>(channels), 2); le(b, static_cast<uint32_t>(rate), 4);
    le(b, static_cast<uint32_t>(rate * channels * bits / 8), 4); le(b, static_cast<uint32_t>(channels * bits / 8), 2); le(b, static_cast<uint32_t>(bits), 2);
    for (char c : std::string("data")) b.push_back(static_cast<unsigned char>(c));
    le(b, static_cast<uint32_t>(data.size()), 4);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

// Mono float samples of a sine.
std::vector<unsigned char> floatSine(double hz, double amplitude, int rate, int frames)
{
    std::vector<unsigned char> data(static_cast<size_t>(frames) * 4);
    for (int i = 0; i < frames; ++i) {
        float x = static_cast<float>(amplitude * std::sin(2 * 3.14159265358979 * hz * i / rate));
        std::memcpy(&data[static_cast<size_t>(i) * 4], &x, 4);
    }
    return data;
}

// Frequency from the first and last rising crossings of the mean, found
// between samples by linear interpolation.
double frequency(const int* s, int from, int to)
{
    double mean = 0;
    for (int i = from; i < to; ++i) mean += s[i];
    mean /= to - from;
    double first = -1, last = -1;
    int crossings = 0;
    for (int i = from + 1; i < to; ++i)
        if (s[i - 1] < mean && s[i] >= mean) {
            double t = i - 1 + (mean - s[i - 1]) / (s[i] - s[i - 1]);
            if (first < 0) first = t; else ++crossings;
            last = t;
        }
    return crossings * static_cast<double>(kCaptureRate) / (last - first);
}

struct Exchange : rel::DocFixture {
    void TearDown() override { rel::DocFixture::TearDown(); rel::RemoveTree(folder); }
    const std::string folder = rel::FreshFolder("exchange");
    std::string tempPath(const char* name) const { return folder + "\\" + name; }
    // Opens path, answering any message box; returns whether it opened.
    bool open(const std::string& path, std::vector<std::string>* boxes = nullptr)
    {
        rel::BoxCatcher catcher;
        bool opened = tmpl->OpenDocumentFile(path.c_str(), FALSE) != nullptr;
        if (boxes) *boxes = catcher.texts;
        else for (const auto& t : catcher.texts) ADD_FAILURE() << path << ": " << t;
        return opened;
    }
};
} // namespace

TEST_F(Exchange, ExportedWavOpensAsTheSameFourArraysAndExportChangesNothing)
{
    fillCapture(*doc);
    doc->SetModifiedFlag(TRUE);
    const auto frame = rel::FrameOf(*doc);
    const std::string path = tempPath("exchange_round.wav"), csv = tempPath("exchange_round.csv");
    ASSERT_TRUE(doc->ExportTo(path.c_str()));
    ASSERT_TRUE(doc->ExportTo(csv.c_str()));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), L"Sans titre");
    EXPECT_TRUE(doc->GetPathName().IsEmpty());
    EXPECT_EQ(rel::ReadBytes(path).size(), 44u + 8000u);

    doc->SetModifiedFlag(FALSE);
    ASSERT_TRUE(open(path));
    EXPECT_EQ(rel::FrameOf(*doc), frame);
    EXPECT_TRUE(doc->IsFromWav());
    EXPECT_FALSE(doc->IsModified());

    // The exports stay for the outside readers (sox, Python) when asked.
    if (std::getenv("ONDAV_EXPORT_DIR")) {
        const std::string dir = rel::EnvPath("ONDAV_EXPORT_DIR") + "\\";
        ::CopyFileA(path.c_str(), (dir + "round.wav").c_str(), FALSE);
        ::CopyFileA(csv.c_str(), (dir + "round.csv").c_str(), FALSE);
        auto numbers = [&](const char* name, const std::vector<int>& a) {
            std::ofstream f(dir + name, std::ios::binary);
            for (int i = 0; i < kFrameUsed; ++i) f << a[static_cast<size_t>(i)] << "\n";
        };
        const char* names[] = { "right.txt", "left.txt", "sum.txt", "difference.txt" };
        for (size_t k = 0; k < 4; ++k)
            numbers(names[k], std::vector<int>(frame.begin() + static_cast<long>(k * kFrameUsed), frame.begin() + static_cast<long>((k + 1) * kFrameUsed)));
    }
}

TEST_F(Exchange, CsvHasAHeaderAndOneLinePerStoredEntryWithDecimalCommas)
{
    fillCapture(*doc);
    const std::string path = tempPath("exchange_table.csv");
    ASSERT_TRUE(doc->ExportTo(path.c_str()));
    const auto bytes = rel::ReadBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.rfind("indice;temps (ms);droite;gauche;somme;diff\xE9rence\r\n", 0), 0u) << text.substr(0, 60);
    size_t lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_EQ(lines, 1u + kFrameUsed);
    char expected[80];
    std::snprintf(expected, sizeof expected, "\n3;0,0680;%d;%d;%d;%d\r\n", doc->m_right[3], doc->m_left[3], doc->m_sum[3],
                  doc->m_difference[3]);
    EXPECT_NE(text.find(expected), std::string::npos) << expected;
}

TEST_F(Exchange, SoxMadeSoundsComeInAtTheirFrequencyAndLevel)
{
    // Every file: left 1 kHz, right 441 Hz (mono: 1 kHz in both), at half of
    // full scale; made by sox in each format, rate and channel count.
    const std::string dir = rel::EnvPath("ONDAV_SOX_DIR");
    if (dir.empty()) GTEST_SKIP() << "ONDAV_SOX_DIR not set (tests/exchange/exchange.sh sets it)";
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((std::string(dir) + "\\*.wav").c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    int files = 0;
    do {
        const std::string name = found.cFileName;
        SCOPED_TRACE(name);
        ASSERT_TRUE(open(std::string(dir) + "\\" + name));
        const bool mono = name.find("-1ch") != std::string::npos;
        EXPECT_NEAR(frequency(doc->m_left, 100, kCaptureFrames), 1000.0, 0.1);
        EXPECT_NEAR(frequency(doc->m_right, 100, kCaptureFrames), mono ? 1000.0 : 441.0, mono ? 0.1 : 0.0441);
        for (const int* s : { doc->m_left, doc->m_right }) {
            const auto [low, high] = std::minmax_element(s + 100, s + kCaptureFrames);
            EXPECT_NEAR(*high, 1 + 64, 1.5);   // silence is +1
            EXPECT_NEAR(*low, 1 - 64, 1.5);
        }
        for (int i = 0; i < kFrameUsed; ++i) {
            ASSERT_EQ(doc->m_sum[i], doc->m_right[i] + doc->m_left[i]);
            ASSERT_EQ(doc->m_difference[i], doc->m_right[i] - doc->m_left[i]);
        }
        ++files;
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    EXPECT_GE(files, 10);
}

TEST_F(Exchange, ToneAboveTheNewNyquistLeavesOnlySilenceAndShortSoundIsPadded)
{
    // 23 kHz cannot exist at 44.1 kHz: nothing of it may fold back.
    for (int rate : { 48000, 384000 }) {
        const std::string path = tempPath("exchange_alias.wav");
        rel::WriteBytes(path, wav(3, 1, rate, 32, floatSine(rate == 48000 ? 23000 : 30000, 0.9, rate, rate / 5)));
        ASSERT_TRUE(open(path));
        for (int i = 100; i < kCaptureFrames; ++i) ASSERT_NEAR(doc->m_left[i], 1, 1) << rate << " at " << i;
    }
    // 1000 frames of a full-scale 8-bit square, then silence.
    std::vector<unsigned char> data;
    for (int i = 0; i < 1000; ++i) data.insert(data.end(), 2, (i / 50) % 2 ? 255 : 0);
    const std::string path = tempPath("exchange_short.wav");
    rel::WriteBytes(path, wav(1, 2, 44100, 8, data));
    ASSERT_TRUE(open(path));
    EXPECT_EQ(doc->m_left[0], -127);
    EXPECT_EQ(doc->m_right[50], 128);
    EXPECT_EQ(doc->m_left[1000], 1);
    EXPECT_EQ(doc->m_right[3999], 1);
}

TEST_F(Exchange, DamagedFilesAreRefusedWithAReasonAndChangeNothing)
{
    const auto good = wav(1, 2, 44100, 16, std::vector<unsigned char>(400, 0x10));
    auto with = [&](size_t at, std::vector<unsigned char> bytes) {
        auto b = good;
        std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<long>(at));
        return b;
    };
    struct Case { const char* what; std::vector<unsigned char> bytes; const char* reason; };
    const Case cases[] = {
        { "not RIFF", with(0, { 'R', 'I', 'F', 'X' }), "pas un son WAV" },
        { "AVI", with(8, { 'A', 'V', 'I', ' ' }), "pas un son WAV" },
        { "ADPCM", with(20, { 2, 0 }), "compress" },
        { "MP3", with(20, { 0x55, 0 }), "compress" },
        { "no fmt", with(12, { 'j', 'u', 'n', 'k' }), "format" },
        { "no data", with(36, { 'j', 'u', 'n', 'k' }), "data" },
        { "fmt cut", with(16, { 8, 0, 0, 0 }), "tronqu" },
        { "truncated", std::vector<unsigned char>(good.begin(), good.end() - 10), "tronqu" },
        { "4 GiB data", with(40, { 0xFF, 0xFF, 0xFF, 0xFF }), "tronqu" },
        { "0 channels", with(22, { 0, 0 }), "voies" },
        { "9 channels", with(22, { 9, 0 }), "voies" },
        { "1 Hz", with(24, { 1, 0, 0, 0 }), "fr\xE9quence" },
        { "4 GHz", with(24, { 0, 0, 0, 0xFF }), "fr\xE9quence" },
        { "12 bits", with(34, { 12, 0 }), "taille" },
        { "align", with(32, { 0x40, 0 }), "taille" },
        { "empty", with(40, { 0, 0, 0, 0 }), "aucun son" },
        { "header only", std::vector<unsigned char>(good.begin(), good.begin() + 8), "pas un son WAV" },
    };
    fillCapture(*doc);
    const auto frame = rel::FrameOf(*doc);
    const std::string path = tempPath("exchange_bad.wav");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rel::WriteBytes(path, c.bytes);
        std::vector<std::string> boxes;
        EXPECT_FALSE(open(path, &boxes));
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].find(c.reason), std::string::npos) << boxes[0];
        EXPECT_NE(boxes[0].find("exchange_bad.wav"), std::string::npos) << boxes[0];
        EXPECT_EQ(rel::FrameOf(*doc), frame);
        EXPECT_EQ(doc->GetTitle(), L"Sans titre");
        EXPECT_EQ(rel::ReadBytes(path), c.bytes);
        EXPECT_EQ(rel::FolderNames(folder), std::vector<std::string>{ "exchange_bad.wav" });
    }
}

TEST_F(Exchange, ASoundIsNeverOverwrittenByTheOscLayout)
{
    fillCapture(*doc);
    const std::string path = tempPath("exchange_keep.wav");
    ASSERT_TRUE(doc->ExportTo(path.c_str()));
    ASSERT_TRUE(open(path));
    const auto sound = rel::ReadBytes(path);
    std::vector<std::string> boxes;
    {
        rel::BoxCatcher catcher;
        EXPECT_FALSE(doc->DoSave(path.c_str()));
        boxes = catcher.texts;
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(".osc"), std::string::npos) << boxes[0];
    EXPECT_EQ(rel::ReadBytes(path), sound);
    EXPECT_TRUE(doc->IsFromWav());
}
