// Helpers of the reliability suite: a bound on each case (a hang ends the run
// with the case named), a record of fatal exceptions, message boxes answered
// the moment they appear, and plain file helpers.
#pragma once
#include "support/Watchdog.h"
#include <windows.h>
#include <string>
#include <vector>

namespace rel {

// Bounds one scope (a hang ends the run with the case named).
struct Bounded : Watchdog {
    Bounded(const std::string& what, DWORD ms) : Watchdog(ms, what) {}
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
