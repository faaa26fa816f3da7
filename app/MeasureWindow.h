// « Mesures - Ondavis »: the readouts of each channel in static texts (so a
// screen reader reads them and Ctrl+C copies them) above the spectrum. A
// top-level window beside the main one that never blocks it; there is at most
// one. It shows the document's frame and follows every new frame and every
// opened document; it keeps its place and axis in the profile and closes
// with the program.
#pragma once
#include "app/SpectrumPane.h"
#include "measure/Readouts.h"
#include <memory>
#include <string>

class COndavDoc;

class CMeasureWindow : public CWnd {
public:
    // Opens (or brings forward) the window on doc's frame.
    static CMeasureWindow* Open(HWND mainWindow, const COndavDoc* doc);
    static CMeasureWindow* Instance();
    static void Close();
    // A new frame or document: measured again if the window is open.
    static void Notify(const COndavDoc* doc);
    // Ctrl+C and Ctrl+Insert copy; Tab moves between the axis choices.
    static BOOL PreTranslate(MSG* msg);

    // Control ids of the readout grid: row 0 the headings, then one row per
    // Readout; column 0 the names, 1 the right channel, 2 the left (pair rows
    // have their one value in column 1).
    static constexpr UINT kIdGrid = 1000;
    static constexpr UINT CellId(int row, int column) { return kIdGrid + static_cast<UINT>(row * 4 + column); }

    void Show(const int* right, const int* left, int count);
    // The grid as tab-separated lines, as Ctrl+C copies it.
    std::string ReadoutsText() const;
    void CopyReadouts();
    CSpectrumPane& SpectrumPane() { return m_spectrum; }

    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    LRESULT OnMinMaxInfo(WPARAM, LPARAM lParam);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    static constexpr int kRows = kReadoutCount + 1;
    HWND m_cells[kRows][3]{};
    HWND m_note = nullptr, m_axis = nullptr, m_linear = nullptr, m_log = nullptr;
    CSpectrumPane m_spectrum;
    std::unique_ptr<FrameAnalysis> m_analysis = std::make_unique<FrameAnalysis>();

    void CreateGrid();
    void SetCell(int row, int column, const std::string& text);
    void SetLogarithmic(bool log);
};
