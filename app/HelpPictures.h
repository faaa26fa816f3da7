// The help's pictures, drawn with GDI from the program's own page tables and
// toolbar bitmap, so that they show exactly what the program shows.
//   ecran               the scope display in miniature, its parts numbered
//   panneau             the settings panel at its real size, default settings lit
//   declenchement       a triggered trace and the trigger level
//   vumetres, bargraphes one meter and one bar, their zones and labels
//   bouton ID           the toolbar button of command ID
#pragma once
#include <windows.h>
#include <string>

// The size of a picture; 0 x 0 when the name (or the button's id) is unknown.
SIZE HelpPictureSize(const std::string& name, const std::string& argument);
void DrawHelpPicture(HDC dc, const std::string& name, const std::string& argument, int x, int y);
