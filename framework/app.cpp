#include "framework/app.h"
#include "framework/late.h"
#include "framework/doc.h"
#include "framework/doctempl.h"
#include "framework/frame.h"
#include "framework/ids.h"
#include <algorithm>
#include <commctrl.h>
#include <commdlg.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp* AfxGetApp() { return g_pApp; }
HINSTANCE AfxGetInstanceHandle() { return g_pApp && g_pApp->m_hInstance ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr); }
HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }
const char* AfxGetAppName() { return g_pApp ? g_pApp->m_strAppName.c_str() : ""; }

namespace {
bool g_oleInitialized = false;
}

BOOL AfxEnableControlContainer()
{
    if (!g_oleInitialized) g_oleInitialized = SUCCEEDED(::OleInitialize(nullptr));
    return g_oleInitialized;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* appName)
{
    g_pApp = this;
    if (appName) m_strAppName = appName;
}

CWinApp::~CWinApp()
{
    for (CDocTemplate* t : m_templates) delete t;
    delete m_pRecentFileList;
    if (m_hDevMode) ::GlobalFree(m_hDevMode);
    if (m_hDevNames) ::GlobalFree(m_hDevNames);
    if (g_pApp == this) g_pApp = nullptr;
}

BOOL CWinApp::Enable3dControls()
{
    INITCOMMONCONTROLSEX icc{ sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES };
    return late::InitCommonControlsEx(&icc);
}

// ---------------------------------------------------------------- help of modal boxes

namespace {
UINT g_boxHelpId = 0;
HHOOK g_boxKeyHook = nullptr;

// Dialog and message-box loops offer their messages here before they use them.
LRESULT CALLBACK boxKeyFilter(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if ((code == MSGF_DIALOGBOX || code == MSGF_MESSAGEBOX) && msg->message == WM_KEYDOWN &&
        msg->wParam == VK_F1 && g_boxHelpId && AfxGetApp()) {
        AfxGetApp()->OnBoxHelp(g_boxHelpId);
        return TRUE;
    }
    return ::CallNextHookEx(g_boxKeyHook, code, wParam, lParam);
}
} // namespace

CBoxHelp::CBoxHelp(UINT helpId) : m_nPrevious(g_boxHelpId)
{
    if (!g_boxKeyHook)   // once for the thread, for the program's life
        g_boxKeyHook = ::SetWindowsHookExA(WH_MSGFILTER, boxKeyFilter, nullptr, ::GetCurrentThreadId());
    g_boxHelpId = helpId;
}

CBoxHelp::~CBoxHelp() { g_boxHelpId = m_nPrevious; }

UINT CBoxHelp::Current() { return g_boxHelpId; }

int CWinApp::ExitInstance()
{
    if (m_pRecentFileList) m_pRecentFileList->WriteList();
    if (g_oleInitialized) { ::OleUninitialize(); g_oleInitialized = false; }
    return 0;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg)
{
    // The main frame gets its accelerators before anything is dispatched.
    if (m_pMainWnd && m_pMainWnd->m_hWnd)
        return m_pMainWnd->PreTranslateMessage(msg);
    return FALSE;
}

BOOL CWinApp::OnIdle(long count)
{
    if (count == 0 && m_pMainWnd && m_pMainWnd->m_hWnd) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
            frame->OnIdleUpdateCmdUI();
    }
    return FALSE;
}

namespace {
// Messages after which the user-interface state may have changed.
bool isIdleMessage(const MSG& msg)
{
    static POINT lastMouse{ -1, -1 };
    static UINT lastMouseMsg = 0;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
        if (lastMouseMsg == msg.message && lastMouse.x == msg.pt.x && lastMouse.y == msg.pt.y)
            return false;
        lastMouse = msg.pt;
        lastMouseMsg = msg.message;
        return true;
    }
    return msg.message != WM_PAINT && msg.message != 0x0118 /* system caret timer */;
}
} // namespace

int CWinApp::Run()
{
    MSG msg;
    bool idle = true;
    long idleCount = 0;
    for (;;) {
        while (idle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) idle = false;
        }
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (isIdleMessage(msg)) { idle = true; idleCount = 0; }
    }
    ExitInstance();
    return static_cast<int>(msg.wParam);
}

// ---------------------------------------------------------------- command line

void CCommandLineInfo::ParseParam(const wchar_t* param, BOOL flag, BOOL)
{
    if (flag) {
        m_nPrintToArgs = 0;
        if (!lstrcmpiW(param, L"pt")) { m_nShellCommand = FilePrintTo; m_nPrintToArgs = 3; }
        else if (!lstrcmpiW(param, L"p")) m_nShellCommand = FilePrint;
        else if (!lstrcmpiW(param, L"dde")) m_nShellCommand = FileDDE;
        else if (!lstrcmpiW(param, L"embedding")) { m_bRunEmbedded = TRUE; m_bShowSplash = FALSE; }
        else if (!lstrcmpiW(param, L"automation")) { m_bRunAutomated = TRUE; m_bShowSplash = FALSE; }
        else Refuse(refuseUnknown, std::wstring(L"/") + param);   // a typo, or a Unix path
        return;
    }
    if (m_nPrintToArgs > 0 && !m_strFileName.IsEmpty()) {
        // Printer, driver and port: the system's ANSI names of the printing calls.
        char ansi[MAX_PATH] = "";
        ::WideCharToMultiByte(CP_ACP, 0, param, -1, ansi, sizeof ansi, nullptr, nullptr);
        CString* fields[3] = { &m_strPrinterName, &m_strDriverName, &m_strPortName };
        *fields[3 - m_nPrintToArgs] = ansi;
        --m_nPrintToArgs;
        return;
    }
    if (m_strFileName.IsEmpty()) {
        m_strFileName = param;
        if (m_nShellCommand == FileNew) m_nShellCommand = FileOpen;
    } else {
        Refuse(refuseExtra, param);   // one document at a time
    }
}

void CCommandLineInfo::Refuse(int why, const std::wstring& argument)
{
    if (m_nRefusal != refuseNone) return;
    m_nRefusal = why;
    m_strRefused = argument;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    // The arguments stay wide: a file name in any script is kept exactly.
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    for (int i = 1; argv && i < argc; ++i) {
        std::wstring arg = argv[i];
        if (arg.empty()) {
            info.Refuse(CCommandLineInfo::refuseEmpty, L"");
            continue;
        }
        BOOL flag = arg[0] == L'/' || arg[0] == L'-';
        if (!flag) {
            // Full path now: the program may change its current directory later.
            CPathName full = CPathName(arg).Full();
            if (full.wstr().size() >= MAX_PATH || arg.size() >= MAX_PATH) {
                info.Refuse(CCommandLineInfo::refuseTooLong, arg.substr(0, 60));
                continue;
            }
            arg = full.wstr();
        }
        info.ParseParam(flag ? arg.c_str() + 1 : arg.c_str(), flag, i == argc - 1);
    }
    ::LocalFree(argv);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    if (info.m_nRefusal != CCommandLineInfo::refuseNone) {
        // Nothing is opened in place of what was asked: say why and end.
        static const UINT kRefusalTexts[] = { 0, FW_IDS_ARG_TOO_LONG, FW_IDS_ARG_EMPTY, FW_IDS_ARG_EXTRA,
                                               FW_IDS_ARG_UNKNOWN };
        AfxMessageBoxName(kRefusalTexts[info.m_nRefusal], info.m_strRefused, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != nullptr;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        m_nCmdShow = SW_HIDE;
        if (!OpenDocumentFile(info.m_strFileName)) return FALSE;
        // Print on the default printer without the dialog, then end the run.
        m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
        return FALSE;
    case CCommandLineInfo::FileDDE:
        // Shell requests come as command lines here: nothing to wait for.
        m_nCmdShow = SW_HIDE;
        return FALSE;
    default:
        return TRUE;
    }
}

// ---------------------------------------------------------------- templates and documents

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate) { m_templates.push_back(docTemplate); }

CDocument* CWinApp::OpenDocumentFile(const CPathName& pathName)
{
    CDocTemplate* t = GetDocTemplate();
    return t ? t->OpenDocumentFile(pathName) : nullptr;
}

void CWinApp::OnFileNew()
{
    if (CDocTemplate* t = GetDocTemplate()) t->OpenDocumentFile(nullptr);
}

BOOL CWinApp::DoPromptFileName(CPathName& fileName, BOOL openDialog)
{
    CString filter, ext, all;
    CDocTemplate* t = GetDocTemplate();
    if (t) { t->GetDocString(filter, CDocTemplate::filterName); t->GetDocString(ext, CDocTemplate::filterExt); }
    all.LoadString(FW_IDS_ALL_FILES);
    std::wstring filters;
    if (!filter.IsEmpty() && !ext.IsEmpty()) {
        filters += CPathName::FromAnsi(filter); filters += L'\0';
        filters += L'*'; filters += CPathName::FromAnsi(ext); filters += L'\0';
    }
    // Other types the program also opens: "name\npattern" pairs.
    CString more;
    if (openDialog && more.LoadString(FW_IDS_OPEN_FILTERS) && !more.IsEmpty()) {
        std::wstring pairs = CPathName::FromAnsi(more);
        std::replace(pairs.begin(), pairs.end(), L'\n', L'\0');
        filters += pairs; filters += L'\0';
    }
    filters += all.IsEmpty() ? L"*.*" : CPathName::FromAnsi(all); filters += L'\0';
    filters += L"*.*"; filters += L'\0'; filters += L'\0';
    const std::wstring defExt = CPathName::FromAnsi(ext.IsEmpty() ? "" : ext.c_str() + (ext[0] == '.' ? 1 : 0));

    // Room for a path longer than MAX_PATH: the document refuses it in its own words.
    std::wstring buf = fileName.wstr();
    buf.resize(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    ofn.lpstrFilter = filters.c_str();
    ofn.lpstrFile = buf.data();
    ofn.nMaxFile = static_cast<DWORD>(buf.size());
    // The folder last used, else the one the program started in.
    const CPathName& folder = m_strLastDir.IsEmpty() ? m_strStartDir : m_strLastDir;
    ofn.lpstrInitialDir = folder.IsEmpty() ? nullptr : folder.c_str();
    ofn.lpstrDefExt = defExt.empty() ? nullptr : defExt.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                (openDialog ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
    BOOL ok = openDialog ? late::GetOpenFileNameW(&ofn) : late::GetSaveFileNameW(&ofn);
    if (ok) {
        fileName = std::wstring(buf.c_str());
        RememberFolder(fileName);
    }
    return ok;
}

void CWinApp::OnFileOpen()
{
    CPathName name;
    if (DoPromptFileName(name, TRUE)) OpenDocumentFile(name);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnOpenRecentFile(UINT id)
{
    if (!m_pRecentFileList) return;
    int index = static_cast<int>(id - ID_FILE_MRU_FILE1);
    if (index < 0 || index >= m_pRecentFileList->GetCount()) return;
    CPathName name = (*m_pRecentFileList)[index];
    if (!OpenDocumentFile(name)) m_pRecentFileList->Remove(index);
}

void CWinApp::AddToRecentFileList(const CPathName& pathName)
{
    RememberFolder(pathName);
    if (m_pRecentFileList) m_pRecentFileList->Add(pathName);
}

void CWinApp::RememberFolder(const CPathName& pathName)
{
    CPathName folder = pathName.Full().Folder();
    if (!folder.IsEmpty()) m_strLastDir = folder;
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pd)
{
    if (!m_hDevNames) {
        PRINTDLGA probe{};
        probe.lStructSize = sizeof(probe);
        probe.Flags = PD_RETURNDEFAULT;
        if (!late::PrintDlgA(&probe)) return FALSE;
        m_hDevMode = probe.hDevMode;
        m_hDevNames = probe.hDevNames;
    }
    pd->hDevMode = m_hDevMode;
    pd->hDevNames = m_hDevNames;
    return TRUE;
}

void CWinApp::OnFilePrintSetup()
{
    PRINTDLGA pd{};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    pd.Flags = PD_PRINTSETUP;
    // Without a printer the system's dialog would only say so in its own
    // words before ours: say it once, in French.
    if (!GetPrinterDeviceDefaults(&pd)) {
        AfxMessageBox(FW_IDS_PRINT_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (late::PrintDlgA(&pd)) {
        m_hDevMode = pd.hDevMode;
        m_hDevNames = pd.hDevNames;
    } else if (late::CommDlgExtendedError() == PDERR_NODEFAULTPRN) {
        AfxMessageBox(FW_IDS_PRINT_FAILED, MB_OK | MB_ICONEXCLAMATION);
    }
}

// ---------------------------------------------------------------- profile and shell

void CWinApp::SetRegistryKey(const char* company)
{
    m_strRegistryKey = company;
    m_strProfileName = m_strAppName;
}

namespace {
HKEY openSectionKey(const CWinApp& app, const char* section, bool create)
{
    if (app.m_strRegistryKey.IsEmpty()) return nullptr;
    CString path = CString("Software\\") + app.m_strRegistryKey + "\\" + app.m_strProfileName + "\\" + section;
    HKEY key = nullptr;
    LONG r = create ? ::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr)
                    : ::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key);
    return r == ERROR_SUCCESS ? key : nullptr;
}

bool sameRegString(HKEY root, const std::wstring& path, const std::wstring& value)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    wchar_t stored[2 * MAX_PATH];
    DWORD type = 0, size = sizeof stored;
    LONG r = ::RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(stored), &size);
    ::RegCloseKey(key);
    return r == ERROR_SUCCESS && type == REG_SZ && size == (value.size() + 1) * sizeof(wchar_t) &&
           value == stored;
}

bool setRegString(HKEY root, const std::wstring& path, const std::wstring& value)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG r = ::RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    return r == ERROR_SUCCESS;
}
} // namespace

std::wstring CWinApp::GetProfileString(const char* section, const char* entry) const
{
    HKEY key = openSectionKey(*this, section, false);
    if (!key) return {};
    wchar_t buf[MAX_PATH * 2];
    DWORD size = sizeof(buf) - sizeof(wchar_t), type = 0;
    LONG r = ::RegQueryValueExW(key, CPathName::FromAnsi(entry).c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(buf), &size);
    ::RegCloseKey(key);
    if (r != ERROR_SUCCESS || type != REG_SZ) return {};
    buf[size / sizeof(wchar_t)] = L'\0';
    return buf;
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const wchar_t* value) const
{
    HKEY key = openSectionKey(*this, section, true);
    if (!key) return FALSE;
    const std::wstring name = CPathName::FromAnsi(entry);
    LONG r = value ? ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                      static_cast<DWORD>((lstrlenW(value) + 1) * sizeof(wchar_t)))
                   : ::RegDeleteValueW(key, name.c_str());
    ::RegCloseKey(key);
    return r == ERROR_SUCCESS || (!value && r == ERROR_FILE_NOT_FOUND);
}

void CWinApp::LoadStdProfileSettings(UINT maxMRU)
{
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (maxMRU == 0) return;
    m_pRecentFileList = new CRecentFileList(ID_FILE_MRU_FILE1, "Recent File List", "File%d",
                                            static_cast<int>(maxMRU));
    m_pRecentFileList->ReadList();
    // A new run's file dialogs start where the last document was.
    if (m_pRecentFileList->GetCount() > 0) RememberFolder((*m_pRecentFileList)[0]);
}

void CWinApp::RegisterShellFileTypes(BOOL compat)
{
    // Per-user classes: no administrator rights needed, and HKCR shows them.
    // Wide: the program's folder may have a name in any script.
    wchar_t exeBuf[MAX_PATH];
    ::GetModuleFileNameW(nullptr, exeBuf, MAX_PATH);
    const std::wstring exe = exeBuf, quoted = L"\"" + exe + L"\"";
    bool changed = false;
    for (CDocTemplate* t : m_templates) {
        CString typeIdA, typeName, ext;
        if (!t->GetDocString(typeIdA, CDocTemplate::regFileTypeId) || typeIdA.IsEmpty()) continue;
        t->GetDocString(typeName, CDocTemplate::regFileTypeName);
        t->GetDocString(ext, CDocTemplate::filterExt);
        const std::wstring typeId = CPathName::FromAnsi(typeIdA), base = L"Software\\Classes\\" + typeId;
        std::vector<std::pair<std::wstring, std::wstring>> keys{
            {base, CPathName::FromAnsi(typeName)}, {base + L"\\DefaultIcon", exe + L",1"}};
        if (m_bShellOpen) keys.emplace_back(base + L"\\shell\\open\\command", quoted + L" \"%1\"");
        if (compat) {
            keys.emplace_back(base + L"\\shell\\print\\command", quoted + L" /p \"%1\"");
            keys.emplace_back(base + L"\\shell\\printto\\command", quoted + L" /pt \"%1\" \"%2\" \"%3\" \"%4\"");
        }
        if (!ext.IsEmpty()) keys.emplace_back(L"Software\\Classes\\" + CPathName::FromAnsi(ext), typeId);
        // The types are checked at every start: an unchanged one costs no
        // write, and the shell is told only of a real change (telling it is slow).
        for (const auto& [path, value] : keys)
            if (!sameRegString(HKEY_CURRENT_USER, path, value)) {
                setRegString(HKEY_CURRENT_USER, path, value);
                changed = true;
            }
    }
    if (changed) ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

// ---------------------------------------------------------------- recent files

CRecentFileList::CRecentFileList(UINT firstId, const char* section, const char* entryFormat, int size)
    : m_nFirstId(firstId), m_strSection(section), m_strEntryFormat(entryFormat), m_nSize(size) {}

void CRecentFileList::Add(const CPathName& pathName)
{
    CPathName full = pathName.Full();
    for (size_t i = 0; i < m_names.size(); ++i)
        if (m_names[i].SameFile(full)) { m_names.erase(m_names.begin() + static_cast<long>(i)); break; }
    m_names.insert(m_names.begin(), full);
    if (static_cast<int>(m_names.size()) > m_nSize) m_names.resize(static_cast<size_t>(m_nSize));
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < GetCount()) m_names.erase(m_names.begin() + index);
}

void CRecentFileList::ReadList()
{
    m_names.clear();
    for (int i = 1; i <= m_nSize; ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i);
        std::wstring name = AfxGetApp()->GetProfileString(m_strSection, entry);
        if (!name.empty()) m_names.emplace_back(name);
    }
    m_namesStored = m_names;
}

void CRecentFileList::WriteList()
{
    // An unchanged list is not written again.
    if (m_names == m_namesStored) return;
    m_namesStored = m_names;
    for (int i = 1; i <= m_nSize; ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i);
        AfxGetApp()->WriteProfileString(m_strSection, entry,
                                        i <= GetCount() ? m_names[static_cast<size_t>(i - 1)].c_str() : nullptr);
    }
}

std::wstring CRecentFileList::GetDisplayName(int index) const
{
    // The file name alone, as the shell shows it; the path when another entry
    // has the same name. Either is shortened with "..." beyond what fits a menu.
    const CPathName& full = m_names[static_cast<size_t>(index)];
    const CPathName name = full.FileName();
    bool shared = false;
    for (int i = 0; i < GetCount(); ++i)
        if (i != index && m_names[static_cast<size_t>(i)].FileName().SameFile(name)) shared = true;
    const std::wstring& shown = shared ? full.wstr() : name.wstr();
    wchar_t buf[kMaxDisplayName + 1];
    if (shown.size() <= static_cast<size_t>(kMaxDisplayName) ||
        !::PathCompactPathExW(buf, shown.c_str(), kMaxDisplayName + 1, 0))
        return shown;
    return buf;
}

void CRecentFileList::UpdateMenu(HMENU popup)
{
    // Find where the list stands: the first id, or the placeholder carrying it.
    int count = ::GetMenuItemCount(popup), pos = -1;
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(popup, i);
        if (id >= m_nFirstId && id < m_nFirstId + static_cast<UINT>(m_nSize)) { pos = i; break; }
    }
    if (pos < 0) return;
    if (m_strPlaceholder.empty()) {
        wchar_t text[256] = L"";
        ::GetMenuStringW(popup, m_nFirstId, text, 256, MF_BYCOMMAND);
        m_strPlaceholder = text;
    }
    for (int i = 0; i < m_nSize; ++i) ::DeleteMenu(popup, m_nFirstId + static_cast<UINT>(i), MF_BYCOMMAND);
    if (m_names.empty()) {
        ::InsertMenuW(popup, static_cast<UINT>(pos), MF_BYPOSITION | MF_STRING | MF_GRAYED, m_nFirstId,
                      m_strPlaceholder.c_str());
        return;
    }
    for (int i = 0; i < GetCount(); ++i) {
        // "&1 file.osc"; ampersands of the name doubled so they show.
        std::wstring label = L"&" + std::to_wstring(i + 1) + L" ";
        for (wchar_t c : GetDisplayName(i)) { label += c; if (c == L'&') label += L'&'; }
        ::InsertMenuW(popup, static_cast<UINT>(pos + i), MF_BYPOSITION | MF_STRING,
                      m_nFirstId + static_cast<UINT>(i), label.c_str());
    }
}

// ---------------------------------------------------------------- time

CTime CTime::GetCurrentTime() { return CTime(::_time64(nullptr)); }

CString CTime::Format(const char* format) const
{
    __time64_t t = m_time;
    struct tm* local = ::_localtime64(&t);
    char buf[256] = "";
    if (local) std::strftime(buf, sizeof(buf), format, local);
    return CString(buf);
}

// ---------------------------------------------------------------- entry point

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int cmdShow)
{
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = cmdLine;
    app->m_nCmdShow = cmdShow;
    wchar_t startDir[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, startDir);
    app->m_strStartDir = startDir;
    if (app->m_strAppName.IsEmpty() && !app->m_strAppName.LoadString(AFX_IDS_APP_TITLE)) {
        char exe[MAX_PATH];
        ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
        app->m_strAppName = exe;
    }
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
