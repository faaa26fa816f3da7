// The program's own application object, started in-process by a test suite:
// its main frame and view, its commands, and its message loop.
#pragma once
#include "app/MainFrm.h"
#include "app/OndavApp.h"
#include "acquisition/OndavView.h"

extern COndavApp theApp;

inline CMainFrame* frame() { return dynamic_cast<CMainFrame*>(theApp.m_pMainWnd); }
inline COndavView* view() { return dynamic_cast<COndavView*>(frame()->GetActiveView()); }
inline void command(UINT id) { frame()->SendMessage(WM_COMMAND, id); }

// Runs the program's message loop (its pre-translation and idle time
// included) for ms milliseconds, at least once.
inline void pump(int ms)
{
    DWORD end = ::GetTickCount() + static_cast<DWORD>(ms);
    MSG msg;
    do {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!theApp.PreTranslateMessage(&msg)) { ::TranslateMessage(&msg); ::DispatchMessageA(&msg); }
        }
        theApp.OnIdle(0);
        ::Sleep(10);
    } while (static_cast<int>(end - ::GetTickCount()) > 0);
}
