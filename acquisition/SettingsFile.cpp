// The settings file ondav.ini: a 48-byte binary record in the Windows
// directory holding a reserved block (carried through unchanged) and the
// background colours of the three displays.
#include "acquisition/OndavView.h"
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
    // Created empty when missing; a file that exists but could not be read
    // (held by another program) is left as it is rather than emptied.
    if (!m_bFileOpened)
        m_bFileOpened = m_fileSettings.Open(m_strSettingsPath, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeRead);

    std::memset(m_settingsReserved, 0, sizeof(m_settingsReserved));
    m_fileSettings.Read(m_settingsReserved, sizeof(m_settingsReserved));
    ReadStoredColors();

    m_clrScopeBack = m_clrStored[0];
    m_clrVuBack = m_clrStored[1];
    m_clrBarBack = m_clrStored[2];
    m_fileSettings.Close();
}

// Takes only the colours whose four bytes are all in the file, so that a
// truncated record never yields a colour made half of file, half of default.
void COndavView::ReadStoredColors()
{
    BYTE record[kColorRecordBytes];
    UINT got = m_fileSettings.Read(record, kColorRecordBytes);
    for (m_nLoop = 0; m_nLoop < 3; ++m_nLoop) {
        UINT end = static_cast<UINT>(m_nLoop + 1) * sizeof(COLORREF);
        if (end <= got)
            std::memcpy(&m_clrStored[m_nLoop], record + end - sizeof(COLORREF), sizeof(COLORREF));
    }
}

void COndavView::SaveSettings()
{
    // Write only, without create or truncation: the record overwrites the
    // first 48 bytes and a longer file keeps its tail.
    m_bFileOpened = m_fileSettings.Open(m_strSettingsPath, CFile::modeWrite);
    if (!m_bFileOpened) {
        ReportSettingsLost();
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
    if (!written) ReportSettingsLost();
}

void COndavView::ReportSettingsLost()
{
    // Shown while the window is being destroyed: no owner.
    ::MessageBoxA(nullptr, kSettingsLostText, kSettingsLostCaption, MB_OK);
}
