#include "framework/framework.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

// A small document/view/frame trio whose handlers record what reached them.
namespace {
std::vector<std::string> g_log;

constexpr UINT ID_VIEW_ONLY = 40001;   // handled by the view
constexpr UINT ID_DOC_ONLY = 40002;    // by the document
constexpr UINT ID_SHARED = 40003;      // by the view and the frame: the view wins
constexpr UINT ID_FRAME_ONLY = 40004;  // by the frame
constexpr UINT ID_NOBODY = 40005;      // no handler at all
constexpr UINT ID_CHECKED = 40006;     // an update handler that checks it

class TestDoc : public CDocument {
    DECLARE_DYNCREATE(TestDoc)
public:
    void OnDocOnly() { g_log.push_back("doc"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestDoc)
BEGIN_MESSAGE_MAP(TestDoc, CDocument)
    ON_COMMAND(ID_DOC_ONLY, OnDocOnly)
END_MESSAGE_MAP()

class TestView : public CView {
    DECLARE_DYNCREATE(TestView)
public:
    int m_timerTicks = 0;
    CPoint m_click;
    void OnDraw(CDC*) override {}
    void OnViewOnly() { g_log.push_back("view"); }
    void OnShared() { g_log.push_back("view-shared"); }
    void OnUpdateChecked(CCmdUI* ui) { ui->SetCheck(1); }
    void OnTimer(UINT_PTR id) { m_timerTicks += static_cast<int>(id); }
    void OnLButtonDown(UINT, CPoint p) { m_click = p; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestView)
BEGIN_MESSAGE_MAP(TestView, CView)
    ON_COMMAND(ID_VIEW_ONLY, OnViewOnly)
    ON_COMMAND(ID_SHARED, OnShared)
    ON_COMMAND(ID_CHECKED, OnViewOnly)
    ON_UPDATE_COMMAND_UI(ID_CHECKED, OnUpdateChecked)
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

class TestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(TestFrame)
public:
    void OnShared() { g_log.push_back("frame-shared"); }
    void OnFrameOnly() { g_log.push_back("frame"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestFrame)
BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
    ON_COMMAND(ID_SHARED, OnShared)
    ON_COMMAND(ID_FRAME_ONLY, OnFrameOnly)
END_MESSAGE_MAP()

struct Trio : ::testing::Test {
    CSingleDocTemplate* tmpl = nullptr;
    TestFrame* frame = nullptr;
    void SetUp() override
    {
        g_log.clear();
        tmpl = new CSingleDocTemplate(1, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestFrame), RUNTIME_CLASS(TestView));
        ASSERT_NE(tmpl->OpenDocumentFile(nullptr, FALSE), nullptr);
        frame = dynamic_cast<TestFrame*>(tmpl->GetFrame());
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override
    {
        if (tmpl->GetFrame()) tmpl->GetFrame()->DestroyWindow();
        delete tmpl;
    }
    TestView* view() const { return dynamic_cast<TestView*>(frame->GetActiveView()); }
};
} // namespace

TEST_F(Trio, CommandsGoToViewThenDocumentThenFrame)
{
    for (UINT id : { ID_VIEW_ONLY, ID_DOC_ONLY, ID_SHARED, ID_FRAME_ONLY, ID_NOBODY })
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{ "view", "doc", "view-shared", "frame" }));
}

TEST_F(Trio, MessagesReachTheirHandlersWithTheirArguments)
{
    ASSERT_NE(view(), nullptr);
    view()->SendMessage(WM_TIMER, 250, 0);
    view()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(575, 35));
    EXPECT_EQ(view()->m_timerTicks, 250);
    EXPECT_EQ(view()->m_click.x, 575);
    EXPECT_EQ(view()->m_click.y, 35);
}

TEST_F(Trio, MenuUpdateChecksAndDisablesByHandlers)
{
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuA(menu, MF_STRING, ID_CHECKED, "checked");
    ::AppendMenuA(menu, MF_STRING | MF_CHECKED, ID_VIEW_ONLY, "plain");
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, ID_NOBODY, "orphan");
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    auto state = [&](UINT id) { return ::GetMenuState(menu, id, MF_BYCOMMAND); };
    EXPECT_TRUE(state(ID_CHECKED) & MF_CHECKED);
    EXPECT_FALSE(state(ID_CHECKED) & MF_GRAYED);
    EXPECT_TRUE(state(ID_VIEW_ONLY) & MF_CHECKED) << "no update handler: the resource's check stays";
    EXPECT_FALSE(state(ID_VIEW_ONLY) & MF_GRAYED);
    EXPECT_TRUE(state(ID_NOBODY) & MF_GRAYED) << "a command nobody handles is disabled";
    ::DestroyMenu(menu);
}

TEST_F(Trio, NewDocumentGetsTheUntitledTitleAndFrameTitle)
{
    CDocument* doc = frame->GetActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->IsModified());
    doc->SetTitle("essai");
    char title[128];
    ::GetWindowTextA(frame->m_hWnd, title, sizeof title);
    EXPECT_STREQ(title, "essai - ");
}
