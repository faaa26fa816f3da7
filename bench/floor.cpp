// The floor under the program's start-up: the least a Win32 program does to
// show a painted window that has opened the sound card as the instrument does
// (8-bit stereo at 44 100 frames per second, default device). Without a sound
// device it says so in a box first, as the instrument does. Its window stands
// at the top-left corner, 800 x 572, painted in one colour (red).
#include <windows.h>
#include <mmsystem.h>

namespace {

LRESULT CALLBACK FloorProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(wnd, &ps);
        HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
        ::FillRect(dc, &ps.rcPaint, red);
        ::DeleteObject(red);
        ::EndPaint(wnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcA(wnd, msg, wp, lp);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WAVEFORMATEX format{ WAVE_FORMAT_PCM, 2, 44100, 88200, 2, 8, 0 };
    HWAVEIN wave = nullptr;
    if (::waveInOpen(&wave, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        wave = nullptr;
        ::MessageBoxA(nullptr, "Pas de carte son.", "Ouverture de l'interface audio.", MB_OK);
    }

    WNDCLASSA wc{};
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "OndavFloor";
    ::RegisterClassA(&wc);
    HWND wnd = ::CreateWindowA("OndavFloor", "Plancher", WS_OVERLAPPEDWINDOW, 0, 0, 800, 572,
                               nullptr, nullptr, instance, nullptr);
    ::ShowWindow(wnd, SW_SHOW);
    ::UpdateWindow(wnd);

    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (wave) ::waveInClose(wave);
    return 0;
}
