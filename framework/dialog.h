// CDialog: a modal dialog box built from a dialog template resource.
#pragma once
#include "framework/wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT idTemplate, CWnd* parent = nullptr) : m_nIDTemplate(idTemplate), m_pParentWnd(parent) {}
    // Runs the dialog; returns the EndDialog result, or -1 if it could not be created.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    void EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT, WPARAM, LPARAM) override { return 0; }

protected:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
};

// Dialog boxes and message boxes open centred over the main window while it
// is on screen: a thread hook moves each one when it is first activated.
class CDialogCentring {
public:
    static void Install(HWND mainWindow);
    static void Remove(HWND mainWindow);

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static void Centre(HWND box, HWND over);
};
