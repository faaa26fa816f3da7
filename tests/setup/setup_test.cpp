#include "setup_test.h"

#include <prsht.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "resources/setup/setupres.h"

namespace setuptest {

namespace {

std::string ClassOf(HWND hWnd)
{
    char sz[64] = "";
    GetClassNameA(hWnd, sz, sizeof sz);
    return sz;
}

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam)
{
    Screen *s = (Screen *)lParam;
    if (!IsWindowVisible(hWnd) || ClassOf(hWnd) != "#32770")
        return TRUE;
    if (GetDlgItem(hWnd, kNext))
        s->sheet = hWnd;
    else if (GetDlgItem(hWnd, IDC_LICENSE_TEXT) && WindowText(hWnd) == "Acceptation de la licence")
        s->license = hWnd;
    else
        s->box = hWnd;
    return TRUE;
}

bool Usable(HWND hWnd)
{
    return hWnd && IsWindowVisible(hWnd) && IsWindowEnabled(hWnd);
}

std::string Describe(const Screen &s)
{
    char sz[256];
    snprintf(sz, sizeof sz, "page %d '%s' buttons '%s' license %s box '%s'", s.pageIndex, WindowText(s.page).c_str(),
             s.sheet ? Buttons(s.sheet).c_str() : "", s.license ? "up" : "no", WindowText(s.box).c_str());
    return sz;
}

struct Robot {
    std::vector<Step> steps;
    RobotResult result;
    DWORD stepStart = 0;
    bool busy = false;
    bool aborting = false;
};
Robot *gRobot = nullptr;

// Closes whatever is open, innermost first, so the code under test returns.
void CloseEverything(const Screen &s)
{
    if (s.box)
        PostMessageA(s.box, WM_COMMAND, IDOK, 0);
    else if (s.license)
        PostMessageA(s.license, WM_COMMAND, MAKEWPARAM(IDC_LICENSE_NO, BN_CLICKED), 0);
    else if (s.sheet)
        PostMessageA(s.sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

void CALLBACK RobotTick(HWND, UINT, UINT_PTR, DWORD)
{
    Robot *r = gRobot;
    if (!r || r->busy)
        return;
    r->busy = true;
    Screen s = Look();
    if (r->aborting) {
        CloseEverything(s);
    } else if (r->result.stepsDone < r->steps.size() && r->steps[r->result.stepsDone](s)) {
        ++r->result.stepsDone;
        r->stepStart = GetTickCount();
    } else if (GetTickCount() - r->stepStart > 15000) {   // a bound for a loaded machine
        r->result.failed = true;
        r->result.notes.push_back("stuck after step " + std::to_string(r->result.stepsDone) + ": " + Describe(s));
        r->aborting = true;
    }
    r->busy = false;
}

}  // namespace

std::string WindowText(HWND hWnd)
{
    if (!hWnd)
        return "";
    int n = GetWindowTextLengthA(hWnd);
    std::string text(n + 1, '\0');
    GetWindowTextA(hWnd, text.data(), n + 1);
    text.resize(strlen(text.c_str()));
    return text;
}

Screen Look()
{
    Screen s;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, (LPARAM)&s);
    if (s.sheet) {
        s.page = (HWND)SendMessageA(s.sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
        s.pageIndex = s.page ? (int)SendMessageA(s.sheet, PSM_HWNDTOINDEX, (WPARAM)s.page, 0) : -1;
    }
    return s;
}

std::string Buttons(HWND sheet)
{
    std::string b;
    if (Usable(GetDlgItem(sheet, kBack)))
        b += "B";
    if (Usable(GetDlgItem(sheet, kNext)))
        b += "N";
    if (Usable(GetDlgItem(sheet, kFinish)))
        b += "F";
    return b;
}

std::string BoxText(HWND box)
{
    std::string text;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (ClassOf(c) == "Static")
            text += WindowText(c);
    return text;
}

RobotResult RunWithRobot(std::vector<Step> steps, const std::function<void()> &body)
{
    Robot robot;
    robot.steps = std::move(steps);
    robot.stepStart = GetTickCount();
    gRobot = &robot;
    UINT_PTR timer = SetTimer(nullptr, 0, 40, RobotTick);
    body();
    KillTimer(nullptr, timer);
    if (!robot.result.failed && robot.result.stepsDone < robot.steps.size()) {
        robot.result.failed = true;
        robot.result.notes.push_back("ended before step " + std::to_string(robot.result.stepsDone) + ": " +
                                     Describe(Look()));
    }
    gRobot = nullptr;
    return robot.result;
}

Step PressOnPage(int pageIndex, const std::string &buttons, int psbtn, std::string *caption)
{
    return [=](const Screen &s) {
        if (!s.sheet || s.license || s.box || s.pageIndex != pageIndex || Buttons(s.sheet) != buttons)
            return false;
        if (caption)
            *caption = WindowText(s.page);
        PostMessageA(s.sheet, PSM_PRESSBUTTON, psbtn, 0);
        return true;
    };
}

Step AnswerLicense(int idButton, std::string *text)
{
    return [=](const Screen &s) {
        if (!s.license || s.box)
            return false;
        if (text)
            *text = WindowText(GetDlgItem(s.license, IDC_LICENSE_TEXT));
        PostMessageA(s.license, WM_COMMAND, MAKEWPARAM(idButton, BN_CLICKED),
                     (LPARAM)GetDlgItem(s.license, idButton));
        return true;
    };
}

Step DismissBox(std::string *caption, std::string *text)
{
    return [=](const Screen &s) {
        if (!s.box)
            return false;
        *caption = WindowText(s.box);
        *text = BoxText(s.box);
        PostMessageA(s.box, WM_COMMAND, IDOK, 0);
        return true;
    };
}

Step OnPage(int pageIndex, std::function<void(const Screen &)> action)
{
    return [=](const Screen &s) {
        if (!s.sheet || s.license || s.box || s.pageIndex != pageIndex)
            return false;
        action(s);
        return true;
    };
}

std::string SourceDir()
{
    char sz[MAX_PATH];
    GetModuleFileNameA(nullptr, sz, sizeof sz);
    *(strrchr(sz, '\\') + 1) = '\0';
    return sz;
}

void WriteFileBytes(const std::string &path, const std::string &bytes)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        return;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

bool ReadFileBytes(const std::string &path, std::string *bytes)
{
    FILE *f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    bytes->clear();
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        bytes->append(buf, n);
    fclose(f);
    return true;
}

bool FileExists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFile(const std::string &path)
{
    DeleteFileA(path.c_str());
}

std::string HostPath(const char *envName, const std::string &tail)
{
    const char *root = getenv(envName);
    std::string p = std::string("Z:") + (root ? root : "") + "/" + tail;
    for (char &c : p)
        if (c == '/')
            c = '\\';
    return p;
}

void DeleteSetupInfo()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Korvel\\Ondavis");
}

void DeleteRunOnceValues()
{
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0,
                      KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(hKey, "GrpConv");
    RegDeleteValueA(hKey, "Wrapper");
    RegCloseKey(hKey);
}

bool KeyExists(HKEY root, const char *key)
{
    HKEY h;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

bool SetupInfoKeyExists()
{
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Korvel\\Ondavis", 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

bool QueryValue(HKEY root, const char *key, const char *name, std::string *data, DWORD *type)
{
    HKEY hKey;
    if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return false;
    DWORD dwType = 0, dwSize = 0;
    LONG l = RegQueryValueExA(hKey, name, nullptr, &dwType, nullptr, &dwSize);
    if (l == ERROR_SUCCESS) {
        data->assign(dwSize, '\0');
        l = RegQueryValueExA(hKey, name, nullptr, &dwType, (LPBYTE)data->data(), &dwSize);
        data->resize(dwSize);
    }
    RegCloseKey(hKey);
    if (type)
        *type = dwType;
    return l == ERROR_SUCCESS;
}

bool TakeQuitMessage()
{
    MSG msg;
    bool bQuit = false;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        bQuit = true;
    return bQuit;
}

void CleanUpRun()
{
    HWND hWnd;
    while ((hWnd = FindWindowA("OndavWClass", nullptr)) != nullptr)
        DestroyWindow(hWnd);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT)
            DispatchMessageA(&msg);
    UnregisterClassA("OndavWClass", GetModuleHandleA(nullptr));
}

}  // namespace setuptest
