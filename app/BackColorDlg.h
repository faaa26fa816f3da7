// The background-colour dialog: eight fixed colours as radio buttons.
#pragma once
#include "framework/framework.h"

class CBackColorDlg : public CDialog {
public:
    COLORREF m_clrChoice;   // shown when the dialog opens, chosen when it closes

    CBackColorDlg();
    BOOL OnInitDialog() override;
    void OnColorClicked(UINT id);

    DECLARE_MESSAGE_MAP()
};
