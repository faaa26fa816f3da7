#include "document/OndavDoc.h"
#include "support/ModalWatcher.h"
#include <gtest/gtest.h>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
// A plain view: the document's behaviour does not depend on the instrument's.
class PlainView : public CView {
    DECLARE_DYNCREATE(PlainView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(PlainView)

class PlainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(PlainFrame)
};
IMPLEMENT_DYNCREATE(PlainFrame)

std::string tempPath(const char* name)
{
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

std::vector<unsigned char> readAll(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>() };
}

void writeAll(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int intAt(const std::vector<unsigned char>& b, size_t offset)
{
    return static_cast<int>(b[offset] | (b[offset + 1] << 8) | (b[offset + 2] << 16) |
                            (static_cast<unsigned>(b[offset + 3]) << 24));
}

void fillFrame(COndavDoc& doc)
{
    for (int i = 0; i < kFrameUsed; ++i) {
        doc.m_right[i] = (i * 37) % 256 - 127;
        doc.m_left[i] = 128 - (i * 11) % 256;
        doc.m_sum[i] = doc.m_right[i] + doc.m_left[i];
        doc.m_difference[i] = doc.m_right[i] - doc.m_left[i];
    }
    doc.m_right[5] = INT_MIN;   // any 32-bit value travels unchanged
    doc.m_left[6] = INT_MAX;
}

struct Template : ::testing::Test {
    CSingleDocTemplate* tmpl = nullptr;
    COndavDoc* doc = nullptr;
    void SetUp() override
    {
        tmpl = new CSingleDocTemplate(128, RUNTIME_CLASS(COndavDoc), RUNTIME_CLASS(PlainFrame), RUNTIME_CLASS(PlainView));
        doc = dynamic_cast<COndavDoc*>(tmpl->OpenDocumentFile(nullptr, FALSE));
        ASSERT_NE(doc, nullptr);
    }
    void TearDown() override
    {
        if (tmpl->GetFrame()) tmpl->GetFrame()->DestroyWindow();
        delete tmpl;
    }
};

} // namespace

TEST_F(Template, NewDocumentIsAllZeroAndSavesAs64176ZeroBytes)
{
    EXPECT_EQ(doc->GetTitle(), L"Sans titre");
    std::string path = tempPath("doc_zero.osc");
    ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
    std::vector<unsigned char> bytes = readAll(path);
    ASSERT_EQ(bytes.size(), static_cast<size_t>(kOscFileSize));
    EXPECT_EQ(bytes.size(), 64176u);
    for (unsigned char b : bytes) ASSERT_EQ(b, 0);
    ::DeleteFileA(path.c_str());
}

TEST_F(Template, FileOrderIsRightLeftSumDifference)
{
    fillFrame(*doc);
    std::string path = tempPath("doc_order.osc");
    ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
    std::vector<unsigned char> b = readAll(path);
    ASSERT_EQ(b.size(), 64176u);
    for (int i : { 0, 5, 6, 1234, 4010 }) {
        EXPECT_EQ(intAt(b, 4u * i), doc->m_right[i]);
        EXPECT_EQ(intAt(b, 16044u + 4u * i), doc->m_left[i]);
        EXPECT_EQ(intAt(b, 32088u + 4u * i), doc->m_sum[i]);
        EXPECT_EQ(intAt(b, 48132u + 4u * i), doc->m_difference[i]);
    }
    ::DeleteFileA(path.c_str());
}

TEST_F(Template, SaveAndReopenReproduceTheArraysBitForBit)
{
    fillFrame(*doc);
    std::vector<int> right(doc->m_right, doc->m_right + kFrameUsed), left(doc->m_left, doc->m_left + kFrameUsed),
        sum(doc->m_sum, doc->m_sum + kFrameUsed), diff(doc->m_difference, doc->m_difference + kFrameUsed);
    std::string path = tempPath("doc_round.osc");
    ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
    ASSERT_NE(tmpl->OpenDocumentFile(nullptr, FALSE), nullptr);
    EXPECT_EQ(doc->m_right[5], 0);
    ASSERT_NE(tmpl->OpenDocumentFile(path.c_str(), FALSE), nullptr);
    EXPECT_EQ(std::vector<int>(doc->m_right, doc->m_right + kFrameUsed), right);
    EXPECT_EQ(std::vector<int>(doc->m_left, doc->m_left + kFrameUsed), left);
    EXPECT_EQ(std::vector<int>(doc->m_sum, doc->m_sum + kFrameUsed), sum);
    EXPECT_EQ(std::vector<int>(doc->m_difference, doc->m_difference + kFrameUsed), diff);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), L"doc_round.osc");
    ::DeleteFileA(path.c_str());
}

TEST_F(Template, ShortFileIsRefusedAndLeavesANewDocumentLongerFileOpens)
{
    fillFrame(*doc);
    std::string path = tempPath("doc_len.osc");
    ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
    std::vector<unsigned char> bytes = readAll(path);

    std::string shortPath = tempPath("doc_short.osc");
    writeAll(shortPath, std::vector<unsigned char>(bytes.begin(), bytes.end() - 1));   // 64175 bytes
    doc->SetModifiedFlag(FALSE);
    {
        ModalWatcher ok(IDOK);
        EXPECT_EQ(tmpl->OpenDocumentFile(shortPath.c_str(), FALSE), nullptr);
        auto seen = ok.seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_NE(seen[0].text.find("doc_short.osc"), std::string::npos) << seen[0].text;
    }
    EXPECT_EQ(doc->GetTitle(), L"Sans titre");
    for (int i = 0; i < kFrameUsed; ++i) ASSERT_EQ(doc->m_right[i], 0) << i;
    for (int i = 0; i < kFrameUsed; ++i) ASSERT_EQ(doc->m_difference[i], 0) << i;

    std::string longPath = tempPath("doc_long.osc");
    bytes.push_back(0x5A);   // 64177 bytes: the last one is ignored
    writeAll(longPath, bytes);
    ASSERT_NE(tmpl->OpenDocumentFile(longPath.c_str(), FALSE), nullptr);
    EXPECT_EQ(doc->m_right[5], INT_MIN);
    EXPECT_EQ(doc->m_left[6], INT_MAX);
    for (const std::string& p : { path, shortPath, longPath }) ::DeleteFileA(p.c_str());
}

TEST_F(Template, FileThatCannotBeOpenedLeavesFrameAndModifiedState)
{
    fillFrame(*doc);
    doc->SetModifiedFlag(TRUE);
    std::string missing = tempPath("doc_absent_123.osc");
    ::DeleteFileA(missing.c_str());
    {
        ModalWatcher no(IDNO);   // "save changes?": no
        // The save prompt comes first; declining it, the open then fails.
        EXPECT_EQ(tmpl->OpenDocumentFile(missing.c_str(), FALSE), nullptr);
        auto seen = no.seen();
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_NE(seen[0].text.find("Enregistrer les modifications"), std::string::npos) << seen[0].text;
        EXPECT_NE(seen[1].text.find("doc_absent_123.osc"), std::string::npos) << seen[1].text;
    }
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->m_right[5], INT_MIN);
}

TEST_F(Template, FailedSaveKeepsThePreviousFile)
{
    std::string path = tempPath("doc_keep.osc");
    std::vector<unsigned char> previous(64176, 0x11);
    writeAll(path, previous);
    // Another program holds the file open with no sharing: it cannot be replaced.
    HANDLE other = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    fillFrame(*doc);
    {
        ModalWatcher ok(IDOK);
        EXPECT_FALSE(doc->OnSaveDocument(path.c_str()));
        EXPECT_EQ(ok.seen().size(), 1u);
    }
    ::CloseHandle(other);
    EXPECT_EQ(readAll(path), previous);
    ::DeleteFileA(path.c_str());
}
