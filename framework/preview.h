// Print preview: the page drawn for the printer, shown scaled in a window.
#pragma once
#include "framework/view.h"

class CPreviewWnd : public CWnd {
public:
    // Records the view's page and opens the preview over the view's frame;
    // the preview deletes itself when closed.
    static CPreviewWnd* Open(CView* view, CPrintInfo* info);
    // Its keys, as a dialog's: Escape closes it, Tab goes from button to
    // button. TRUE when msg was one of them.
    static BOOL PreTranslate(MSG* msg);

    ~CPreviewWnd() override;
    // Only an opened preview deletes itself; a failed opening is undone by Open.
    void PostNcDestroy() override { if (m_bOpen) delete this; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HENHMETAFILE GetPage() const { return m_hPage; }

private:
    BOOL m_bOpen = FALSE;
    CView* m_pView = nullptr;
    CPrintInfo* m_pInfo = nullptr;
    HWND m_hOwner = nullptr;
    HENHMETAFILE m_hPage = nullptr;
    SIZE m_pageSize{};    // in device units of the page
    HWND m_hPrint = nullptr, m_hClose = nullptr;

    BOOL RecordPage(HDC reference);
    void Paint();
    void Layout();
    void Close(BOOL thenPrint);
};
