// The sound card opened ahead, on a thread of its own, while the program
// builds its windows: under Wine the audio system's start takes about as long
// as everything else before the first paint, and the two need not wait for
// each other. The view still decides what the open means (its message, its
// failure flag) at the point where it opens the device itself.
#pragma once
#include <windows.h>
#include <mmsystem.h>

class CEarlyWaveIn {
public:
    // Starts waveInOpen(WAVE_MAPPER, format, no callback) on a worker thread.
    static void Start(const WAVEFORMATEX& format);
    // If an early open with exactly these arguments was started: waits for it,
    // hands over its handle and result and returns TRUE. Otherwise FALSE, and
    // the caller opens the device itself.
    static BOOL Take(UINT device, const WAVEFORMATEX& format, DWORD_PTR callback, DWORD_PTR instance,
                     DWORD flags, HWAVEIN* handle, MMRESULT* result);
    // Closes a device opened ahead that nobody took (the program ended first).
    static void Discard();

private:
    static DWORD WINAPI OpenProc(LPVOID);
    static void Join();
    static HANDLE s_hThread;
    static WAVEFORMATEX s_format;
    static HWAVEIN s_hWaveIn;
    static MMRESULT s_result;
};
