#include "framework/framework.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The recent-file entries of the File menu, as the user reads them.
namespace {
std::vector<std::string> menuLabels(CRecentFileList& list)
{
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuA(popup, MF_STRING, ID_FILE_OPEN, "&Ouvrir...");
    ::AppendMenuA(popup, MF_STRING | MF_GRAYED, ID_FILE_MRU_FILE1, "Fichier récent");
    list.UpdateMenu(popup);
    std::vector<std::string> labels;
    for (int i = 1; i < ::GetMenuItemCount(popup); ++i) {
        char text[256] = "";
        ::GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        labels.push_back(text);
    }
    ::DestroyMenu(popup);
    return labels;
}
} // namespace

TEST(RecentFiles, MenuShowsFileNamesAndShortensWhatDoesNotFit)
{
    CRecentFileList list(ID_FILE_MRU_FILE1, "Recent File List", "File%d", 4);
    list.Add("C:\\Mesures\\Atelier\\essai.osc");
    list.Add("D:\\Archives\\2026\\Décembre\\Ampli & préampli\\essai.osc");
    list.Add("C:\\Mesures\\sinus.osc");
    list.Add("C:\\Mesures\\un nom de fichier vraiment beaucoup trop long pour un menu.osc");
    std::vector<std::string> labels = menuLabels(list);
    ASSERT_EQ(labels.size(), 4u);
    EXPECT_EQ(labels[1], "&2 sinus.osc");
    // The same name twice: the paths tell them apart, shortened if too long.
    EXPECT_EQ(labels[3], "&4 C:\\Mesures\\Atelier\\essai.osc");
    EXPECT_EQ(labels[2].substr(0, 6), "&3 D:\\") << labels[2];
    EXPECT_NE(labels[2].find("..."), std::string::npos) << labels[2];
    EXPECT_EQ(labels[2].substr(labels[2].size() - 9), "essai.osc") << labels[2];
    EXPECT_LE(labels[2].size(), 3u + CRecentFileList::kMaxDisplayName + 1) << labels[2];   // one '&' doubled at most
    // A name alone longer than a menu item is shortened too.
    EXPECT_LE(labels[0].size(), 3u + CRecentFileList::kMaxDisplayName) << labels[0];
    EXPECT_NE(labels[0].find("..."), std::string::npos) << labels[0];
    EXPECT_EQ(labels[0].find("Mesures"), std::string::npos) << labels[0];
    // The list itself keeps the full paths.
    EXPECT_EQ(list[1].wstr(), L"C:\\Mesures\\sinus.osc");
}
