// The start-up picture: shown in the middle of the screen for 1.5 s, or until
// the first key or mouse-button press anywhere in the program.
#pragma once
#include "framework/framework.h"

class CSplashScreen : public CWnd {
public:
    static void EnableSplash(BOOL enable);
    static void ShowSplash(CWnd* parentWnd);
    // Called for every message of the program before any translation: a key
    // or button press closes the splash and is consumed.
    static BOOL FilterAppMessage(MSG* msg);

    ~CSplashScreen() override;
    void PostNcDestroy() override;
    int OnCreate(LPCREATESTRUCT cs);
    void OnPaint();
    void OnTimer(UINT_PTR id);

    DECLARE_MESSAGE_MAP()

private:
    CBitmap m_bmpSplash;
    static BOOL s_bEnabled;
    static CSplashScreen* s_pInstance;

    BOOL Create(CWnd* parentWnd);
    void HideSplash();
};
