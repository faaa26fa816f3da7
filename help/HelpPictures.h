// The help's pictures: the program's own page, painted by its view into a
// bitmap (nothing before the main window exists), and its toolbar bitmap, so
// that they show exactly what the program shows.
//   ecran               the scope display in miniature, its parts numbered
//   panneau             the settings panel at its real size, as it stands
//   declenchement       a diagram of a triggered trace and the trigger level
//   vumetres, bargraphes the left meter and the left bar, as they stand
//   bouton ID           the toolbar button of command ID
#pragma once
#include <windows.h>
#include <string>

// The size of a picture; 0 x 0 when the name (or the button's id) is unknown.
SIZE HelpPictureSize(const std::string& name, const std::string& argument);
void DrawHelpPicture(HDC dc, const std::string& name, const std::string& argument, int x, int y);
// The part of the page (logical units) a picture shows at its real size;
// empty for the others.
RECT HelpPicturePart(const std::string& name);
