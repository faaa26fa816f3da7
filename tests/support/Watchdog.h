// Ends the whole test program, naming the case, when the scope it guards has
// not ended within its bound: a hang must fail the run, not block it. A crash
// inside a guarded scope is reported with the same name.
#pragma once
#include <windows.h>
#include <cstdio>
#include <string>

class Watchdog {
public:
    Watchdog(DWORD ms, std::string what) : m_ms(ms), m_what(std::move(what)), m_outer(t_current)
    {
        static PVOID handler = ::AddVectoredExceptionHandler(1, ReportFatal);
        (void)handler;
        t_current = this;
        m_done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = ::CreateThread(nullptr, 0, Watch, this, 0, nullptr);
    }
    ~Watchdog()
    {
        ::SetEvent(m_done);
        ::WaitForSingleObject(m_thread, INFINITE);
        ::CloseHandle(m_thread);
        ::CloseHandle(m_done);
        t_current = m_outer;
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // The case the innermost watchdog of this thread guards.
    static std::string Current() { return t_current ? t_current->m_what : std::string("(none)"); }

private:
    static DWORD WINAPI Watch(LPVOID self)
    {
        auto* w = static_cast<Watchdog*>(self);
        if (::WaitForSingleObject(w->m_done, w->m_ms) == WAIT_TIMEOUT) {
            std::fprintf(stderr, "HANG: no answer after %lu ms in case: %s\n",
                         static_cast<unsigned long>(w->m_ms), w->m_what.c_str());
            std::fflush(stderr);
            ::TerminateProcess(::GetCurrentProcess(), 99);
        }
        return 0;
    }
    static LONG CALLBACK ReportFatal(EXCEPTION_POINTERS* info)
    {
        // Only the faults that end a program; C++ exceptions pass through.
        switch (info->ExceptionRecord->ExceptionCode) {
        case EXCEPTION_ACCESS_VIOLATION: case EXCEPTION_INT_DIVIDE_BY_ZERO: case EXCEPTION_INT_OVERFLOW:
        case EXCEPTION_STACK_OVERFLOW: case EXCEPTION_ILLEGAL_INSTRUCTION: case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
        case EXCEPTION_PRIV_INSTRUCTION:
            std::fprintf(stderr, "CRASH (exception 0x%08lX) in case: %s\n",
                         static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode), Current().c_str());
            std::fflush(stderr);
            break;
        default:
            break;
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    DWORD m_ms;
    std::string m_what;
    Watchdog* m_outer;
    HANDLE m_done = nullptr;
    HANDLE m_thread = nullptr;
    static inline thread_local Watchdog* t_current = nullptr;
};
