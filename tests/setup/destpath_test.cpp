// The destination checks on their own: which paths are full, and that every
// file the script installs fits under a destination the page accepts.
#include <windows.h>
#include <gtest/gtest.h>
#include <setupapi.h>

#include <algorithm>
#include <cstring>

#include "destpath.h"
#include "infscript.h"
#include "resources/setup/setupres.h"
#include "setup_test.h"

using namespace setuptest;

TEST(DestinationPath, WhatCountsAsAFullPath)
{
    struct {
        const char *path;
        UINT problem;
    } const cases[] = {
        {"C:\\Ondav\\", 0},
        {"C:/Ondav/", 0},
        {"c:\\Ondav", 0},
        {"C:\\", IDS_DEST_ROOT},
        {"C:\\Ondav/Mesures\\", 0},
        {"", IDS_DEST_NOT_FULL},
        {"\\", IDS_DEST_NOT_FULL},
        {"\\Ondav\\", IDS_DEST_NOT_FULL},
        {"C:Ondav\\", IDS_DEST_NOT_FULL},
        {"Ondav\\", IDS_DEST_NOT_FULL},
        {"\\\\", IDS_DEST_NOT_FULL},
        {"\\\\serveur", IDS_DEST_NOT_FULL},
        {"C:\\Ond:av\\", IDS_DEST_BAD_NAME},
        {"C:\\Ond?av\\", IDS_DEST_BAD_NAME},
        {"C:\\Ondav\\\"x\"\\", IDS_DEST_BAD_NAME},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.problem, DestinationProblem(c.path)) << "'" << c.path << "'";
}

TEST(DestinationPath, TheLongestAcceptedFolderHoldsEveryInstalledFile)
{
    // The longest destination the page lets through...
    std::string dest = "C:\\";
    while (DestinationProblem((dest + "x\\").c_str()) == 0)
        dest += "x";
    dest += "\\";
    ASSERT_EQ(0u, DestinationProblem(dest.c_str()));
    ASSERT_EQ((UINT)IDS_DEST_TOO_LONG, DestinationProblem((dest + "x\\").c_str()));

    // ...still takes the longest of the script's files within the path limit.
    HINF hInf = SetupOpenInfFileA(HostPath("ONDAV_BINARY_DIR", "dist/ondav.inf").c_str(), nullptr, INF_STYLE_WIN4,
                                  nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hInf);
    ASSERT_TRUE(SetupSetDirectoryIdA(hInf, 65600, dest.substr(0, dest.size() - 1).c_str()));
    size_t longest = 0, files = 0;
    for (const char *section : kInstallSections)
        ForEachListedFile(hInf, section, "CopyFiles", [&](const std::string &path) {
            longest = std::max(longest, path.size());
            ++files;
            return true;
        });
    SetupCloseInfFile(hInf);
    EXPECT_GE(files, 8u);
    EXPECT_LT(longest, (size_t)MAX_PATH) << "a file of the script does not fit under " << dest.size()
                                         << " characters: update kLongestInstalledName";
}
