// Users' file names in any script reach the file, the title, the recent-file
// list (menu and profile) and back without being replaced by a near name.
#include "support/RunningApp.h"
#include "document/OndavDoc.h"
#include "framework/ids.h"
#include <gtest/gtest.h>
#include <shlobj.h>
#include <string>
#include <vector>

namespace {
std::wstring tempFolder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + name;
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::vector<char> contents(const std::wstring& path)
{
    std::vector<char> bytes;
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(::GetFileSize(h, nullptr));
    DWORD read = 0;
    ::ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    ::CloseHandle(h);
    return bytes;
}

std::wstring caption(HWND h)
{
    wchar_t buf[512] = L"";
    ::InternalGetWindowText(h, buf, 512);   // the stored caption, not through the window's ANSI procedure
    return buf;
}

std::string utf8(const std::wstring& s) { return CPathName(s).Utf8(); }

COndavDoc* doc() { return dynamic_cast<COndavDoc*>(frame()->GetActiveDocument()); }

const wchar_t* const kNames[] = { L"copie-\u03A9.osc", L"silence-\u6CE2.osc", L"d\u00E9cembre \u00E0 l'\u00E9t\u00E9.osc",
                                  L"mesure-\U0001F3B5.osc" };
} // namespace

TEST(ExactNames, SaveTitleRecentListAndReopenKeepEveryScript)
{
    const std::wstring folder = tempFolder(L"ondav-noms");
    // The near names the ANSI code page would have made of them.
    const std::wstring nearName = folder + L"\\copie-O.osc";
    std::vector<char> nearBytes(64176, 7);
    HANDLE h = ::CreateFileW(nearName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(h, nearBytes.data(), static_cast<DWORD>(nearBytes.size()), &written, nullptr);
    ::CloseHandle(h);

    int mark = 1;
    for (const wchar_t* name : kNames) {
        const std::wstring path = folder + L"\\" + name;
        ::DeleteFileW(path.c_str());
        command(ID_FILE_NEW);
        doc()->m_right[0] = mark;
        ASSERT_TRUE(doc()->DoSave(path)) << utf8(name);
        EXPECT_EQ(contents(path).size(), 64176u) << utf8(name);
        EXPECT_EQ(caption(frame()->m_hWnd), std::wstring(name) + L" - Ondavis");
        EXPECT_EQ((*theApp.m_pRecentFileList)[0].wstr(), path);

        command(ID_FILE_NEW);
        ASSERT_NE(theApp.OpenDocumentFile(path), nullptr) << utf8(name);
        EXPECT_EQ(doc()->m_right[0], mark++) << utf8(name);
    }
    EXPECT_EQ(contents(nearName), nearBytes);

    // The menu shows the names, and the profile keeps them for the next run.
    HMENU file = ::GetSubMenu(::GetMenu(frame()->m_hWnd), 0);
    frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    wchar_t label[MAX_PATH] = L"";
    ::GetMenuStringW(file, ID_FILE_MRU_FILE1, label, MAX_PATH, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(label), std::wstring(L"&1 ") + kNames[3]);
    theApp.m_pRecentFileList->WriteList();
    CRecentFileList again(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    again.ReadList();
    ASSERT_EQ(again.GetCount(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(again[i].wstr(), folder + L"\\" + kNames[3 - i]);
    command(ID_FILE_NEW);
}

TEST(ExactNames, DroppedFileWithAChineseNameOpens)
{
    const std::wstring path = tempFolder(L"ondav-noms") + L"\\d\u00E9pos\u00E9-\u6CE2\u5F62.osc";
    command(ID_FILE_NEW);
    doc()->m_right[0] = 99;
    ASSERT_TRUE(doc()->OnSaveDocument(path));
    command(ID_FILE_NEW);
    size_t bytes = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
    HGLOBAL drop = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* df = static_cast<DROPFILES*>(::GlobalLock(drop));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), path.c_str(), path.size() * sizeof(wchar_t));
    ::GlobalUnlock(drop);
    frame()->SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(doc()->m_right[0], 99);
    EXPECT_EQ(doc()->GetPathName().wstr(), path);
    command(ID_FILE_NEW);
}
