// Binary files and the archive that documents serialize through.
#pragma once
#include "framework/path.h"
#include <string>

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000, modeWrite = 0x0001, modeReadWrite = 0x0002,
        shareCompat = 0x0000, shareExclusive = 0x0010, shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030, shareDenyNone = 0x0040,
        modeCreate = 0x1000, modeNoTruncate = 0x2000,
    };
    HANDLE m_hFile = INVALID_HANDLE_VALUE;

    CFile() = default;
    ~CFile() { Close(); }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens with the flags above; FALSE (and the Win32 error in *error) on failure.
    BOOL Open(const CPathName& fileName, UINT openFlags, DWORD* error = nullptr);
    BOOL IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }
    // Reads up to count bytes; returns how many were read (0 at the end or when not open).
    UINT Read(void* buf, UINT count);
    // Writes all count bytes; FALSE if they could not all be written.
    BOOL Write(const void* buf, UINT count);
    BOOL Flush();
    enum SeekPosition : UINT { begin = FILE_BEGIN, current = FILE_CURRENT, end = FILE_END };
    // Moves the file pointer; returns the new position, or (ULONGLONG)-1 on failure.
    ULONGLONG Seek(LONGLONG offset, UINT from = begin);
    ULONGLONG GetLength() const;
    void Close();
    const CPathName& GetFilePath() const { return m_strFileName; }
    // Whether path names a device (COM1, NUL, com1.osc, \\.\...) rather than a file.
    static BOOL IsDevicePath(const CPathName& path);

private:
    CPathName m_strFileName;
};

// A new file written beside a target and put in its place only once complete.
// Its name (~ondRRRRCCCC.tmp, CCCC a check of RRRR) is new and unique in the target's folder, so it
// never takes a file it did not write; until committed the system deletes it
// by itself, even when the process is killed. Paths may exceed MAX_PATH.
class CReplacementFile {
public:
    explicit CReplacementFile(const CPathName& targetPath);
    ~CReplacementFile() { Discard(); }
    CReplacementFile(const CReplacementFile&) = delete;
    CReplacementFile& operator=(const CReplacementFile&) = delete;

    BOOL Open();                       // creates the side file, open for writing
    CFile& File() { return m_file; }
    BOOL Commit();                     // flushes it and puts it in place of the target
    void Discard();                    // removes it (nothing happens after a commit)
    // The name of a side file: random with its check appended.
    static std::wstring SideFileName(WORD random);

private:
    // Removes the side files that killed saves left in folder; documentSize
    // is what a complete one holds.
    static void RemoveAbandoned(const std::wstring& folder, ULONGLONG documentSize);
    BOOL MarkForDeletion(BOOL remove);
    BOOL RenameOverTarget();
    std::wstring m_target, m_side;
    CFile m_file;
    BOOL m_bMarked = FALSE;
};

// Thrown by CArchive and caught by the framework's document code.
struct CArchiveException {
    enum Cause { endOfFile, writeFailed };
    Cause m_cause;
};

// Little-endian binary stream over a CFile: what documents serialize through.
// It is buffered; a storing archive must be closed (Close) to write its tail.
class CArchive {
public:
    enum Mode { load = 1, store = 0 };
    CArchive(CFile* file, Mode mode) : m_pFile(file), m_mode(mode) {}
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    // Writes what is still buffered; throws CArchiveException::writeFailed.
    void Close();
    BOOL IsStoring() const { return m_mode == store; }
    BOOL IsLoading() const { return m_mode == load; }
    CFile* GetFile() const { return m_pFile; }

    CArchive& operator<<(int value);
    CArchive& operator>>(int& value);
    void Write(const void* buf, UINT count);
    // Reads exactly count bytes or throws CArchiveException::endOfFile.
    void Read(void* buf, UINT count);

private:
    static constexpr UINT kBufferSize = 4096;
    CFile* m_pFile;
    Mode m_mode;
    unsigned char m_buffer[kBufferSize];
    UINT m_used = 0;   // bytes buffered (store) or read into the buffer (load)
    UINT m_next = 0;   // next byte to hand out (load)
};
