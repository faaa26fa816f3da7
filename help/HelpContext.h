// Which help topic explains what the user points at: a command, the display
// on screen, a place of the view's page.
#pragma once
#include <windows.h>
#include <string>

namespace helpcontext {

// Topics of the parts of the main window that are not commands.
inline constexpr const char* kContents = "bienvenue";
inline constexpr const char* kMenus = "menus";
inline constexpr const char* kToolBar = "barre-outils";
inline constexpr const char* kStatusBar = "barre-etat";

// The topic of command id, or the menus' topic for an item that has none.
std::string ForCommand(UINT id);
// The topic of a modal box: its help id (a command's or IDH_), see CBoxHelp.
std::string ForBox(UINT helpId);
// The topic of the display on screen (DisplayMode 1, 2 or 3).
std::string ForDisplay(int displayMode);
// The topic of what lies at p (client coordinates of the view) on that display.
std::string ForViewPoint(int displayMode, POINT p);

} // namespace helpcontext
