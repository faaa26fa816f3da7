// The settings file ondav.ini in the Windows directory: a real file, read by
// the view's initialisation and written by its teardown.
#include "support.h"
#include <gtest/gtest.h>
#include <memory>

using namespace acqtest;

namespace {

const char kLostCaption[] = "Le fichier d'initialisation a disparu.....";
const char kLostText[] =
    "Le fichier d'initialisation a disparu, si vous avez modifié certains paramètres de "
    "l'application ceux-ci ne pourront pas être mémorisés. Un nouveau fichier "
    "d'initialisation sera crée à la prochaine ouverture de l'applicattion.";

void PutColor(std::vector<BYTE>& bytes, size_t at, COLORREF c)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<BYTE>(c >> (8 * i));
}

COLORREF GetColor(const std::vector<BYTE>& bytes, size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<COLORREF>(bytes[at + 3]) << 24);
}

// A record with a recognisable reserved block and three colours.
std::vector<BYTE> Record(COLORREF scope, COLORREF vu, COLORREF bar, size_t length = 48)
{
    std::vector<BYTE> bytes(length);
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<BYTE>(0xA0 + i);
    PutColor(bytes, 36, scope);
    PutColor(bytes, 40, vu);
    PutColor(bytes, 44, bar);
    return bytes;
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { ::DeleteFileA(path.c_str()); }
    // The load and save as the initialisation and the teardown run them, on a
    // view that has no window: only the settings members are involved.
    std::unique_ptr<COndavView> Load()
    {
        auto view = std::make_unique<COndavView>();
        view->LoadSettings();
        return view;
    }
    std::string path = SettingsPath();
    SettingsFileGuard guard;
    BoxWatcher watcher;
};

TEST_F(SettingsFile, FirstRunCreatesAnEmptyFileThenWritesTheDefaultRecord)
{
    auto view = Load();
    bool exists = false;
    EXPECT_TRUE(ReadFileBytes(path, &exists).empty());
    EXPECT_TRUE(exists) << "not created at start";
    EXPECT_EQ(view->m_clrScopeBack, 0xC0C0C0u);
    EXPECT_EQ(view->m_clrVuBack, 0xC0C0C0u);
    EXPECT_EQ(view->m_clrBarBack, 0xC0C0C0u);
    char cwd[MAX_PATH] = {}, windir[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, cwd);
    ::GetWindowsDirectoryA(windir, MAX_PATH);
    EXPECT_STRCASEEQ(cwd, windir) << "the Windows directory is made current";
    EXPECT_EQ(view->m_strSettingsPath.str(), path);

    view->SaveSettings();
    std::vector<BYTE> bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 48u);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + 36), std::vector<BYTE>(36, 0));
    for (size_t at : { 36u, 40u, 44u }) EXPECT_EQ(GetColor(bytes, at), 0xC0C0C0u) << "at " << at;
    EXPECT_EQ(watcher.Count(), 0u);
}

TEST_F(SettingsFile, ColoursComeBackAndTheReservedBlockIsCarriedUnchanged)
{
    std::vector<BYTE> original = Record(0x00112233, 0x00445566, 0x00778899);
    WriteFileBytes(path, original);
    auto view = Load();
    EXPECT_EQ(view->m_clrScopeBack, 0x00112233u);
    EXPECT_EQ(view->m_clrVuBack, 0x00445566u);
    EXPECT_EQ(view->m_clrBarBack, 0x00778899u);

    // A colour chosen for the VU meters during the run reaches the file alone.
    view->m_clrVuBack = 0x0000FF00;
    view->SaveSettings();
    std::vector<BYTE> expected = Record(0x00112233, 0x0000FF00, 0x00778899);
    EXPECT_EQ(ReadFileBytes(path), expected);
    EXPECT_EQ(Load()->m_clrVuBack, 0x0000FF00u);
}

TEST_F(SettingsFile, LongerFileKeepsItsLengthAndTail)
{
    std::vector<BYTE> original = Record(1, 2, 3, 60);
    WriteFileBytes(path, original);
    auto view = Load();
    view->m_clrBarBack = 0x00ABCDEF;
    view->SaveSettings();
    std::vector<BYTE> bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 60u);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin() + 48, bytes.end()), std::vector<BYTE>(original.begin() + 48, original.end()));
    EXPECT_EQ(GetColor(bytes, 44), 0x00ABCDEFu);
}

TEST_F(SettingsFile, ShortFileKeepsLightGreyForWhatItLacks)
{
    // 42 bytes: the scope colour is whole, the VU colour half there, the bargraph's missing.
    std::vector<BYTE> original = Record(0x00010203, 0x00040506, 0x00070809);
    original.resize(42);
    WriteFileBytes(path, original);
    auto view = Load();
    EXPECT_EQ(view->m_clrScopeBack, 0x00010203u);
    EXPECT_EQ(view->m_clrVuBack, 0xC0C0C0u);
    EXPECT_EQ(view->m_clrBarBack, 0xC0C0C0u);

    // A file shorter than the reserved block: the block keeps zeros past its end.
    WriteFileBytes(path, std::vector<BYTE>(10, 0x5A));
    view = Load();
    EXPECT_EQ(view->m_settingsReserved[9], 0x5A);
    EXPECT_EQ(view->m_settingsReserved[10], 0);
    EXPECT_EQ(view->m_clrScopeBack, 0xC0C0C0u);
}

TEST_F(SettingsFile, FileDeletedDuringTheRunIsReportedAtExitAndRecreatedNextTime)
{
    WriteFileBytes(path, Record(0x00123456, 0x00123456, 0x00123456));
    auto view = Load();
    ::DeleteFileA(path.c_str());
    view->m_clrScopeBack = 0x00654321;
    view->SaveSettings();
    std::vector<ShownBox> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, kLostCaption);
    EXPECT_EQ(boxes[0].text, kLostText);
    bool exists = true;
    ReadFileBytes(path, &exists);
    EXPECT_FALSE(exists) << "the save must not create the file";

    auto next = Load();
    EXPECT_TRUE(ReadFileBytes(path, &exists).empty());
    EXPECT_TRUE(exists);
    EXPECT_EQ(next->m_clrScopeBack, 0xC0C0C0u);
}

TEST_F(SettingsFile, NothingChangedNothingWrittenNothingSaidEvenWhenReadOnly)
{
    const std::vector<BYTE> original = Record(0x00102030, 0x00405060, 0x00708090);
    WriteFileBytes(path, original);
    // Readable, not writable, as in a Windows folder users may not write to
    // (root ignores a read-only attribute here: a reader that shares only reading).
    HANDLE reader = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    Load()->SaveSettings();
    EXPECT_EQ(watcher.Count(), 0u);
    auto view = Load();
    view->m_clrBarBack = 0x000000FF;
    view->SaveSettings();
    EXPECT_EQ(watcher.Count(), 1u) << "a colour chosen and lost is reported";
    ::CloseHandle(reader);
    EXPECT_EQ(ReadFileBytes(path), original);
}

TEST_F(SettingsFile, FileThatCanBeNeitherOpenedNorCreatedGivesLightGreyAndTheExitMessage)
{
    // A directory of that name: no open or create of a file can succeed.
    ASSERT_TRUE(::CreateDirectoryA(path.c_str(), nullptr));
    auto view = Load();
    EXPECT_FALSE(view->m_bFileOpened);
    EXPECT_EQ(view->m_clrScopeBack, 0xC0C0C0u);
    EXPECT_EQ(view->m_clrVuBack, 0xC0C0C0u);
    EXPECT_EQ(view->m_clrBarBack, 0xC0C0C0u);
    EXPECT_EQ(watcher.Count(), 0u) << "no message at start";
    view->SaveSettings();
    EXPECT_EQ(watcher.Count(), 0u) << "no colour changed: nothing lost, nothing to say";
    view->m_clrVuBack = 0x00FF0000;   // a colour chosen during the run cannot be kept
    view->SaveSettings();
    std::vector<ShownBox> boxes = watcher.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, kLostCaption);
    ::RemoveDirectoryA(path.c_str());
}

} // namespace
