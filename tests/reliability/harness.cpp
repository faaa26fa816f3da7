#include "harness.h"
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace rel {

namespace {
thread_local BoxCatcher* t_catcher = nullptr;
}

BoxCatcher::BoxCatcher() : m_previous(t_catcher)
{
    t_catcher = this;
    m_hook = ::SetWindowsHookExA(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
}

BoxCatcher::~BoxCatcher()
{
    ::UnhookWindowsHookEx(m_hook);
    t_catcher = m_previous;
}

LRESULT CALLBACK BoxCatcher::Hook(int code, WPARAM w, LPARAM l)
{
    if (code == HCBT_ACTIVATE && t_catcher) {
        HWND box = reinterpret_cast<HWND>(w);
        char cls[16] = "";
        // Message boxes only: a file dialog has a name box to type in.
        bool message = !::FindWindowExA(box, nullptr, "Edit", nullptr) && !::FindWindowExA(box, nullptr, "ComboBox", nullptr) &&
                       !::FindWindowExA(box, nullptr, "ComboBoxEx32", nullptr);
        if (message && ::GetClassNameA(box, cls, sizeof cls) && !lstrcmpA(cls, "#32770")) {
            char text[2048] = "";
            ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);   // the message text
            t_catcher->texts.emplace_back(text);
            ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
    return ::CallNextHookEx(nullptr, code, w, l);
}

std::vector<BYTE> ReadBytes(const std::string& path, bool* exists)
{
    std::ifstream in(path, std::ios::binary);
    if (exists) *exists = in.is_open();
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

bool WriteBytes(const std::string& path, const std::vector<BYTE>& bytes)
{
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = bytes.empty() || ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(h);
    return ok && written == bytes.size();
}

std::string FreshFolder(const char* name)
{
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    std::string folder = std::string(dir) + name;
    RemoveTree(folder);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::string n = fd.cFileName;
        if (n != "." && n != "..") names.push_back(n);
    } while (::FindNextFileA(find, &fd));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveTree(const std::string& folder)
{
    for (const std::string& n : FolderNames(folder)) {
        std::string path = folder + "\\" + n;
        DWORD a = ::GetFileAttributesA(path.c_str());
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY)) RemoveTree(path);
        else ::DeleteFileA(path.c_str());
    }
    ::RemoveDirectoryA(folder.c_str());
}

std::string EnvPath(const char* variable)
{
    const char* v = std::getenv(variable);
    if (!v || !*v) return {};
    std::string path = v;
    if (path[0] == '/') path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

} // namespace rel
