// One help topic laid out for a width and painted with GDI: title, headings,
// wrapped paragraphs with links, bullets, fixed-pitch lines, tables, pictures.
#pragma once
#include "help/HelpBook.h"
#include "framework/framework.h"
#include <functional>

enum class HelpFont { Body, Bold, Link, Title, Heading, Code, Count };

// The fonts of the help pages, created once per window.
class HelpFonts {
public:
    HelpFonts();
    ~HelpFonts();
    HelpFonts(const HelpFonts&) = delete;
    HelpFonts& operator=(const HelpFonts&) = delete;
    HFONT operator[](HelpFont f) const { return m_fonts[static_cast<int>(f)]; }
private:
    HFONT m_fonts[static_cast<int>(HelpFont::Count)];
};

class HelpLayout {
public:
    enum class Kind { Text, Picture, Rule, Cell, HeaderCell };
    struct Item {
        Kind kind;
        RECT rc;
        std::string text;          // text and cells
        HelpFont font = HelpFont::Body;
        std::string link;          // topic key of a link
        std::string picture, argument;
        SIZE natural{0, 0};        // a picture's own size; a narrower page shrinks it
    };

    void Build(HDC dc, const HelpTopic& topic, int width, const HelpFonts& fonts);
    int Height() const { return m_height; }
    const std::vector<Item>& Items() const { return m_items; }
    // The link under p (page coordinates), or nullptr.
    const Item* LinkAt(POINT p) const;
    // The items where each link starts, in reading order.
    std::vector<size_t> LinkStarts() const;
    // The rectangles of the link that starts at item first.
    std::vector<RECT> LinkRects(size_t first) const;
    // The page as plain text: lines, and table cells separated by tabs.
    std::string PlainText() const;
    // Paints the part of the page from scrollY down into dc's client area.
    void Paint(HDC dc, int scrollY, const RECT& clip, const HelpFonts& fonts) const;

private:
    std::vector<Item> m_items;
    int m_height = 0;
    void Flow(HDC dc, const std::vector<HelpSpan>& spans, HelpFont base, int left, int right, int& y,
              const HelpFonts& fonts);
    static void PaintPicture(HDC dc, const Item& item, const RECT& at);
    void Table(HDC dc, const HelpBlock& block, int left, int right, int& y, const HelpFonts& fonts);
};

// The window that shows one topic, with a vertical scroll bar; a click on a
// link, or Enter on the link reached with Tab, calls onLink with the topic's
// key. Ctrl+A selects the page, Ctrl+C (WM_COPY) copies its text; its window
// text, the name screen readers give it, is the topic's title.
class CHelpPage : public CWnd {
public:
    std::function<void(const std::string&)> onLink;

    BOOL Create(CWnd* parent, UINT id);
    void ShowTopic(const HelpTopic* topic);
    const HelpTopic* Topic() const { return m_topic; }
    const HelpLayout& Layout() const { return m_layout; }
    int ScrollPos() const { return m_scroll; }

    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnLButtonDown(UINT flags, CPoint point);
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetDlgCode(WPARAM, LPARAM lParam);
    LRESULT OnCopy(WPARAM, LPARAM);
    LRESULT OnFocus(WPARAM, LPARAM);
    // The link reached with Tab (index among the links), -1 for none.
    int FocusedLink() const { return m_focusLink; }
    DECLARE_MESSAGE_MAP()

private:
    HelpFonts m_fonts;
    HelpLayout m_layout;
    const HelpTopic* m_topic = nullptr;
    int m_scroll = 0;
    int m_focusLink = -1;
    bool m_bAllSelected = false;
    void Relayout();
    void ScrollTo(int y);
    // Moves the keyboard's link forward or back; false past either end.
    bool StepLink(bool back);
    int NextLink(bool back) const;   // -1 past either end
    void InvalidateLink();
};
