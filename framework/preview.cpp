#include "framework/preview.h"
#include "framework/app.h"
#include "framework/doc.h"
#include "framework/ids.h"

namespace {
constexpr int kButtonBar = 34;
constexpr int kMargin = 12;
constexpr UINT kPreviewPrint = 1, kPreviewClose = IDCANCEL;
// Without a printer the page is A4 landscape at 300 dots per inch.
constexpr SIZE kDefaultPage{ 3508, 2480 };
} // namespace

CPreviewWnd* CPreviewWnd::Open(CView* view, CPrintInfo* info)
{
    auto* preview = new CPreviewWnd;
    preview->m_pView = view;
    preview->m_pInfo = info;
    preview->m_hOwner = ::GetAncestor(view->m_hWnd, GA_ROOT);
    HDC reference = info->m_pd.hDC ? info->m_pd.hDC : ::GetDC(nullptr);
    BOOL recorded = preview->RecordPage(reference);
    if (!info->m_pd.hDC) ::ReleaseDC(nullptr, reference);
    // The page is recorded: the view paints for the screen again, whatever
    // repaints the main window while the preview is open.
    view->OnEndPrinting(nullptr, info);
    CString title;
    title.LoadString(ID_FILE_PRINT_PREVIEW);
    int nl = title.Find('\n');
    title = nl < 0 ? title : title.Mid(nl + 1);
    RECT owner;
    ::GetWindowRect(preview->m_hOwner, &owner);
    // The program's icon in its caption, as its main window has.
    auto icon = reinterpret_cast<HICON>(::GetClassLongPtrA(preview->m_hOwner, GCLP_HICON));
    const char* cls = RegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1), icon);
    if (!recorded || !preview->CreateEx(0, cls, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, owner.left, owner.top,
                                        owner.right - owner.left, owner.bottom - owner.top, preview->m_hOwner, nullptr)) {
        delete preview;                       // never had a window: still ours to delete
        return nullptr;
    }
    preview->m_bOpen = TRUE;
    if (CDocument* doc = view->GetDocument())
        preview->SetWindowTextWide(CPathName::FromAnsi(title) + L" - " + doc->GetTitle());
    // The buttons' texts: the print command's menu text and the close prompt's tooltip.
    CString print, close;
    print.LoadString(ID_FILE_PRINT);
    close.LoadString(0xF005);
    auto after = [](const CString& s) { int i = s.Find('\n'); return i < 0 ? s : s.Mid(i + 1); };
    preview->m_hPrint = ::CreateWindowA("BUTTON", after(print), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 0, 0,
                                        preview->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kPreviewPrint)),
                                        AfxGetInstanceHandle(), nullptr);
    preview->m_hClose = ::CreateWindowA("BUTTON", after(close), WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 0, 0, 0, 0,
                                        preview->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kPreviewClose)),
                                        AfxGetInstanceHandle(), nullptr);
    for (HWND b : { preview->m_hPrint, preview->m_hClose })
        ::SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    preview->Layout();
    ::EnableWindow(preview->m_hOwner, FALSE);   // the preview stands in for the frame until closed
    ::SetFocus(preview->m_hClose);
    return preview;
}

BOOL CPreviewWnd::PreTranslate(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || !msg->hwnd) return FALSE;
    HWND root = ::GetAncestor(msg->hwnd, GA_ROOT);
    // Escape is IDCANCEL for a dialog: the Close button's id.
    return dynamic_cast<CPreviewWnd*>(CWnd::FromHandlePermanent(root)) && ::IsDialogMessageA(root, msg);
}

CPreviewWnd::~CPreviewWnd()
{
    if (m_hPage) ::DeleteEnhMetaFile(m_hPage);
}

BOOL CPreviewWnd::RecordPage(HDC reference)
{
    bool printer = m_pInfo->m_pd.hDC != nullptr;
    m_pageSize = printer ? SIZE{ ::GetDeviceCaps(reference, HORZRES), ::GetDeviceCaps(reference, VERTRES) }
                         : kDefaultPage;
    // The frame of the recording, in 0.01 mm of the reference device.
    double mmx = static_cast<double>(::GetDeviceCaps(reference, HORZSIZE)) / ::GetDeviceCaps(reference, HORZRES);
    double mmy = static_cast<double>(::GetDeviceCaps(reference, VERTSIZE)) / ::GetDeviceCaps(reference, VERTRES);
    RECT frame{ 0, 0, static_cast<LONG>(m_pageSize.cx * mmx * 100), static_cast<LONG>(m_pageSize.cy * mmy * 100) };
    HDC dc = ::CreateEnhMetaFileA(reference, nullptr, &frame, nullptr);
    if (!dc) return FALSE;
    CDC page(dc);
    page.m_bPrinting = TRUE;
    m_pInfo->m_rectDraw.SetRect(0, 0, m_pageSize.cx, m_pageSize.cy);
    m_pView->OnBeginPrinting(&page, m_pInfo);
    m_pInfo->m_nCurPage = m_pInfo->m_nMinPage;
    m_pView->OnPrepareDC(&page, m_pInfo);
    m_pView->OnPrint(&page, m_pInfo);
    page.Detach();
    m_hPage = ::CloseEnhMetaFile(dc);
    return m_hPage != nullptr;
}

void CPreviewWnd::Layout()
{
    RECT r;
    GetClientRect(&r);
    ::MoveWindow(m_hPrint, kMargin, 6, 150, kButtonBar - 12, TRUE);
    ::MoveWindow(m_hClose, kMargin + 160, 6, 120, kButtonBar - 12, TRUE);
    Invalidate(TRUE);
}

void CPreviewWnd::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT client;
    GetClientRect(&client);
    // The page as large as the window allows, with its own proportions.
    int roomW = client.right - 2 * kMargin, roomH = client.bottom - kButtonBar - 2 * kMargin;
    if (roomW > 0 && roomH > 0 && m_pageSize.cx > 0 && m_pageSize.cy > 0) {
        int w = roomW, h = static_cast<int>(static_cast<long long>(roomW) * m_pageSize.cy / m_pageSize.cx);
        if (h > roomH) { h = roomH; w = static_cast<int>(static_cast<long long>(roomH) * m_pageSize.cx / m_pageSize.cy); }
        RECT page{ (client.right - w) / 2, kButtonBar + kMargin, (client.right - w) / 2 + w, kButtonBar + kMargin + h };
        ::FillRect(dc, &page, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::FrameRect(dc, &page, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::PlayEnhMetaFile(dc, m_hPage, &page);
    }
    ::EndPaint(m_hWnd, &ps);
}

void CPreviewWnd::Close(BOOL thenPrint)
{
    CView* view = m_pView;
    ::EnableWindow(m_hOwner, TRUE);
    ::SetActiveWindow(m_hOwner);
    CPrintInfo* info = m_pInfo;
    DestroyWindow();   // deletes this
    delete info;
    view->Invalidate(TRUE);
    if (thenPrint) view->OnFilePrint();
}

LRESULT CPreviewWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_SIZE: Layout(); return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kPreviewPrint || LOWORD(wParam) == kPreviewClose) {
            Close(LOWORD(wParam) == kPreviewPrint);
            return 0;
        }
        break;
    case WM_CLOSE: Close(FALSE); return 0;
    default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
