// Common controls and common dialogs, bound at their first use instead of at
// load. comctl32 asks for the desktop while it loads, and under Wine that
// starts the desktop process and holds everything else up; bound late, that
// wait comes while the program already has other work going (the sound card).
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

namespace late {
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc);
BOOL GetOpenFileNameW(OPENFILENAMEW* ofn);
BOOL GetSaveFileNameW(OPENFILENAMEW* ofn);
BOOL PrintDlgA(PRINTDLGA* pd);
DWORD CommDlgExtendedError();
} // namespace late
