// Helpers of the installer's tests: a robot that drives the real wizard from
// a thread timer (it runs inside the property sheet's and the dialogs' own
// modal loops), the staged source folder, and registry clean-up.
#pragma once

#include <windows.h>

#include "support/Watchdog.h"

#include <functional>
#include <string>
#include <vector>

namespace setuptest {

// Ids of the property sheet's own buttons.
constexpr int kBack = 0x3023;
constexpr int kNext = 0x3024;
constexpr int kFinish = 0x3025;

struct Screen {
    HWND sheet = nullptr;    // the wizard, if it is up
    HWND page = nullptr;     // its current page
    int pageIndex = -1;
    HWND license = nullptr;  // the licence dialog, if it is up
    HWND box = nullptr;      // a message box, if one is up
};

Screen Look();
std::string WindowText(HWND hWnd);
// "B" back enabled, "N" next shown and enabled, "F" finish shown and enabled.
std::string Buttons(HWND sheet);
// All static texts of a message box, joined.
std::string BoxText(HWND box);

// One step of a script: returns true once it has acted; it is called again on
// the next tick until then.
using Step = std::function<bool(const Screen &)>;

struct RobotResult {
    size_t stepsDone = 0;
    bool failed = false;  // a step waited too long, or the run ended before all steps
    std::vector<std::string> notes;  // what the steps saw
};

// Runs body() while the steps are played, one per timer tick (40 ms); a step
// that waits more than 5 s ends the script, and the robot then closes whatever
// is open so body() returns.
RobotResult RunWithRobot(std::vector<Step> steps, const std::function<void()> &body);

// Common steps.
Step PressOnPage(int pageIndex, const std::string &buttons, int psbtn, std::string *caption = nullptr);
Step AnswerLicense(int idButton, std::string *text = nullptr);
Step DismissBox(std::string *caption, std::string *text);
// Acts once the wizard shows page `pageIndex` with nothing above it.
Step OnPage(int pageIndex, std::function<void(const Screen &)> action);

// The folder of the test program, which plays the installer's source folder.
std::string SourceDir();
void WriteFileBytes(const std::string &path, const std::string &bytes);
bool ReadFileBytes(const std::string &path, std::string *bytes);
bool FileExists(const std::string &path);
void RemoveFile(const std::string &path);
// A Linux path (from the environment) as Wine sees it.
std::string HostPath(const char *envName, const std::string &tail);

void DeleteSetupInfo();              // HKLM\Software\Korvel\Ondavis and below
void DeleteRunOnceValues();          // "GrpConv", "Wrapper"
bool SetupInfoKeyExists();
bool KeyExists(HKEY root, const char *key);

inline constexpr char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ondavis";
// Where the installer tests install.
inline constexpr char kDest[] = "C:\\OndavTest\\";
bool QueryValue(HKEY root, const char *key, const char *name, std::string *data, DWORD *type = nullptr);

// Undoes what a whole in-process run of the installer leaves: its main window
// (which only posts itself WM_DESTROY), the quit message and the window class.
void CleanUpRun();
// Drops a pending quit request; returns whether there was one.
bool TakeQuitMessage();

}  // namespace setuptest
