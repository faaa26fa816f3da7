#include "app/BackColorDlg.h"
#include "resource.h"

namespace {
// Radio buttons 1008 to 1015, in order.
constexpr COLORREF kColors[] = {
    0xC0C0C0,   // light grey
    0xFFFFFF,   // white
    0xFF0000,   // blue
    0xFFFF00,   // cyan
    0x00FF00,   // green
    0x00FFFF,   // yellow
    0xFF00FF,   // magenta
    0x0000FF,   // red
};
constexpr UINT kColorCount = sizeof(kColors) / sizeof(kColors[0]);
} // namespace

BEGIN_MESSAGE_MAP(CBackColorDlg, CDialog)
    ON_COMMAND_RANGE(IDC_COLOR_FIRST, IDC_COLOR_FIRST + kColorCount - 1, OnColorClicked)
END_MESSAGE_MAP()

// The constructor leaves the colour unset: the caller sets it.
CBackColorDlg::CBackColorDlg() : CDialog(IDD_BACKCOLOR) {}

BOOL CBackColorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (UINT i = 0; i < kColorCount; ++i)
        if (kColors[i] == m_clrChoice) CheckDlgButton(static_cast<int>(IDC_COLOR_FIRST + i), BST_CHECKED);
    return TRUE;
}

void CBackColorDlg::OnColorClicked(UINT id)
{
    m_clrChoice = kColors[id - IDC_COLOR_FIRST];
}
