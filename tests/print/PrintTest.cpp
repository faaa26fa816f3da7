#include "app/MainFrm.h"
#include "app/OndavApp.h"
#include "acquisition/OndavView.h"
#include "display/PageFixture.h"
#include "framework/preview.h"
#include "resource.h"
#include "support/ModalWatcher.h"
#include "support/RunningApp.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <string>

// The running program prints on a real printer (print_e2e.sh starts it and a
// virtual microphone playing two constant levels), and previews the page.
extern COndavApp theApp;

namespace {
std::string work()
{
    const char* dir = std::getenv("ONDAV_PRINT_WORK");
    return dir ? std::string("Z:") + dir : std::string(".");
}

class Started : public ::testing::Environment {
public:
    void SetUp() override
    {
        theApp.m_hInstance = ::GetModuleHandleA(nullptr);
        theApp.m_strAppName.LoadString(AFX_IDS_APP_TITLE);
        ASSERT_TRUE(theApp.InitInstance());
        pump(1800);   // the splash goes after 1.5 s
    }
    void TearDown() override
    {
        if (!frame()) return;
        frame()->GetActiveDocument()->SetModifiedFlag(FALSE);
        frame()->SendMessage(WM_CLOSE);
        pump(200);
        theApp.ExitInstance();
    }
};
const auto* const g_started = ::testing::AddGlobalTestEnvironment(new Started);
} // namespace

TEST(Printing, StopsTheMeasurementAndLeavesTheScopePageOnTheScreen)
{
    PRINTDLGA probe{};
    ASSERT_TRUE(theApp.GetPrinterDeviceDefaults(&probe)) << "no printer: is CUPS_SERVER set?";

    command(ID_MODE_VUMETRES);   // the VU meters start a measurement
    pump(2500);
    ASSERT_TRUE(view()->m_bRunning);
    {
        ModalWatcher ok(IDOK, 20000);
        command(ID_FILE_PRINT);
        auto boxes = ok.seen();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Imprimer");
    }
    EXPECT_FALSE(view()->m_bRunning);
    EXPECT_EQ(view()->m_nDisplayMode, kModeScope);
    EXPECT_EQ(view()->m_nOutputTarget, 1);
    pump(1500);
    EXPECT_FALSE(view()->m_bRunning) << "nothing restarts the measurement";

    // Drawn now, the page is the screen's: strips and panel at 1:1.
    DibPage page(800, 600);
    page.Draw(*view());
    EXPECT_EQ(page.At(5, 300), view()->m_clrScopeBack) << "left strip";
    EXPECT_EQ(page.At(577, 22), RGB(255, 0, 0)) << "indicator of the offset layout";
    // The capture that was printed: right +30 and left -25 on their zero lines.
    EXPECT_FALSE(page.RowsWith(300, 145, 155, RGB(255, 0, 0)).empty());
    EXPECT_FALSE(page.RowsWith(300, 290, 300, RGB(255, 255, 0)).empty());
}

TEST(Printing, PreviewRecordsThePageThatIsPrinted)
{
    command(ID_FILE_PRINT_PREVIEW);
    HWND preview = ::FindWindowA(nullptr, "Aperçu avant impression - Sans titre");
    ASSERT_NE(preview, nullptr);
    auto* wnd = dynamic_cast<CPreviewWnd*>(CWnd::FromHandlePermanent(preview));
    ASSERT_NE(wnd, nullptr);
    ENHMETAHEADER header{};
    ASSERT_TRUE(::GetEnhMetaFileHeader(wnd->GetPage(), sizeof header, &header));
    // The printer's page, in its device units.
    EXPECT_GT(header.szlDevice.cx, 2000);
    EXPECT_GT(header.szlDevice.cy, 3000);
    DibPage page(header.szlDevice.cx, header.szlDevice.cy, RGB(255, 255, 255));
    RECT all{ 0, 0, header.szlDevice.cx, header.szlDevice.cy };
    ASSERT_TRUE(::PlayEnhMetaFile(page.dc(), wnd->GetPage(), &all));
    ::GdiFlush();
    EXPECT_TRUE(page.SaveBmp(work() + "\\preview.bmp"));
    pump(300);
    ::SendMessageA(preview, WM_CLOSE, 0, 0);
    EXPECT_EQ(view()->m_nOutputTarget, 1);
}
