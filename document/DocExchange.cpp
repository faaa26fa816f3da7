// The document's exchange with other programs: WAV sound opened as a capture,
// the frame exported as WAV or CSV. A frame that came from a WAV is never
// written back into it.
#include "document/OndavDoc.h"
#include "framework/late.h"
#include "document/CaptureExchange.h"
#include "resource.h"
#include <algorithm>
#include <commdlg.h>
#include <vector>

namespace {
// Everything a 4000-frame import can need lies far within this; a longer
// file is read only up to it.
constexpr ULONGLONG kMostRead = 64ull << 20;

bool HasExtension(const std::wstring& path, const wchar_t* ext)
{
    const size_t n = path.size(), e = lstrlenW(ext);
    return n > e && lstrcmpiW(path.c_str() + n - e, ext) == 0;
}

// The same name with .osc in place of its extension.
std::wstring OscNameOf(const std::wstring& path)
{
    std::wstring s = path;
    const size_t dot = s.find_last_of(L'.');
    const size_t slash = s.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) s.erase(dot);
    return s + L".osc";
}

CFrameWnd* MainFrame()
{
    return AfxGetApp() ? dynamic_cast<CFrameWnd*>(AfxGetApp()->m_pMainWnd) : nullptr;
}
} // namespace

BOOL COndavDoc::OnOpenDocument(const CPathName& pathName)
{
    if (HasExtension(pathName.wstr(), L".wav")) return OpenWav(pathName);
    if (!CDocument::OnOpenDocument(pathName)) return FALSE;
    m_strWavSource.Empty();
    return TRUE;
}

BOOL COndavDoc::OpenWav(const CPathName& pathName)
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

void COndavDoc::ReportWavError(const CPathName& pathName, int reason) const
{
    CString because;
    because.LoadString(IDS_WAV_REASON_BASE + reason);
    AfxMessageBoxName(IDS_WAV_FAILED, pathName.wstr(), MB_OK | MB_ICONEXCLAMATION, CPathName::FromAnsi(because));
}

BOOL COndavDoc::OnSaveDocument(const CPathName& pathName)
{
    // The .osc layout never goes into the sound it came from.
    if (IsFromWav() && (pathName.SameFile(m_strWavSource) || HasExtension(pathName.wstr(), L".wav"))) {
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
    CPathName name = OscNameOf(m_strWavSource.wstr());
    if (!AfxGetApp() || !AfxGetApp()->DoPromptFileName(name, FALSE)) return FALSE;
    return DoSave(name);
}

void COndavDoc::OnFileSaveAs()
{
    if (IsFromWav()) DoFileSave();
    else DoSave(CPathName());
}

BOOL COndavDoc::ExportTo(const CPathName& pathName)
{
    const bool csv = HasExtension(pathName.wstr(), L".csv");
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
    std::wstring pairs = CPathName::FromAnsi(filters) + L'\n';
    std::replace(pairs.begin(), pairs.end(), L'\n', L'\0');
    std::wstring name = OscNameOf(GetPathName().IsEmpty() ? GetTitle() : GetPathName().wstr());
    name.erase(name.size() - 4);
    // Room for a path longer than MAX_PATH: the export refuses it in its own words.
    std::wstring buf = name + L".wav";
    buf.resize(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = MainFrame() ? MainFrame()->m_hWnd : nullptr;
    ofn.lpstrFilter = pairs.c_str();
    ofn.lpstrFile = buf.data();
    ofn.nMaxFile = static_cast<DWORD>(buf.size());
    ofn.lpstrDefExt = L"wav";
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    if (!late::GetSaveFileNameW(&ofn)) return;
    std::wstring chosen = buf.c_str();
    // A name typed without its extension takes the chosen type's.
    if (!HasExtension(chosen, L".wav") && !HasExtension(chosen, L".csv"))
        chosen += ofn.nFilterIndex == 2 ? L".csv" : L".wav";
    ExportTo(chosen);
}
