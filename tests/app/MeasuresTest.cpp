// « Affichage > Mesures et spectre » in the running program: one window,
// measuring the document, following it, back where the user left it.
#include "app/MeasureWindow.h"
#include "resource.h"
#include "support/RunningApp.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace {
std::string frequencyCell(int column)
{
    char text[64] = "";
    ::GetDlgItemTextA(CMeasureWindow::Instance()->m_hWnd, static_cast<int>(CMeasureWindow::CellId(1, column)), text,
                      sizeof text);
    return text;
}
} // namespace

TEST(Measures, CommandOpensOneWindowThatFollowsTheDocumentAndKeepsItsPlace)
{
    auto* doc = view()->GetDocument();
    int savedRight[kFrameArrayLength];
    std::copy(doc->m_right, doc->m_right + kFrameArrayLength, savedRight);
    std::fill(doc->m_right, doc->m_right + kFrameArrayLength, 1);

    command(ID_AFFICHAGE_MESURES);
    CMeasureWindow* w = CMeasureWindow::Instance();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(frequencyCell(1), "\x97");
    command(ID_AFFICHAGE_MESURES);
    EXPECT_EQ(CMeasureWindow::Instance(), w);   // brought forward, not doubled

    // A document read in is shown to its views: the window measures it.
    for (int i = 0; i < kFrameUsed; ++i)
        doc->m_right[i] = static_cast<int>(std::lround(50 * std::sin(2 * std::numbers::pi * 1000 * i / 44100.0)));
    doc->UpdateAllViews(nullptr);
    EXPECT_EQ(frequencyCell(1), "1000 Hz");

    // Ctrl+C in the window, through the program's message loop, copies the readouts.
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    w->PostMessage(WM_KEYDOWN, 'C', 1);
    pump(50);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_TEXT);
    std::string copied = data ? static_cast<const char*>(::GlobalLock(data)) : "";
    if (data) ::GlobalUnlock(data);
    ::CloseClipboard();
    EXPECT_NE(copied.find("\r\nFréquence\t1000 Hz\t"), std::string::npos) << copied;

    // Moved, closed, opened again: where it was left, read from the profile.
    w->MoveWindow(40, 60, 620, 640);
    w->SendMessage(WM_CLOSE);
    pump(50);
    EXPECT_EQ(CMeasureWindow::Instance(), nullptr);
    EXPECT_EQ(theApp.GetProfileString("Mesures", "Fenetre"), L"40 60 660 700");
    command(ID_AFFICHAGE_MESURES);
    ASSERT_NE(CMeasureWindow::Instance(), nullptr);
    RECT r;
    CMeasureWindow::Instance()->GetWindowRect(&r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.bottom, 700);
    EXPECT_EQ(frequencyCell(1), "1000 Hz");   // measured from the start
    CMeasureWindow::Close();

    std::copy(savedRight, savedRight + kFrameArrayLength, doc->m_right);
}
