#include "framework/doctempl.h"
#include "framework/app.h"
#include "framework/doc.h"
#include "framework/frame.h"
#include "framework/view.h"
#include "framework/ids.h"

CDocTemplate::CDocTemplate(UINT idResource, const CRuntimeClass* docClass,
                           const CRuntimeClass* frameClass, const CRuntimeClass* viewClass)
    : m_nIDResource(idResource), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass)
{
    m_strDocStrings.LoadString(idResource);
}

BOOL CDocTemplate::GetDocString(CString& out, DocStringIndex index) const
{
    const std::string& s = m_strDocStrings.str();
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        size_t nl = s.find('\n', start);
        if (nl == std::string::npos) { out.Empty(); return FALSE; }
        start = nl + 1;
    }
    size_t end = s.find('\n', start);
    out = CString(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
    return TRUE;
}

void CDocTemplate::SetDefaultTitle(CDocument* doc)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty()) title.LoadString(FW_IDS_UNTITLED);
    doc->SetTitle(title);
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    delete m_pOnlyDoc;
}

BOOL CSingleDocTemplate::CreateFrame(BOOL)
{
    auto* frame = dynamic_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
    if (!frame) return FALSE;
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = m_pOnlyDoc;
    context.m_pNewDocTemplate = this;
    m_pFrame = frame;
    // A frame whose creation fails destroys (and deletes) itself.
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW, nullptr, &context)) {
        m_pFrame = nullptr;
        return FALSE;
    }
    CWinApp* app = AfxGetApp();
    if (app && !app->m_pMainWnd) app->m_pMainWnd = frame;
    return TRUE;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const CPathName& pathName, BOOL makeVisible)
{
    bool created = false;
    if (!m_pOnlyDoc) {
        m_pOnlyDoc = dynamic_cast<CDocument*>(m_pDocClass->CreateObject());
        if (!m_pOnlyDoc) return nullptr;
        m_pOnlyDoc->m_pDocTemplate = this;
        created = true;
    } else if (!m_pOnlyDoc->SaveModified()) {
        return nullptr;   // the user cancelled the save prompt
    }
    bool newFrame = false;
    if (!m_pFrame) {
        if (!CreateFrame(makeVisible)) {
            if (created) { delete m_pOnlyDoc; m_pOnlyDoc = nullptr; }
            return nullptr;
        }
        newFrame = true;
    }
    CDocument* doc = m_pOnlyDoc;
    if (pathName.IsEmpty()) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            if (newFrame) m_pFrame->DestroyWindow();
            return nullptr;
        }
    } else if (!doc->OnOpenDocument(pathName)) {
        // A brand-new frame has nothing to show: end as a failed start.
        if (newFrame) { m_pFrame->DestroyWindow(); return nullptr; }
        if (doc->ContentsLost()) {
            // Half-read contents are not kept: back to a new, empty document.
            doc->SetPathName(CPathName(), FALSE);
            SetDefaultTitle(doc);
            doc->OnNewDocument();
            doc->UpdateAllViews(nullptr);
            m_pFrame->OnUpdateFrameTitle(TRUE);
        }
        return nullptr;
    } else {
        doc->SetPathName(pathName);
    }
    if (newFrame) m_pFrame->InitialUpdateFrame(doc, makeVisible);
    else doc->UpdateAllViews(nullptr);
    m_pFrame->OnUpdateFrameTitle(TRUE);
    return doc;
}
