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
    virtual BOOL OnOpenDocument(const CPathName& pathName);
    virtual BOOL OnSaveDocument(const CPathName& pathName);
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive&) {}
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame() { return SaveModified(); }

    // The last failed open had already discarded the previous contents.
    BOOL ContentsLost() const { return m_bContentsLost; }
    BOOL IsModified() const { return m_bModified; }
    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }
    // The title is the file's name (exact, so wide) or the untitled text.
    const std::wstring& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const std::wstring& title);
    void SetTitle(const char* ansiTitle) { SetTitle(CPathName::FromAnsi(ansiTitle)); }
    const CPathName& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(const CPathName& pathName, BOOL addToMRU = TRUE);

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }
    void UpdateAllViews(CView* sender);

    // Saving: with an empty path (or Save As) the user is asked for a name.
    BOOL DoSave(const CPathName& pathName, BOOL replace = TRUE);
    virtual BOOL DoFileSave();
    void OnFileSave() { DoFileSave(); }
    virtual void OnFileSaveAs() { DoSave(CPathName()); }

    DECLARE_MESSAGE_MAP()

protected:
    // Opens path for reading as a document is read (a disk file, no device);
    // reports the failure. Starts an open: no contents are lost yet.
    BOOL OpenForReading(const CPathName& pathName, CFile& file);
    // Reports a failed open or save of path with the framework message id.
    void ReportFileError(UINT idMessage, const CPathName& path) const;

private:
    std::wstring m_strTitle;
    CPathName m_strPathName;
    BOOL m_bModified = FALSE;
    BOOL m_bContentsLost = FALSE;
    std::vector<CView*> m_views;
};
