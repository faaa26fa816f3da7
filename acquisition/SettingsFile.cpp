// The settings file ondav.ini: a 48-byte binary record in the Windows
// directory holding a reserved block (carried through unchanged) and the
// background colours of the three displays.
#include "acquisition/OndavView.h"
#include "resource.h"
#include <algorithm>
#include <cstring>

namespace {

const char kSettingsFileName[] = "ondav.ini";
const char kSettingsLostText[] =
    "Le fichier d'initialisation a disparu, si vous avez modifié certains paramètres de "
    "l'application ceux-ci ne pourront pas être mémorisés. Un nouveau fichier "
    "d'initialisation sera crée à la prochaine ouverture de l'applicattion.";
const char kSettingsLostCaption[] = "Le fichier d'initialisation a disparu.....";

constexpr UINT kColorRecordBytes = sizeof(COLORREF) * 3;
static_assert(kColorRecordBytes == 12, "the colour record is three 32-bit COLORREFs");

} // namespace

void COndavView::LoadSettings()
{
    char dir[MAX_PATH] = {};
    ::GetWindowsDirectoryA(dir, MAX_PATH);
    m_strWindowsDir = dir;
    // Documents opened without a path are looked for here too, for the whole run.
    ::SetCurrentDirectoryA(m_strWindowsDir);
    m_strSettingsPath = m_strWindowsDir + "\\" + kSettingsFileName;

    // Light grey stands wherever the file has nothing to say: a new file, a
    // file cut short, or one that can be neither opened nor created.
    for (m_nLoop = 0; m_nLoop < 3; ++m_nLoop) m_clrStored[m_nLoop] = kDefaultBackColor;

    m_bFileOpened = m_fileSettings.Open(m_strSettingsPath, CFile::modeRead);
    m_bSettingsRead = m_bFileOpened;
    // Created empty when missing; a file that exists but could not be read
    // (held by another program) is left as it is rather than emptied.
    if (!m_bFileOpened) {
        m_bFileOpened = m_fileSettings.Open(m_strSettingsPath, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeRead);
        m_bSettingsRead = m_bFileOpened && m_fileSettings.GetLength() == 0;   // new: nothing in it to lose
    }

    std::memset(m_settingsReserved, 0, sizeof(m_settingsReserved));
    const ULONGLONG length = m_fileSettings.GetLength();
    ULONGLONG got = m_fileSettings.Read(m_settingsReserved, sizeof(m_settingsReserved));
    got += ReadStoredColors();
    // A read that stops short of the file's end has not seen the whole record.
    if (got < std::min<ULONGLONG>(length, kSettingsFileBytes)) m_bSettingsRead = FALSE;
    m_bSettingsWhole = m_bSettingsRead && got == kSettingsFileBytes;

    m_clrScopeBack = m_clrStored[0];
    m_clrVuBack = m_clrStored[1];
    m_clrBarBack = m_clrStored[2];
    m_fileSettings.Close();
}

// Takes only the colours whose four bytes are all in the file, so that a
// truncated record never yields a colour made half of file, half of default.
// Returns the number of bytes read.
UINT COndavView::ReadStoredColors()
{
    BYTE record[kColorRecordBytes];
    UINT got = m_fileSettings.Read(record, kColorRecordBytes);
    for (m_nLoop = 0; m_nLoop < 3; ++m_nLoop) {
        UINT end = static_cast<UINT>(m_nLoop + 1) * sizeof(COLORREF);
        if (end <= got)
            std::memcpy(&m_clrStored[m_nLoop], record + end - sizeof(COLORREF), sizeof(COLORREF));
    }
    return got;
}

void COndavView::SaveSettings()
{
    if (!m_bSettingsRead) {
        SaveChangedColors();
        return;
    }
    // Nothing chosen during the run and the record already whole: nothing to
    // write (the Windows folder may well be read-only), nothing to say. A new
    // or short file is completed, silently if it cannot be: nothing is lost.
    const bool changed = ColorsChanged();
    if (!changed && m_bSettingsWhole) return;
    // Write only, without create or truncation: the record overwrites the
    // first 48 bytes and a longer file keeps its tail.
    m_bFileOpened = m_fileSettings.Open(m_strSettingsPath, CFile::modeWrite);
    if (!m_bFileOpened) {
        if (changed) ReportSettingsLost();
        return;
    }
    m_clrStored[0] = m_clrScopeBack;
    m_clrStored[1] = m_clrVuBack;
    m_clrStored[2] = m_clrBarBack;
    BOOL written = m_fileSettings.Write(m_settingsReserved, sizeof(m_settingsReserved)) &&
                   m_fileSettings.Write(m_clrStored, kColorRecordBytes);
    m_fileSettings.Close();
    // A disk that refuses the record loses the colours just as surely as a
    // vanished file: say so rather than leave quietly.
    if (!written && changed) ReportSettingsLost();
}

bool COndavView::ColorsChanged() const
{
    return m_clrScopeBack != m_clrStored[0] || m_clrVuBack != m_clrStored[1] || m_clrBarBack != m_clrStored[2];
}

// The record could not be read at start: writing it whole would replace what
// it holds with the defaults. Only the colours changed during this run are
// written, each in its own place; nothing changed, nothing is written.
void COndavView::SaveChangedColors()
{
    const COLORREF now[3] = { m_clrScopeBack, m_clrVuBack, m_clrBarBack };
    if (!ColorsChanged()) return;
    m_bFileOpened = m_fileSettings.Open(m_strSettingsPath, CFile::modeWrite);
    BOOL written = m_bFileOpened;
    for (m_nLoop = 0; written && m_nLoop < 3; ++m_nLoop) {
        if (now[m_nLoop] == m_clrStored[m_nLoop]) continue;
        LONGLONG at = kSettingsReservedBytes + m_nLoop * static_cast<LONGLONG>(sizeof(COLORREF));
        written = m_fileSettings.Seek(at) == static_cast<ULONGLONG>(at) &&
                  m_fileSettings.Write(&now[m_nLoop], sizeof(COLORREF));
    }
    m_fileSettings.Close();
    if (!written) ReportSettingsLost();
}

void COndavView::ReportSettingsLost()
{
    // Shown while the window is being destroyed: no owner.
    CBoxHelp help(IDH_MSG_INI_DISPARU);
    ::MessageBoxA(nullptr, kSettingsLostText, kSettingsLostCaption, MB_OK);
}
