/* Prints the readout grid of a running Ondavis's « Mesures - Ondavis »
 * window, read from outside through its controls' texts: one line per row,
 * cells separated by tabs (cp1252). Exit 1 when the window is not there. */
#include <windows.h>
#include <stdio.h>

enum { kIdGrid = 1000, kRows = 12, kColumns = 3 };

int main(void)
{
    HWND w = FindWindowA(NULL, "Mesures - Ondavis");
    if (!w) { printf("no measures window\n"); return 1; }
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            char text[128] = "";
            HWND cell = GetDlgItem(w, kIdGrid + row * 4 + column);
            if (cell) GetWindowTextA(cell, text, sizeof text);
            printf("%s%s", text, column + 1 < kColumns ? "\t" : "\n");
        }
    }
    return 0;
}
