// Test helpers: a view and document with the instrument's start values, a
// DIB-section page to probe pixels, and an enhanced-metafile recorder for texts.
#pragma once
#include "acquisition/OndavView.h"
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A view attached to its document, set to the values a fresh start gives.
class Instrument {
public:
    Instrument();
    ~Instrument();
    COndavView& view() { return *m_view; }
    COndavDoc& doc() { return *m_doc; }

    // Fills entries 0 to 4010 of the document: right and left from f(i),
    // with the sum and difference the capture would compute.
    void Fill(const std::function<std::pair<int, int>(int)>& f);
    void SetLayout(int layout);
    void SetTimeBase(int code);

private:
    std::unique_ptr<COndavView> m_view;   // declared first: the document goes first
    std::unique_ptr<COndavDoc> m_doc;
};

constexpr COLORREF kRed = RGB(255, 0, 0), kYellow = RGB(255, 255, 0), kGreen = RGB(0, 255, 0),
                   kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255), kBlack = 0;

// A 32-bit top-down DIB section pre-filled with a colour no drawing uses.
class DibPage {
public:
    static constexpr COLORREF kUnpainted = RGB(0x12, 0x34, 0x56);
    DibPage(int width, int height, COLORREF background = kUnpainted);
    ~DibPage();
    DibPage(const DibPage&) = delete;
    DibPage& operator=(const DibPage&) = delete;

    void Draw(COndavView& view);
    // Paints only the given areas, as a repaint of an invalidated region does.
    void DrawClipped(COndavView& view, const std::vector<RECT>& areas);
    COLORREF At(int x, int y) const;
    // Rows of column x, from y0 to y1 inclusive, that hold colour c.
    std::vector<int> RowsWith(int x, int y0, int y1, COLORREF c) const;
    bool SaveBmp(const std::string& path) const;
    HDC dc() const { return m_dc; }
    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    int m_width, m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    const DWORD* m_bits = nullptr;
};
constexpr COLORREF kUnpainted = DibPage::kUnpainted;

struct TextRecord {
    int x, y;
    std::string text;
};

// Paints the view into an enhanced metafile and returns its text records.
std::vector<TextRecord> RecordTexts(COndavView& view);
// The texts recorded at (x, y).
std::vector<std::string> TextsAt(const std::vector<TextRecord>& texts, int x, int y);
