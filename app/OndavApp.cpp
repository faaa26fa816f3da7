#include "app/OndavApp.h"
#include "app/MainFrm.h"
#include "help/HelpContext.h"
#include "help/HelpWindow.h"
#include "app/MeasureWindow.h"
#include "acquisition/OndavView.h"
#include "acquisition/EarlyWaveIn.h"
#include "document/OndavDoc.h"
#include "document/Splash.h"
#include "resource.h"
#include <clocale>

// The one application object; its title comes from the string resources.
COndavApp theApp;

BEGIN_MESSAGE_MAP(COndavApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
    ON_COMMAND(ID_FILE_PRINT_SETUP, CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

BOOL COndavApp::InitInstance()
{
    // The sound card takes as long to open as the windows take to build:
    // both go on at once, and the view takes the result where it opens it.
    CEarlyWaveIn::Start(COndavView::CaptureFormat(kSampleRate));
    {
        CCommandLineInfo splashInfo;
        ParseCommandLine(splashInfo);
        CSplashScreen::EnableSplash(splashInfo.m_bShowSplash);
    }

    // The user's locale decides the date and time formats of the status bar.
    std::setlocale(LC_ALL, "");

    Enable3dControls();

    SetRegistryKey("Korvel");
    LoadStdProfileSettings(4);

    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(COndavDoc),
                                          RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(COndavView)));

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo)) {
        FinishStart();
        return FALSE;
    }

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    m_pMainWnd->DragAcceptFiles(TRUE);
    FinishStart();
    return TRUE;
}

// What the first painted page does not need comes after it.
void COndavApp::FinishStart()
{
    AfxEnableControlContainer();
    EnableShellOpen();
    RegisterShellFileTypes(TRUE);
}

int COndavApp::ExitInstance()
{
    CEarlyWaveIn::Discard();   // opened ahead for a view that never came
    return CWinApp::ExitInstance();
}

BOOL COndavApp::PreTranslateMessage(MSG* msg)
{
    if (CSplashScreen::FilterAppMessage(msg)) return TRUE;
    if (CHelpWindow::PreTranslate(msg)) return TRUE;
    if (CMeasureWindow::PreTranslate(msg)) return TRUE;
    return CWinApp::PreTranslateMessage(msg);
}

void COndavApp::OnBoxHelp(UINT helpId)
{
    // Before the main window exists (the sound card's box) the help stands alone.
    CHelpWindow::Open(helpcontext::ForBox(helpId), m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr);
}

void COndavApp::OnAppAbout()
{
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}
