#include "app/MeasureWindow.h"
#include "document/OndavDoc.h"
#include "resource.h"
#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace {
enum : UINT { kIdNote = 100, kIdAxis, kIdLinear, kIdLog, kIdSpectrum };
constexpr int kGap = 8, kRowHeight = 18, kNameWidth = 190, kValueWidth = 190;
constexpr int kDefaultWidth = 3 * kGap + kNameWidth + 2 * kValueWidth + 40, kDefaultHeight = 660;
constexpr int kMinWidth = 480, kMinHeight = 460;
const char kProfileSection[] = "Mesures";
const char kProfilePlace[] = "Fenetre";
const char kProfileAxis[] = "Echelle";

CMeasureWindow* g_pMeasures = nullptr;

CString resourceText(UINT id)
{
    CString s;
    s.LoadString(id);
    return s;
}

HWND child(HWND parent, const char* cls, const char* text, DWORD style, UINT id)
{
    HWND h = ::CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AfxGetInstanceHandle(), nullptr);
    ::SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return h;
}

// The place the user left the window in, or beside the main window.
RECT startPlace(HWND mainWindow)
{
    RECT r{};
    std::wstring saved = AfxGetApp() ? AfxGetApp()->GetProfileString(kProfileSection, kProfilePlace) : std::wstring();
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    if (std::swscanf(saved.c_str(), L"%ld %ld %ld %ld", &r.left, &r.top, &r.right, &r.bottom) == 4 &&
        r.right - r.left >= kMinWidth && r.bottom - r.top >= kMinHeight) {
        RECT seen;
        if (::IntersectRect(&seen, &r, &work)) return r;   // not lost off screen
    }
    RECT main{0, 0, 800, 572};
    if (mainWindow) ::GetWindowRect(mainWindow, &main);
    int x = work.right - main.right >= kDefaultWidth ? main.right : std::max<int>(work.left, work.right - kDefaultWidth);
    int y = std::max<int>(work.top, std::min<int>(main.top, work.bottom - kDefaultHeight));
    return {x, y, x + kDefaultWidth, y + kDefaultHeight};
}
} // namespace

BEGIN_MESSAGE_MAP(CMeasureWindow, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_GETMINMAXINFO, OnMinMaxInfo)
END_MESSAGE_MAP()

CMeasureWindow* CMeasureWindow::Instance() { return g_pMeasures; }

CMeasureWindow* CMeasureWindow::Open(HWND mainWindow, const COndavDoc* doc)
{
    if (!g_pMeasures) {
        auto* wnd = new CMeasureWindow;
        RECT r = startPlace(mainWindow);
        const char* cls = RegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_BTNFACE),
                                           ::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)));
        // Not owned by the main window, which would keep it always above it.
        // A window that fails in its creation deletes its object.
        if (!wnd->CreateEx(WS_EX_CONTROLPARENT, cls, resourceText(IDS_MEASURE_TITLE), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                           r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr))
            return nullptr;
        Notify(doc);
    }
    if (::IsIconic(g_pMeasures->m_hWnd)) ::ShowWindow(g_pMeasures->m_hWnd, SW_RESTORE);
    g_pMeasures->ShowWindow(SW_SHOW);
    ::SetForegroundWindow(g_pMeasures->m_hWnd);
    return g_pMeasures;
}

void CMeasureWindow::Close()
{
    if (g_pMeasures) g_pMeasures->DestroyWindow();
}

void CMeasureWindow::Notify(const COndavDoc* doc)
{
    if (g_pMeasures && doc) g_pMeasures->Show(doc->m_right, doc->m_left, kCaptureFrames);
}

BOOL CMeasureWindow::PreTranslate(MSG* msg)
{
    if (!g_pMeasures || !msg->hwnd || (msg->hwnd != g_pMeasures->m_hWnd && !::IsChild(g_pMeasures->m_hWnd, msg->hwnd)))
        return FALSE;
    bool control = ::GetKeyState(VK_CONTROL) < 0;
    if (msg->message == WM_KEYDOWN && control && (msg->wParam == 'C' || msg->wParam == VK_INSERT)) {
        g_pMeasures->CopyReadouts();
        return TRUE;
    }
    return ::IsDialogMessageA(g_pMeasures->m_hWnd, msg);
}

int CMeasureWindow::OnCreate(LPCREATESTRUCT)
{
    g_pMeasures = this;
    CreateGrid();
    m_note = child(m_hWnd, "STATIC", resourceText(IDS_MEASURE_NOTE), SS_LEFT | SS_NOPREFIX, kIdNote);
    m_axis = child(m_hWnd, "STATIC", resourceText(IDS_MEASURE_AXIS), SS_LEFT, kIdAxis);
    m_linear = child(m_hWnd, "BUTTON", resourceText(IDS_MEASURE_LINEAR), BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, kIdLinear);
    m_log = child(m_hWnd, "BUTTON", resourceText(IDS_MEASURE_LOG), BS_AUTORADIOBUTTON, kIdLog);
    if (!m_spectrum.Create(this, kIdSpectrum)) return -1;
    ::SetWindowTextA(m_spectrum.m_hWnd, resourceText(IDS_MEASURE_SPECTRUM));
    SetLogarithmic(AfxGetApp() && AfxGetApp()->GetProfileString(kProfileSection, kProfileAxis) == L"log");
    m_spectrum.SetAnalysis(m_analysis.get());
    return 0;
}

void CMeasureWindow::CreateGrid()
{
    const UINT headings[3] = {IDS_MEASURE_HEAD_NAME, IDS_MEASURE_HEAD_RIGHT, IDS_MEASURE_HEAD_LEFT};
    for (int column = 0; column < 3; ++column)
        m_cells[0][column] = child(m_hWnd, "STATIC", resourceText(headings[column]), SS_LEFT | SS_NOPREFIX,
                                   CellId(0, column));
    for (int r = 0; r < kReadoutCount; ++r) {
        int row = r + 1;
        m_cells[row][0] = child(m_hWnd, "STATIC", resourceText(IDS_MEASURE_ROW_FIRST + static_cast<UINT>(r)),
                                SS_LEFT | SS_NOPREFIX, CellId(row, 0));
        int columns = IsPairReadout(static_cast<Readout>(r)) ? 2 : 3;
        for (int column = 1; column < columns; ++column)
            m_cells[row][column] = child(m_hWnd, "STATIC", kNoReadout, SS_LEFT | SS_NOPREFIX, CellId(row, column));
    }
}

void CMeasureWindow::Show(const int* right, const int* left, int count)
{
    AnalyseFrame(right, left, count, *m_analysis);
    ReadoutTable table = MakeReadouts(*m_analysis);
    for (int r = 0; r < kReadoutCount; ++r) {
        SetCell(r + 1, 1, table[static_cast<size_t>(r)][0]);
        if (!IsPairReadout(static_cast<Readout>(r))) SetCell(r + 1, 2, table[static_cast<size_t>(r)][1]);
    }
    m_spectrum.Invalidate(FALSE);
}

// Only a changed text is set again: screen readers announce each change.
void CMeasureWindow::SetCell(int row, int column, const std::string& text)
{
    HWND h = m_cells[row][column];
    char current[128] = "";
    ::GetWindowTextA(h, current, sizeof current);
    if (text != current) ::SetWindowTextA(h, text.c_str());
}

std::string CMeasureWindow::ReadoutsText() const
{
    std::string out;
    for (const auto& row : m_cells) {
        for (int column = 0; column < 3; ++column) {
            char cell[128] = "";
            if (row[column]) ::GetWindowTextA(row[column], cell, sizeof cell);
            out += cell;
            out += column < 2 ? "\t" : "\r\n";
        }
    }
    return out;
}

void CMeasureWindow::CopyReadouts()
{
    std::string text = ReadoutsText();
    if (!::OpenClipboard(m_hWnd)) return;
    ::EmptyClipboard();
    if (HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<char*>(::GlobalLock(mem)));
        ::GlobalUnlock(mem);
        if (!::SetClipboardData(CF_TEXT, mem)) ::GlobalFree(mem);
    }
    ::CloseClipboard();
}

void CMeasureWindow::SetLogarithmic(bool log)
{
    ::SendMessageA(m_linear, BM_SETCHECK, log ? BST_UNCHECKED : BST_CHECKED, 0);
    ::SendMessageA(m_log, BM_SETCHECK, log ? BST_CHECKED : BST_UNCHECKED, 0);
    m_spectrum.SetLogarithmic(log);
}

BOOL CMeasureWindow::OnCommand(WPARAM wParam, LPARAM)
{
    UINT id = LOWORD(wParam), code = HIWORD(wParam);
    if ((id == kIdLinear || id == kIdLog) && code == BN_CLICKED) {
        SetLogarithmic(id == kIdLog);
        return TRUE;
    }
    return FALSE;
}

void CMeasureWindow::OnSize(UINT, int cx, int cy)
{
    int y = kGap;
    for (const auto& row : m_cells) {
        int x = kGap;
        for (int column = 0; column < 3; ++column) {
            int width = column == 0 ? kNameWidth : (row[2] ? kValueWidth : 2 * kValueWidth);
            if (row[column]) ::MoveWindow(row[column], x, y, width, kRowHeight, TRUE);
            x += width + kGap;
        }
        y += kRowHeight;
    }
    y += kGap / 2;
    ::MoveWindow(m_note, kGap, y, std::max(0, cx - 2 * kGap), 2 * kRowHeight - 4, TRUE);
    y += 2 * kRowHeight;
    ::MoveWindow(m_axis, kGap, y + 2, 110, kRowHeight, TRUE);
    ::MoveWindow(m_linear, kGap + 115, y, 90, kRowHeight + 2, TRUE);
    ::MoveWindow(m_log, kGap + 210, y, 120, kRowHeight + 2, TRUE);
    y += kRowHeight + kGap;
    m_spectrum.MoveWindow(kGap, y, std::max(0, cx - 2 * kGap), std::max(0, cy - y - kGap));
}

LRESULT CMeasureWindow::OnMinMaxInfo(WPARAM, LPARAM lParam)
{
    reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {kMinWidth, kMinHeight};
    return 0;
}

void CMeasureWindow::OnDestroy()
{
    CWinApp* app = AfxGetApp();
    if (app && !::IsIconic(m_hWnd) && !::IsZoomed(m_hWnd)) {
        RECT r;
        ::GetWindowRect(m_hWnd, &r);
        wchar_t place[64];
        std::swprintf(place, 64, L"%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
        app->WriteProfileString(kProfileSection, kProfilePlace, place);
    }
    if (app) app->WriteProfileString(kProfileSection, kProfileAxis, m_spectrum.Logarithmic() ? L"log" : L"lin");
    Default();
}

void CMeasureWindow::PostNcDestroy()
{
    if (g_pMeasures == this) g_pMeasures = nullptr;
    delete this;
}
