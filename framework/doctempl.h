// Document templates: which document, frame and view classes go together.
#pragma once
#include "framework/cmdtarget.h"
#include "framework/path.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt,
                          regFileTypeId, regFileTypeName };

    CDocTemplate(UINT idResource, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                 const CRuntimeClass* viewClass);
    // One of the seven newline-separated fields of the template string.
    BOOL GetDocString(CString& out, DocStringIndex index) const;
    UINT GetResourceId() const { return m_nIDResource; }
    // An empty name makes a new document.
    virtual CDocument* OpenDocumentFile(const CPathName& pathName, BOOL makeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* doc);

protected:
    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};

// One document and one frame for the whole run: new and open reuse them.
class CSingleDocTemplate : public CDocTemplate {
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;
    CDocument* OpenDocumentFile(const CPathName& pathName, BOOL makeVisible = TRUE) override;
    CDocument* GetDocument() const { return m_pOnlyDoc; }
    CFrameWnd* GetFrame() const { return m_pFrame; }
    void OnFrameDestroyed() { m_pFrame = nullptr; }

private:
    CDocument* m_pOnlyDoc = nullptr;
    CFrameWnd* m_pFrame = nullptr;
    BOOL CreateFrame(BOOL makeVisible);
};
