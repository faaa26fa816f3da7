// The capture engine: one wave-in device opened for the whole run, one
// 8000-byte buffer with one header, no completion callback. The measurement
// cycle arms the buffer and reads it back a fixed wait later.
#include "acquisition/OndavView.h"
#include "acquisition/EarlyWaveIn.h"
#include "resource.h"
#include <cstring>

namespace {

const char kOpenFailedText[] =
    "Impossible d'ouvrir l'interface audio! Soit celle-ci n'est pas compatible, soit elle est "
    "déjà utilisée par une autre application. Fermez l'Ondavis, fermez l'application utilisant "
    "l'interface et réessayez.  ";
const char kOpenFailedCaption[] = "Ouverture de l'interface audio.";
const char kSoundProblemText[] =
    "Un problème est survenu au cours de l'utilisation de l'interface son. Fermez l'Ondavis est "
    "réessayez.";

} // namespace

WAVEFORMATEX COndavView::CaptureFormat(DWORD sampleRate)
{
    WAVEFORMATEX format;
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = sampleRate;
    format.wBitsPerSample = 8;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = sampleRate * 2;
    format.cbSize = 0;
    return format;
}

void COndavView::SetupCapture()
{
    m_waveFormat = CaptureFormat(m_nSampleRate);

    m_nCaptureBufLen = kCaptureBufferBytes;
    m_pCaptureBuf = m_captureBuf;
    std::memset(m_captureBuf, 128, sizeof(m_captureBuf));   // silence until the driver writes
    // The view is not zero-allocated: clear the header so the driver never
    // sees stale flags or links in the fields we do not use.
    std::memset(&m_waveHdr, 0, sizeof(m_waveHdr));
    m_waveHdr.lpData = reinterpret_cast<LPSTR>(m_pCaptureBuf);
    m_waveHdr.dwBufferLength = m_nCaptureBufLen;
    m_waveHdr.dwFlags = 0;
    m_pWaveHdr = &m_waveHdr;
    m_nWaveHdrSize = sizeof(WAVEHDR);

    m_hWaveIn = nullptr;
    m_phWaveIn = &m_hWaveIn;
    m_nWaveDevice = WAVE_MAPPER;
    m_pWaveFormat = &m_waveFormat;
    m_dwCallback = 0;
    m_dwCallbackInstance = 0;
    m_dwOpenFlags = CALLBACK_NULL;
}

void COndavView::OpenCapture()
{
    // The application may have started this very open ahead (CEarlyWaveIn).
    if (!CEarlyWaveIn::Take(m_nWaveDevice, *m_pWaveFormat, m_dwCallback, m_dwCallbackInstance, m_dwOpenFlags,
                            m_phWaveIn, &m_mmResult))
        m_mmResult = ::waveInOpen(m_phWaveIn, m_nWaveDevice, m_pWaveFormat, m_dwCallback,
                                  m_dwCallbackInstance, m_dwOpenFlags);
    if (m_mmResult == MMSYSERR_NOERROR) return;
    m_hWaveIn = nullptr;   // whatever the failed call left there is no device
    // The view has no window yet: the box has no owner.
    CBoxHelp help(IDH_MSG_OUVERTURE_AUDIO);
    ::MessageBoxA(nullptr, kOpenFailedText, kOpenFailedCaption, MB_OK);
    m_bAudioFailed = TRUE;
}

// Queues the buffer and (re)starts recording; each call is made whatever the
// previous one returned, and each failure is reported on its own.
void COndavView::ArmCapture()
{
    m_mmResult = ::waveInPrepareHeader(m_hWaveIn, m_pWaveHdr, m_nWaveHdrSize);
    CheckSoundCall();
    m_mmResult = ::waveInAddBuffer(m_hWaveIn, m_pWaveHdr, m_nWaveHdrSize);
    CheckSoundCall();
    m_mmResult = ::waveInStart(m_hWaveIn);
    CheckSoundCall();
}

// After a failed wave-in call: stop the timer first, so that no tick comes
// while the box is open, then tell the user and refuse to measure from now on.
void COndavView::CheckSoundCall()
{
    if (m_mmResult == MMSYSERR_NOERROR) return;
    if (m_bRunning) {
        KillTimer(kMeasureTimer);
        m_bRunning = FALSE;
    }
    // At exit the window is already going: the box then stands on its own.
    CBoxHelp help(IDH_MSG_INTERFACE_SON);
    if (::IsWindowVisible(m_hWnd)) MessageBox(kSoundProblemText);
    else ::MessageBoxA(nullptr, kSoundProblemText, AfxGetAppName(), MB_OK);
    m_bAudioFailed = TRUE;
}

int COndavView::ConvertSample(BYTE raw)
{
    // Unsigned 8-bit PCM read so that the mid-scale byte 128 gives +1.
    m_nSample = static_cast<int>(raw) - 127;
    return m_nSample;
}

// Converts the whole buffer, whatever the driver has written into it: the
// left channel's byte comes first in each frame, the right channel's second.
void COndavView::CollectFrame()
{
    m_nByteIndex = 0;
    m_iRight = m_iLeft = m_iSum = m_iDiff = 0;
    for (;;) {
        m_aLeft[m_iLeft] = ConvertSample(m_captureBuf[m_nByteIndex]);
        ++m_nByteIndex;
        m_aRight[m_iRight] = ConvertSample(m_captureBuf[m_nByteIndex]);
        m_aSum[m_iSum] = m_aRight[m_iRight] + m_aLeft[m_iLeft];
        m_aDiff[m_iDiff] = m_aRight[m_iRight] - m_aLeft[m_iLeft];
        if (m_nByteIndex >= static_cast<int>(m_nCaptureBufLen) - 1) break;
        ++m_nByteIndex;
        ++m_iRight; ++m_iLeft; ++m_iSum; ++m_iDiff;
    }
}

// Gives the buffer back and unprepares its header, so that the close cannot
// fail only because the buffer is still queued with the driver.
void COndavView::ReleaseCaptureBuffer()
{
    if (!m_hWaveIn) return;
    ::waveInReset(m_hWaveIn);
    if (m_waveHdr.dwFlags & WHDR_PREPARED)
        ::waveInUnprepareHeader(m_hWaveIn, m_pWaveHdr, m_nWaveHdrSize);
}

void COndavView::CloseCapture()
{
    if (!m_bDeviceOpen) return;
    ReleaseCaptureBuffer();
    m_mmResult = ::waveInClose(m_hWaveIn);
    CheckSoundCall();
    m_hWaveIn = nullptr;
    m_bDeviceOpen = FALSE;
}
