#include "help/HelpBook.h"
#include "acquisition/OndavView.h"
#include "display/PageTables.h"
#include "document/OndavDoc.h"
#include <gtest/gtest.h>
#include <cmath>
#include <map>
#include <regex>
#include <string>
#include <vector>

// Every timing and size the help states is one the program's own tables give.
namespace {
struct Figure {
    std::string unit, text, topic;
    double value;
    int decimals;
};

// The figures of a text (cp1252): "64 176 octets", "90,7 ms", "0.5ms", "20us".
void collect(const std::string& text, const std::string& topic, std::vector<Figure>& out)
{
    static const std::regex figure("(\\d+(?:[ \\xA0]\\d{3})*(?:[.,]\\d+)?)[ \\xA0]?"
                                   "(ms|\\xB5s|us|secondes?|s|octets|\\xE9chantillons)(?![A-Za-z\\xC0-\\xFF])");
    for (std::sregex_iterator i(text.begin(), text.end(), figure), end; i != end; ++i) {
        std::string digits, number = (*i)[1];
        int decimals = 0;
        bool fraction = false;
        for (char c : number) {
            if (c == ',' || c == '.') { digits += '.'; fraction = true; }
            else if (c >= '0' && c <= '9') { digits += c; decimals += fraction; }
        }
        std::string unit = (*i)[2];
        if (unit == "us") unit = "\xB5s";
        if (unit.rfind("seconde", 0) == 0) unit = "s";
        out.push_back({unit, (*i).str(), topic, std::stod(digits), decimals});
    }
}

std::vector<Figure> helpFigures()
{
    std::vector<Figure> out;
    for (const HelpTopic& t : HelpBook::Program().Topics()) {
        for (const std::string& word : t.index) collect(word, t.key, out);
        for (const HelpBlock& b : t.blocks) {
            for (const HelpSpan& s : b.spans) collect(s.text, t.key, out);
            for (const auto& row : b.rows)
                for (const std::string& cell : row) collect(cell, t.key, out);
        }
    }
    return out;
}

// What the program's tables give, by unit.
std::map<std::string, std::vector<double>> programFigures()
{
    std::map<std::string, std::vector<double>> f;
    for (const page::TimeBase& t : page::kTimeBases) {
        const double ms = t.code <= 50 ? t.code : t.code / 1000.0;   // codes above 50 are microseconds
        f["ms"].insert(f["ms"].end(), {ms, ms / 10});
        f["\xB5s"].push_back(ms * 100);   // a division, in microseconds
    }
    const double wait = kCaptureWaitMs;
    for (const page::PanelBox& b : page::kSettingBoxes) {
        if (b.setting != page::Setting::Refresh) continue;
        f["ms"].push_back(b.value);
        f["s"].push_back((wait + b.value) / 1000);   // a capture, its reading, the refresh wait
    }
    const double captureMs = 1000.0 * kCaptureFrames / kSampleRate;
    f["ms"].insert(f["ms"].end(), {wait, 2 * wait, captureMs,
                                   1000.0 * (page::kLissajousLast - page::kLissajousFirst) / kSampleRate});
    f["s"].push_back(2 * wait / 1000);
    f["octets"] = {kOscFileSize, kSettingsFileBytes, kSettingsReservedBytes, sizeof(COLORREF)};
    f["\xE9" "chantillons"] = {kCaptureFrames, kSampleRate};
    return f;
}

bool matches(const Figure& fig, const std::vector<double>& values)
{
    const double scale = std::pow(10.0, fig.decimals);
    for (double v : values)
        if (std::lround(v * scale) == std::lround(fig.value * scale)) return true;
    return false;
}
} // namespace

TEST(HelpFigures, TimingsAndSizesAreThoseOfTheProgram)
{
    const auto program = programFigures();
    const std::vector<Figure> figures = helpFigures();
    EXPECT_GT(figures.size(), 50u) << "the figures are found";
    for (const Figure& fig : figures)
        EXPECT_TRUE(matches(fig, program.at(fig.unit))) << fig.topic << ": \"" << fig.text << "\"";
}

TEST(HelpFigures, TheRhythmOfImagesGivesTheCapturesLength)
{
    // Recording starts after the first wait and lasts 4000 frames: about 91 ms.
    std::vector<Figure> rhythm;
    for (const Figure& f : helpFigures())
        if (f.topic == "base-de-temps" && f.unit == "ms" && f.decimals == 0) rhythm.push_back(f);
    const double captureMs = 1000.0 * kCaptureFrames / kSampleRate;
    bool stated = false;
    for (const Figure& f : rhythm) stated |= std::lround(f.value) == std::lround(captureMs);
    EXPECT_TRUE(stated);
}
