// The document as the program has it: the real single-document template with
// COndavDoc, in a frame and view that add nothing of their own.
#pragma once
#include "document/OndavDoc.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace rel {

// The application object of this test program: recent files and the owner
// of message boxes, as in the program.
class TestApp : public CWinApp {
public:
    TestApp() : CWinApp("Ondavis") {}
    // The template is registered for one test and owned by the fixture.
    void Register(CDocTemplate* t) { m_templates.assign(1, t); }
    void Forget() { m_templates.clear(); }
};
TestApp& App();

class DocFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The 64176 bytes the document would write for its current frame.
    std::vector<BYTE> Image() const;
    // Fills the frame with values derived from seed (any 32-bit values).
    void FillFrame(unsigned seed);
    CSingleDocTemplate* tmpl = nullptr;
    COndavDoc* doc = nullptr;
};

// The frame an .osc image holds, block by block in file order.
std::vector<int> FrameOf(const COndavDoc& doc);
std::vector<int> FrameOfImage(const std::vector<BYTE>& image);

} // namespace rel
