// The document's exchange with other programs: WAV sound opened as a capture,
// the frame exported as WAV or CSV. A frame that came from a WAV is never
// written back into it.
#include "document/OndavDoc.h"
#include "document/CaptureExchange.h"
#include "resource.h"
#include <algorithm>
#include <commdlg.h>
#include <vector>

namespace {
// Everything a 4000-frame import can need lies far within this; a longer
// file is read only up to it.
constexpr ULONGLONG kMostRead = 64ull << 20;

BOOL HasExtension(const char* path, const char* ext)
{
    const size_t n = lstrlenA(path), e = lstrlenA(ext);
    return n > e && lstrcmpiA(path + n - e, ext) == 0;
}

// The same name with .osc in place of its extension.
CString OscNameOf(const CString& path)
{
    std::string s = path.str();
    const size_t dot = s.find_last_of('.');
    const size_t slash = s.find_last_of("\\/");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) s.erase(dot);
    return CString(s + ".osc");
}

CFrameWnd* MainFrame()
{
    return AfxGetApp() ? dynamic_cast<CFrameWnd*>(AfxGetApp()->m_pMainWnd) : nullptr;
}
} // namespace

BOOL COndavDoc::OnOpenDocument(const char* pathName)
{
    if (HasExtension(pathName, ".wav")) return OpenWav(pathName);
    if (!CDocument::OnOpenDocument(pathName)) return FALSE;
    m_strWavSource.Empty();
    return TRUE;
}

BOOL COndavDoc::OpenWav(const char* pathName)
{
    CFile file;
    if (!OpenForReading(pathName, file)) return FALSE;
    const ULONGLONG size = file.GetLength();
    std::vector<unsigned char> bytes(static_cast<size_t>(std::min(size, kMostRead)));
    if (file.Read(bytes.data(), static_cast<UINT>(bytes.size())) != bytes.size()) {
        ReportFileError(FW_IDS_READ_FAILED, pathName);
        return FALSE;
    }
    ImportedFrame frame;
    if (WavError e = CaptureExchange::FrameFromWav(bytes.data(), bytes.size(), size, frame); e != WavError::None) {
        ReportWavError(pathName, static_cast<int>(e));
        return FALSE;
    }
    // Only now, with the whole frame read, does the shown frame change.
    for (int i = 0; i < kFrameUsed; ++i) {
        m_right[i] = i < kCaptureFrames ? frame.right[static_cast<size_t>(i)] : 0;
        m_left[i] = i < kCaptureFrames ? frame.left[static_cast<size_t>(i)] : 0;
        m_sum[i] = m_right[i] + m_left[i];
        m_difference[i] = m_right[i] - m_left[i];
    }
    m_strWavSource = pathName;
    SetModifiedFlag(FALSE);
    if (CFrameWnd* main = MainFrame()) {
        CString text, format;
        if (frame.framesFromFile < kCaptureFrames && format.LoadString(IDS_WAV_SHORT)) {
            text.Format(format, frame.framesFromFile);
            main->ShowMessageText(text);
        } else {
            main->SetMessageText(AFX_IDS_IDLEMESSAGE);
        }
    }
    return TRUE;
}

void COndavDoc::ReportWavError(const char* pathName, int reason) const
{
    CString format, because, text;
    format.LoadString(IDS_WAV_FAILED);
    because.LoadString(IDS_WAV_REASON_BASE + reason);
    text.Format(format, pathName, because.c_str());
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

BOOL COndavDoc::OnSaveDocument(const char* pathName)
{
    // The .osc layout never goes into the sound it came from.
    if (IsFromWav() && (lstrcmpiA(pathName, m_strWavSource) == 0 || HasExtension(pathName, ".wav"))) {
        ReportFileError(IDS_WAV_NOT_REPLACED, pathName);
        return FALSE;
    }
    if (!CDocument::OnSaveDocument(pathName)) return FALSE;
    m_strWavSource.Empty();
    return TRUE;
}

BOOL COndavDoc::DoFileSave()
{
    if (!IsFromWav()) return CDocument::DoFileSave();
    CString name = OscNameOf(m_strWavSource);
    if (!AfxGetApp() || !AfxGetApp()->DoPromptFileName(name, FALSE)) return FALSE;
    return DoSave(name);
}

void COndavDoc::OnFileSaveAs()
{
    if (IsFromWav()) DoFileSave();
    else DoSave(nullptr);
}

BOOL COndavDoc::ExportTo(const char* pathName)
{
    const bool csv = HasExtension(pathName, ".csv");
    std::string text;
    std::vector<unsigned char> bytes;
    if (csv) {
        CString header;
        header.LoadString(IDS_CSV_HEADER);
        text = CaptureExchange::CsvFromFrame(header.str(), m_right, m_left, m_sum, m_difference, kFrameUsed);
    } else {
        bytes = CaptureExchange::WavFromFrame(m_right, m_left);
    }
    const void* data = csv ? static_cast<const void*>(text.data()) : bytes.data();
    const UINT count = static_cast<UINT>(csv ? text.size() : bytes.size());
    // Written beside and put in place once complete, as a document is.
    CReplacementFile side(pathName);
    if (CFile::IsDevicePath(pathName) || !side.Open() || !side.File().Write(data, count) || !side.Commit()) {
        side.Discard();
        ReportFileError(IDS_EXPORT_FAILED, pathName);
        return FALSE;
    }
    return TRUE;
}

void COndavDoc::Export()
{
    CString filters;
    filters.LoadString(IDS_EXPORT_FILTERS);
    std::string pairs = filters.str() + '\n';
    std::replace(pairs.begin(), pairs.end(), '\n', '\0');
    CString base = OscNameOf(GetPathName().IsEmpty() ? GetTitle() : GetPathName());
    std::string name = base.str();
    name.erase(name.size() - 4);
    char buf[MAX_PATH] = "";
    lstrcpynA(buf, (name + ".wav").c_str(), MAX_PATH);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = MainFrame() ? MainFrame()->m_hWnd : nullptr;
    ofn.lpstrFilter = pairs.c_str();
    ofn.lpstrFile = buf;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = "wav";
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    if (!::GetSaveFileNameA(&ofn)) return;
    std::string chosen = buf;
    // A name typed without its extension takes the chosen type's.
    if (!HasExtension(buf, ".wav") && !HasExtension(buf, ".csv"))
        chosen += ofn.nFilterIndex == 2 ? ".csv" : ".wav";
    ExportTo(chosen.c_str());
}
