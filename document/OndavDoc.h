// The document: the last captured stereo frame, saved as an .osc file.
#pragma once
#include "framework/framework.h"

// Every frame array is declared with this many elements...
constexpr int kFrameArrayLength = 4020;
// ...of which the first 4011 (0 to 4010) are used, copied and stored.
constexpr int kFrameUsed = 4011;
// One capture fills elements 0 to 3999.
constexpr int kCaptureFrames = 4000;
// Size of an .osc file: four blocks of 4011 little-endian 32-bit integers.
constexpr int kOscFileSize = 4 * kFrameUsed * 4;

class COndavDoc : public CDocument {
    DECLARE_DYNCREATE(COndavDoc)
public:
    int m_right[kFrameArrayLength];
    int m_left[kFrameArrayLength];
    int m_difference[kFrameArrayLength];
    int m_sum[kFrameArrayLength];

    ~COndavDoc() override = default;
    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;

    // Exchange with other programs (document/DocExchange.cpp): a .wav opens
    // as a capture; the frame exports as WAV or CSV.
    BOOL OnOpenDocument(const CPathName& pathName) override;
    BOOL OnSaveDocument(const CPathName& pathName) override;
    BOOL DoFileSave() override;
    // The frame came from a sound file and has not been saved as .osc since.
    BOOL IsFromWav() const { return !m_strWavSource.IsEmpty(); }
    // Writes the frame to path, as CSV if its name ends in .csv, else as WAV;
    // the document's name, path and modified state stay as they are.
    BOOL ExportTo(const CPathName& pathName);
    // Asks for a name and a type (WAV or CSV), then exports.
    void Export();
    void OnFileSaveAs() override;

    DECLARE_MESSAGE_MAP()

private:
    BOOL OpenWav(const CPathName& pathName);
    void ReportWavError(const CPathName& pathName, int reason) const;
    CPathName m_strWavSource;
};
