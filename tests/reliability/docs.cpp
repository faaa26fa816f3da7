#include "docs.h"
#include "harness.h"

namespace {
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
} // namespace

namespace rel {

TestApp& App()
{
    static TestApp app;
    if (!app.m_pRecentFileList) {
        app.m_hInstance = ::GetModuleHandleA(nullptr);
        app.LoadStdProfileSettings(4);   // no registry key: the list lives in memory
    }
    return app;
}

void DocFixture::SetUp()
{
    tmpl = new CSingleDocTemplate(128, RUNTIME_CLASS(COndavDoc), RUNTIME_CLASS(PlainFrame), RUNTIME_CLASS(PlainView));
    App().Register(tmpl);
    doc = dynamic_cast<COndavDoc*>(tmpl->OpenDocumentFile(nullptr, FALSE));
    ASSERT_NE(doc, nullptr);
}

void DocFixture::TearDown()
{
    if (tmpl->GetFrame()) tmpl->GetFrame()->DestroyWindow();
    App().m_pMainWnd = nullptr;
    App().Forget();
    delete tmpl;
}

std::vector<int> FrameOf(const COndavDoc& d)
{
    std::vector<int> all;
    for (const int* a : { d.m_right, d.m_left, d.m_sum, d.m_difference }) all.insert(all.end(), a, a + kFrameUsed);
    return all;
}

std::vector<int> FrameOfImage(const std::vector<BYTE>& b)
{
    std::vector<int> all(4 * kFrameUsed);
    for (size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<int>(b[4 * i] | (b[4 * i + 1] << 8) | (b[4 * i + 2] << 16) |
                                  (static_cast<unsigned>(b[4 * i + 3]) << 24));
    return all;
}

std::vector<BYTE> DocFixture::Image() const
{
    std::vector<BYTE> b;
    for (int v : FrameOf(*doc))
        for (int s = 0; s < 32; s += 8) b.push_back(static_cast<BYTE>(static_cast<unsigned>(v) >> s));
    return b;
}

void DocFixture::FillFrame(unsigned seed)
{
    unsigned x = seed * 2654435761u + 1;
    for (int* a : { doc->m_right, doc->m_left, doc->m_sum, doc->m_difference })
        for (int i = 0; i < kFrameUsed; ++i) {
            x ^= x << 13; x ^= x >> 17; x ^= x << 5;
            a[i] = static_cast<int>(x);
        }
}

} // namespace rel
