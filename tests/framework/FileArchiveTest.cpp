#include "framework/framework.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
std::string tempPath(const char* name)
{
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}
} // namespace

TEST(Archive, StoresIntsAsLittleEndian32BitValues)
{
    std::string path = tempPath("fw_archive.bin");
    {
        CFile f;
        ASSERT_TRUE(f.Open(path.c_str(), CFile::modeWrite | CFile::modeCreate));
        CArchive ar(&f, CArchive::store);
        ar << 1 << -2 << 0x12345678 << INT_MIN;
        ar.Close();
    }
    CFile f;
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeRead));
    EXPECT_EQ(f.GetLength(), 16u);
    unsigned char b[16];
    ASSERT_EQ(f.Read(b, 16), 16u);
    const unsigned char expected[16] = { 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF,
                                         0x78, 0x56, 0x34, 0x12, 0, 0, 0, 0x80 };
    EXPECT_EQ(0, memcmp(b, expected, 16));
    f.Close();

    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeRead));
    CArchive in(&f, CArchive::load);
    int v[4];
    in >> v[0] >> v[1] >> v[2] >> v[3];
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[1], -2);
    EXPECT_EQ(v[2], 0x12345678);
    EXPECT_EQ(v[3], INT_MIN);
    // Past the end the archive reports end of file, with nothing half-read.
    int more = 7;
    EXPECT_THROW(in >> more, CArchiveException);
    EXPECT_EQ(more, 7);
    ::DeleteFileA(path.c_str());
}

TEST(File, OpenModesCreateTruncateOrKeep)
{
    std::string path = tempPath("fw_modes.bin");
    ::DeleteFileA(path.c_str());
    CFile f;
    EXPECT_FALSE(f.Open(path.c_str(), CFile::modeRead));            // not there
    EXPECT_FALSE(f.Open(path.c_str(), CFile::modeWrite));           // write does not create
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeCreate));           // create, read only: empty file
    EXPECT_EQ(f.GetLength(), 0u);
    char c;
    EXPECT_EQ(f.Read(&c, 1), 0u);
    EXPECT_FALSE(f.Write("x", 1));                                  // read-only handle
    f.Close();
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeWrite));
    EXPECT_TRUE(f.Write("abcdef", 6));
    f.Close();
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeWrite));            // no truncation
    EXPECT_TRUE(f.Write("XY", 2));
    f.Close();
    ASSERT_TRUE(f.Open(path.c_str(), CFile::modeRead));
    char buf[8] = "";
    EXPECT_EQ(f.Read(buf, 8), 6u);
    EXPECT_EQ(std::string(buf, 6), "XYcdef");
    f.Close();
    EXPECT_EQ(f.Read(buf, 1), 0u);                                  // closed
    ::DeleteFileA(path.c_str());
}

TEST(String, FormatFindAndSlices)
{
    CString s;
    s.Format("%s %d%%", "gain", 5);
    EXPECT_EQ(s, "gain 5%");
    CString prompt("Arrêt de la mesure.\nArrêt");
    int nl = prompt.Find('\n');
    EXPECT_EQ(prompt.Left(nl), "Arrêt de la mesure.");
    EXPECT_EQ(prompt.Mid(nl + 1), "Arrêt");
    EXPECT_EQ(prompt.Mid(100), "");
    EXPECT_EQ(CString("a\\b\\c").ReverseFind('\\'), 3);
    EXPECT_EQ(CString("abc").Find('z'), -1);
}

namespace {
std::wstring writeFile(const std::wstring& path, size_t size)
{
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string bytes(size, 'u');
    DWORD written = 0;
    ::WriteFile(h, bytes.data(), static_cast<DWORD>(size), &written, nullptr);
    ::CloseHandle(h);
    return path;
}
bool exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
} // namespace

// A save removes what killed saves left beside it, and nothing else: not a
// user's file of the same pattern.
TEST(ReplacementFile, SaveRemovesOnlyItsOwnAbandonedSideFiles)
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"ondav-cote\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring abandoned = writeFile(folder + CReplacementFile::SideFileName(0x1234), 8192);
    const std::wstring userSameSize = writeFile(folder + L"~ond12345678.tmp", 8192);
    const std::wstring userOwnSize = writeFile(folder + CReplacementFile::SideFileName(0x2345), 12);

    CReplacementFile side(CPathName(folder + L"doc.osc"));
    ASSERT_TRUE(side.Open());
    side.File().Write(std::string(64176, 'd').data(), 64176);
    ASSERT_TRUE(side.Commit());

    EXPECT_FALSE(exists(abandoned));
    EXPECT_TRUE(exists(userSameSize));
    EXPECT_TRUE(exists(userOwnSize));
}

// ONDAV_LINK_DIR: a folder holding a symbolic link named as a side file, made
// by the system (tests/framework/links.sh), to a file elsewhere of a side file's size.
TEST(ReplacementFile, SaveNeverRemovesThroughALink)
{
    const char* dir = std::getenv("ONDAV_LINK_DIR");
    if (!dir) GTEST_SKIP() << "ONDAV_LINK_DIR not set (tests/framework/links.sh sets it)";
    const std::wstring folder = CPathName(dir).wstr() + L"\\";
    const std::wstring link = folder + CReplacementFile::SideFileName(0x3456);
    ASSERT_EQ(CPathName(link).FileName().Utf8(), std::getenv("ONDAV_LINK_NAME"));
    CReplacementFile side(CPathName(folder + L"doc.osc"));
    ASSERT_TRUE(side.Open());
    side.File().Write(std::string(64176, 'd').data(), 64176);
    ASSERT_TRUE(side.Commit());
    EXPECT_TRUE(exists(link));
    EXPECT_TRUE(exists(CPathName(std::getenv("ONDAV_LINK_TARGET")).wstr()));
}
