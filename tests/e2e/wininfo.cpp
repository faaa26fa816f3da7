// Prints where the windows of a running Ondavis stand, in screen coordinates,
// read through Win32 from outside the program:
//   client L T R B            the main window's client area
//   toolbar|view|status V L T R B    V: 1 shown, 0 hidden
//   float V L T R B TITLE     the floating toolbar's own window, if it has one
//   tip L T R B               a tooltip of the program on screen
//   foreground TITLE          the window the user works in
// Usage: wininfo.exe "MAIN WINDOW TITLE"
#include <windows.h>
#include <commctrl.h>
#include <cstdio>

namespace {
HWND g_frame = nullptr;

void print(const char* name, HWND h)
{
    RECT r{};
    ::GetWindowRect(h, &r);
    std::printf("%s %d %ld %ld %ld %ld\n", name, ::IsWindowVisible(h) ? 1 : 0, r.left, r.top, r.right, r.bottom);
}

BOOL CALLBACK child(HWND h, LPARAM)
{
    static const struct { int id; const char* name; } known[] = {
        { 0xE800, "toolbar" }, { 0xE801, "status" }, { 0xE900, "view" },
    };
    for (const auto& k : known)
        if (::GetDlgCtrlID(h) == k.id) print(k.name, h);
    return TRUE;
}

BOOL CALLBACK floating(HWND h, LPARAM)
{
    if (::GetWindow(h, GW_OWNER) != g_frame || (::GetWindowLongA(h, GWL_STYLE) & WS_CAPTION) != WS_CAPTION) return TRUE;
    char title[128] = "";
    ::GetWindowTextA(h, title, sizeof title);
    RECT r{};
    ::GetWindowRect(h, &r);
    std::printf("float %d %ld %ld %ld %ld %s\n", ::IsWindowVisible(h) ? 1 : 0, r.left, r.top, r.right, r.bottom, title);
    ::EnumChildWindows(h, child, 0);
    return TRUE;
}
BOOL CALLBACK tip(HWND h, LPARAM)
{
    char cls[32] = "";
    DWORD pid = 0, framePid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    ::GetWindowThreadProcessId(g_frame, &framePid);
    if (pid != framePid || !::IsWindowVisible(h) || !::GetClassNameA(h, cls, sizeof cls) || lstrcmpiA(cls, TOOLTIPS_CLASSA))
        return TRUE;
    RECT r{};
    ::GetWindowRect(h, &r);
    std::printf("tip %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return TRUE;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    g_frame = ::FindWindowA(nullptr, argv[1]);
    if (!g_frame) { std::printf("no window titled %s\n", argv[1]); return 1; }
    RECT c{};
    ::GetClientRect(g_frame, &c);
    ::MapWindowPoints(g_frame, nullptr, reinterpret_cast<POINT*>(&c), 2);
    std::printf("client %ld %ld %ld %ld\n", c.left, c.top, c.right, c.bottom);
    ::EnumChildWindows(g_frame, child, 0);
    ::EnumWindows(floating, 0);
    ::EnumWindows(tip, 0);
    char title[128] = "";
    ::GetWindowTextA(::GetForegroundWindow(), title, sizeof title);
    std::printf("foreground %s\n", title);
    return 0;
}
