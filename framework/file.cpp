#include "framework/file.h"
#include <algorithm>
#include <cctype>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <vector>

BOOL CFile::Open(const CPathName& fileName, UINT openFlags, DWORD* error)
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
    m_hFile = ::CreateFileW(fileName.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) {
        if (error) *error = ::GetLastError();
        return FALSE;
    }
    m_strFileName = fileName;
    return TRUE;
}

BOOL CFile::IsDevicePath(const CPathName& path)
{
    std::wstring p = path.wstr();
    std::replace(p.begin(), p.end(), L'/', L'\\');
    // \\.\ names a device; \\?\ is the long form of a disk path only before
    // a drive or UNC.
    if (p.rfind(L"\\\\.\\", 0) == 0) return TRUE;
    if (p.rfind(L"\\\\?\\", 0) == 0) {
        std::wstring rest = p.substr(4);
        bool drive = rest.size() >= 3 && std::iswalpha(rest[0]) && rest[1] == L':' && rest[2] == L'\\';
        if (!drive && _wcsnicmp(rest.c_str(), L"UNC\\", 4) != 0) return TRUE;
    }
    // The last name, without what follows its first dot or trailing blanks:
    // C:\x\com1.osc is the device COM1.
    size_t cut = p.find_last_of(L"\\:");
    std::wstring name = p.substr(cut == std::wstring::npos ? 0 : cut + 1);
    name = name.substr(0, name.find(L'.'));
    while (!name.empty() && name.back() == L' ') name.pop_back();
    for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
    static const wchar_t* const kDevices[] = { L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$", L"CLOCK$" };
    for (const wchar_t* d : kDevices)
        if (name == d) return TRUE;
    // COM0 to COM9 and LPT0 to LPT9, with the superscript digits too.
    static const wchar_t kDigits[] = L"0123456789\u00B9\u00B2\u00B3";
    return name.size() == 4 && (name.rfind(L"COM", 0) == 0 || name.rfind(L"LPT", 0) == 0) &&
           std::wcschr(kDigits, name[3]) != nullptr;
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

ULONGLONG CFile::Seek(LONGLONG offset, UINT from)
{
    LARGE_INTEGER distance, position{};
    distance.QuadPart = offset;
    if (!IsOpen() || !::SetFilePointerEx(m_hFile, distance, &position, from)) return static_cast<ULONGLONG>(-1);
    return static_cast<ULONGLONG>(position.QuadPart);
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

// ---------------------------------------------------------------- replacement file

namespace {

// The full path in its long form (\\?\), which lifts the MAX_PATH limit.
std::wstring ExtendedPath(const CPathName& path)
{
    const std::wstring& wide = path.wstr();
    if (wide.empty()) return {};
    DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (!size) return {};
    std::wstring full(size, L'\0');
    size = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    full.resize(size);
    if (full.rfind(L"\\\\?\\", 0) == 0) return full;
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

} // namespace

CReplacementFile::CReplacementFile(const CPathName& targetPath) : m_target(ExtendedPath(targetPath)) {}

BOOL CReplacementFile::Open()
{
    size_t slash = m_target.find_last_of(L'\\');
    if (m_target.empty() || slash == std::wstring::npos) return FALSE;
    const std::wstring folder = m_target.substr(0, slash + 1);
    DWORD seed = ::GetCurrentProcessId() * 2654435761u ^ ::GetTickCount();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring side = folder + SideFileName(static_cast<WORD>(seed + static_cast<DWORD>(attempt) * 7919u));
        // CREATE_NEW: a name already taken is someone else's file; try another.
        HANDLE h = ::CreateFileW(side.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            DWORD error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            return FALSE;
        }
        m_file.m_hFile = h;
        m_side = side;
        MarkForDeletion(TRUE);
        return TRUE;
    }
    return FALSE;
}

namespace {
// A side file's name carries its own check: ~ond, four random hex digits,
// four derived from them, .tmp. Another program's or a user's file of the
// same pattern has one chance in 65536 of passing.
WORD SideFileCheck(WORD random) { return static_cast<WORD>((random * 40503u) ^ 0x4F4Eu); }

bool IsSideFileName(const wchar_t* name)
{
    if (std::wcslen(name) != 16 || _wcsnicmp(name, L"~ond", 4) || _wcsicmp(name + 12, L".tmp")) return false;
    for (int i = 4; i < 12; ++i)
        if (!std::iswxdigit(name[i])) return false;
    unsigned long digits = std::wcstoul(std::wstring(name + 4, 8).c_str(), nullptr, 16);
    return SideFileCheck(static_cast<WORD>(digits >> 16)) == static_cast<WORD>(digits);
}

// What a save leaves when killed: nothing yet, some whole buffers of the
// archive, or the complete document.
bool IsSideFileSize(ULONGLONG size, ULONGLONG documentSize)
{
    return size == documentSize || (size < documentSize && size % 4096 == 0);
}

// The handle's file is the very one at path: not reached through a symbolic
// link or junction (of the file or of a folder above it).
bool IsReachedDirectly(HANDLE h, const std::wstring& path)
{
    std::wstring final(32768, L'\0');
    DWORD n = ::GetFinalPathNameByHandleW(h, final.data(), static_cast<DWORD>(final.size()), FILE_NAME_NORMALIZED);
    if (!n || n >= final.size()) return false;
    final.resize(n);
    return ::CompareStringOrdinal(final.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL;
}
} // namespace

std::wstring CReplacementFile::SideFileName(WORD random)
{
    wchar_t name[32];
    std::swprintf(name, 32, L"~ond%04x%04x.tmp", static_cast<unsigned>(random), static_cast<unsigned>(SideFileCheck(random)));
    return name;
}

// A process killed at the wrong instant (just after creating its side file,
// or between keeping it and renaming it) leaves the side file behind. The
// next save in the folder removes it when it is certainly one: its name
// passes its check, nobody holds it open, it is a plain file with one name,
// reached directly (never through a link), of a size a save leaves.
void CReplacementFile::RemoveAbandoned(const std::wstring& folder, ULONGLONG documentSize)
{
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((folder + L"~ond*.tmp").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (!IsSideFileName(found.cFileName) ||
            (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
            continue;
        const std::wstring path = folder + found.cFileName;
        // No sharing: only if no save is using it.
        HANDLE h = ::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h == INVALID_HANDLE_VALUE) continue;
        BY_HANDLE_FILE_INFORMATION info{};
        if (::GetFileInformationByHandle(h, &info) &&
            !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
            info.nNumberOfLinks == 1 &&
            IsSideFileSize((static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow, documentSize) &&
            IsReachedDirectly(h, path)) {
            FILE_DISPOSITION_INFO remove{ TRUE };
            ::SetFileInformationByHandle(h, FileDispositionInfo, &remove, sizeof remove);
        }
        ::CloseHandle(h);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
}

BOOL CReplacementFile::MarkForDeletion(BOOL remove)
{
    FILE_DISPOSITION_INFO info{};
    info.DeleteFile = remove ? TRUE : FALSE;
    BOOL ok = ::SetFileInformationByHandle(m_file.m_hFile, FileDispositionInfo, &info, sizeof info);
    m_bMarked = ok && remove;
    return ok;
}

BOOL CReplacementFile::Commit()
{
    if (!m_file.IsOpen() || !m_file.Flush()) return FALSE;
    const ULONGLONG size = m_file.GetLength();
    // Kept from here on; if the replacement fails it is marked again. The
    // rename goes through the open handle: one call, so a process killed
    // between the two leaves nothing behind but in the rarest case.
    if (m_bMarked && !MarkForDeletion(FALSE)) return FALSE;
    if (!RenameOverTarget() &&
        !::MoveFileExW(m_side.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        MarkForDeletion(TRUE);
        return FALSE;
    }
    m_side.clear();
    m_file.Close();
    RemoveAbandoned(m_target.substr(0, m_target.find_last_of(L'\\') + 1), size);
    return TRUE;
}

BOOL CReplacementFile::RenameOverTarget()
{
    // The kernel's form of the path: \??\ in place of \\?\.
    std::wstring nt = L"\\??\\" + m_target.substr(4);
    std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + nt.size() * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nt.size() * sizeof(wchar_t));
    std::memcpy(info->FileName, nt.c_str(), nt.size() * sizeof(wchar_t));
    return ::SetFileInformationByHandle(m_file.m_hFile, FileRenameInfo, info, static_cast<DWORD>(buffer.size()));
}

void CReplacementFile::Discard()
{
    if (!m_file.IsOpen()) return;
    if (!m_bMarked) MarkForDeletion(TRUE);
    bool marked = m_bMarked;
    m_file.Close();
    if (!marked && !m_side.empty()) ::DeleteFileW(m_side.c_str());
    m_side.clear();
}
