// What ships beside the installer, checked in the files the build leaves in
// dist/: the script's line endings, the installer's version and its icon.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "resources/setup/setupres.h"
#include "setup_test.h"

using namespace setuptest;

namespace {

std::string VersionString(const std::vector<char> &block, const char *name)
{
    char *pszValue = nullptr;
    UINT n = 0;
    std::string query = std::string("\\StringFileInfo\\040c04e4\\") + name;
    if (!VerQueryValueA(block.data(), query.c_str(), (void **)&pszValue, &n) || !n)
        return "<missing>";
    return std::string(pszValue, strnlen(pszValue, n));
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE bWidth, bHeight, bColorCount, bReserved;
    WORD wPlanes, wBitCount;
    DWORD dwBytesInRes;
    WORD nId;
};
#pragma pack(pop)

}  // namespace

TEST(Shipped, ScriptHasWindowsLineEndings)
{
    std::string inf;
    ASSERT_TRUE(ReadFileBytes(HostPath("ONDAV_BINARY_DIR", "dist/ondav.inf"), &inf));
    size_t lines = 0;
    for (size_t i = 0; i < inf.size(); ++i)
        if (inf[i] == '\n') {
            ++lines;
            ASSERT_TRUE(i > 0 && inf[i - 1] == '\r') << "bare line feed after " << inf.substr(i > 40 ? i - 40 : 0, 40);
        }
    EXPECT_GT(lines, 20u);
    EXPECT_EQ('\n', inf.back());
}

TEST(Shipped, InstallerCarriesAVersionLikeTheProgram)
{
    std::string exe = HostPath("ONDAV_BINARY_DIR", "dist/ondavsetup.exe");
    DWORD dwHandle = 0;
    DWORD n = GetFileVersionInfoSizeA(exe.c_str(), &dwHandle);
    ASSERT_NE(0u, n) << exe << " has no version resource";
    std::vector<char> block(n);
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, n, block.data()));
    VS_FIXEDFILEINFO *pFixed = nullptr;
    UINT cb = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", (void **)&pFixed, &cb));
    EXPECT_EQ(MAKELONG(0, 1), pFixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(1999, 10), pFixed->dwFileVersionLS);
    EXPECT_EQ(pFixed->dwFileVersionMS, pFixed->dwProductVersionMS);
    EXPECT_EQ(pFixed->dwFileVersionLS, pFixed->dwProductVersionLS);
    EXPECT_EQ("Korvel", VersionString(block, "CompanyName"));
    EXPECT_EQ("Ondavis", VersionString(block, "ProductName"));
    EXPECT_EQ("1, 0, 10, 1999", VersionString(block, "ProductVersion"));
    EXPECT_EQ("ondavsetup.exe", VersionString(block, "OriginalFilename"));
}

TEST(Shipped, InstallerIconHasSmallAndLargeImages)
{
    HMODULE hExe = LoadLibraryExA(HostPath("ONDAV_BINARY_DIR", "dist/ondavsetup.exe").c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, hExe);
    HRSRC hGroup = FindResourceA(hExe, MAKEINTRESOURCEA(IDI_SETUP), (LPCSTR)RT_GROUP_ICON);
    ASSERT_NE(nullptr, hGroup);
    const BYTE *p = (const BYTE *)LockResource(LoadResource(hExe, hGroup));
    WORD nImages = *(const WORD *)(p + 4);
    bool b16 = false, b32 = false;
    for (WORD i = 0; i < nImages; ++i) {
        const GroupIconEntry *e = (const GroupIconEntry *)(p + 6 + i * sizeof(GroupIconEntry));
        b16 |= e->bWidth == 16 && e->bHeight == 16;
        b32 |= e->bWidth == 32 && e->bHeight == 32;
    }
    FreeLibrary(hExe);
    EXPECT_TRUE(b16) << "no 16 x 16 image in icon 300";
    EXPECT_TRUE(b32) << "no 32 x 32 image in icon 300";
}
