// Devices are not documents: COM1, com1.osc, NUL or a character device on a
// mapped drive are refused at once with a message, by every way of opening.
#include "docs.h"
#include "harness.h"
#include "framework/ids.h"
#include <functional>

using namespace rel;

namespace {

class DeviceNames : public DocFixture {
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        FillFrame(7);
        before = FrameOf(*doc);
        doc->SetModifiedFlag(FALSE);
    }
    // Opens name as the program would, bounded: a read that never ends fails the run.
    void ExpectRefused(const char* name, const std::function<CDocument*()>& open)
    {
        BoxCatcher boxes;
        CDocument* got;
        {
            Bounded bound(std::string("opening the device ") + name, 20000);
            got = open();
        }
        EXPECT_EQ(got, nullptr) << name << " was opened as a document";
        ASSERT_EQ(boxes.texts.size(), 1u) << name;
        EXPECT_NE(boxes.texts[0].find("n'est pas un fichier"), std::string::npos) << boxes.texts[0];
        EXPECT_EQ(FrameOf(*doc), before) << name << ": the document shown was lost";
        EXPECT_EQ(doc->GetTitle(), L"Sans titre") << name;
    }
    std::vector<int> before;
};

} // namespace

TEST_F(DeviceNames, AreRefusedWhenOpenedByName)
{
    for (const char* name : { "COM1", "com1.osc", "C:\\documents\\COM1.osc", "\\\\.\\COM1", "NUL", "nul.osc",
                              "lpt1", "CON", "aux.osc" })
        ExpectRefused(name, [&] { return tmpl->OpenDocumentFile(name, FALSE); });
}

TEST_F(DeviceNames, AreRefusedFromTheRecentFileList)
{
    CRecentFileList& mru = *App().m_pRecentFileList;
    for (const char* name : { "COM1", "com1.osc" }) {
        mru.Add(name);
        const int count = mru.GetCount();
        ExpectRefused(name, [&] { App().OnOpenRecentFile(ID_FILE_MRU_FILE1); return static_cast<CDocument*>(nullptr); });
        EXPECT_EQ(mru.GetCount(), count - 1) << "the refused entry stays in the list";
    }
}

// A drive mapped onto the Unix /dev folder: names that look like files but
// are character devices. Only a disk file is read.
TEST_F(DeviceNames, CharacterDevicesBehindOrdinaryNamesAreRefused)
{
    std::string dev = EnvPath("ONDAV_DEV_DRIVE");
    if (dev.empty()) GTEST_SKIP() << "no drive mapped onto /dev (ONDAV_DEV_DRIVE)";
    for (const char* name : { "\\zero", "\\urandom", "\\ttyS0" }) {
        std::string path = dev + name;
        if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        ExpectRefused(path.c_str(), [&] { return tmpl->OpenDocumentFile(path.c_str(), FALSE); });
    }
}

TEST_F(DeviceNames, AreRefusedAsSaveTargets)
{
    for (const char* name : { "COM1", "nul.osc" }) {
        BoxCatcher boxes;
        Bounded bound(std::string("saving to the device ") + name, 20000);
        EXPECT_FALSE(doc->OnSaveDocument(name)) << name;
        ASSERT_EQ(boxes.texts.size(), 1u) << name;
        EXPECT_NE(boxes.texts[0].find("n'est pas un fichier"), std::string::npos) << boxes.texts[0];
    }
}
