// Helpers of the acquisition tests: a real view window on a real document,
// the virtual microphone's signal file, the settings file, and a watcher that
// records and dismisses the message boxes the program shows.
#pragma once
#include "acquisition/OndavView.h"
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace acqtest {

// One message box as it was on screen.
struct ShownBox {
    std::string caption;
    std::string text;
    HWND owner;
    double atMs;   // when it was seen, on the Clock below
};

// Milliseconds since the first call, from the performance counter.
double NowMs();

// Records every message box of this process and presses its OK button.
class BoxWatcher {
public:
    BoxWatcher();
    ~BoxWatcher();
    std::vector<ShownBox> Boxes();
    size_t Count();
    void Clear();

private:
    void Run();
    std::mutex m_lock;
    std::vector<ShownBox> m_boxes;
    bool m_stop = false;
    std::thread m_thread;
};

// Pumps this thread's messages for ms milliseconds; after each dispatched
// message calls after(), and stops early when it returns true.
bool Pump(double ms, const std::function<bool()>& after = {});

// A document with a view window made as the frame makes it (CreateEx calls
// PreCreateWindow, the whole initialisation). Destroying the window deletes
// the view; the document goes with the harness.
class ViewHarness {
public:
    ViewHarness();
    ~ViewHarness();
    COndavView* view = nullptr;
    COndavDoc* doc = nullptr;
    HWND hwnd = nullptr;
    void Destroy();   // the view's OnDestroy runs; the view is gone afterwards
};

// The settings file in the Windows directory.
std::string SettingsPath();
std::vector<BYTE> ReadFileBytes(const std::string& path, bool* exists = nullptr);
void WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes);
// Keeps whatever settings file the prefix had and puts it back afterwards.
class SettingsFileGuard {
public:
    SettingsFileGuard();
    ~SettingsFileGuard();
private:
    bool m_existed;
    std::vector<BYTE> m_saved;
};

// The virtual microphone plays a raw S16_LE stereo 48 kHz file; its path is in
// ONDAV_VMIC_SIGNAL. The generator gets the time in seconds and returns the
// left and right values as fractions of full scale (-1 to 1).
using StereoSignal = std::function<std::pair<double, double>(double)>;
bool HaveVirtualMic();
void WriteSignal(const StereoSignal& signal, double seconds = 30.0);

// Measures of one channel of a captured frame (indices 0 to count-1).
struct ChannelStats {
    int min, max;
    // The 0.5 % and 99.5 % quantiles: the peaks of a periodic signal without
    // the ringing the resampler adds where the microphone skipped samples.
    int low, high;
    double mean;
    double frequencyHz;   // from rising crossings of the mean; 0 if fewer than two
};
ChannelStats Analyse(const int* samples, int count, double sampleRate = 44100.0);

} // namespace acqtest
