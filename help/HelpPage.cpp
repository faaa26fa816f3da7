#include "help/HelpPage.h"
#include "help/HelpPictures.h"
#include <algorithm>
#include <cstring>

namespace {
constexpr int kMargin = 14;
constexpr int kBulletIndent = 18;
constexpr int kCellPad = 5;
constexpr int kLineStep = 40;   // pixels per scroll-bar arrow click
constexpr COLORREF kLinkColour = RGB(0, 0, 192);
constexpr COLORREF kHeadingColour = RGB(0, 64, 128);
constexpr COLORREF kHeaderFill = RGB(224, 232, 240);
constexpr int kMinColumn = 36;   // a column narrowed to fit the page keeps this much
constexpr UINT kCellFormat = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;

struct FontStyle {
    int height, weight;
    BOOL underline;
    const char* face;
};
// Indexed by HelpFont.
constexpr FontStyle kFontStyles[] = {
    {14, FW_NORMAL, FALSE, "Tahoma"},       // body
    {14, FW_BOLD, FALSE, "Tahoma"},         // bold
    {14, FW_NORMAL, TRUE, "Tahoma"},        // link
    {20, FW_BOLD, FALSE, "Tahoma"},         // title
    {16, FW_BOLD, FALSE, "Tahoma"},         // heading
    {13, FW_NORMAL, FALSE, "Courier New"},  // fixed pitch
};

int lineHeight(HDC dc, HFONT font)
{
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    ::SelectObject(dc, old);
    return tm.tmHeight + tm.tmExternalLeading + 1;
}

SIZE extent(HDC dc, HFONT font, const std::string& s)
{
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{0, 0};
    ::GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
    ::SelectObject(dc, old);
    return size;
}

// The height of a cell's text wrapped to a column of width pixels.
int CellTextHeight(HDC dc, HFONT font, const std::string& text, int width)
{
    HGDIOBJ old = ::SelectObject(dc, font);
    RECT r{0, 0, width - 2 * kCellPad, 0};
    ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, kCellFormat | DT_CALCRECT);
    ::SelectObject(dc, old);
    return r.bottom;
}

// Words with the blanks that follow them, so that widths add up.
std::vector<std::string> words(const std::string& s)
{
    std::vector<std::string> out;
    size_t i = 0;
    while (i < s.size()) {
        size_t end = s.find(' ', i);
        end = end == std::string::npos ? s.size() : s.find_first_not_of(' ', end);
        if (end == std::string::npos) end = s.size();
        out.push_back(s.substr(i, end - i));
        i = end;
    }
    return out;
}
} // namespace

HelpFonts::HelpFonts()
{
    for (int i = 0; i < static_cast<int>(HelpFont::Count); ++i) {
        const FontStyle& f = kFontStyles[i];
        m_fonts[i] = ::CreateFontA(-f.height, 0, 0, 0, f.weight, FALSE, f.underline, FALSE, ANSI_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, f.face);
    }
}

HelpFonts::~HelpFonts()
{
    for (HFONT f : m_fonts) ::DeleteObject(f);
}

// ---------------------------------------------------------------- layout

void HelpLayout::Flow(HDC dc, const std::vector<HelpSpan>& spans, HelpFont base, int left, int right, int& y,
                      const HelpFonts& fonts)
{
    int x = left;
    int step = lineHeight(dc, fonts[base]);
    for (const HelpSpan& span : spans) {
        HelpFont font = !span.link.empty() ? HelpFont::Link : span.bold ? HelpFont::Bold : base;
        for (const std::string& word : words(span.text)) {
            SIZE size = extent(dc, fonts[font], word);
            std::string trimmed = word.substr(0, word.find_last_not_of(' ') + 1);
            SIZE ink = extent(dc, fonts[font], trimmed);
            if (x > left && x + ink.cx > right) {
                x = left;
                y += step;
                if (trimmed.empty()) continue;   // no blank at the start of a line
            }
            Item* last = m_items.empty() ? nullptr : &m_items.back();
            if (last && last->kind == Kind::Text && last->font == font && last->link == span.link &&
                last->rc.top == y && last->rc.right == x) {
                last->text += word;
                last->rc.right = x + size.cx;
            } else {
                m_items.push_back({Kind::Text, {x, y, x + size.cx, y + step}, word, font, span.link, {}, {}});
            }
            x += size.cx;
        }
    }
    y += step;
}

void HelpLayout::Table(HDC dc, const HelpBlock& block, int left, int right, int& y, const HelpFonts& fonts)
{
    size_t columns = 0;
    for (const auto& row : block.rows) columns = std::max(columns, row.size());
    std::vector<int> widths(columns, 0);
    for (size_t r = 0; r < block.rows.size(); ++r)
        for (size_t c = 0; c < block.rows[r].size(); ++c) {
            HelpFont f = r == 0 ? HelpFont::Bold : HelpFont::Body;
            widths[c] = std::max(widths[c], static_cast<int>(extent(dc, fonts[f], block.rows[r][c]).cx) + 2 * kCellPad);
        }
    // Too wide for the page: the columns share its width, their texts wrap.
    int total = 0;
    for (int w : widths) total += w;
    const int room = right - left;
    if (total > room)
        for (int& w : widths) w = std::max(kMinColumn, MulDiv(w, room, total));
    const int step = lineHeight(dc, fonts[HelpFont::Body]) + 4;
    for (size_t r = 0; r < block.rows.size(); ++r) {
        const HelpFont font = r == 0 ? HelpFont::Bold : HelpFont::Body;
        int height = step;
        for (size_t c = 0; c < columns && c < block.rows[r].size(); ++c)
            height = std::max(height, CellTextHeight(dc, fonts[font], block.rows[r][c], widths[c]) + 4);
        int x = left;
        for (size_t c = 0; c < columns; ++c) {
            std::string cell = c < block.rows[r].size() ? block.rows[r][c] : std::string();
            m_items.push_back({r == 0 ? Kind::HeaderCell : Kind::Cell, {x, y, x + widths[c] + 1, y + height + 1}, cell,
                               font, {}, {}, {}});
            x += widths[c];
        }
        y += height;
    }
}

void HelpLayout::Build(HDC dc, const HelpTopic& topic, int width, const HelpFonts& fonts)
{
    m_items.clear();
    int left = kMargin, right = std::max(width - kMargin, left + 120);
    int y = kMargin;
    Flow(dc, {{topic.title, {}, false}}, HelpFont::Title, left, right, y, fonts);
    m_items.push_back({Kind::Rule, {left, y + 2, right, y + 3}, {}, HelpFont::Body, {}, {}, {}});
    y += 10;
    HelpBlockKind previous = HelpBlockKind::Heading;
    for (const HelpBlock& block : topic.blocks) {
        // Fixed-pitch lines stay together; every other block is set apart.
        if (!(block.kind == HelpBlockKind::Code && previous == HelpBlockKind::Code) &&
            !(block.kind == HelpBlockKind::Bullet && previous == HelpBlockKind::Bullet))
            y += block.kind == HelpBlockKind::Heading ? 10 : 5;
        switch (block.kind) {
        case HelpBlockKind::Heading:
            Flow(dc, block.spans, HelpFont::Heading, left, right, y, fonts);
            y += 2;
            break;
        case HelpBlockKind::Paragraph:
            Flow(dc, block.spans, HelpFont::Body, left, right, y, fonts);
            break;
        case HelpBlockKind::Bullet: {
            int top = y;
            Flow(dc, block.spans, HelpFont::Body, left + kBulletIndent, right, y, fonts);
            m_items.push_back({Kind::Text, {left + 5, top, left + kBulletIndent, y}, "\x95", HelpFont::Body, {}, {}, {}});
            break;
        }
        case HelpBlockKind::Code: {
            std::string text = block.spans.empty() ? std::string() : block.spans[0].text;
            int step = lineHeight(dc, fonts[HelpFont::Code]);
            SIZE size = extent(dc, fonts[HelpFont::Code], text);
            m_items.push_back({Kind::Text, {left + 8, y, left + 8 + size.cx, y + step}, text, HelpFont::Code, {}, {}, {}});
            y += step;
            break;
        }
        case HelpBlockKind::Table:
            Table(dc, block, left, right, y, fonts);
            break;
        case HelpBlockKind::Picture: {
            SIZE natural = HelpPictureSize(block.picture, block.argument);
            SIZE size = natural;
            if (size.cx > right - left) {
                size.cy = MulDiv(size.cy, right - left, size.cx);
                size.cx = right - left;
            }
            m_items.push_back({Kind::Picture, {left, y, left + size.cx, y + size.cy}, {}, HelpFont::Body, {},
                               block.picture, block.argument, natural});
            y += size.cy;
            break;
        }
        }
        previous = block.kind;
    }
    m_height = y + kMargin;
}

std::vector<size_t> HelpLayout::LinkStarts() const
{
    std::vector<size_t> starts;
    for (size_t i = 0; i < m_items.size(); ++i)
        if (!m_items[i].link.empty() && (i == 0 || m_items[i - 1].link != m_items[i].link)) starts.push_back(i);
    return starts;
}

std::vector<RECT> HelpLayout::LinkRects(size_t first) const
{
    std::vector<RECT> rects;
    for (size_t i = first; i < m_items.size() && m_items[i].link == m_items[first].link; ++i) rects.push_back(m_items[i].rc);
    return rects;
}

std::string HelpLayout::PlainText() const
{
    std::string text;
    const Item* previous = nullptr;
    for (const Item& item : m_items) {
        if (item.kind != Kind::Text && item.kind != Kind::Cell && item.kind != Kind::HeaderCell) continue;
        const bool cell = item.kind != Kind::Text;
        if (previous && previous->rc.top != item.rc.top) text += "\r\n";
        else if (previous && cell) text += '\t';
        text += item.text;
        previous = &item;
    }
    return text + "\r\n";
}

const HelpLayout::Item* HelpLayout::LinkAt(POINT p) const
{
    for (const Item& item : m_items)
        if (!item.link.empty() && ::PtInRect(&item.rc, p)) return &item;
    return nullptr;
}

void HelpLayout::PaintPicture(HDC dc, const Item& item, const RECT& at)
{
    int cx = at.right - at.left, cy = at.bottom - at.top;
    if (cx == item.natural.cx && cy == item.natural.cy) {
        DrawHelpPicture(dc, item.picture, item.argument, at.left, at.top);
        return;
    }
    // Drawn at its own size, then shrunk to the page.
    HDC mem = ::CreateCompatibleDC(dc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc, item.natural.cx, item.natural.cy);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    RECT all{0, 0, item.natural.cx, item.natural.cy};
    ::FillRect(mem, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    DrawHelpPicture(mem, item.picture, item.argument, 0, 0);
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, at.left, at.top, cx, cy, mem, 0, 0, item.natural.cx, item.natural.cy, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
}

void HelpLayout::Paint(HDC dc, int scrollY, const RECT& clip, const HelpFonts& fonts) const
{
    ::SetBkMode(dc, TRANSPARENT);
    for (const Item& item : m_items) {
        RECT r = item.rc;
        ::OffsetRect(&r, 0, -scrollY);
        RECT visible;
        if (!::IntersectRect(&visible, &r, &clip)) continue;
        switch (item.kind) {
        case Kind::Rule:
            ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
            break;
        case Kind::Picture:
            PaintPicture(dc, item, r);
            break;
        case Kind::HeaderCell:
        case Kind::Cell: {
            if (item.kind == Kind::HeaderCell) {
                HBRUSH b = ::CreateSolidBrush(kHeaderFill);
                ::FillRect(dc, &r, b);
                ::DeleteObject(b);
            }
            ::FrameRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH)));
            HGDIOBJ old = ::SelectObject(dc, fonts[item.font]);
            ::SetTextColor(dc, RGB(0, 0, 0));
            RECT text{r.left + kCellPad, r.top + 2, r.right - kCellPad, r.bottom};
            ::DrawTextA(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text, kCellFormat);
            ::SelectObject(dc, old);
            break;
        }
        case Kind::Text: {
            HGDIOBJ old = ::SelectObject(dc, fonts[item.font]);
            COLORREF colour = !item.link.empty() ? kLinkColour
                            : (item.font == HelpFont::Title || item.font == HelpFont::Heading) ? kHeadingColour
                            : RGB(0, 0, 0);
            ::SetTextColor(dc, colour);
            ::TextOutA(dc, r.left, r.top, item.text.c_str(), static_cast<int>(item.text.size()));
            ::SelectObject(dc, old);
            break;
        }
        }
    }
}

// ---------------------------------------------------------------- window

BEGIN_MESSAGE_MAP(CHelpPage, CWnd)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(WM_VSCROLL, OnVScroll)
    ON_MESSAGE(WM_MOUSEWHEEL, OnMouseWheel)
    ON_MESSAGE(WM_SETCURSOR, OnSetCursor)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
    ON_MESSAGE(WM_COPY, OnCopy)
    ON_MESSAGE(WM_SETFOCUS, OnFocus)
    ON_MESSAGE(WM_KILLFOCUS, OnFocus)
END_MESSAGE_MAP()

BOOL CHelpPage::Create(CWnd* parent, UINT id)
{
    const char* cls = RegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                                       static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    return CreateEx(WS_EX_CLIENTEDGE, cls, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, 0, 0, 0, 0,
                    parent->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CHelpPage::ShowTopic(const HelpTopic* topic)
{
    m_topic = topic;
    m_scroll = 0;
    m_focusLink = -1;
    m_bAllSelected = false;
    SetWindowText(topic ? topic->title.c_str() : "");
    Relayout();
}

void CHelpPage::Relayout()
{
    RECT client;
    GetClientRect(&client);
    if (m_topic) {
        CClientDC dc(this);
        m_layout.Build(dc.m_hDC, *m_topic, client.right, m_fonts);
    } else {
        m_layout = HelpLayout();
    }
    ScrollTo(m_scroll);
    Invalidate(TRUE);
}

void CHelpPage::ScrollTo(int y)
{
    RECT client;
    GetClientRect(&client);
    int page = std::max(1, static_cast<int>(client.bottom));
    int limit = std::max(0, m_layout.Height() - page);
    y = std::clamp(y, 0, limit);
    if (y != m_scroll) {
        ::ScrollWindowEx(m_hWnd, 0, m_scroll - y, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
        m_scroll = y;
    }
    SCROLLINFO si{sizeof(si), SIF_ALL | SIF_DISABLENOSCROLL, 0, std::max(0, m_layout.Height() - 1), static_cast<UINT>(page), m_scroll, 0};
    ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
}

void CHelpPage::OnPaint()
{
    CPaintDC dc(this);
    m_layout.Paint(dc.m_hDC, m_scroll, dc.m_ps.rcPaint, m_fonts);
    for (const HelpLayout::Item& item : m_layout.Items()) {
        if (!m_bAllSelected || item.kind != HelpLayout::Kind::Text) continue;
        RECT r = item.rc;
        ::OffsetRect(&r, 0, -m_scroll);
        ::InvertRect(dc.m_hDC, &r);
    }
    const std::vector<size_t> links = m_layout.LinkStarts();
    if (m_focusLink >= 0 && static_cast<size_t>(m_focusLink) < links.size() && ::GetFocus() == m_hWnd)
        for (RECT r : m_layout.LinkRects(links[static_cast<size_t>(m_focusLink)])) {
            ::OffsetRect(&r, 0, -m_scroll);
            ::DrawFocusRect(dc.m_hDC, &r);
        }
}

// ---------------------------------------------------------------- keyboard

LRESULT CHelpPage::OnGetDlgCode(WPARAM, LPARAM lParam)
{
    // Tab goes from link to link before it leaves the page; Enter follows one.
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_TAB) {
        if (NextLink(::GetKeyState(VK_SHIFT) < 0) >= 0) code |= DLGC_WANTTAB;
    }
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && m_focusLink >= 0) code |= DLGC_WANTMESSAGE;
    return code;
}

LRESULT CHelpPage::OnFocus(WPARAM, LPARAM)
{
    InvalidateLink();
    if (::GetFocus() != m_hWnd) {
        m_focusLink = -1;
        return 0;
    }
    // Reached with Tab (or Shift+Tab): the first (or last) link is the keyboard's.
    if (m_focusLink < 0 && ::GetKeyState(VK_TAB) < 0) m_focusLink = NextLink(::GetKeyState(VK_SHIFT) < 0);
    InvalidateLink();
    return 0;
}

int CHelpPage::NextLink(bool back) const
{
    const int count = static_cast<int>(m_layout.LinkStarts().size());
    const int next = m_focusLink < 0 ? (back ? count - 1 : 0) : m_focusLink + (back ? -1 : 1);
    return next >= 0 && next < count ? next : -1;
}

bool CHelpPage::StepLink(bool back)
{
    const std::vector<size_t> links = m_layout.LinkStarts();
    const int next = NextLink(back);
    if (next < 0) return false;
    InvalidateLink();
    m_focusLink = next;
    // The link comes into view.
    RECT client;
    GetClientRect(&client);
    const RECT& r = m_layout.Items()[links[static_cast<size_t>(next)]].rc;
    if (r.top < m_scroll) ScrollTo(r.top - kMargin);
    else if (r.bottom > m_scroll + client.bottom) ScrollTo(r.bottom - client.bottom + kMargin);
    InvalidateLink();
    return true;
}

void CHelpPage::InvalidateLink()
{
    const std::vector<size_t> links = m_layout.LinkStarts();
    if (m_focusLink < 0 || static_cast<size_t>(m_focusLink) >= links.size()) return;
    for (RECT r : m_layout.LinkRects(links[static_cast<size_t>(m_focusLink)])) {
        ::OffsetRect(&r, 0, -m_scroll);
        ::InflateRect(&r, 1, 1);
        ::InvalidateRect(m_hWnd, &r, TRUE);
    }
}

LRESULT CHelpPage::OnCopy(WPARAM, LPARAM)
{
    const std::string text = m_layout.PlainText();
    if (!::OpenClipboard(m_hWnd)) return 0;
    ::EmptyClipboard();
    // Both forms: the page's text is in the program's code page.
    const int wide = ::MultiByteToWideChar(1252, 0, text.c_str(), -1, nullptr, 0);
    if (HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(wide) * sizeof(WCHAR))) {
        ::MultiByteToWideChar(1252, 0, text.c_str(), -1, static_cast<WCHAR*>(::GlobalLock(h)), wide);
        ::GlobalUnlock(h);
        ::SetClipboardData(CF_UNICODETEXT, h);
    }
    if (HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        memcpy(::GlobalLock(h), text.c_str(), text.size() + 1);
        ::GlobalUnlock(h);
        ::SetClipboardData(CF_TEXT, h);
    }
    ::CloseClipboard();
    return 0;
}

void CHelpPage::OnSize(UINT, int, int)
{
    Relayout();
}

void CHelpPage::OnLButtonDown(UINT, CPoint point)
{
    ::SetFocus(m_hWnd);
    POINT p{point.x, point.y + m_scroll};
    if (const HelpLayout::Item* link = m_layout.LinkAt(p))
        if (onLink) onLink(link->link);   // may replace the page's topic
}

LRESULT CHelpPage::OnVScroll(WPARAM wParam, LPARAM)
{
    RECT client;
    GetClientRect(&client);
    int page = client.bottom;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: ScrollTo(m_scroll - kLineStep); break;
    case SB_LINEDOWN: ScrollTo(m_scroll + kLineStep); break;
    case SB_PAGEUP: ScrollTo(m_scroll - page); break;
    case SB_PAGEDOWN: ScrollTo(m_scroll + page); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(m_layout.Height()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si{sizeof(si), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        ::GetScrollInfo(m_hWnd, SB_VERT, &si);
        ScrollTo(si.nTrackPos);
        break;
    }
    default: break;
    }
    return 0;
}

LRESULT CHelpPage::OnMouseWheel(WPARAM wParam, LPARAM)
{
    int notches = static_cast<short>(HIWORD(wParam)) / WHEEL_DELTA;
    ScrollTo(m_scroll - notches * 3 * kLineStep / 2);
    return 0;
}

LRESULT CHelpPage::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(lParam) == HTCLIENT) {
        POINT p;
        ::GetCursorPos(&p);
        ::ScreenToClient(m_hWnd, &p);
        p.y += m_scroll;
        if (m_layout.LinkAt(p)) {
            ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
            return TRUE;
        }
    }
    return DefWindowProc(WM_SETCURSOR, wParam, lParam);
}

LRESULT CHelpPage::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    if (control && wParam == 'C') return OnCopy(0, 0);
    if (control && wParam == 'A') {
        m_bAllSelected = true;
        Invalidate(TRUE);
        return 0;
    }
    if (wParam == VK_TAB) {
        StepLink(::GetKeyState(VK_SHIFT) < 0);
        return 0;
    }
    if (wParam == VK_RETURN) {
        const std::vector<size_t> links = m_layout.LinkStarts();
        if (m_focusLink >= 0 && static_cast<size_t>(m_focusLink) < links.size() && onLink)
            onLink(m_layout.Items()[links[static_cast<size_t>(m_focusLink)]].link);   // may replace the topic
        return 0;
    }
    static const struct { WPARAM key; WORD scroll; } keys[] = {
        {VK_UP, SB_LINEUP}, {VK_DOWN, SB_LINEDOWN}, {VK_PRIOR, SB_PAGEUP},
        {VK_NEXT, SB_PAGEDOWN}, {VK_HOME, SB_TOP}, {VK_END, SB_BOTTOM},
    };
    for (const auto& k : keys)
        if (k.key == wParam) return OnVScroll(k.scroll, 0);
    return DefWindowProc(WM_KEYDOWN, wParam, lParam);
}
