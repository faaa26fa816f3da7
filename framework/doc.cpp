#include "framework/doc.h"
#include "framework/app.h"
#include "framework/doctempl.h"
#include "framework/frame.h"
#include "framework/view.h"
#include "framework/ids.h"
#include <algorithm>

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::~CDocument()
{
    for (CView* v : m_views) v->SetDocument(nullptr);
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportFileError(UINT idMessage, const CPathName& path) const
{
    AfxMessageBoxName(idMessage, path.wstr(), MB_OK | MB_ICONEXCLAMATION);
}

BOOL CDocument::OpenForReading(const CPathName& pathName, CFile& file)
{
    m_bContentsLost = FALSE;
    // A device (COM1, com1.osc...) would be read for ever: refused by name,
    // and by what the opened handle turns out to be (a drive mapped onto
    // devices, a link).
    if (CFile::IsDevicePath(pathName)) {
        ReportFileError(FW_IDS_NOT_A_FILE, pathName);
        return FALSE;
    }
    if (!file.Open(pathName, CFile::modeRead | CFile::shareDenyWrite)) {
        ReportFileError(FW_IDS_OPEN_FAILED, pathName);
        return FALSE;
    }
    if (::GetFileType(file.m_hFile) != FILE_TYPE_DISK) {
        file.Close();
        ReportFileError(FW_IDS_NOT_A_FILE, pathName);
        return FALSE;
    }
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const CPathName& pathName)
{
    CFile file;
    if (!OpenForReading(pathName, file)) return FALSE;
    DeleteContents();
    m_bContentsLost = TRUE;
    try {
        CArchive ar(&file, CArchive::load);
        Serialize(ar);
    } catch (const CArchiveException&) {
        ReportFileError(FW_IDS_READ_FAILED, pathName);
        return FALSE;
    }
    m_bContentsLost = FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const CPathName& pathName)
{
    if (CFile::IsDevicePath(pathName)) {
        ReportFileError(FW_IDS_NOT_A_FILE, pathName);
        return FALSE;
    }
    // A read-only document is not replaced, whatever the file system allows.
    DWORD attributes = ::GetFileAttributesW(pathName.c_str());
    bool writable = attributes == INVALID_FILE_ATTRIBUTES ||
                    !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
    // Write a new file beside the old one and replace it only once complete,
    // so that a failed save never destroys what was there.
    CReplacementFile side(pathName);
    bool ok = writable && side.Open();
    if (ok) {
        try {
            CArchive ar(&side.File(), CArchive::store);
            Serialize(ar);
            ar.Close();
        } catch (const CArchiveException&) {
            ok = false;
        }
    }
    if (!ok || !side.Commit()) {
        side.Discard();
        ReportFileError(FW_IDS_SAVE_FAILED, pathName);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::SetTitle(const std::wstring& title)
{
    m_strTitle = title;
    for (CView* v : m_views) {
        HWND top = v->m_hWnd ? ::GetAncestor(v->m_hWnd, GA_ROOT) : nullptr;
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(top)))
            frame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::SetPathName(const CPathName& pathName, BOOL addToMRU)
{
    if (pathName.IsEmpty()) { m_strPathName.Empty(); return; }
    m_strPathName = pathName.Full();
    // The title is the file's name without its folder.
    SetTitle(m_strPathName.FileName().wstr());
    if (addToMRU && AfxGetApp()) AfxGetApp()->AddToRecentFileList(m_strPathName);
}

void CDocument::AddView(CView* view)
{
    m_views.push_back(view);
    view->SetDocument(this);
}

void CDocument::RemoveView(CView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    view->SetDocument(nullptr);
}

void CDocument::UpdateAllViews(CView* sender)
{
    for (CView* v : m_views)
        if (v != sender) v->OnUpdate(sender);
}

BOOL CDocument::SaveModified()
{
    if (!IsModified()) return TRUE;
    CBoxHelp help(FW_IDS_SAVE_CHANGES);
    switch (AfxMessageBoxName(FW_IDS_SAVE_CHANGES, m_strTitle, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES: return DoFileSave();
    case IDNO: return TRUE;
    default: return FALSE;
    }
}

BOOL CDocument::DoFileSave()
{
    DWORD attributes = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(m_strPathName.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return DoSave(CPathName());
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(const CPathName& pathName, BOOL replace)
{
    CPathName name = pathName;
    if (name.IsEmpty()) {
        // Offer the title (a valid file name) with the template's extension.
        std::wstring offered = m_strTitle;
        CString ext;
        if (m_pDocTemplate && m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt) && !ext.IsEmpty()
            && offered.find(L'.') == std::wstring::npos)
            offered += CPathName::FromAnsi(ext);
        if (m_strPathName.IsEmpty()) {
            CString untitled;
            untitled.LoadString(FW_IDS_UNTITLED);
            if (offered.rfind(CPathName::FromAnsi(untitled), 0) == 0 && m_pDocTemplate) {
                CString newName;
                m_pDocTemplate->GetDocString(newName, CDocTemplate::fileNewName);
                if (!newName.IsEmpty()) offered = CPathName::FromAnsi(newName + ext);
            }
        }
        name = offered;
        if (!AfxGetApp() || !AfxGetApp()->DoPromptFileName(name, FALSE)) return FALSE;
    }
    if (!OnSaveDocument(name)) return FALSE;
    if (replace) SetPathName(name);
    return TRUE;
}
