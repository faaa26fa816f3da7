// The installer's registry record and restart values, on the real registry.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>

#include "doinst.h"
#include "ondavsetup.h"
#include "setup_test.h"

using namespace setuptest;

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteSetupInfo();
        DeleteRunOnceValues();
    }
    void TearDown() override
    {
        DeleteSetupInfo();
        DeleteRunOnceValues();
        if (createdSetupKey)
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, (std::string(kRunOnce) + "\\Setup").c_str());
    }
    bool createdSetupKey = false;
};

// A 260-byte field with guard bytes around it, to see any write past it.
struct GuardedField {
    char before[16];
    char field[MAX_PATH];
    char after[16];
    GuardedField(const char *initial)
    {
        memset(this, '#', sizeof *this);
        strcpy(field, initial);
    }
    bool Intact() const
    {
        for (int i = 0; i < 16; ++i)
            if (before[i] != '#' || after[i] != '#')
                return false;
        return true;
    }
};

void SetRaw(const char *name, const std::string &bytes)
{
    HKEY hKey;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSetupInfoKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &hKey, nullptr));
    RegSetValueExA(hKey, name, 0, REG_SZ, (const BYTE *)bytes.data(), (DWORD)bytes.size());
    RegCloseKey(hKey);
}

}  // namespace

TEST_F(Registry, StoredStringsReadBackWithoutTheirNul)
{
    ASSERT_TRUE(RegisterString(kSetupInfoKey, "Auteur", "Émile Korvel"));
    std::string raw;
    DWORD type = 0;
    ASSERT_TRUE(QueryValue(HKEY_LOCAL_MACHINE, kSetupInfoKey, "Auteur", &raw, &type));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ("Émile Korvel", raw.substr(0, strlen("Émile Korvel")));

    GuardedField f("initial");
    EXPECT_TRUE(GetRegString(kSetupInfoKey, "Auteur", f.field));
    EXPECT_STREQ("Émile Korvel", f.field);
    EXPECT_TRUE(f.Intact());
}

TEST_F(Registry, MissingKeyOrValueKeepsTheInitialValue)
{
    GuardedField f("C:\\Ondav\\");
    EXPECT_TRUE(GetRegString(kSetupInfoKey, "DestinationPath", f.field));
    EXPECT_STREQ("C:\\Ondav\\", f.field);
    ASSERT_TRUE(RegisterString(kSetupInfoKey, "Auteur", "x"));
    EXPECT_TRUE(GetRegString(kSetupInfoKey, "DestinationPath", f.field));
    EXPECT_STREQ("C:\\Ondav\\", f.field);
    EXPECT_TRUE(f.Intact());
}

TEST_F(Registry, OverlongValuesAreCutToTheFieldAndNeverReadPastIt)
{
    for (size_t length : {258u, 259u, 260u, 300u, 2000u}) {
        std::string value(length, 'a');
        value[0] = 'Z';
        SetRaw("Email", value);  // written outside the installer, with or without a NUL
        GuardedField f("initial");
        EXPECT_TRUE(GetRegString(kSetupInfoKey, "Email", f.field));
        EXPECT_EQ(value.substr(0, 259), f.field) << "value of " << length << " characters";
        EXPECT_TRUE(f.Intact()) << "value of " << length << " characters";
    }
}

TEST_F(Registry, InstallFinishWritesWrapperOnlyBesideASetupSubkey)
{
    std::string data;
    HKEY hExisting;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kRunOnce) + "\\Setup").c_str(), 0, KEY_READ, &hExisting) ==
        ERROR_SUCCESS) {
        RegCloseKey(hExisting);
        GTEST_SKIP() << "this system already has a RunOnce\\Setup key";
    }
    EXPECT_EQ(ERROR_SUCCESS, InstallFinish(FALSE));
    EXPECT_TRUE(QueryValue(HKEY_LOCAL_MACHINE, kRunOnce, "GrpConv", &data));
    EXPECT_EQ(std::string("grpconv -o", 11), data);
    EXPECT_FALSE(QueryValue(HKEY_LOCAL_MACHINE, kRunOnce, "Wrapper", &data));

    HKEY hSetup;
    DWORD disposition = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kRunOnce) + "\\Setup").c_str(), 0,
                                             nullptr, 0, KEY_ALL_ACCESS, nullptr, &hSetup, &disposition));
    RegCloseKey(hSetup);
    createdSetupKey = disposition == REG_CREATED_NEW_KEY;
    DeleteRunOnceValues();
    // With the restart command: its absence from the system is not an error.
    EXPECT_EQ(ERROR_SUCCESS, InstallFinish(TRUE));
    EXPECT_TRUE(QueryValue(HKEY_LOCAL_MACHINE, kRunOnce, "Wrapper", &data));
    EXPECT_EQ(std::string("runonce", 8), data);
    EXPECT_TRUE(QueryValue(HKEY_LOCAL_MACHINE, kRunOnce, "GrpConv", &data));
}
