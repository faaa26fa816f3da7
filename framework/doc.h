// CDocument: the data of a document/view program, with its file life cycle.
#pragma once
#include "framework/cmdtarget.h"
#include "framework/file.h"
#include <vector>

class CView;
class CDocTemplate;

class CDocument : public CCmdTarget {
public:
    CDocTemplate* m_pDocTemplate = nullptr;

    ~CDocument() override;

    // Overridables.
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const char* pathName);
    virtual BOOL OnSaveDocument(const char* pathName);
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive&) {}
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame() { return SaveModified(); }

    // The last failed open had already discarded the previous contents.
    BOOL ContentsLost() const { return m_bContentsLost; }
    BOOL IsModified() const { return m_bModified; }
    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }
    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const char* title);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(const char* pathName, BOOL addToMRU = TRUE);

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }
    void UpdateAllViews(CView* sender);

    // Saving: with a null path (or Save As) the user is asked for a name.
    BOOL DoSave(const char* pathName, BOOL replace = TRUE);
    virtual BOOL DoFileSave();
    void OnFileSave() { DoFileSave(); }
    virtual void OnFileSaveAs() { DoSave(nullptr); }

    DECLARE_MESSAGE_MAP()

protected:
    // Opens path for reading as a document is read (a disk file, no device);
    // reports the failure. Starts an open: no contents are lost yet.
    BOOL OpenForReading(const char* pathName, CFile& file);
    // Reports a failed open or save of path with the framework message id.
    void ReportFileError(UINT idMessage, const char* path) const;

private:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    BOOL m_bContentsLost = FALSE;
    std::vector<CView*> m_views;
};
