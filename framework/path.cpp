#include "framework/path.h"
#include "framework/app.h"
#include <vector>

std::wstring CPathName::FromAnsi(const char* ansi)
{
    if (!ansi || !*ansi) return {};
    int n = ::MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    if (n <= 1) return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide.data(), n);
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

CPathName CPathName::Full() const
{
    if (m_s.empty()) return {};
    DWORD size = ::GetFullPathNameW(m_s.c_str(), 0, nullptr, nullptr);
    if (!size) return *this;
    std::wstring full(size, L'\0');
    size = ::GetFullPathNameW(m_s.c_str(), size, full.data(), nullptr);
    if (!size || size >= full.size()) return *this;
    full.resize(size);
    return full;
}

CPathName CPathName::FileName() const
{
    size_t cut = m_s.find_last_of(L"\\/:");
    return cut == std::wstring::npos ? m_s : m_s.substr(cut + 1);
}

CPathName CPathName::Folder() const
{
    size_t cut = m_s.find_last_of(L"\\/");
    if (cut == std::wstring::npos) return {};
    // C:\name keeps its root: the folder is C:\ .
    return m_s.substr(0, cut == 2 && m_s[1] == L':' ? cut + 1 : cut);
}

std::string CPathName::Utf8() const
{
    int n = ::WideCharToMultiByte(CP_UTF8, 0, m_s.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string s(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, m_s.c_str(), -1, s.data(), n, nullptr, nullptr);
    s.resize(static_cast<size_t>(n - 1));
    return s;
}

bool CPathName::SameFile(const CPathName& other) const
{
    return ::CompareStringOrdinal(m_s.c_str(), -1, other.m_s.c_str(), -1, TRUE) == CSTR_EQUAL;
}

int AfxMessageBoxName(UINT idFormat, const std::wstring& name, UINT type, const std::wstring& detail)
{
    const wchar_t* res = nullptr;
    int n = ::LoadStringW(AfxGetResourceHandle(), idFormat, reinterpret_cast<LPWSTR>(&res), 0);
    std::wstring text = n > 0 ? std::wstring(res, static_cast<size_t>(n)) : std::wstring(L"%s");
    size_t at = text.find(L"%s");
    if (at != std::wstring::npos) text.replace(at, 2, name);
    if (at != std::wstring::npos && (at = text.find(L"%s", at + name.size())) != std::wstring::npos)
        text.replace(at, 2, detail);
    CWinApp* app = AfxGetApp();
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    if (owner && !::IsWindowEnabled(owner)) owner = ::GetActiveWindow();
    return ::MessageBoxW(owner, text.c_str(), CPathName::FromAnsi(AfxGetAppName()).c_str(), type);
}
