// The running program's exchange commands: « Exporter... » in its place in
// « Fichier », the page on the clipboard, a WAV dropped on the window.
#include "harness.h"
#include "support/ModalWatcher.h"
#include "support/RunningApp.h"
#include "document/CaptureExchange.h"
#include "resource.h"
#include <commctrl.h>
#include <set>
#include <shlobj.h>
#include <gtest/gtest.h>

TEST(Exchange, FileMenuKeepsItsItemsInOrderWithExportAfterSaveAs)
{
    HMENU file = ::GetSubMenu(::GetMenu(frame()->m_hWnd), 0);
    frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    std::vector<UINT> ids;
    for (int i = 0; i < ::GetMenuItemCount(file); ++i) ids.push_back(::GetMenuItemID(file, i));
    ids.erase(ids.begin() + 11, ids.end() - 2);   // the recent files, however many
    const std::vector<UINT> expected = { 57600, 57601, 57603, 57604, ID_FILE_EXPORT, 0, 57607, 57609, 57606, 0, 57616, 0, 57665 };
    EXPECT_EQ(ids, expected);
    char text[64] = "";
    ::GetMenuStringA(file, ID_FILE_EXPORT, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "E&xporter...");
    EXPECT_FALSE(::GetMenuState(file, ID_FILE_EXPORT, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED));
}

TEST(Exchange, CtrlCPutsTheShownPageOnTheClipboardAsBitmapAndMetafile)
{
    command(ID_MODE_DECALEES);
    ASSERT_TRUE(::OpenClipboard(frame()->m_hWnd));
    ::EmptyClipboard();
    ::CloseClipboard();
    // Ctrl+C through the accelerator table, as the user presses it.
    ::SetActiveWindow(frame()->m_hWnd);
    MSG key{ frame()->m_hWnd, WM_KEYDOWN, 'C', 0, 0, {} };
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(theApp.PreTranslateMessage(&key));
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);

    ASSERT_TRUE(::OpenClipboard(frame()->m_hWnd));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_ENHMETAFILE));
    HANDLE dib = ::GetClipboardData(CF_DIB);
    ASSERT_NE(dib, nullptr);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(dib));
    EXPECT_EQ(header->biWidth, 800);
    EXPECT_EQ(header->biHeight, 600);
    auto pixel = [&](int x, int y) {
        const auto* p = reinterpret_cast<const BYTE*>(header + 1) + (599 - y) * 2400 + x * 3;
        return RGB(p[2], p[1], p[0]);
    };
    // The same pixels as the window shows, over the page's visible part.
    view()->UpdateWindow();
    HDC dc = ::GetDC(view()->m_hWnd);
    std::set<COLORREF> colours;
    int differ = 0, points = 0;
    for (int y = 5; y < 400; y += 15)
        for (int x = 5; x < 790; x += 15) {
            colours.insert(pixel(x, y));
            differ += pixel(x, y) != ::GetPixel(dc, x, y);
            ++points;
        }
    ::GlobalUnlock(dib);
    ::CloseClipboard();
    EXPECT_LE(differ, points / 50) << "of " << points;
    EXPECT_GE(colours.size(), 4u);
    ::ReleaseDC(view()->m_hWnd, dc);
}

TEST(Exchange, DroppedShortWavOpensPaddedAndTheStatusBarSaysSo)
{
    std::vector<int> right(1000, 50), left(1000, -20);
    right.resize(kCaptureFrames, 0);
    left.resize(kCaptureFrames, 0);
    auto bytes = CaptureExchange::WavFromFrame(right.data(), left.data());
    bytes.resize(44 + 2000);
    bytes[40] = 2000 & 0xFF; bytes[41] = 2000 >> 8; bytes[42] = bytes[43] = 0;
    const uint32_t riff = 36 + 2000;
    for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<unsigned char>(riff >> (8 * i));
    const std::string folder = rel::FreshFolder("exchange"), path = folder + "\\dropped.wav";
    rel::WriteBytes(path, bytes);

    frame()->GetActiveDocument()->SetModifiedFlag(FALSE);
    HGLOBAL drop = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + path.size() + 2);
    auto* df = static_cast<DROPFILES*>(::GlobalLock(drop));
    df->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), path.c_str(), path.size());
    ::GlobalUnlock(drop);
    frame()->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);

    auto* doc = dynamic_cast<COndavDoc*>(frame()->GetActiveDocument());
    EXPECT_EQ(doc->GetTitle(), L"dropped.wav");
    EXPECT_EQ(doc->m_right[999], 50);
    EXPECT_EQ(doc->m_sum[999], 30);
    EXPECT_EQ(doc->m_left[1000], 1);
    pump(100);   // idle time comes and goes: the text stays
    char pane[256] = "";
    ::SendMessageA(frame()->m_wndStatusBar.m_hWnd, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(pane));
    EXPECT_NE(std::string(pane).find("1000 trames sur 4000"), std::string::npos) << pane;
    command(ID_FILE_NEW);
    rel::RemoveTree(folder);
}

TEST(Exchange, SavingAnOpenedSoundProposesTheOscNameAndLeavesTheWav)
{
    auto* doc = dynamic_cast<COndavDoc*>(frame()->GetActiveDocument());
    const std::string folder = rel::FreshFolder("exchange"), path = folder + "\\opened.wav",
                      osc = folder + "\\opened.osc";
    ASSERT_TRUE(doc->ExportTo(path.c_str()));
    doc->SetModifiedFlag(FALSE);
    ASSERT_NE(theApp.OpenDocumentFile(path.c_str()), nullptr);
    const auto sound = rel::ReadBytes(path);
    {
        ModalWatcher ok(IDOK);      // the save dialog, accepted as it proposes
        command(ID_FILE_SAVE);
        pump(100);
    }
    EXPECT_EQ(rel::ReadBytes(osc).size(), static_cast<size_t>(kOscFileSize));
    EXPECT_EQ(rel::ReadBytes(path), sound);
    EXPECT_EQ(doc->GetTitle(), L"opened.osc");
    EXPECT_FALSE(doc->IsFromWav());

    // « Exporter... » proposes the document's name as a sound beside it, and
    // leaves the document's name and state alone.
    ::DeleteFileA(path.c_str());
    doc->SetModifiedFlag(TRUE);
    {
        ModalWatcher ok(IDOK);
        command(ID_FILE_EXPORT);
        pump(100);
    }
    EXPECT_EQ(rel::ReadBytes(path), sound);
    EXPECT_EQ(doc->GetTitle(), L"opened.osc");
    EXPECT_TRUE(doc->IsModified());
    doc->SetModifiedFlag(FALSE);
    command(ID_FILE_NEW);
    rel::RemoveTree(folder);
}
