// The spectrum of both channels drawn against frequency: levels in dBFS from
// 0 down to -100, frequencies from 0 to 22 050 Hz on a linear or logarithmic
// axis, right channel in red and left in yellow as on the scope, the
// strongest peak of each marked with its frequency and level.
#pragma once
#include "framework/framework.h"
#include "measure/FrameAnalysis.h"

class CSpectrumPane : public CWnd {
public:
    BOOL Create(CWnd* parent, UINT id);
    // The analysis stays owned by the caller and must outlive the pane's use of it.
    void SetAnalysis(const FrameAnalysis* analysis);
    void SetLogarithmic(bool log);
    bool Logarithmic() const { return m_bLog; }

    // Where frequency hz and level db fall inside plot (the graduated area).
    int XOf(double hz, const RECT& plot) const;
    static int YOf(double db, const RECT& plot);
    // The graduated area inside a client rectangle.
    static RECT PlotArea(const RECT& client);

    // Paints the whole pane into dc, client being its size.
    void Draw(HDC dc, const RECT& client) const;

    void OnPaint();
    LRESULT OnEraseBackground(WPARAM, LPARAM) { return 1; }
    DECLARE_MESSAGE_MAP()

private:
    const FrameAnalysis* m_analysis = nullptr;
    bool m_bLog = false;

    void DrawAxes(HDC dc, const RECT& plot) const;
    void DrawTrace(HDC dc, const RECT& plot, const Spectrum& s, COLORREF colour) const;
    void DrawPeak(HDC dc, const RECT& plot, const ChannelAnalysis& c, COLORREF colour, int line, const char* name) const;
};
