#include "support.h"
#include "support/Boxes.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace acqtest {

double NowMs()
{
    static LARGE_INTEGER freq{}, start{};
    if (!freq.QuadPart) {
        ::QueryPerformanceFrequency(&freq);
        ::QueryPerformanceCounter(&start);
    }
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
}


BoxWatcher::BoxWatcher() : m_thread([this] { Run(); }) { NowMs(); }

BoxWatcher::~BoxWatcher()
{
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_stop = true;
    }
    m_thread.join();
}

void BoxWatcher::Run()
{
    std::vector<HWND> handled;
    for (;;) {
        {
            std::lock_guard<std::mutex> g(m_lock);
            if (m_stop) return;
        }
        for (HWND box : VisibleBoxes(::GetCurrentProcessId())) {
            ShownBox shown;
            shown.caption = WindowTextOf(box);
            shown.text = BoxText(box);
            shown.owner = ::GetWindow(box, GW_OWNER);
            shown.atMs = NowMs();
            {
                std::lock_guard<std::mutex> g(m_lock);
                m_boxes.push_back(shown);
            }
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            // Wait until it is gone so the same box is not counted twice.
            for (int i = 0; i < 200 && ::IsWindow(box) && ::IsWindowVisible(box); ++i) ::Sleep(5);
        }
        ::Sleep(10);
    }
}

std::vector<ShownBox> BoxWatcher::Boxes()
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_boxes;
}

size_t BoxWatcher::Count()
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_boxes.size();
}

void BoxWatcher::Clear()
{
    std::lock_guard<std::mutex> g(m_lock);
    m_boxes.clear();
}

bool Pump(double ms, const std::function<bool()>& after)
{
    double end = NowMs() + ms;
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            if (after && after()) return true;
        }
        double left = end - NowMs();
        if (left <= 0) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    }
}

ViewHarness::ViewHarness()
{
    doc = new COndavDoc;
    view = new COndavView;
    doc->AddView(view);
    view->CreateEx(0, nullptr, nullptr, WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr);
    hwnd = view->m_hWnd;
}

void ViewHarness::Destroy()
{
    if (hwnd && ::IsWindow(hwnd)) ::DestroyWindow(hwnd);
    hwnd = nullptr;
    view = nullptr;
}

ViewHarness::~ViewHarness()
{
    Destroy();
    delete doc;
}

std::string SettingsPath()
{
    char dir[MAX_PATH] = {};
    ::GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\ondav.ini";
}

std::vector<BYTE> ReadFileBytes(const std::string& path, bool* exists)
{
    std::ifstream in(path, std::ios::binary);
    if (exists) *exists = in.is_open();
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

SettingsFileGuard::SettingsFileGuard()
{
    m_saved = ReadFileBytes(SettingsPath(), &m_existed);
}

SettingsFileGuard::~SettingsFileGuard()
{
    std::string path = SettingsPath();
    ::RemoveDirectoryA(path.c_str());
    if (m_existed)
        WriteFileBytes(path, m_saved);
    else
        ::DeleteFileA(path.c_str());
}

bool HaveVirtualMic()
{
    const char* path = std::getenv("ONDAV_VMIC_SIGNAL");
    return path && *path;
}

void WriteSignal(const StereoSignal& signal, double seconds)
{
    const char* path = std::getenv("ONDAV_VMIC_SIGNAL");
    if (!path) return;
    const int rate = 48000;
    const int frames = static_cast<int>(seconds * rate);
    std::vector<short> data(static_cast<size_t>(frames) * 2);
    auto toS16 = [](double v) {
        double s = std::lround(v * 32768.0);
        if (s > 32767) s = 32767;
        if (s < -32768) s = -32768;
        return static_cast<short>(s);
    };
    for (int i = 0; i < frames; ++i) {
        auto [left, right] = signal(static_cast<double>(i) / rate);
        data[2 * static_cast<size_t>(i)] = toS16(left);
        data[2 * static_cast<size_t>(i) + 1] = toS16(right);
    }
    std::string tmp = std::string(path) + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size() * sizeof(short)));
    }
    ::MoveFileExA(tmp.c_str(), path, MOVEFILE_REPLACE_EXISTING);
}

ChannelStats Analyse(const int* samples, int count, double sampleRate)
{
    ChannelStats st{ samples[0], samples[0], 0, 0, 0.0, 0.0 };
    std::vector<int> sorted(samples, samples + count);
    std::sort(sorted.begin(), sorted.end());
    st.low = sorted[static_cast<size_t>(count) / 200];
    st.high = sorted[static_cast<size_t>(count) - 1 - static_cast<size_t>(count) / 200];
    for (int i = 0; i < count; ++i) {
        st.min = std::min(st.min, samples[i]);
        st.max = std::max(st.max, samples[i]);
        st.mean += samples[i];
    }
    st.mean /= count;
    // Periods between rising crossings of the mid value, with some hysteresis.
    // The virtual microphone drops or repeats a few samples now and then, so
    // the median period is taken, not the average.
    double mid = (st.high + st.low) / 2.0, hyst = (st.high - st.low) / 8.0;
    std::vector<int> periods;
    int last = -1;
    bool low = false;
    for (int i = 0; i < count; ++i) {
        if (samples[i] < mid - hyst) low = true;
        else if (low && samples[i] >= mid) {
            low = false;
            if (last >= 0) periods.push_back(i - last);
            last = i;
        }
    }
    if (periods.size() >= 3) {
        std::sort(periods.begin(), periods.end());
        st.frequencyHz = sampleRate / periods[periods.size() / 2];
    }
    return st;
}

} // namespace acqtest
