// Renders the instrument's pages from a few frames into BMP files:
//   display_render <output folder> [file.osc ...]
// With files it renders each one's pages (the scope also at 5 ms).
// Without files it makes its own frames (a sine pair, a square wave, silence)
// and also writes them as .osc documents beside the pictures.
#include "PageFixture.h"
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A frame as the capture would give it: 8-bit samples minus 127.
int Sample(double v) { return static_cast<int>(std::lround(v)) + 1; }

void SinePair(Instrument& in)
{
    in.Fill([](int i) {
        const double t = 2 * kPi * 1000.0 * i / 44100.0;
        return std::pair{Sample(90 * std::sin(t)), Sample(60 * std::sin(t - kPi / 3))};
    });
}

void Square(Instrument& in)
{
    in.Fill([](int i) {
        const int half = (i / 22) % 2 ? -1 : 1;   // about 1 kHz
        return std::pair{Sample(70 * half), Sample(-70 * half)};
    });
}

void Silence(Instrument& in)
{
    in.Fill([](int) { return std::pair{1, 1}; });
}

bool LoadOsc(Instrument& in, const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (bytes.size() != static_cast<size_t>(kOscFileSize)) return false;
    int* blocks[] = {in.doc().m_right, in.doc().m_left, in.doc().m_sum, in.doc().m_difference};
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (int* a : blocks)
        for (int i = 0; i < kFrameUsed; ++i, p += 4)
            a[i] = static_cast<int>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<unsigned>(p[3]) << 24);
    return true;
}

bool SaveOsc(Instrument& in, const std::string& path)
{
    std::ofstream f(path, std::ios::binary);
    const int* blocks[] = {in.doc().m_right, in.doc().m_left, in.doc().m_sum, in.doc().m_difference};
    for (const int* a : blocks) {
        for (int i = 0; i < kFrameUsed; ++i) {
            const auto u = static_cast<unsigned>(a[i]);
            const char le[4] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8 & 0xFF),
                                static_cast<char>(u >> 16 & 0xFF), static_cast<char>(u >> 24 & 0xFF)};
            f.write(le, 4);
        }
    }
    std::printf("wrote %s\n", path.c_str());
    return static_cast<bool>(f);
}

// The trigger the measurement would have found: the sum falling below -60.
void Trigger(COndavView& v)
{
    v.m_nTriggerOffset = 0;
    v.m_bSyncFound = FALSE;
    for (int i = 300; i <= 1000; ++i) {
        if (v.GetDocument()->m_sum[i] < -60 && v.GetDocument()->m_sum[i - 1] >= -60) {
            v.m_nTriggerOffset = i - 300;
            v.m_bSyncFound = TRUE;
            return;
        }
    }
}

bool Render(Instrument& in, int mode, const std::string& path)
{
    in.view().m_nDisplayMode = mode;
    DibPage page(800, 600, ::GetSysColor(COLOR_WINDOW));   // the view's window background
    page.Draw(in.view());
    const bool ok = page.SaveBmp(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: display_render <folder> [file.osc ...]\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    bool ok = true;
    if (argc == 2) {
        struct Frame { const char* name; void (*fill)(Instrument&); int timeBase; };
        const Frame frames[] = {{"sinus", SinePair, 5000}, {"carre", Square, 5000}, {"silence", Silence, 1000}};
        for (const Frame& fr : frames) {
            Instrument in;
            fr.fill(in);
            ok &= SaveOsc(in, dir + fr.name + ".osc");
            in.SetTimeBase(fr.timeBase);
            Trigger(in.view());
            ok &= Render(in, kModeScope, dir + fr.name + "-scope.bmp");
            ok &= Render(in, kModeVuMeters, dir + fr.name + "-vu.bmp");
            ok &= Render(in, kModeBargraphs, dir + fr.name + "-bar.bmp");
        }
    }
    for (int i = 2; i < argc; ++i) {
        Instrument in;
        std::string name = argv[i];
        if (!LoadOsc(in, name)) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            ok = false;
            continue;
        }
        name = name.substr(name.find_last_of("/\\") + 1);
        name = name.substr(0, name.rfind('.'));
        Trigger(in.view());
        ok &= Render(in, kModeScope, dir + name + "-scope.bmp");
        ok &= Render(in, kModeVuMeters, dir + name + "-vu.bmp");
        ok &= Render(in, kModeBargraphs, dir + name + "-bar.bmp");
        in.SetTimeBase(5000);
        Trigger(in.view());
        ok &= Render(in, kModeScope, dir + name + "-scope-5ms.bmp");
    }
    return ok ? 0 : 1;
}
