// The application object and the About box.
#pragma once
#include "framework/framework.h"

class COndavApp : public CWinApp {
public:
    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnAppAbout();
    void OnBoxHelp(UINT helpId) override;

    DECLARE_MESSAGE_MAP()
private:
    void FinishStart();
};

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
