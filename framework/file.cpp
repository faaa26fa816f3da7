#include "framework/file.h"
#include <algorithm>
#include <cstring>

BOOL CFile::Open(const char* fileName, UINT openFlags, DWORD* error)
{
    Close();
    DWORD access = 0;
    switch (openFlags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    default: access = GENERIC_READ | GENERIC_WRITE; break;
    }
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    switch (openFlags & 0x70) {
    case shareExclusive: share = 0; break;
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    default: break;
    }
    DWORD disposition = OPEN_EXISTING;
    if (openFlags & modeCreate)
        disposition = (openFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    m_hFile = ::CreateFileA(fileName, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) {
        if (error) *error = ::GetLastError();
        return FALSE;
    }
    m_strFileName = fileName;
    return TRUE;
}

UINT CFile::Read(void* buf, UINT count)
{
    DWORD read = 0;
    if (!IsOpen() || !::ReadFile(m_hFile, buf, count, &read, nullptr)) return 0;
    return read;
}

BOOL CFile::Write(const void* buf, UINT count)
{
    DWORD written = 0;
    return IsOpen() && ::WriteFile(m_hFile, buf, count, &written, nullptr) && written == count;
}

BOOL CFile::Flush()
{
    return IsOpen() && ::FlushFileBuffers(m_hFile);
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size{};
    if (!IsOpen() || !::GetFileSizeEx(m_hFile, &size)) return 0;
    return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::Close()
{
    if (IsOpen()) ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

void CArchive::Write(const void* buf, UINT count)
{
    const auto* p = static_cast<const unsigned char*>(buf);
    while (count > 0) {
        if (m_used == kBufferSize) Close();
        UINT n = std::min(count, kBufferSize - m_used);
        std::memcpy(m_buffer + m_used, p, n);
        m_used += n;
        p += n;
        count -= n;
    }
}

void CArchive::Close()
{
    if (m_mode != store || m_used == 0) return;
    UINT n = m_used;
    m_used = 0;
    if (!m_pFile->Write(m_buffer, n)) throw CArchiveException{ CArchiveException::writeFailed };
}

void CArchive::Read(void* buf, UINT count)
{
    auto* p = static_cast<unsigned char*>(buf);
    while (count > 0) {
        if (m_next == m_used) {
            m_used = m_pFile->Read(m_buffer, kBufferSize);
            m_next = 0;
            if (m_used == 0) throw CArchiveException{ CArchiveException::endOfFile };
        }
        UINT n = std::min(count, m_used - m_next);
        std::memcpy(p, m_buffer + m_next, n);
        m_next += n;
        p += n;
        count -= n;
    }
}

CArchive& CArchive::operator<<(int value)
{
    // Always little-endian 32 bits, whatever the machine.
    unsigned u = static_cast<unsigned>(value);
    unsigned char b[4] = { static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                           static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24) };
    Write(b, 4);
    return *this;
}

CArchive& CArchive::operator>>(int& value)
{
    unsigned char b[4];
    Read(b, 4);
    value = static_cast<int>(static_cast<unsigned>(b[0]) | (static_cast<unsigned>(b[1]) << 8) |
                             (static_cast<unsigned>(b[2]) << 16) | (static_cast<unsigned>(b[3]) << 24));
    return *this;
}
