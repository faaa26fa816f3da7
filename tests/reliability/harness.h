// Helpers of the reliability suite: a bound on each case (a hang ends the run
// with the case named), a record of fatal exceptions, message boxes answered
// the moment they appear, and plain file helpers.
#pragma once
#include <windows.h>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace rel {

// Ends the process, naming the case, when a case outlives its bound.
class Watchdog {
public:
    Watchdog();
    ~Watchdog();
    void Arm(const std::string& what, DWORD ms);
    void Disarm();
    static Watchdog& Get();
    // The case now running, for the crash report.
    std::string Current();

private:
    void Run();
    std::mutex m_lock;
    std::string m_what;
    DWORD m_start = 0, m_bound = 0;
    bool m_armed = false;
    std::atomic<bool> m_stop{ false };
    std::thread m_thread;
};

// Arms the watchdog for one scope.
struct Bounded {
    Bounded(const std::string& what, DWORD ms) { Watchdog::Get().Arm(what, ms); }
    ~Bounded() { Watchdog::Get().Disarm(); }
};

// Answers every message box of this thread with OK as soon as it is shown,
// keeping its text: thousands of refused files cost no waiting.
class BoxCatcher {
public:
    BoxCatcher();
    ~BoxCatcher();
    std::vector<std::string> texts;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l);
    HHOOK m_hook;
    BoxCatcher* m_previous;
};

std::vector<BYTE> ReadBytes(const std::string& path, bool* exists = nullptr);
bool WriteBytes(const std::string& path, const std::vector<BYTE>& bytes);
// A fresh, empty folder under the temporary folder.
std::string FreshFolder(const char* name);
// The names in a folder, sorted ("." and ".." left out).
std::vector<std::string> FolderNames(const std::string& folder);
void RemoveTree(const std::string& folder);
// The Windows path of a Unix path given through the environment (Z:...).
std::string EnvPath(const char* variable);

} // namespace rel
