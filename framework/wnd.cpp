#include "framework/wnd.h"
#include "framework/app.h"
#include <shellapi.h>
#include <unordered_map>
#include <string>
#include <map>

namespace {
// One user-interface thread: a plain map from handle to object is enough.
std::unordered_map<HWND, CWnd*>& handleMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}
// The object whose window is being created; attached at its first message.
CWnd* g_pWndInit = nullptr;
} // namespace

CWnd::~CWnd()
{
    if (m_hWnd) {
        HWND h = m_hWnd;
        Detach();
        ::DestroyWindow(h);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto it = handleMap().find(hWnd);
    return it == handleMap().end() ? nullptr : it->second;
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    handleMap()[hWnd] = this;
}

void CWnd::Detach()
{
    if (m_hWnd) handleMap().erase(m_hWnd);
    m_hWnd = nullptr;
}

const char* CWnd::RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    static std::map<std::string, std::string> registered;
    char key[128];
    wsprintfA(key, "Ondavis:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
              static_cast<void*>(background), static_cast<void*>(icon));
    auto it = registered.find(key);
    if (it != registered.end()) return it->second.c_str();
    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = key;
    wc.lpfnWndProc = &CWnd::StaticWndProc;
    ::RegisterClassA(&wc);
    return registered.emplace(key, key).first->second.c_str();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = RegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int cx, int cy, HWND parent, HMENU idOrMenu, void* param)
{
    CREATESTRUCT cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = x; cs.y = y; cs.cx = cx; cs.cy = cy;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    g_pWndInit = this;
    HWND h = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style),
                               cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                               cs.lpCreateParams);
    g_pWndInit = nullptr;
    if (!h) return FALSE;
    if (!m_hWnd) Attach(h);  // a class not ours: it never reached StaticWndProc
    return TRUE;
}

BOOL CWnd::Create(const char* className, const char* windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id, CCreateContext* context)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    parent ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), context);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    Attach(hWnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc)));
    return m_pfnSuper != nullptr;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (!wnd && g_pWndInit) {
        wnd = g_pWndInit;
        g_pWndInit = nullptr;
        wnd->Attach(hWnd);
    }
    if (!wnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);

    CurrentMessage saved = wnd->m_current;
    wnd->m_current = { message, wParam, lParam };
    LRESULT r = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WNDPROC super = wnd->m_pfnSuper;
        wnd->Detach();
        if (super) ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
        wnd->PostNcDestroy();  // may delete the object
        return r;
    }
    // A handler may have destroyed the window (and deleted the object).
    if (FromHandlePermanent(hWnd) == wnd) wnd->m_current = saved;
    return r;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *result = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY)
        return OnNotify(wParam, lParam, result);
    const MsgEntry* e = FindMessageEntry(message);
    if (!e) return FALSE;
    *result = e->thunk(this, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    // Menus and accelerators send code 0 or 1 with no control window.
    if (lParam == 0) code = CN_COMMAND;
    return OnCmdMsg(id, code, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

CString CWnd::GetWindowText() const
{
    int n = ::GetWindowTextLengthA(m_hWnd);
    std::string s(static_cast<size_t>(n) + 1, '\0');
    ::GetWindowTextA(m_hWnd, s.data(), n + 1);
    s.resize(static_cast<size_t>(n));
    return CString(s);
}

void CWnd::DragAcceptFiles(BOOL accept) { ::DragAcceptFiles(m_hWnd, accept); }

void CWnd::CenterWindow(HWND alternateOwner)
{
    // Centre on the owner when it is visible, else in the work area.
    RECT r, area;
    ::GetWindowRect(m_hWnd, &r);
    HWND owner = alternateOwner ? alternateOwner : ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &area);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = area.left + ((area.right - area.left) - w) / 2;
    int y = area.top + ((area.bottom - area.top) - h) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type)
{
    return ::MessageBoxA(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

int AfxMessageBox(const char* text, UINT type)
{
    CWinApp* app = AfxGetApp();
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    if (owner && !::IsWindowEnabled(owner)) owner = ::GetActiveWindow();
    return ::MessageBoxA(owner, text, AfxGetAppName(), type);
}

int AfxMessageBox(UINT idPrompt, UINT type)
{
    CString text;
    text.LoadString(idPrompt);
    CBoxHelp help(idPrompt);
    return AfxMessageBox(text, type);
}
