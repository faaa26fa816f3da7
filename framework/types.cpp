#include "framework/types.h"
#include "framework/app.h"
#include <cstdio>
#include <vector>

int CString::Find(char c, int start) const
{
    size_t p = m_s.find(c, static_cast<size_t>(start));
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::ReverseFind(char c) const
{
    size_t p = m_s.rfind(c);
    return p == std::string::npos ? -1 : static_cast<int>(p);
}

CString CString::Left(int n) const
{
    return CString(m_s.substr(0, static_cast<size_t>(n < 0 ? 0 : n)));
}

CString CString::Mid(int first, int n) const
{
    if (first < 0) first = 0;
    if (static_cast<size_t>(first) >= m_s.size()) return CString();
    return CString(n < 0 ? m_s.substr(static_cast<size_t>(first))
                         : m_s.substr(static_cast<size_t>(first), static_cast<size_t>(n)));
}

void CString::FormatV(const char* fmt, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (n < 0) { m_s.clear(); return; }
    std::vector<char> buf(static_cast<size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), fmt, args);
    m_s.assign(buf.data(), static_cast<size_t>(n));
}

void CString::Format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
}

BOOL CString::LoadString(UINT id)
{
    // A string resource may be long (the prompts are); grow until it fits.
    for (int size = 256; size <= 65536; size *= 4) {
        std::vector<char> buf(static_cast<size_t>(size));
        int n = ::LoadStringA(AfxGetResourceHandle(), id, buf.data(), size);
        if (n <= 0) { m_s.clear(); return FALSE; }
        if (n < size - 1) { m_s.assign(buf.data(), static_cast<size_t>(n)); return TRUE; }
    }
    return FALSE;
}
