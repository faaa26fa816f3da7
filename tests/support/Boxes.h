// The dialog boxes of a process as the tests find them: visible windows of
// the dialog class, with their caption and message text.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct BoxSearch {
    DWORD pid;
    std::vector<HWND> boxes;
};

inline BOOL CALLBACK CollectBox(HWND h, LPARAM l)
{
    auto* s = reinterpret_cast<BoxSearch*>(l);
    char cls[16] = "";
    DWORD owner = 0;
    ::GetWindowThreadProcessId(h, &owner);
    if (owner == s->pid && ::GetClassNameA(h, cls, sizeof cls) && !lstrcmpA(cls, "#32770") && ::IsWindowVisible(h))
        s->boxes.push_back(h);
    return TRUE;
}

// The visible dialog boxes of process pid, in window order.
inline std::vector<HWND> VisibleBoxes(DWORD pid)
{
    BoxSearch s{ pid, {} };
    ::EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&s));
    return s.boxes;
}

inline std::string WindowTextOf(HWND h)
{
    char buf[2048] = "";
    ::GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

// A message box's text: its static control 0xFFFF.
inline std::string BoxText(HWND box) { return WindowTextOf(::GetDlgItem(box, 0xFFFF)); }
