#include "framework/late.h"

namespace {

// The function of that name in that system library, loaded on demand;
// null when either is missing.
template <class Fn>
Fn* bind(const char* dll, const char* name)
{
    HMODULE module = ::GetModuleHandleA(dll);
    if (!module) module = ::LoadLibraryA(dll);
    return module ? reinterpret_cast<Fn*>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

} // namespace

BOOL late::InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc)
{
    // comctl32 asks for the desktop while it loads, that is under the loader
    // lock: every other thread's library loads would wait with it. Asked
    // first, outside the lock, the desktop comes while other threads go on.
    static HWND desktop = ::GetDesktopWindow();
    (void)desktop;
    static auto* fn = bind<decltype(::InitCommonControlsEx)>("comctl32.dll", "InitCommonControlsEx");
    return fn && fn(icc);
}

BOOL late::GetOpenFileNameW(OPENFILENAMEW* ofn)
{
    static auto* fn = bind<decltype(::GetOpenFileNameW)>("comdlg32.dll", "GetOpenFileNameW");
    return fn && fn(ofn);
}

BOOL late::GetSaveFileNameW(OPENFILENAMEW* ofn)
{
    static auto* fn = bind<decltype(::GetSaveFileNameW)>("comdlg32.dll", "GetSaveFileNameW");
    return fn && fn(ofn);
}

BOOL late::PrintDlgA(PRINTDLGA* pd)
{
    static auto* fn = bind<decltype(::PrintDlgA)>("comdlg32.dll", "PrintDlgA");
    return fn && fn(pd);
}

DWORD late::CommDlgExtendedError()
{
    static auto* fn = bind<decltype(::CommDlgExtendedError)>("comdlg32.dll", "CommDlgExtendedError");
    return fn ? fn() : CDERR_INITIALIZATION;
}
