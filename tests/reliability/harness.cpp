#include "harness.h"
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace rel {

namespace {

LONG CALLBACK ReportFatal(EXCEPTION_POINTERS* info)
{
    // Only the faults that end a program; C++ exceptions pass through.
    switch (info->ExceptionRecord->ExceptionCode) {
    case EXCEPTION_ACCESS_VIOLATION: case EXCEPTION_INT_DIVIDE_BY_ZERO: case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_STACK_OVERFLOW: case EXCEPTION_ILLEGAL_INSTRUCTION: case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_PRIV_INSTRUCTION:
        std::fprintf(stderr, "CRASH (exception 0x%08lX) in case: %s\n",
                     static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
                     Watchdog::Get().Current().c_str());
        std::fflush(stderr);
        break;
    default:
        break;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

Watchdog::Watchdog() : m_thread([this] { Run(); })
{
    ::AddVectoredExceptionHandler(1, ReportFatal);
}

Watchdog::~Watchdog()
{
    m_stop = true;
    m_thread.join();
}

Watchdog& Watchdog::Get()
{
    static Watchdog dog;
    return dog;
}

void Watchdog::Arm(const std::string& what, DWORD ms)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_what = what;
    m_start = ::GetTickCount();
    m_bound = ms;
    m_armed = true;
}

void Watchdog::Disarm()
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_armed = false;
}

std::string Watchdog::Current()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_armed ? m_what : std::string("(none)");
}

void Watchdog::Run()
{
    while (!m_stop) {
        ::Sleep(50);
        std::lock_guard<std::mutex> hold(m_lock);
        if (m_armed && ::GetTickCount() - m_start > m_bound) {
            std::fprintf(stderr, "HANG: no answer after %lu ms in case: %s\n",
                         static_cast<unsigned long>(m_bound), m_what.c_str());
            std::fflush(stderr);
            ::TerminateProcess(::GetCurrentProcess(), 99);
        }
    }
}

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
