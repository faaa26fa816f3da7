// CView: the window that shows a document; printing support.
#pragma once
#include "framework/wnd.h"
#include "framework/gdi.h"

class CDocument;
class CDocTemplate;
class CFrameWnd;

// What a frame needs to create its view and attach it to a document.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
};

// State of one print job, shared by the printing overridables.
struct CPrintInfo {
    PRINTDLGA m_pd{};
    BOOL m_bPreview = FALSE;
    BOOL m_bDirect = FALSE;   // print on the default printer without the dialog
    BOOL m_bContinuePrinting = TRUE;
    UINT m_nCurPage = 1;
    UINT m_nMinPage = 1;
    UINT m_nMaxPage = 1;
    CRect m_rectDraw;
    CPrintInfo();
    ~CPrintInfo();
};

class CView : public CWnd {
public:
    CDocument* GetDocument() const { return m_pDocument; }
    void SetDocument(CDocument* doc) { m_pDocument = doc; }

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    virtual void OnDraw(CDC* dc) = 0;
    virtual void OnInitialUpdate() { OnUpdate(nullptr); }
    virtual void OnUpdate(CView*) { Invalidate(TRUE); }
    virtual void OnPrepareDC(CDC*, CPrintInfo* = nullptr) {}

    // Printing: the print command runs these in order around OnPrint.
    virtual BOOL OnPreparePrinting(CPrintInfo* info);
    virtual void OnBeginPrinting(CDC*, CPrintInfo*) {}
    virtual void OnPrint(CDC* dc, CPrintInfo*) { OnDraw(dc); }
    virtual void OnEndPrinting(CDC*, CPrintInfo*) {}
    // The standard print dialog; FALSE when cancelled or when there is no printer.
    // For a preview no dialog: the default printer's page, or a standard one.
    BOOL DoPreparePrinting(CPrintInfo* info);
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();

    BOOL OnCmdMsg(UINT id, UINT code, void* extra) override;
    void PostNcDestroy() override;

    int OnCreate(LPCREATESTRUCT cs);
    void OnDestroy();
    void OnPaint();

    DECLARE_MESSAGE_MAP()

protected:
    CDocument* m_pDocument = nullptr;
    void RunPrintJob(BOOL direct);
    // Runs one print job on dc (a printer DC, or the preview's).
    void PrintPages(CDC* dc, CPrintInfo* info, const std::wstring& docName);
};
