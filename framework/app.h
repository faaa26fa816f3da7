// CWinApp: the application object, its start-up helpers and message loop.
#pragma once
#include "framework/cmdtarget.h"
#include "framework/wnd.h"
#include "framework/path.h"
#include <vector>

class CDocTemplate;
class CDocument;

// The parsed command line: a file name and the shell's switches.
class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, FileNothing };
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    int m_nShellCommand = FileNew;
    CPathName m_strFileName;
    CString m_strPrinterName, m_strDriverName, m_strPortName;

    // An argument that cannot be used: the first one is kept and reported by
    // ProcessShellCommand instead of starting with something else.
    enum { refuseNone, refuseTooLong, refuseEmpty, refuseExtra, refuseUnknown };
    int m_nRefusal = refuseNone;
    std::wstring m_strRefused;

    virtual ~CCommandLineInfo() = default;
    // One argument; flag tells whether it began with '/' or '-' (then stripped).
    virtual void ParseParam(const wchar_t* param, BOOL flag, BOOL last);
    void ParseParam(const char* ansiParam, BOOL flag, BOOL last)
    {
        ParseParam(CPathName::FromAnsi(ansiParam).c_str(), flag, last);
    }
    void Refuse(int why, const std::wstring& argument);
private:
    int m_nPrintToArgs = 0;   // how many of printer, driver, port are still expected
};

// The most recently used documents, kept in the user's profile.
class CRecentFileList {
public:
    CRecentFileList(UINT firstId, const char* section, const char* entryFormat, int size);
    void Add(const CPathName& pathName);
    void Remove(int index);
    int GetSize() const { return m_nSize; }
    int GetCount() const { return static_cast<int>(m_names.size()); }
    const CPathName& operator[](int i) const { return m_names[static_cast<size_t>(i)]; }
    void ReadList();
    void WriteList();
    // What the menu shows for an entry: the file name, or the path when
    // names are alike, shortened to kMaxDisplayName characters.
    std::wstring GetDisplayName(int index) const;
    static constexpr int kMaxDisplayName = 40;
    // Puts the entries in place of the first-id item of popup (or its placeholder).
    void UpdateMenu(HMENU popup);

private:
    UINT m_nFirstId;
    CString m_strSection, m_strEntryFormat;
    int m_nSize;
    std::vector<CPathName> m_names;
    std::vector<CPathName> m_namesStored;   // as the profile holds them
    std::wstring m_strPlaceholder;   // the menu's own text for an empty list
};

class CWinApp : public CCmdTarget {
public:
    HINSTANCE m_hInstance = nullptr;
    char* m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;
    CString m_strAppName;
    CString m_strRegistryKey;
    CString m_strProfileName;
    CRecentFileList* m_pRecentFileList = nullptr;
    CPathName m_strStartDir;   // the current directory when the program started
    CPathName m_strLastDir;    // where the last document was opened or saved

    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL OnIdle(long count);
    // F1 pressed in a modal box: the help of the box named helpId (see CBoxHelp).
    virtual void OnBoxHelp(UINT helpId) { (void)helpId; }

    // Start-up helpers.
    void ParseCommandLine(CCommandLineInfo& info);
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    void SetRegistryKey(const char* company);
    void LoadStdProfileSettings(UINT maxMRU = 4);
    void AddDocTemplate(CDocTemplate* docTemplate);
    // Lets the shell open documents with this program (the open verb).
    void EnableShellOpen() { m_bShellOpen = TRUE; }
    // Registers each template's file type with the shell (current user's classes).
    void RegisterShellFileTypes(BOOL compat = FALSE);
    // The 3-D controls of this system are the common controls: loads them.
    BOOL Enable3dControls();
    CDocTemplate* GetDocTemplate() const { return m_templates.empty() ? nullptr : m_templates.front(); }

    // Documents.
    virtual CDocument* OpenDocumentFile(const CPathName& pathName);
    virtual void AddToRecentFileList(const CPathName& pathName);
    // The open or save dialog, starting in the folder last used; fileName
    // is the name offered, then the one chosen.
    BOOL DoPromptFileName(CPathName& fileName, BOOL openDialog);

    // Profile (HKCU\Software\<key>\<profile>\<section>).
    // Values are wide: they hold file names. A null value removes the entry.
    std::wstring GetProfileString(const char* section, const char* entry) const;
    BOOL WriteProfileString(const char* section, const char* entry, const wchar_t* value) const;

    // Standard command handlers.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();
    void OnOpenRecentFile(UINT id);
    BOOL GetPrinterDeviceDefaults(PRINTDLGA* pd);

    DECLARE_MESSAGE_MAP()

protected:
    std::vector<CDocTemplate*> m_templates;
    void RememberFolder(const CPathName& pathName);
    BOOL m_bShellOpen = FALSE;
    HGLOBAL m_hDevMode = nullptr;   // the printer chosen in print set-up
    HGLOBAL m_hDevNames = nullptr;
    friend class CView;
};

// The help of the modal boxes opened while it lives: a command's id (the
// frame sets it around every command) or a box's own help id. F1 pressed in
// any dialog or message box of this thread then asks the application for
// that help instead of the window under the box.
class CBoxHelp {
public:
    explicit CBoxHelp(UINT helpId);
    ~CBoxHelp();
    CBoxHelp(const CBoxHelp&) = delete;
    CBoxHelp& operator=(const CBoxHelp&) = delete;
    // The innermost help id, 0 when none.
    static UINT Current();
private:
    UINT m_nPrevious;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
const char* AfxGetAppName();
// Makes the user-interface thread able to host OLE controls (OLE initialised).
BOOL AfxEnableControlContainer();

// Local time and its formatting through the C runtime's locale.
class CTime {
public:
    CTime() = default;
    explicit CTime(__time64_t t) : m_time(t) {}
    static CTime GetCurrentTime();
    CString Format(const char* format) const;
    __time64_t GetTime() const { return m_time; }
private:
    __time64_t m_time = 0;
};
