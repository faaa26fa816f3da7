// Answers the modal boxes a test provokes: a thread waits for a dialog of
// this process, records its caption and text, and presses the chosen button.
#pragma once
#include <windows.h>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

class ModalWatcher {
public:
    struct Seen { std::string caption, text; };

    // button: the control id to press (IDOK, IDYES, IDNO, IDCANCEL...).
    explicit ModalWatcher(int button, int timeoutMs = 10000)
        : m_button(button), m_thread([this, timeoutMs] { run(timeoutMs); }) {}
    ~ModalWatcher() { m_stop = true; if (m_thread.joinable()) m_thread.join(); }

    // The boxes answered so far (call after the code that shows them returned).
    std::vector<Seen> seen()
    {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        return m_seen;
    }

private:
    int m_button;
    std::atomic<bool> m_stop{false};
    std::vector<Seen> m_seen;
    std::thread m_thread;

    static BOOL CALLBACK findDialog(HWND h, LPARAM l)
    {
        char cls[16];
        DWORD pid = 0;
        ::GetWindowThreadProcessId(h, &pid);
        if (pid == ::GetCurrentProcessId() && ::GetClassNameA(h, cls, sizeof cls) && !lstrcmpA(cls, "#32770")
            && ::IsWindowVisible(h)) {
            *reinterpret_cast<HWND*>(l) = h;
            return FALSE;
        }
        return TRUE;
    }

    static std::string staticText(HWND dlg)
    {
        // The message text is the static control with id 0xFFFF.
        char buf[2048] = "";
        ::GetDlgItemTextA(dlg, 0xFFFF, buf, sizeof buf);
        return buf;
    }

    void run(int timeoutMs)
    {
        DWORD start = ::GetTickCount();
        while (!m_stop && static_cast<int>(::GetTickCount() - start) < timeoutMs) {
            HWND dlg = nullptr;
            ::EnumWindows(findDialog, reinterpret_cast<LPARAM>(&dlg));
            if (dlg) {
                char caption[256] = "";
                ::GetWindowTextA(dlg, caption, sizeof caption);
                m_seen.push_back({ caption, staticText(dlg) });
                ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(m_button, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(dlg, m_button)));
                ::Sleep(300);   // let it close before looking again
            }
            ::Sleep(20);
        }
    }
};
