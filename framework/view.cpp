#include "framework/view.h"
#include "framework/late.h"
#include "framework/preview.h"
#include "framework/app.h"
#include "framework/doc.h"
#include "framework/ids.h"
#include <commdlg.h>

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, OnFilePrintDirect)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
END_MESSAGE_MAP()

CPrintInfo::CPrintInfo()
{
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.Flags = PD_ALLPAGES | PD_RETURNDC | PD_NOSELECTION | PD_HIDEPRINTTOFILE | PD_USEDEVMODECOPIESANDCOLLATE;
    m_pd.nFromPage = 1;
    m_pd.nToPage = 1;
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 0xFFFF;
}

CPrintInfo::~CPrintInfo()
{
    if (m_pd.hDC) ::DeleteDC(m_pd.hDC);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = RegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1) return -1;
    auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    if (context && context->m_pCurrentDoc) context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    CWnd::OnDestroy();
}

void CView::PostNcDestroy()
{
    if (m_pDocument) m_pDocument->RemoveView(this);
    delete this;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

BOOL CView::OnCmdMsg(UINT id, UINT code, void* extra)
{
    if (CWnd::OnCmdMsg(id, code, extra)) return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(id, code, extra);
}

BOOL CView::OnPreparePrinting(CPrintInfo* info)
{
    return DoPreparePrinting(info);
}

BOOL CView::DoPreparePrinting(CPrintInfo* info)
{
    CWinApp* app = AfxGetApp();
    PRINTDLGA& pd = info->m_pd;
    pd.hwndOwner = ::GetAncestor(m_hWnd, GA_ROOT);
    pd.nMinPage = static_cast<WORD>(info->m_nMinPage);
    pd.nMaxPage = static_cast<WORD>(info->m_nMaxPage);
    if (info->m_bPreview) {
        // The default printer's page if there is one; without, a standard page.
        PRINTDLGA probe{};
        probe.lStructSize = sizeof(probe);
        if (app && app->GetPrinterDeviceDefaults(&probe)) {
            auto* names = static_cast<DEVNAMES*>(::GlobalLock(probe.hDevNames));
            const char* base = reinterpret_cast<const char*>(names);
            pd.hDC = ::CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, nullptr);
            ::GlobalUnlock(probe.hDevNames);
        }
        return TRUE;
    }
    if (info->m_bDirect) {
        // No dialog: the printer chosen in print set-up, or the default one.
        PRINTDLGA probe{};
        probe.lStructSize = sizeof(probe);
        if (!app || !app->GetPrinterDeviceDefaults(&probe)) {
            AfxMessageBox(FW_IDS_PRINT_FAILED, MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
        auto* names = static_cast<DEVNAMES*>(::GlobalLock(probe.hDevNames));
        const char* base = reinterpret_cast<const char*>(names);
        auto* mode = static_cast<DEVMODEA*>(probe.hDevMode ? ::GlobalLock(probe.hDevMode) : nullptr);
        pd.hDC = ::CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
        if (mode) ::GlobalUnlock(probe.hDevMode);
        ::GlobalUnlock(probe.hDevNames);
        return pd.hDC != nullptr;
    }
    if (!app || !app->GetPrinterDeviceDefaults(&pd)) {
        AfxMessageBox(FW_IDS_PRINT_FAILED, MB_OK | MB_ICONEXCLAMATION);   // no printer: one message, ours
        return FALSE;
    }
    if (!late::PrintDlgA(&pd)) {
        if (late::CommDlgExtendedError() == PDERR_NODEFAULTPRN)
            AfxMessageBox(FW_IDS_PRINT_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (app) { app->m_hDevMode = pd.hDevMode; app->m_hDevNames = pd.hDevNames; }
    return pd.hDC != nullptr;
}

void CView::OnFilePrint() { RunPrintJob(FALSE); }
void CView::OnFilePrintDirect() { RunPrintJob(TRUE); }

void CView::OnFilePrintPreview()
{
    // The print information lives as long as the preview window.
    auto* info = new CPrintInfo;
    info->m_bPreview = TRUE;
    if (!OnPreparePrinting(info) || !CPreviewWnd::Open(this, info)) {
        delete info;
        return;
    }
}

void CView::RunPrintJob(BOOL direct)
{
    CPrintInfo info;
    info.m_bDirect = direct;
    if (!OnPreparePrinting(&info)) return;
    CDC dc(info.m_pd.hDC);
    dc.m_bPrinting = TRUE;
    std::wstring title = m_pDocument ? m_pDocument->GetTitle() : CPathName::FromAnsi(AfxGetAppName());
    PrintPages(&dc, &info, title);
    dc.Detach();
}

void CView::PrintPages(CDC* dc, CPrintInfo* info, const std::wstring& docName)
{
    OnBeginPrinting(dc, info);
    DOCINFOW di{};
    di.cbSize = sizeof(di);
    di.lpszDocName = docName.c_str();
    bool ok = ::StartDocW(dc->m_hDC, &di) > 0;
    info->m_rectDraw.SetRect(0, 0, ::GetDeviceCaps(dc->m_hDC, HORZRES), ::GetDeviceCaps(dc->m_hDC, VERTRES));
    for (UINT page = info->m_nMinPage; ok && page <= info->m_nMaxPage && info->m_bContinuePrinting; ++page) {
        info->m_nCurPage = page;
        ok = ::StartPage(dc->m_hDC) > 0;
        if (!ok) break;
        OnPrepareDC(dc, info);
        OnPrint(dc, info);
        ok = ::EndPage(dc->m_hDC) > 0;
    }
    // The spooler may still refuse the job at its end: that is a failed print too.
    if (ok) ok = ::EndDoc(dc->m_hDC) > 0;
    else ::AbortDoc(dc->m_hDC);
    if (!ok) AfxMessageBox(FW_IDS_PRINT_FAILED, MB_OK | MB_ICONEXCLAMATION);
    OnEndPrinting(dc, info);
}
