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

void CDocument::ReportFileError(UINT idMessage, const char* path) const
{
    CString format, text;
    format.LoadString(idMessage);
    text.Format(format, path);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

BOOL CDocument::OpenForReading(const char* pathName, CFile& file)
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

BOOL CDocument::OnOpenDocument(const char* pathName)
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

BOOL CDocument::OnSaveDocument(const char* pathName)
{
    if (CFile::IsDevicePath(pathName)) {
        ReportFileError(FW_IDS_NOT_A_FILE, pathName);
        return FALSE;
    }
    // A read-only document is not replaced, whatever the file system allows.
    DWORD attributes = ::GetFileAttributesA(pathName);
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

void CDocument::SetTitle(const char* title)
{
    m_strTitle = title;
    for (CView* v : m_views) {
        HWND top = v->m_hWnd ? ::GetAncestor(v->m_hWnd, GA_ROOT) : nullptr;
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(top)))
            frame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::SetPathName(const char* pathName, BOOL addToMRU)
{
    if (!pathName || !*pathName) { m_strPathName.Empty(); return; }
    char full[MAX_PATH];
    if (!::GetFullPathNameA(pathName, MAX_PATH, full, nullptr)) lstrcpynA(full, pathName, MAX_PATH);
    m_strPathName = full;
    // The title is the file's name without its folder.
    const char* name = full;
    for (const char* p = full; *p; ++p)
        if (*p == '\\' || *p == '/') name = p + 1;
    SetTitle(name);
    if (addToMRU && AfxGetApp()) AfxGetApp()->AddToRecentFileList(full);
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
    CString format, text;
    format.LoadString(FW_IDS_SAVE_CHANGES);
    text.Format(format, m_strTitle.c_str());
    switch (AfxMessageBox(text, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES: return DoFileSave();
    case IDNO: return TRUE;
    default: return FALSE;
    }
}

BOOL CDocument::DoFileSave()
{
    DWORD attributes = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(m_strPathName);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return DoSave(nullptr);
    return DoSave(m_strPathName.IsEmpty() ? nullptr : m_strPathName.c_str());
}

BOOL CDocument::DoSave(const char* pathName, BOOL replace)
{
    CString name = pathName ? pathName : "";
    if (name.IsEmpty()) {
        // Offer the title (a valid file name) with the template's extension.
        name = m_strTitle;
        CString ext;
        if (m_pDocTemplate && m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt) && !ext.IsEmpty()
            && name.Find('.') < 0)
            name += ext;
        if (m_strPathName.IsEmpty()) {
            CString untitled;
            untitled.LoadString(FW_IDS_UNTITLED);
            if (name.Left(untitled.GetLength()) == untitled && m_pDocTemplate) {
                CString newName;
                m_pDocTemplate->GetDocString(newName, CDocTemplate::fileNewName);
                if (!newName.IsEmpty()) name = newName + ext;
            }
        }
        if (!AfxGetApp() || !AfxGetApp()->DoPromptFileName(name, FALSE)) return FALSE;
    }
    if (!OnSaveDocument(name)) return FALSE;
    if (replace) SetPathName(name);
    return TRUE;
}
