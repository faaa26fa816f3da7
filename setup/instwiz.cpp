// The installer's wizard: greeting, five pages and the licence dialog.
#include "instwiz.h"

#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "destpath.h"
#include "record.h"
#include "resources/setup/setupres.h"

INSTALLINFO setupInfo;
int gLicenseAccepted = 0;
int gSetupAborted = 0;

namespace {

const char kLicenseFile[] = "license.txt";
const char kCriticalCaption[] = "Sample Installation Critical Error";

// Ends the program without installing: the main loop sees the quit request,
// and CreateWizard reports a cancel whatever the property sheet returns.
void AbortSetup()
{
    gSetupAborted = 1;
    PostQuitMessage(0);
}

void SetWizardButtons(HWND hPage, DWORD dwFlags)
{
    PostMessageA(GetParent(hPage), PSM_SETWIZBUTTONS, 0, (LPARAM)dwFlags);
}

// Lets the page go, and tells the sheet the notification was handled.
INT_PTR AllowPageChange(HWND hDlg)
{
    SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, FALSE);
    return TRUE;
}

UINT NotifyCode(LPARAM lParam)
{
    return ((const NMHDR *)lParam)->code;
}

// What every page answers alike: it lets itself be left, and sets no result
// for the wizard's buttons, so the wizard always moves on.
INT_PTR CommonPageNotify(HWND hDlg, UINT code)
{
    switch (code) {
    case PSN_KILLACTIVE:
        return AllowPageChange(hDlg);
    case PSN_WIZNEXT:
    case PSN_WIZBACK:
    case PSN_WIZFINISH:
    case PSN_RESET:
        return TRUE;
    }
    return FALSE;
}

void ResetOptionFlags()
{
    setupInfo.iCustom_Options1 = 1;
    setupInfo.iCustom_Options2 = 1;
    setupInfo.iCustom_Options3 = 0;
    setupInfo.iCustom_Options4 = 1;
}

void SetTypeButtons(HWND hDlg)
{
    SetWizardButtons(hDlg, setupInfo.iInstall_Type == INSTALL_TYPE_UNINSTALL
                               ? PSWIZB_BACK | PSWIZB_FINISH
                               : PSWIZB_BACK | PSWIZB_NEXT);
}

void LicenseError(HWND hDlg, const char *pszFormat, const char *pszPath)
{
    char szMessage[MAX_PATH + 64];
    snprintf(szMessage, sizeof szMessage, pszFormat, pszPath);
    MessageBoxA(hDlg, szMessage, kCriticalCaption, MB_OK);
}

// Reads the whole licence into a NUL-terminated buffer (caller frees it).
// On failure the user has been told and the installer asked to end.
char *ReadLicenseText(HWND hDlg)
{
    char szPath[MAX_PATH];
    GetSourceDirectory(szPath, sizeof szPath);
    // Without our own folder the bare name would be some other folder's file.
    bool bHaveDir = szPath[0] != '\0';
    strncat(szPath, kLicenseFile, sizeof szPath - strlen(szPath) - 1);

    HANDLE hFile = bHaveDir ? CreateFileA(szPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr)
                            : INVALID_HANDLE_VALUE;
    if (hFile == INVALID_HANDLE_VALUE) {
        LicenseError(hDlg, "Error accessing file: %s", szPath);
        AbortSetup();
        return nullptr;
    }
    DWORD dwSize = GetFileSize(hFile, nullptr);
    char *pszText = dwSize == INVALID_FILE_SIZE ? nullptr : (char *)malloc((size_t)dwSize + 1);
    if (!pszText) {
        CloseHandle(hFile);
        MessageBoxA(hDlg, "Error allocating memory for license text.", kCriticalCaption, MB_OK);
        AbortSetup();
        return nullptr;
    }
    DWORD dwRead = 0;
    BOOL bRead = ReadFile(hFile, pszText, dwSize, &dwRead, nullptr);
    CloseHandle(hFile);
    if (!bRead || dwRead != dwSize) {
        free(pszText);
        LicenseError(hDlg, "Error reading license file: %s", szPath);
        AbortSetup();
        return nullptr;
    }
    pszText[dwSize] = '\0';
    return pszText;
}

// Returns whether the wizard may go on past the welcome page.
bool ShowLicenseIfNeeded(HWND hPage)
{
    if (gLicenseAccepted == 1)
        return true;
    INT_PTR nAnswer = DialogBoxParamA(setupInfo.hInst, MAKEINTRESOURCEA(IDD_LICENSE), hPage, License, 0);
    if (nAnswer == IDC_LICENSE_YES && !gSetupAborted) {
        gLicenseAccepted = 1;
        return true;
    }
    AbortSetup();
    return false;
}

}  // namespace

void GetSourceDirectory(char *pszDir, DWORD cchDir)
{
    DWORD n = GetModuleFileNameA(nullptr, pszDir, cchDir);
    if (n == 0 || n >= cchDir) {
        pszDir[0] = '\0';
        return;
    }
    char *pszSlash = strrchr(pszDir, '\\');
    if (pszSlash)
        pszSlash[1] = '\0';
}

void ShowGreeting()
{
    MessageBoxA(nullptr,
                "Merçi d'installer l'Ondavis. Fermez toutes les applications en cours puis cliquez sur "
                "OK. Ce programme permet aussi la desinstallation.",
                "Ondavis Setup", MB_OK | MB_ICONEXCLAMATION);
}

void FillInPropertyPage(PROPSHEETPAGEA *psp, int idDlg, LPCSTR pszProc, DLGPROC pfnDlgProc)
{
    ZeroMemory(psp, sizeof *psp);
    psp->dwSize = sizeof *psp;
    psp->dwFlags = 0;
    psp->hInstance = setupInfo.hInst;
    psp->pszTemplate = MAKEINTRESOURCEA(idDlg);
    psp->pszTitle = pszProc;
    psp->pfnDlgProc = pfnDlgProc;
    psp->lParam = 0;
}

// The sheet opens centred on the screen, as the installer's message boxes do.
static int CALLBACK CentreSheet(HWND hwndSheet, UINT message, LPARAM)
{
    if (message == PSCB_INITIALIZED) {
        RECT r, work;
        GetWindowRect(hwndSheet, &r);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        SetWindowPos(hwndSheet, nullptr, (work.left + work.right - (r.right - r.left)) / 2,
                     (work.top + work.bottom - (r.bottom - r.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 0;
}

int CreateWizard(HWND hwndOwner, HINSTANCE hInst)
{
    PROPSHEETPAGEA psp[5];
    FillInPropertyPage(&psp[0], IDD_WELCOME, "Welcome", Welcome);
    FillInPropertyPage(&psp[1], IDD_INSTALL_TYPE, "Installation Type", Install_Type);
    FillInPropertyPage(&psp[2], IDD_DESTINATION, "Installation Location", Install_Destination);
    FillInPropertyPage(&psp[3], IDD_OPTIONS, "Custom Installation Options", Custom_Options);
    FillInPropertyPage(&psp[4], IDD_INSTALL, "Finish Installation", Install);

    PROPSHEETHEADERA psh;
    ZeroMemory(&psh, sizeof psh);
    psh.dwSize = sizeof psh;
    psh.dwFlags = PSH_PROPSHEETPAGE | PSH_WIZARD | PSH_NOAPPLYNOW | PSH_USECALLBACK;
    psh.pfnCallback = CentreSheet;
    psh.hwndParent = hwndOwner;
    psh.hInstance = hInst;
    psh.pszCaption = "Installation de l'Ondavis";
    psh.nPages = sizeof psp / sizeof psp[0];
    psh.nStartPage = 0;
    psh.ppsp = psp;

    gSetupAborted = 0;
    INT_PTR nResult = PropertySheetA(&psh);
    // A quit request leaves the sheet with -1 under some implementations:
    // only a real Finish may lead to an installation.
    if (gSetupAborted || nResult <= 0)
        return 0;
    return (int)nResult;
}

INT_PTR CALLBACK Welcome(HWND hDlg, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_NOTIFY)
        return FALSE;
    switch (NotifyCode(lParam)) {
    case PSN_SETACTIVE:
        SetWizardButtons(hDlg, PSWIZB_NEXT);
        return TRUE;
    case PSN_WIZNEXT:
        // Declined: the sheet stays here while the quit request ends it.
        SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, ShowLicenseIfNeeded(hDlg) ? 0 : -1);
        return TRUE;
    }
    return CommonPageNotify(hDlg, NotifyCode(lParam));
}

namespace {

// The edit box lays out every line it is given before it answers again, which
// for a long licence takes a long while: the text goes in a slice at a time,
// from a timer, so that the dialog shows and answers at once.
const UINT_PTR kFillTimer = 1;
const size_t kLicenseSlice = 32 * 1024;

struct LicenseFill {
    char *pszText = nullptr;  // the whole licence, NUL-terminated
    size_t nLength = 0;
    size_t nShown = 0;  // bytes already in the edit box
};
LicenseFill gLicenseFill;  // one licence dialog at a time

// Where the next slice ends: at a line end when there is one in it.
size_t NextSliceEnd(const LicenseFill &f)
{
    size_t nEnd = f.nShown + kLicenseSlice;
    if (nEnd >= f.nLength)
        return f.nLength;
    for (size_t i = nEnd; i > f.nShown; --i)
        if (f.pszText[i - 1] == '\n')
            return i;
    return nEnd;
}

// Appends the next slice, leaving the reader's place and selection as they were.
void ShowNextSlice(HWND hDlg)
{
    LicenseFill &f = gLicenseFill;
    size_t nEnd = NextSliceEnd(f);
    char cKept = f.pszText[nEnd];
    f.pszText[nEnd] = '\0';
    HWND hEdit = GetDlgItem(hDlg, IDC_LICENSE_TEXT);
    if (f.nShown == 0) {
        SetWindowTextA(hEdit, f.pszText);
    } else {
        DWORD dwStart = 0, dwEnd = 0;
        SendMessageA(hEdit, EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
        LRESULT nFirstLine = SendMessageA(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0);
        SendMessageA(hEdit, WM_SETREDRAW, FALSE, 0);
        SendMessageA(hEdit, EM_SETSEL, MAXLONG, MAXLONG);  // past the end: the end
        SendMessageA(hEdit, EM_REPLACESEL, FALSE, (LPARAM)(f.pszText + f.nShown));
        SendMessageA(hEdit, EM_SETSEL, dwStart, dwEnd);
        LRESULT nNowFirst = SendMessageA(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0);
        SendMessageA(hEdit, EM_LINESCROLL, 0, nFirstLine - nNowFirst);
        SendMessageA(hEdit, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(hEdit, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
    f.pszText[nEnd] = cKept;
    f.nShown = nEnd;
    if (f.nShown >= f.nLength)
        KillTimer(hDlg, kFillTimer);
}

void StartLicenseFill(HWND hDlg, char *pszText)
{
    gLicenseFill = LicenseFill{pszText, strlen(pszText), 0};
    // No limit but memory: the licence is shown whole, however long.
    SendDlgItemMessageA(hDlg, IDC_LICENSE_TEXT, EM_SETLIMITTEXT, 0, 0);
    ShowNextSlice(hDlg);
    if (gLicenseFill.nShown < gLicenseFill.nLength)
        SetTimer(hDlg, kFillTimer, USER_TIMER_MINIMUM, nullptr);
}

void EndLicenseFill(HWND hDlg)
{
    KillTimer(hDlg, kFillTimer);
    free(gLicenseFill.pszText);
    gLicenseFill = LicenseFill{};
}

}  // namespace

INT_PTR CALLBACK License(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        char *pszText = ReadLicenseText(hDlg);
        if (pszText)
            StartLicenseFill(hDlg, pszText);
        SetFocus(GetDlgItem(hDlg, IDC_LICENSE_TEXT));
        return FALSE;  // the focus is set
    }
    case WM_TIMER:
        if (wParam != kFillTimer || !gLicenseFill.pszText)
            return FALSE;
        ShowNextSlice(hDlg);
        return TRUE;
    case WM_DESTROY:
        EndLicenseFill(hDlg);
        return FALSE;
    case WM_COMMAND:
        // Only an explicit answer ends the dialog: Escape and the close box do not.
        if (LOWORD(wParam) == IDC_LICENSE_YES || LOWORD(wParam) == IDC_LICENSE_NO) {
            EndDialog(hDlg, LOWORD(wParam));
            return TRUE;
        }
        return LOWORD(wParam) == IDCANCEL;
    }
    return FALSE;
}

namespace {

INT_PTR InstallTypeNotify(HWND hDlg, LPARAM lParam)
{
    switch (NotifyCode(lParam)) {
    case PSN_SETACTIVE:
        if (setupInfo.iInstall_Type != 0)
            CheckRadioButton(hDlg, IDC_UNINSTALL, IDC_INSTALL, setupInfo.iInstall_Type);
        SetTypeButtons(hDlg);
        return TRUE;
    }
    return CommonPageNotify(hDlg, NotifyCode(lParam));
}

INT_PTR InstallTypeCommand(HWND hDlg, WPARAM wParam)
{
    int id = LOWORD(wParam);
    // Only the two visible choices: the unused buttons between them are no install type.
    if (HIWORD(wParam) == BN_CLICKED && (id == IDC_UNINSTALL || id == IDC_INSTALL)) {
        setupInfo.iInstall_Type = id;
        SetTypeButtons(hDlg);
    }
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK Install_Type(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    INT_PTR nResult = FALSE;
    switch (message) {
    case WM_INITDIALOG:
        setupInfo.iInstall_Type = INSTALL_TYPE_INSTALL;
        nResult = TRUE;
        break;
    case WM_COMMAND:
        nResult = InstallTypeCommand(hDlg, wParam);
        break;
    case WM_NOTIFY:
        nResult = InstallTypeNotify(hDlg, lParam);
        if (!nResult || NotifyCode(lParam) == PSN_KILLACTIVE)
            return nResult;
        break;
    default:
        return FALSE;
    }
    // Whatever the user did elsewhere, passing this page restores the option set.
    ResetOptionFlags();
    return nResult;
}

namespace {

// Why the folder cannot take the installation, from its path and from what
// it holds (the names the script beside the installer installs); 0 if it can.
UINT CheckDestination(const char *pszPath, std::string *pDetail)
{
    if (UINT idsProblem = DestinationProblem(pszPath))
        return idsProblem;
    char szInf[MAX_PATH + 16];
    GetSourceDirectory(szInf, MAX_PATH);
    if (!szInf[0])
        return 0;  // the installation itself reports it
    strcat(szInf, "ondav.inf");
    HINF hInf = SetupOpenInfFileA(szInf, nullptr, INF_STYLE_WIN4, nullptr);
    if (hInf == INVALID_HANDLE_VALUE)
        return 0;  // the installation itself reports it
    UINT idsProblem = FolderProblem(hInf, NormalFolder(pszPath).c_str(), pDetail);
    SetupCloseInfFile(hInf);
    return idsProblem;
}

}  // namespace

INT_PTR CALLBACK Install_Destination(HWND hDlg, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        // The stored field holds MAX_PATH characters with the NUL.
        SendDlgItemMessageA(hDlg, IDC_DESTPATH, EM_LIMITTEXT, MAX_PATH - 1, 0);
        return TRUE;
    }
    if (message != WM_NOTIFY)
        return FALSE;
    switch (NotifyCode(lParam)) {
    case PSN_SETACTIVE:
        SetWizardButtons(hDlg, PSWIZB_BACK | PSWIZB_NEXT);
        SetDlgItemTextA(hDlg, IDC_DESTPATH, setupInfo.pszDestPath);
        return TRUE;
    case PSN_WIZNEXT: {
        // Taken as typed, with the trailing '\' or not: the user decides. Only
        // what cannot take the installation is refused, before anything is written.
        char szPath[sizeof setupInfo.pszDestPath];
        GetDlgItemTextA(hDlg, IDC_DESTPATH, szPath, sizeof szPath);
        std::string detail;
        if (UINT idsProblem = CheckDestination(szPath, &detail)) {
            RefuseDestination(hDlg, setupInfo.hInst, idsProblem, detail);
            SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, -1);
            return TRUE;
        }
        // One separator throughout: the path also goes into shortcuts and the registry.
        for (char *p = szPath; *p; ++p)
            if (*p == '/')
                *p = '\\';
        memcpy(setupInfo.pszDestPath, szPath, sizeof szPath);
        return TRUE;
    }
    }
    return CommonPageNotify(hDlg, NotifyCode(lParam));
}

namespace {

int *OptionFlag(int idCheck)
{
    switch (idCheck) {
    case IDC_OPTION1: return &setupInfo.iCustom_Options1;
    case IDC_OPTION2: return &setupInfo.iCustom_Options2;
    case IDC_OPTION3: return &setupInfo.iCustom_Options3;
    case IDC_OPTION4: return &setupInfo.iCustom_Options4;
    }
    return nullptr;
}

}  // namespace

INT_PTR CALLBACK Custom_Options(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        int *pFlag = OptionFlag(LOWORD(wParam));
        if (!pFlag || HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        *pFlag = !*pFlag;
        return TRUE;
    }
    if (message != WM_NOTIFY)
        return FALSE;
    switch (NotifyCode(lParam)) {
    case PSN_SETACTIVE:
        for (int id = IDC_OPTION1; id <= IDC_OPTION4; ++id)
            CheckDlgButton(hDlg, id, *OptionFlag(id) ? BST_CHECKED : BST_UNCHECKED);
        SetWizardButtons(hDlg, PSWIZB_BACK | PSWIZB_NEXT);
        return TRUE;
    }
    return CommonPageNotify(hDlg, NotifyCode(lParam));
}

namespace {

// The property sheet's own Finish button.
const int kSheetFinishButton = 0x3025;

// The page says "appuyez sur Entrée": Enter must press Finish, so the focus
// goes to it (it would stay on the Next button just hidden) and it becomes
// the default. Posted after the button change, so that they come in order.
void FocusFinishButton(HWND hPage)
{
    HWND hSheet = GetParent(hPage);
    PostMessageA(hSheet, DM_SETDEFID, kSheetFinishButton, 0);
    PostMessageA(hSheet, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(hSheet, kSheetFinishButton), TRUE);
}

}  // namespace

INT_PTR CALLBACK Install(HWND hDlg, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_NOTIFY)
        return FALSE;
    switch (NotifyCode(lParam)) {
    case PSN_SETACTIVE:
        SetWizardButtons(hDlg, PSWIZB_BACK | PSWIZB_FINISH);
        FocusFinishButton(hDlg);
        return TRUE;
    }
    return CommonPageNotify(hDlg, NotifyCode(lParam));
}
