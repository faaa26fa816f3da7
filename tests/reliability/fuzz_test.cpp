// Thousands of generated .osc files, opened through the real template and
// document, then painted through the view's OnDraw in every display.
#include "docs.h"
#include "harness.h"
#include "display/PageFixture.h"
#include "acquisition/SettingsModel.h"
#include <climits>
#include <cstdio>
#include <random>

using namespace rel;

namespace {

// Lengths around the 64176 bytes of a document, and far from it.
const long long kLengths[] = { 0, 1, 2, 3, 4, 5, 100, 4096, 16044, 32088, 64172, 64173, 64175,
                               64176, 64177, 64179, 64180, 65536, 128352, 1 << 20 };
const long long kHugeLength = (1LL << 32) + 5;   // past what 32 bits can count

enum Values { Random, IntMin, IntMax, Alternating, Extremes, Realistic, Small, Bytes, Zero, Spikes, kValueKinds };

int ValueFor(Values kind, std::mt19937& rng, int block, int i)
{
    switch (kind) {
    case Random: return static_cast<int>(rng());
    case IntMin: return INT_MIN;
    case IntMax: return INT_MAX;
    case Alternating: return (i & 1) ? INT_MIN : INT_MAX;
    case Extremes: {
        static const int pick[] = { INT_MIN, INT_MIN + 1, -1, 0, 1, INT_MAX - 1, INT_MAX, 128, -127, 256, -255 };
        return pick[rng() % (sizeof pick / sizeof *pick)];
    }
    case Realistic: return static_cast<int>(rng() % 256) - 127 + (block >= 2 ? static_cast<int>(rng() % 256) - 127 : 0);
    case Small: return static_cast<int>(rng() % 2001) - 1000;
    case Bytes: return static_cast<int>(rng() % 256);
    case Zero: return 0;
    case Spikes: return (rng() % 97 == 0) ? ((rng() & 1) ? INT_MAX : INT_MIN) : static_cast<int>(rng() % 20) - 10;
    default: return 0;
    }
}

std::vector<BYTE> Generate(Values kind, std::mt19937& rng, size_t length)
{
    std::vector<BYTE> b(length);
    size_t full = std::min<size_t>(length, kOscFileSize) / 4;
    for (size_t n = 0; n < full; ++n) {
        int v = ValueFor(kind, rng, static_cast<int>(n / kFrameUsed), static_cast<int>(n % kFrameUsed));
        for (int s = 0; s < 4; ++s) b[4 * n + s] = static_cast<BYTE>(static_cast<unsigned>(v) >> (8 * s));
    }
    for (size_t n = full * 4; n < length; ++n) b[n] = static_cast<BYTE>(rng());
    return b;
}

// A sparse file of the given length whose first bytes are head.
bool WriteSparse(const std::string& path, const std::vector<BYTE>& head, long long length)
{
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    LARGE_INTEGER end;
    end.QuadPart = length;
    bool ok = ::WriteFile(h, head.data(), static_cast<DWORD>(head.size()), &written, nullptr) &&
              ::SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(h);
    ::CloseHandle(h);
    return ok;
}

// One way of showing the frame: the display, and for the scope its layout,
// time base, gain, scale, scale channel and grid.
struct Look {
    int mode, layout, timeBaseRow, gain, scale, channel, grid;
};

std::vector<Look> AllLooks()
{
    std::vector<Look> looks;
    for (int layout = 1; layout <= 5; ++layout)
        for (int tb = 0; tb < 8; ++tb)
            for (int gain : kVerticalGains)
                for (int scale = 1; scale <= 2; ++scale)
                    looks.push_back({ kModeScope, layout, tb, gain, scale, 1 + (tb + gain) % 2, (tb + scale) % 2 });
    looks.push_back({ kModeVuMeters, 1, 0, 1, 1, 1, 1 });
    looks.push_back({ kModeBargraphs, 1, 0, 1, 1, 1, 1 });
    return looks;
}

void Apply(COndavView& v, const Look& look)
{
    const ScopeLayoutRow& row = kScopeLayouts[look.layout - 1];
    v.m_nScopeLayout = row.layout;
    v.m_nScopeSignal = row.signal;
    if (row.traceY1) { v.m_nTraceY1 = row.traceY1; v.m_nTraceY2 = row.traceY2; }
    v.m_nDisplayMode = look.mode;
    v.m_nTimeBase = kTimeBases[look.timeBaseRow].timeBase;
    v.m_nPixelsPerSample = kTimeBases[look.timeBaseRow].pixelsPerSample;
    v.m_nSamplesPerPixel = kTimeBases[look.timeBaseRow].samplesPerPixel;
    v.m_nVerticalGain = look.gain;
    v.m_nVerticalScale = look.scale;
    v.m_nScaleChannel = look.channel;
    v.m_bGrid = look.grid;
}

class DocumentFuzz : public DocFixture {};

} // namespace

TEST_F(DocumentFuzz, GeneratedFilesOpenOrAreRefusedCleanlyAndPaintInEveryDisplay)
{
    const int files = std::getenv("ONDAV_FUZZ_FILES") ? std::atoi(std::getenv("ONDAV_FUZZ_FILES")) : 80;
    const std::vector<Look> looks = AllLooks();
    const std::string folder = FreshFolder("ondav_fuzz");
    std::mt19937 rng(20261208);
    Instrument inst;
    DibPage page(800, 600);
    BoxCatcher boxes;

    int tried = 0, opened = 0, refused = 0, paints = 0, wrong = 0, sweeps = 0;
    for (int k = 0; k <= files; ++k) {
        // Mostly whole documents (they reach the drawing); every fourth file
        // takes its length from the classes around and far from 64176.
        const bool huge = k == files;
        long long length = huge ? kHugeLength
                         : (k % 4 == 0) ? kLengths[(k / 4) % (sizeof kLengths / sizeof *kLengths)]
                         : (k % 4 == 3) ? kOscFileSize + static_cast<long long>(rng() % 300)
                                        : kOscFileSize;
        const auto kind = static_cast<Values>(k % kValueKinds);
        std::vector<BYTE> bytes = Generate(kind, rng, static_cast<size_t>(std::min<long long>(length, kOscFileSize + 300)));
        const std::string path = folder + "\\f" + std::to_string(k % 8) + ".osc";
        ASSERT_TRUE(huge ? WriteSparse(path, bytes, length) : WriteBytes(path, bytes)) << path;

        char what[160];
        std::snprintf(what, sizeof what, "file %d: %lld bytes, values of kind %d", k, length, static_cast<int>(kind));
        Bounded bound(what, 60000);
        ++tried;
        boxes.texts.clear();
        doc->SetModifiedFlag(FALSE);
        CDocument* got = tmpl->OpenDocumentFile(path.c_str(), FALSE);
        if (length >= kOscFileSize) {
            ++opened;
            bool right = got == doc && boxes.texts.empty() &&
                         FrameOf(*doc) == FrameOfImage(std::vector<BYTE>(bytes.begin(), bytes.begin() + kOscFileSize));
            if (!right) { ++wrong; ADD_FAILURE() << what << ": not opened as written"; }
        } else {
            ++refused;
            bool right = got == nullptr && boxes.texts.size() == 1 && doc->GetTitle() == L"Sans titre" &&
                         FrameOf(*doc) == std::vector<int>(4 * kFrameUsed, 0);
            if (!right) { ++wrong; ADD_FAILURE() << what << ": not refused cleanly (" << boxes.texts.size() << " boxes)"; }
        }

        // Painted through the view, from the document as it now stands.
        std::copy(doc->m_right, doc->m_right + kFrameUsed, inst.doc().m_right);
        std::copy(doc->m_left, doc->m_left + kFrameUsed, inst.doc().m_left);
        std::copy(doc->m_sum, doc->m_sum + kFrameUsed, inst.doc().m_sum);
        std::copy(doc->m_difference, doc->m_difference + kFrameUsed, inst.doc().m_difference);
        COndavView& v = inst.view();
        Apply(v, looks[0]);
        page.Draw(v);
        v.FindTrigger();   // as after a capture: the trace starts where the trigger fell
        ++paints;
        // Extreme values (some of them) and every 97th file are shown every way; the others
        // in four looks that move on from file to file.
        const bool extreme = kind == IntMin || kind == IntMax || kind == Alternating || kind == Extremes;
        const bool sweep = (extreme && k % 100 < 10) || k % 97 == 0;
        if (sweep && length >= kOscFileSize) {
            ++sweeps;
            for (const Look& look : looks) { Apply(v, look); page.Draw(v); ++paints; }
        } else {
            for (int j = 0; j < 4; ++j) {
                Apply(v, looks[static_cast<size_t>(k * 4 + j) % looks.size()]);
                page.Draw(v);
                ++paints;
            }
        }
        if (huge) ::DeleteFileA(path.c_str());
    }
    RemoveTree(folder);
    std::printf("document fuzz: %d files tried (%d opened, %d refused), %d full sweeps, %d paints, "
                "crashes 0, hangs 0, wrong loads %d\n", tried, opened, refused, sweeps, paints, wrong);
    RecordProperty("files", tried);
    RecordProperty("paints", paints);
    EXPECT_EQ(wrong, 0);
}
