// Keeps Wine's desktop process up between the start-ups the benchmark times
// in its "desktop up" state. Wine ends that process about a second after the
// last program using the desktop has ended; this one uses it, shows nothing,
// and waits to be ended.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    ::GetDesktopWindow();
    ::Sleep(INFINITE);
    return 0;
}
