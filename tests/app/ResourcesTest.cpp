#include "resource.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <set>
#include <vector>

// The program's own resources, read back from the executable as Windows reads them.
namespace {
HINSTANCE module() { return ::GetModuleHandleA(nullptr); }

const BYTE* resource(UINT id, LPCSTR type, DWORD* size = nullptr)
{
    HRSRC r = ::FindResourceA(module(), MAKEINTRESOURCEA(id), type);
    if (!r) return nullptr;
    if (size) *size = ::SizeofResource(module(), r);
    return static_cast<const BYTE*>(::LockResource(::LoadResource(module(), r)));
}

// A string or ordinal field of a dialog template: skipped, ordinal returned (or 0).
const WORD* skipField(const WORD* p, WORD* ordinal = nullptr)
{
    if (*p == 0xFFFF) { if (ordinal) *ordinal = p[1]; return p + 2; }
    while (*p) ++p;
    return p + 1;
}

struct Item { short x, y, cx, cy; WORD textOrdinal; DWORD style; };

// The controls of a DIALOG (not DIALOGEX) template.
std::vector<Item> dialogItems(UINT id)
{
    std::vector<Item> items;
    auto* t = reinterpret_cast<const DLGTEMPLATE*>(resource(id, MAKEINTRESOURCEA(5)));
    if (!t) return items;
    const WORD* p = reinterpret_cast<const WORD*>(t + 1);
    p = skipField(p);   // menu
    p = skipField(p);   // class
    p = skipField(p);   // title
    if (t->style & DS_SETFONT) { ++p; p = skipField(p); }
    for (int i = 0; i < t->cdit; ++i) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<ULONG_PTR>(p) + 3) & ~ULONG_PTR(3));
        auto* it = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
        Item item{ it->x, it->y, it->cx, it->cy, 0, it->style };
        p = reinterpret_cast<const WORD*>(it + 1);
        p = skipField(p);   // class
        p = skipField(p, &item.textOrdinal);
        p += 1 + *p / sizeof(WORD);   // creation data
        items.push_back(item);
    }
    return items;
}
} // namespace

TEST(Resources, DialogIconsAreTwentyDialogUnitsSquare)
{
    for (UINT dialog : { IDD_ABOUTBOX, IDD_BACKCOLOR }) {
        int icons = 0;
        for (const Item& it : dialogItems(dialog)) {
            // The static showing the application icon (buttons have texts, not ordinals).
            if ((it.style & SS_TYPEMASK) != SS_ICON || it.textOrdinal != IDR_MAINFRAME) continue;
            ++icons;
            EXPECT_EQ(it.cx, 20) << "dialog " << dialog;
            EXPECT_EQ(it.cy, 20) << "dialog " << dialog;
        }
        EXPECT_EQ(icons, 1) << "dialog " << dialog;
    }
}

TEST(Resources, IconsCarrySmallAndLargeImages)
{
#pragma pack(push, 2)
    struct Entry { BYTE width, height, colours, reserved; WORD planes, bits; DWORD bytes; WORD id; };
    struct Directory { WORD reserved, type, count; Entry entries[1]; };
#pragma pack(pop)
    for (UINT icon : { IDR_MAINFRAME, IDR_ONDAVTYPE }) {
        auto* dir = reinterpret_cast<const Directory*>(resource(icon, MAKEINTRESOURCEA(14)));   // RT_GROUP_ICON
        ASSERT_NE(dir, nullptr) << "icon " << icon;
        std::set<int> sizes;
        for (int i = 0; i < dir->count; ++i) {
            const Entry& e = dir->entries[i];
            EXPECT_EQ(e.width, e.height);
            sizes.insert(e.width);
        }
        EXPECT_EQ(sizes, (std::set<int>{ 16, 32 })) << "icon " << icon;
        // The caption's small icon is the 16 x 16 picture itself.
        auto* bits = resource(static_cast<UINT>(::LookupIconIdFromDirectoryEx(const_cast<BYTE*>(reinterpret_cast<const BYTE*>(dir)),
                                                                                 TRUE, 16, 16, LR_DEFAULTCOLOR)),
                              MAKEINTRESOURCEA(3));   // RT_ICON
        ASSERT_NE(bits, nullptr);
        EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(bits)->biWidth, 16);
    }
}

TEST(Resources, LogoShowsTheWholeProductName)
{
    // The name is drawn in navy: it must stand clear of both side edges.
    HBITMAP logo = static_cast<HBITMAP>(::LoadImageA(module(), MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP, 0, 0,
                                                     LR_CREATEDIBSECTION));
    ASSERT_NE(logo, nullptr);
    DIBSECTION ds{};
    ASSERT_TRUE(::GetObjectA(logo, sizeof ds, &ds));
    EXPECT_EQ(ds.dsBm.bmWidth, 248);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, logo);
    int first = ds.dsBm.bmWidth, last = -1;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < ds.dsBm.bmWidth; ++x)
            if (::GetPixel(dc, x, y) == RGB(0, 0, 128)) { first = std::min(first, x); last = std::max(last, x); }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(logo);
    ASSERT_GE(last, 0) << "no name drawn";
    EXPECT_GE(first, 8);
    EXPECT_LE(last, ds.dsBm.bmWidth - 9) << "the last letter is cut";
}
