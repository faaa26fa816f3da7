#include "help/HelpWindow.h"
#include "resource.h"
#include "framework/ids.h"
#include <commctrl.h>
#include <algorithm>
#include <map>

namespace {
enum : UINT { kIdTabs = 100, kIdTree, kIdFind, kIdList, kIdBack, kIdPage };
constexpr int kLeftMin = 160, kLeftMax = 230;   // the contents take a third of the width at first
constexpr int kGap = 4;
constexpr int kDivider = 2 * kGap;              // the movable strip between contents and page
constexpr int kPageMin = 260;                   // the divider leaves the page this much
constexpr int kButtonHeight = 24;
constexpr int kDefaultWidth = 600;
constexpr int kMinWidth = 420, kMinHeight = 300;

CHelpWindow* g_pHelp = nullptr;
// Where the user last left the window during this run.
RECT g_lastPlace{0, 0, 0, 0};

CString resourceText(UINT id)
{
    CString s;
    s.LoadString(id);
    return s;
}

HWND child(HWND parent, DWORD exStyle, const char* cls, const char* text, DWORD style, UINT id)
{
    HWND h = ::CreateWindowExA(exStyle, cls, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AfxGetInstanceHandle(), nullptr);
    ::SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return h;
}

// Beside the main window where the screen leaves room, else over its right part.
RECT firstPlace(HWND mainWindow)
{
    RECT work, main{0, 0, 800, 572};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    if (mainWindow) ::GetWindowRect(mainWindow, &main);
    int room = work.right - main.right;
    int width = room >= kMinWidth ? std::min(room, kDefaultWidth) : std::min<int>(kDefaultWidth, work.right - work.left);
    int x = room >= kMinWidth ? main.right : work.right - width;
    int height = std::min<int>(std::max<int>(main.bottom - main.top, 600), work.bottom - work.top);
    int y = std::max<int>(work.top, std::min<int>(main.top, work.bottom - height));
    return {x, y, x + width, y + height};
}
} // namespace

BEGIN_MESSAGE_MAP(CHelpWindow, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_GETMINMAXINFO, OnMinMaxInfo)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
    ON_MESSAGE(WM_LBUTTONDOWN, OnDividerDown)
    ON_MESSAGE(WM_MOUSEMOVE, OnDividerMove)
    ON_MESSAGE(WM_LBUTTONUP, OnDividerUp)
END_MESSAGE_MAP()

CHelpWindow* CHelpWindow::Instance() { return g_pHelp; }

CHelpWindow* CHelpWindow::Open(const std::string& key, HWND mainWindow)
{
    if (!g_pHelp) {
        auto* wnd = new CHelpWindow;
        RECT r = g_lastPlace.right > g_lastPlace.left ? g_lastPlace : firstPlace(mainWindow);
        const char* cls = RegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_BTNFACE),
                                           ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)));
        // Not owned by the main window, which would keep it always above it.
        // A window that fails in its creation deletes its object.
        if (!wnd->CreateEx(WS_EX_CONTROLPARENT, cls, resourceText(FW_IDS_HELP_TITLE), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, r.left,
                           r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr))
            return nullptr;
    }
    if (::IsIconic(g_pHelp->m_hWnd)) ::ShowWindow(g_pHelp->m_hWnd, SW_RESTORE);
    g_pHelp->ShowWindow(SW_SHOW);   // sized first: the contents scroll to the topic's item
    g_pHelp->ShowTopic(key);
    ::SetForegroundWindow(g_pHelp->m_hWnd);
    return g_pHelp;
}

BOOL CHelpWindow::PreTranslate(MSG* msg)
{
    if (!g_pHelp || !msg->hwnd || (msg->hwnd != g_pHelp->m_hWnd && !::IsChild(g_pHelp->m_hWnd, msg->hwnd)))
        return FALSE;
    if (msg->message == WM_SYSKEYDOWN && msg->wParam == VK_LEFT) {
        g_pHelp->GoBack();
        return TRUE;
    }
    return ::IsDialogMessageA(g_pHelp->m_hWnd, msg);
}

void CHelpWindow::Close()
{
    if (g_pHelp) g_pHelp->DestroyWindow();
}

int CHelpWindow::OnCreate(LPCREATESTRUCT)
{
    g_pHelp = this;
    m_tabs = child(m_hWnd, 0, WC_TABCONTROLA, "", WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, kIdTabs);
    CString contents = resourceText(IDS_HELP_CONTENTS), index = resourceText(IDS_HELP_INDEX);
    TCITEMA tab{TCIF_TEXT, 0, 0, const_cast<char*>(contents.c_str()), 0, 0, 0};
    ::SendMessageA(m_tabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tab));
    tab.pszText = const_cast<char*>(index.c_str());
    ::SendMessageA(m_tabs, TCM_INSERTITEMA, 1, reinterpret_cast<LPARAM>(&tab));
    m_tree = child(m_hWnd, WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                   WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                       TVS_NOHSCROLL | TVS_INFOTIP,
                   kIdTree);
    m_find = child(m_hWnd, WS_EX_CLIENTEDGE, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, kIdFind);
    m_list = child(m_hWnd, WS_EX_CLIENTEDGE, "LISTBOX", "",
                   WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, kIdList);
    m_back = child(m_hWnd, 0, "BUTTON", resourceText(IDS_HELP_BACK), WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kIdBack);
    if (!m_page.Create(this, kIdPage)) return -1;
    m_page.onLink = [this](const std::string& key) { ShowTopic(key); };
    FillContents();
    FillIndex();
    return 0;
}

void CHelpWindow::FillContents()
{
    const auto& topics = HelpBook::Program().Topics();
    std::map<std::string, HTREEITEM> books;
    // The book path "A/B" makes the books A and A/B, each under its parent.
    auto bookItem = [&](const std::string& path) {
        HTREEITEM parent = TVI_ROOT;
        size_t from = 0;
        while (from <= path.size() && !path.empty()) {
            size_t slash = path.find('/', from);
            std::string sub = path.substr(0, slash);
            auto it = books.find(sub);
            if (it == books.end()) {
                std::string name = sub.substr(from);
                TVINSERTSTRUCTA ins{};
                ins.hParent = parent;
                ins.hInsertAfter = TVI_LAST;
                ins.item.mask = TVIF_TEXT | TVIF_PARAM;
                ins.item.pszText = const_cast<char*>(name.c_str());
                ins.item.lParam = -1;
                it = books.emplace(sub, reinterpret_cast<HTREEITEM>(
                                            ::SendMessageA(m_tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins))))
                         .first;
            }
            parent = it->second;
            if (slash == std::string::npos) break;
            from = slash + 1;
        }
        return parent;
    };
    m_treeItems.assign(topics.size(), nullptr);
    for (size_t i = 0; i < topics.size(); ++i) {
        // A command's book names its menu already, and its submenus become
        // books of their own: "Réglages > Base de Temps > 20 ms." is listed
        // as "20 ms." under "Menu Réglages", then "Base de Temps".
        std::string name = topics[i].title, book = topics[i].book;
        if (!topics[i].commands.empty() && name.find(" > ") != std::string::npos) {
            name = name.substr(name.find(" > ") + 3);
            for (size_t sub; (sub = name.find(" > ")) != std::string::npos; name = name.substr(sub + 3))
                book.append("/").append(name, 0, sub);
        }
        TVINSERTSTRUCTA ins{};
        ins.hParent = bookItem(book);
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_PARAM;
        ins.item.pszText = const_cast<char*>(name.c_str());
        ins.item.lParam = static_cast<LPARAM>(i);
        m_treeItems[i] = reinterpret_cast<HTREEITEM>(::SendMessageA(m_tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    }
    // The first level of books stands open.
    for (HTREEITEM h = TreeView_GetRoot(m_tree); h; h = TreeView_GetNextSibling(m_tree, h))
        TreeView_Expand(m_tree, h, TVE_EXPAND);
}

void CHelpWindow::FillIndex()
{
    m_index = HelpBook::Program().Index();
    std::map<std::string, int> uses;
    for (const HelpIndexEntry& e : m_index) ++uses[e.word];
    for (const HelpIndexEntry& e : m_index)
        ::SendMessageA(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(IndexLine(e, uses[e.word] > 1).c_str()));
}

std::string CHelpWindow::IndexLine(const HelpIndexEntry& entry, bool shared)
{
    // A word that leads to several topics names each of them.
    const HelpTopic* topic = shared ? HelpBook::Program().Find(entry.key) : nullptr;
    return topic ? entry.word + " (" + topic->title + ")" : entry.word;
}

void CHelpWindow::SelectTab(int tab)
{
    ::SendMessageA(m_tabs, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    ::ShowWindow(m_tree, tab == 0 ? SW_SHOW : SW_HIDE);
    ::ShowWindow(m_find, tab == 1 ? SW_SHOW : SW_HIDE);
    ::ShowWindow(m_list, tab == 1 ? SW_SHOW : SW_HIDE);
    if (tab == 1) ::SetFocus(m_find);
}

std::string CHelpWindow::CurrentKey() const
{
    return m_page.Topic() ? m_page.Topic()->key : std::string();
}

void CHelpWindow::ShowTopic(const std::string& key)
{
    const HelpBook& book = HelpBook::Program();
    const HelpTopic* topic = book.Find(key);
    if (!topic && !book.Topics().empty()) topic = &book.Topics().front();
    if (!topic || topic == m_page.Topic()) return;
    if (m_page.Topic()) m_history.push_back(m_page.Topic()->key);
    Display(topic);
}

void CHelpWindow::GoBack()
{
    if (m_history.empty()) return;
    const HelpTopic* topic = HelpBook::Program().Find(m_history.back());
    m_history.pop_back();
    if (topic) Display(topic);
}

void CHelpWindow::Display(const HelpTopic* topic)
{
    m_page.ShowTopic(topic);
    ::EnableWindow(m_back, !m_history.empty());
    size_t i = static_cast<size_t>(topic - HelpBook::Program().Topics().data());
    if (i < m_treeItems.size()) {
        m_bSyncing = true;
        TreeView_SelectItem(m_tree, m_treeItems[i]);
        TreeView_EnsureVisible(m_tree, m_treeItems[i]);
        m_bSyncing = false;
    }
    std::string title = std::string(resourceText(FW_IDS_HELP_TITLE)) + " - " + topic->title;
    SetWindowText(title.c_str());
}

int CHelpWindow::LeftWidth(int cx) const
{
    int left = m_nLeft > 0 ? m_nLeft : std::clamp(cx / 3, kLeftMin, kLeftMax);
    return std::max(kLeftMin / 2, std::min(left, cx - kPageMin));
}

void CHelpWindow::OnSize(UINT, int cx, int cy)
{
    int left = LeftWidth(cx);
    ::MoveWindow(m_tabs, kGap, kGap, left, cy - 2 * kGap - kButtonHeight - kGap, TRUE);
    RECT inner{0, 0, left, cy - 2 * kGap - kButtonHeight - kGap};
    TabCtrl_AdjustRect(m_tabs, FALSE, &inner);
    int x = kGap + inner.left, y = kGap + inner.top, w = inner.right - inner.left, h = inner.bottom - inner.top;
    ::MoveWindow(m_tree, x, y, w, h, TRUE);
    ::MoveWindow(m_find, x, y, w, 22, TRUE);
    ::MoveWindow(m_list, x, y + 26, w, std::max(0, h - 26), TRUE);
    ::MoveWindow(m_back, kGap, cy - kGap - kButtonHeight, 110, kButtonHeight, TRUE);
    m_page.MoveWindow(left + kGap + kDivider, kGap, std::max(0, cx - left - 2 * kGap - kDivider), std::max(0, cy - 2 * kGap));
    ::BringWindowToTop(m_tree);
    ::BringWindowToTop(m_find);
    ::BringWindowToTop(m_list);
}

// ---------------------------------------------------------------- divider

bool CHelpWindow::OnDivider(LPARAM lParam) const
{
    RECT client;
    GetClientRect(&client);
    int left = LeftWidth(client.right), x = static_cast<short>(LOWORD(lParam));
    return x >= left + kGap && x < left + kGap + kDivider;
}

LRESULT CHelpWindow::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    POINT p;
    ::GetCursorPos(&p);
    ::ScreenToClient(m_hWnd, &p);
    if (reinterpret_cast<HWND>(wParam) == m_hWnd && LOWORD(lParam) == HTCLIENT && OnDivider(MAKELPARAM(p.x, p.y))) {
        ::SetCursor(::LoadCursor(nullptr, IDC_SIZEWE));
        return TRUE;
    }
    return Default();
}

LRESULT CHelpWindow::OnDividerDown(WPARAM, LPARAM lParam)
{
    if (!OnDivider(lParam)) return 0;
    RECT client;
    GetClientRect(&client);
    m_nGrab = static_cast<short>(LOWORD(lParam)) - LeftWidth(client.right);   // the pointer keeps its place on it
    ::SetCapture(m_hWnd);
    return 0;
}

LRESULT CHelpWindow::OnDividerMove(WPARAM, LPARAM lParam)
{
    if (::GetCapture() != m_hWnd) return 0;
    RECT client;
    GetClientRect(&client);
    m_nLeft = static_cast<short>(LOWORD(lParam)) - m_nGrab;
    m_nLeft = LeftWidth(client.right);
    OnSize(0, client.right, client.bottom);
    return 0;
}

LRESULT CHelpWindow::OnDividerUp(WPARAM, LPARAM)
{
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    return 0;
}

LRESULT CHelpWindow::OnMinMaxInfo(WPARAM, LPARAM lParam)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize = {kMinWidth, kMinHeight};
    return 0;
}

BOOL CHelpWindow::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (hdr->hwndFrom == m_tabs && hdr->code == TCN_SELCHANGE) {
        SelectTab(static_cast<int>(::SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0)));
        *result = 0;
        return TRUE;
    }
    if (hdr->hwndFrom == m_tree && (hdr->code == TVN_GETINFOTIPA || hdr->code == TVN_GETINFOTIPW)) {
        // The whole title of a topic whose line the contents cut.
        auto* tip = reinterpret_cast<NMTVGETINFOTIPA*>(lParam);
        const auto& topics = HelpBook::Program().Topics();
        if (tip->lParam >= 0 && static_cast<size_t>(tip->lParam) < topics.size() && tip->cchTextMax > 0) {
            const std::string& title = topics[static_cast<size_t>(tip->lParam)].title;
            if (hdr->code == TVN_GETINFOTIPA)
                lstrcpynA(tip->pszText, title.c_str(), tip->cchTextMax);
            else
                ::MultiByteToWideChar(1252, 0, title.c_str(), -1, reinterpret_cast<NMTVGETINFOTIPW*>(lParam)->pszText,
                                      tip->cchTextMax);
        }
        *result = 0;
        return TRUE;
    }
    if (hdr->hwndFrom == m_tree && (hdr->code == TVN_SELCHANGEDA || hdr->code == TVN_SELCHANGEDW)) {
        // Both forms carry the new item's lParam at the same place.
        LPARAM index = reinterpret_cast<NMTREEVIEWA*>(lParam)->itemNew.lParam;
        const auto& topics = HelpBook::Program().Topics();
        if (!m_bSyncing && index >= 0 && static_cast<size_t>(index) < topics.size())
            ShowTopic(topics[static_cast<size_t>(index)].key);
        *result = 0;
        return TRUE;
    }
    return FALSE;
}

BOOL CHelpWindow::OnCommand(WPARAM wParam, LPARAM)
{
    UINT id = LOWORD(wParam), code = HIWORD(wParam);
    if (id == kIdBack && code == BN_CLICKED) {
        GoBack();
        return TRUE;
    }
    if (id == kIdList && code == LBN_SELCHANGE) {
        auto sel = ::SendMessageA(m_list, LB_GETCURSEL, 0, 0);
        if (sel >= 0 && static_cast<size_t>(sel) < m_index.size()) ShowTopic(m_index[static_cast<size_t>(sel)].key);
        return TRUE;
    }
    if (id == kIdFind && code == EN_CHANGE) {
        // The first entry that begins with what is typed.
        char typed[128] = "";
        ::GetWindowTextA(m_find, typed, sizeof typed);
        auto found = ::SendMessageA(m_list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(typed));
        if (typed[0] && found != LB_ERR) {
            ::SendMessageA(m_list, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
            ShowTopic(m_index[static_cast<size_t>(found)].key);
        }
        return TRUE;
    }
    return FALSE;
}

void CHelpWindow::OnDestroy()
{
    if (!::IsIconic(m_hWnd) && !::IsZoomed(m_hWnd)) ::GetWindowRect(m_hWnd, &g_lastPlace);
    Default();
}

void CHelpWindow::PostNcDestroy()
{
    if (g_pHelp == this) g_pHelp = nullptr;
    delete this;
}
