// Answers the modal boxes a test provokes: a thread waits for a dialog of
// this process, records its caption and text, and presses the chosen button.
#pragma once
#include "support/Boxes.h"
#include <windows.h>
#include <atomic>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

class ModalWatcher {
public:
    struct Seen {
        std::string caption, text;
        std::vector<int> checked;   // ids of the check and radio buttons that were set
    };

    // button: the control id to press (IDOK, IDYES, IDNO, IDCANCEL...).
    explicit ModalWatcher(int button, int timeoutMs = 10000) : ModalWatcher({ button }, timeoutMs) {}
    // buttons: pressed in order in each dialog (a radio button, then OK...).
    ModalWatcher(std::initializer_list<int> buttons, int timeoutMs = 10000)
        : m_buttons(buttons), m_thread([this, timeoutMs] { run(timeoutMs); }) {}
    ~ModalWatcher() { m_stop = true; if (m_thread.joinable()) m_thread.join(); }

    // The boxes answered so far (call after the code that shows them returned).
    std::vector<Seen> seen()
    {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        return m_seen;
    }

private:
    std::vector<int> m_buttons;
    std::atomic<bool> m_stop{false};
    std::vector<Seen> m_seen;
    std::vector<HWND> m_answered;
    std::thread m_thread;

    void run(int timeoutMs)
    {
        DWORD start = ::GetTickCount();
        while (!m_stop && static_cast<int>(::GetTickCount() - start) < timeoutMs) {
            const std::vector<HWND> boxes = VisibleBoxes(::GetCurrentProcessId());
            HWND dlg = boxes.empty() ? nullptr : boxes.front();
            // A box already answered may take a moment to go away.
            bool answered = false;
            for (HWND h : m_answered) answered = answered || h == dlg;
            if (dlg && !answered) {
                m_answered.push_back(dlg);
                Seen seen{ WindowTextOf(dlg), BoxText(dlg), {} };
                for (HWND c = ::GetWindow(dlg, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
                    if (::SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED) seen.checked.push_back(::GetDlgCtrlID(c));
                m_seen.push_back(seen);
                for (int button : m_buttons) {
                    HWND control = ::GetDlgItem(dlg, button);
                    if (control && button != IDOK && button != IDCANCEL && button != IDYES && button != IDNO)
                        ::SendMessageA(control, BM_CLICK, 0, 0);   // radio and check boxes: a real click
                    else
                        ::PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
                    ::Sleep(50);
                }
                ::Sleep(300);   // let it close before looking again
            }
            ::Sleep(20);
        }
    }
};
