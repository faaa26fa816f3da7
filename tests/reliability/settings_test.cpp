// ondav.ini held by another program at start: what it holds is not replaced
// by the defaults at exit; only colours the user changed are written.
#include "acquisition/OndavView.h"
#include "harness.h"
#include <gtest/gtest.h>
#include <memory>

using namespace rel;

namespace {

std::string SettingsPath()
{
    char dir[MAX_PATH] = {};
    ::GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\ondav.ini";
}

std::vector<BYTE> Record(COLORREF scope, COLORREF vu, COLORREF bar)
{
    std::vector<BYTE> b(48);
    for (size_t i = 0; i < 36; ++i) b[i] = static_cast<BYTE>(0x61 + i);
    for (int c = 0; c < 3; ++c)
        for (int s = 0; s < 4; ++s) b[36 + 4 * c + s] = static_cast<BYTE>((c == 0 ? scope : c == 1 ? vu : bar) >> (8 * s));
    return b;
}

class HeldSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = ReadBytes(path, &existed);
        ASSERT_TRUE(WriteBytes(path, original));
    }
    void TearDown() override
    {
        Release();
        if (existed) WriteBytes(path, saved);
        else ::DeleteFileA(path.c_str());
    }
    // Another program holds the file open with no sharing at all.
    void Hold()
    {
        held = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    void Release()
    {
        if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
    }
    std::unique_ptr<COndavView> Start()
    {
        auto view = std::make_unique<COndavView>();
        Bounded bound("reading the settings file", 20000);
        view->LoadSettings();
        return view;
    }
    std::string path = SettingsPath();
    std::vector<BYTE> original = Record(0x00102030, 0x00405060, 0x00708090), saved;
    bool existed = false;
    HANDLE held = INVALID_HANDLE_VALUE;
};

} // namespace

TEST_F(HeldSettings, UnreadFileIsNotOverwrittenByTheDefaults)
{
    Hold();
    auto view = Start();
    EXPECT_EQ(view->m_clrScopeBack, kDefaultBackColor) << "nothing could be read";
    Release();   // the other program lets go before the exit
    BoxCatcher boxes;
    view->SaveSettings();
    EXPECT_EQ(ReadBytes(path), original) << "the stored colours and reserved bytes were replaced";
    EXPECT_TRUE(boxes.texts.empty()) << "nothing was lost: nothing to say";
}

TEST_F(HeldSettings, OnlyTheColourChangedDuringTheRunIsWritten)
{
    Hold();
    auto view = Start();
    Release();
    view->m_clrBarBack = 0x000000FF;   // the user picks red for the bargraphs
    BoxCatcher boxes;
    view->SaveSettings();
    EXPECT_EQ(ReadBytes(path), Record(0x00102030, 0x00405060, 0x000000FF));
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(HeldSettings, StillHeldAtExitWithAChangedColourSaysItIsLost)
{
    Hold();
    auto view = Start();
    view->m_clrScopeBack = 0x00FFFFFF;
    BoxCatcher boxes;
    view->SaveSettings();
    Release();
    EXPECT_EQ(ReadBytes(path), original);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("ne pourront pas être mémorisés"), std::string::npos) << boxes.texts[0];
}

TEST_F(HeldSettings, FileReadAtStartIsStillWrittenWhole)
{
    auto view = Start();
    EXPECT_EQ(view->m_clrVuBack, 0x00405060u);
    view->m_clrVuBack = 0x00ABCDEF;
    view->SaveSettings();
    EXPECT_EQ(ReadBytes(path), Record(0x00102030, 0x00ABCDEF, 0x00708090));
}
