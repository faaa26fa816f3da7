#include "framework/dialog.h"
#include "framework/app.h"

INT_PTR CDialog::DoModal()
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner && AfxGetApp() && AfxGetApp()->m_pMainWnd) owner = AfxGetApp()->m_pMainWnd->m_hWnd;
    INT_PTR r = ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), owner,
                                  &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return r;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* dlg = static_cast<CDialog*>(CWnd::FromHandlePermanent(hDlg));
    if (message == WM_INITDIALOG) {
        dlg = reinterpret_cast<CDialog*>(lParam);
        dlg->Attach(hDlg);
        return dlg->OnInitDialog();
    }
    if (!dlg) return FALSE;
    LRESULT result = 0;
    BOOL handled = dlg->OnWndMsg(message, wParam, lParam, &result);
    if (message == WM_NCDESTROY) dlg->Detach();
    return handled;
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam)) return TRUE;
    UINT code = HIWORD(wParam);
    if (code != BN_CLICKED && lParam != 0) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: OnOK(); return TRUE;
    case IDCANCEL: OnCancel(); return TRUE;
    default: return FALSE;
    }
}

// ---------------------------------------------------------------- centring

namespace {
HHOOK g_centringHook = nullptr;
HWND g_centreOver = nullptr;
const char kCentredProp[] = "Ondavis.Centred";
} // namespace

void CDialogCentring::Install(HWND mainWindow)
{
    if (g_centringHook) return;
    g_centreOver = mainWindow;
    g_centringHook = ::SetWindowsHookExA(WH_CBT, &CDialogCentring::Hook, nullptr, ::GetCurrentThreadId());
}

void CDialogCentring::Remove(HWND mainWindow)
{
    if (!g_centringHook || g_centreOver != mainWindow) return;
    ::UnhookWindowsHookEx(g_centringHook);
    g_centringHook = nullptr;
    g_centreOver = nullptr;
}

LRESULT CALLBACK CDialogCentring::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    auto box = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && box != g_centreOver && !::GetPropA(box, kCentredProp)) {
        char cls[16] = "";
        ::GetClassNameA(box, cls, sizeof cls);
        // Only boxes of this program's main window, once each: a box the
        // user moved stays where he put it.
        if (!lstrcmpA(cls, "#32770") && ::GetAncestor(box, GA_ROOTOWNER) == g_centreOver) {
            ::SetPropA(box, kCentredProp, reinterpret_cast<HANDLE>(1));
            Centre(box, g_centreOver);
        }
    } else if (code == HCBT_DESTROYWND) {
        ::RemovePropA(box, kCentredProp);
    }
    return ::CallNextHookEx(g_centringHook, code, wParam, lParam);
}

void CDialogCentring::Centre(HWND box, HWND over)
{
    if (!::IsWindowVisible(over) || ::IsIconic(over)) return;
    RECT b, o, area;
    ::GetWindowRect(box, &b);
    ::GetWindowRect(over, &o);
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const int w = b.right - b.left, h = b.bottom - b.top;
    int x = (o.left + o.right - w) / 2, y = (o.top + o.bottom - h) / 2;
    // Wholly on the screen, even over a window near its edge.
    if (x + w > area.right) x = area.right - w;
    if (y + h > area.bottom) y = area.bottom - h;
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    ::SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
