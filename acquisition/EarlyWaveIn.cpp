#include "acquisition/EarlyWaveIn.h"
#include <cstring>

HANDLE CEarlyWaveIn::s_hThread = nullptr;
WAVEFORMATEX CEarlyWaveIn::s_format{};
HWAVEIN CEarlyWaveIn::s_hWaveIn = nullptr;
MMRESULT CEarlyWaveIn::s_result = MMSYSERR_ERROR;

DWORD WINAPI CEarlyWaveIn::OpenProc(LPVOID)
{
    s_result = ::waveInOpen(&s_hWaveIn, WAVE_MAPPER, &s_format, 0, 0, CALLBACK_NULL);
    if (s_result != MMSYSERR_NOERROR) s_hWaveIn = nullptr;
    return 0;
}

void CEarlyWaveIn::Start(const WAVEFORMATEX& format)
{
    if (s_hThread) return;
    s_format = format;
    s_format.cbSize = 0;
    s_hThread = ::CreateThread(nullptr, 0, OpenProc, nullptr, 0, nullptr);
}

void CEarlyWaveIn::Join()
{
    ::WaitForSingleObject(s_hThread, INFINITE);
    ::CloseHandle(s_hThread);
    s_hThread = nullptr;
}

BOOL CEarlyWaveIn::Take(UINT device, const WAVEFORMATEX& format, DWORD_PTR callback, DWORD_PTR instance,
                        DWORD flags, HWAVEIN* handle, MMRESULT* result)
{
    if (!s_hThread) return FALSE;
    const bool same = device == WAVE_MAPPER && callback == 0 && instance == 0 && flags == CALLBACK_NULL &&
                      format.cbSize == 0 && std::memcmp(&format, &s_format, sizeof(PCMWAVEFORMAT)) == 0;
    if (!same) {
        Discard();   // the card may take one open only: leave it to the caller
        return FALSE;
    }
    Join();
    *handle = s_hWaveIn;
    *result = s_result;
    s_hWaveIn = nullptr;
    return TRUE;
}

void CEarlyWaveIn::Discard()
{
    if (s_hThread) Join();
    if (s_hWaveIn) ::waveInClose(s_hWaveIn);
    s_hWaveIn = nullptr;
}
