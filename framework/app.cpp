#include "framework/app.h"
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
    return ::InitCommonControlsEx(&icc);
}

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

void CCommandLineInfo::ParseParam(const char* param, BOOL flag, BOOL)
{
    if (flag) {
        m_nPrintToArgs = 0;
        if (!lstrcmpiA(param, "pt")) { m_nShellCommand = FilePrintTo; m_nPrintToArgs = 3; }
        else if (!lstrcmpiA(param, "p")) m_nShellCommand = FilePrint;
        else if (!lstrcmpiA(param, "dde")) m_nShellCommand = FileDDE;
        else if (!lstrcmpiA(param, "embedding")) { m_bRunEmbedded = TRUE; m_bShowSplash = FALSE; }
        else if (!lstrcmpiA(param, "automation")) { m_bRunAutomated = TRUE; m_bShowSplash = FALSE; }
        return;
    }
    if (m_nPrintToArgs > 0 && !m_strFileName.IsEmpty()) {
        CString* fields[3] = { &m_strPrinterName, &m_strDriverName, &m_strPortName };
        *fields[3 - m_nPrintToArgs] = param;
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

void CCommandLineInfo::Refuse(int why, const char* argument)
{
    if (m_nRefusal != refuseNone) return;
    m_nRefusal = why;
    m_strRefused = argument;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    for (int i = 1; argv && i < argc; ++i) {
        if (!argv[i][0]) {
            info.Refuse(CCommandLineInfo::refuseEmpty, "");
            continue;
        }
        char buf[MAX_PATH * 2];
        if (!::WideCharToMultiByte(CP_ACP, 0, argv[i], -1, buf, sizeof(buf), nullptr, nullptr)) {
            // Longer than any path: reported with its beginning.
            char head[61] = "";
            ::WideCharToMultiByte(CP_ACP, 0, argv[i], 60, head, 60, nullptr, nullptr);
            info.Refuse(CCommandLineInfo::refuseTooLong, head);
            continue;
        }
        BOOL flag = buf[0] == '/' || buf[0] == '-';
        if (!flag) {
            // Full path now: the program may change its current directory later.
            char full[MAX_PATH];
            DWORD n = ::GetFullPathNameA(buf, MAX_PATH, full, nullptr);
            if (n >= MAX_PATH || (n == 0 && lstrlenA(buf) >= MAX_PATH)) {
                buf[60] = '\0';
                info.Refuse(CCommandLineInfo::refuseTooLong, buf);
                continue;
            }
            if (n > 0) lstrcpynA(buf, full, sizeof(buf));
        }
        info.ParseParam(flag ? buf + 1 : buf, flag, i == argc - 1);
    }
    ::LocalFree(argv);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    if (info.m_nRefusal != CCommandLineInfo::refuseNone) {
        // Nothing is opened in place of what was asked: say why and end.
        static const UINT kRefusalTexts[] = { 0, FW_IDS_ARG_TOO_LONG, FW_IDS_ARG_EMPTY, FW_IDS_ARG_EXTRA };
        CString format, text;
        format.LoadString(kRefusalTexts[info.m_nRefusal]);
        text.Format(format, info.m_strRefused.c_str());
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
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

CDocument* CWinApp::OpenDocumentFile(const char* pathName)
{
    CDocTemplate* t = GetDocTemplate();
    return t ? t->OpenDocumentFile(pathName) : nullptr;
}

void CWinApp::OnFileNew()
{
    if (CDocTemplate* t = GetDocTemplate()) t->OpenDocumentFile(nullptr);
}

BOOL CWinApp::DoPromptFileName(CString& fileName, BOOL openDialog)
{
    CString filter, ext, all;
    CDocTemplate* t = GetDocTemplate();
    if (t) { t->GetDocString(filter, CDocTemplate::filterName); t->GetDocString(ext, CDocTemplate::filterExt); }
    all.LoadString(FW_IDS_ALL_FILES);
    std::string filters;
    if (!filter.IsEmpty() && !ext.IsEmpty()) {
        filters += filter.str(); filters += '\0'; filters += '*'; filters += ext.str(); filters += '\0';
    }
    // Other types the program also opens: "name\npattern" pairs.
    CString more;
    if (openDialog && more.LoadString(FW_IDS_OPEN_FILTERS) && !more.IsEmpty()) {
        std::string pairs = more.str();
        std::replace(pairs.begin(), pairs.end(), '\n', '\0');
        filters += pairs; filters += '\0';
    }
    filters += all.IsEmpty() ? "*.*" : all.str(); filters += '\0'; filters += "*.*"; filters += '\0'; filters += '\0';

    char buf[MAX_PATH] = "";
    lstrcpynA(buf, fileName, MAX_PATH);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    ofn.lpstrFilter = filters.c_str();
    ofn.lpstrFile = buf;
    ofn.nMaxFile = MAX_PATH;
    // The folder last used, else the one the program started in.
    const CString& folder = m_strLastDir.IsEmpty() ? m_strStartDir : m_strLastDir;
    ofn.lpstrInitialDir = folder.IsEmpty() ? nullptr : folder.c_str();
    ofn.lpstrDefExt = ext.IsEmpty() ? nullptr : ext.c_str() + (ext[0] == '.' ? 1 : 0);
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                (openDialog ? OFN_FILEMUSTEXIST : OFN_OVERWRITEPROMPT);
    BOOL ok = openDialog ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
    if (ok) {
        fileName = buf;
        RememberFolder(buf);
    }
    return ok;
}

void CWinApp::OnFileOpen()
{
    CString name;
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
    CString name = (*m_pRecentFileList)[index];
    if (!OpenDocumentFile(name)) m_pRecentFileList->Remove(index);
}

void CWinApp::AddToRecentFileList(const char* pathName)
{
    RememberFolder(pathName);
    if (m_pRecentFileList) m_pRecentFileList->Add(pathName);
}

void CWinApp::RememberFolder(const char* pathName)
{
    char folder[MAX_PATH];
    if (!::GetFullPathNameA(pathName, MAX_PATH, folder, nullptr)) return;
    ::PathRemoveFileSpecA(folder);
    m_strLastDir = folder;
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pd)
{
    if (!m_hDevNames) {
        PRINTDLGA probe{};
        probe.lStructSize = sizeof(probe);
        probe.Flags = PD_RETURNDEFAULT;
        if (!::PrintDlgA(&probe)) return FALSE;
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
    if (::PrintDlgA(&pd)) {
        m_hDevMode = pd.hDevMode;
        m_hDevNames = pd.hDevNames;
    } else if (::CommDlgExtendedError() == PDERR_NODEFAULTPRN) {
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

bool sameRegString(HKEY root, const char* path, const char* name, const char* value)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    char stored[2 * MAX_PATH];
    DWORD type = 0, size = sizeof stored;
    LONG r = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(stored), &size);
    ::RegCloseKey(key);
    return r == ERROR_SUCCESS && type == REG_SZ && size == static_cast<DWORD>(lstrlenA(value) + 1) &&
           !lstrcmpA(stored, value);
}

bool setRegString(HKEY root, const char* path, const char* name, const char* value)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG r = ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                              static_cast<DWORD>(lstrlenA(value) + 1));
    ::RegCloseKey(key);
    return r == ERROR_SUCCESS;
}
} // namespace

CString CWinApp::GetProfileString(const char* section, const char* entry, const char* def) const
{
    HKEY key = openSectionKey(*this, section, false);
    if (!key) return CString(def);
    char buf[MAX_PATH * 2];
    DWORD size = sizeof(buf) - 1, type = 0;
    LONG r = ::RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    ::RegCloseKey(key);
    if (r != ERROR_SUCCESS || type != REG_SZ) return CString(def);
    buf[size < sizeof(buf) ? size : sizeof(buf) - 1] = '\0';
    return CString(buf);
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) const
{
    HKEY key = openSectionKey(*this, section, true);
    if (!key) return FALSE;
    LONG r = value ? ::RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                      static_cast<DWORD>(lstrlenA(value) + 1))
                   : ::RegDeleteValueA(key, entry);
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
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    CString quoted = CString("\"") + exe + "\"";
    bool changed = false;
    for (CDocTemplate* t : m_templates) {
        CString typeId, typeName, ext;
        if (!t->GetDocString(typeId, CDocTemplate::regFileTypeId) || typeId.IsEmpty()) continue;
        t->GetDocString(typeName, CDocTemplate::regFileTypeName);
        t->GetDocString(ext, CDocTemplate::filterExt);
        CString base = CString("Software\\Classes\\") + typeId;
        std::vector<std::pair<CString, CString>> keys{{base, typeName}, {base + "\\DefaultIcon", CString(exe) + ",1"}};
        if (m_bShellOpen) keys.emplace_back(base + "\\shell\\open\\command", quoted + " \"%1\"");
        if (compat) {
            keys.emplace_back(base + "\\shell\\print\\command", quoted + " /p \"%1\"");
            keys.emplace_back(base + "\\shell\\printto\\command", quoted + " /pt \"%1\" \"%2\" \"%3\" \"%4\"");
        }
        if (!ext.IsEmpty()) keys.emplace_back(CString("Software\\Classes\\") + ext, typeId);
        // The types are checked at every start: an unchanged one costs no
        // write, and the shell is told only of a real change (telling it is slow).
        for (const auto& [path, value] : keys)
            if (!sameRegString(HKEY_CURRENT_USER, path, nullptr, value)) {
                setRegString(HKEY_CURRENT_USER, path, nullptr, value);
                changed = true;
            }
    }
    if (changed) ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

// ---------------------------------------------------------------- recent files

CRecentFileList::CRecentFileList(UINT firstId, const char* section, const char* entryFormat, int size)
    : m_nFirstId(firstId), m_strSection(section), m_strEntryFormat(entryFormat), m_nSize(size) {}

void CRecentFileList::Add(const char* pathName)
{
    char full[MAX_PATH];
    if (!::GetFullPathNameA(pathName, MAX_PATH, full, nullptr)) lstrcpynA(full, pathName, MAX_PATH);
    for (size_t i = 0; i < m_names.size(); ++i)
        if (!lstrcmpiA(m_names[i], full)) { m_names.erase(m_names.begin() + static_cast<long>(i)); break; }
    m_names.insert(m_names.begin(), CString(full));
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
        CString name = AfxGetApp()->GetProfileString(m_strSection, entry);
        if (!name.IsEmpty()) m_names.push_back(name);
    }
}

void CRecentFileList::WriteList() const
{
    for (int i = 1; i <= m_nSize; ++i) {
        CString entry;
        entry.Format(m_strEntryFormat, i);
        AfxGetApp()->WriteProfileString(m_strSection, entry,
                                        i <= GetCount() ? m_names[static_cast<size_t>(i - 1)].c_str() : nullptr);
    }
}

CString CRecentFileList::GetDisplayName(int index) const
{
    // The file name alone, as the shell shows it; the path when another entry
    // has the same name. Either is shortened with "..." beyond what fits a menu.
    const CString& full = m_names[static_cast<size_t>(index)];
    const char* name = ::PathFindFileNameA(full);
    bool shared = false;
    for (int i = 0; i < GetCount(); ++i)
        if (i != index && !lstrcmpiA(::PathFindFileNameA(m_names[static_cast<size_t>(i)]), name)) shared = true;
    const char* shown = shared ? full.c_str() : name;
    char buf[kMaxDisplayName + 1];
    if (lstrlenA(shown) <= kMaxDisplayName || !::PathCompactPathExA(buf, shown, kMaxDisplayName + 1, 0))
        return CString(shown);
    return CString(buf);
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
    if (m_strPlaceholder.IsEmpty()) {
        char text[256] = "";
        ::GetMenuStringA(popup, m_nFirstId, text, sizeof(text), MF_BYCOMMAND);
        m_strPlaceholder = text;
    }
    for (int i = 0; i < m_nSize; ++i) ::DeleteMenu(popup, m_nFirstId + static_cast<UINT>(i), MF_BYCOMMAND);
    if (m_names.empty()) {
        ::InsertMenuA(popup, static_cast<UINT>(pos), MF_BYPOSITION | MF_STRING | MF_GRAYED, m_nFirstId, m_strPlaceholder);
        return;
    }
    for (int i = 0; i < GetCount(); ++i) {
        // "&1 file.osc"; ampersands of the name doubled so they show.
        std::string label(1, '&');
        label += std::to_string(i + 1);
        label += ' ';
        const CString shown = GetDisplayName(i);
        for (char c : shown.str()) { label += c; if (c == '&') label += '&'; }
        ::InsertMenuA(popup, static_cast<UINT>(pos + i), MF_BYPOSITION | MF_STRING,
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
    char startDir[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, startDir);
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
