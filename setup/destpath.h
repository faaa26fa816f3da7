// What makes a folder fit to receive the installation.
#pragma once

#include <windows.h>

// The longest name, relative to the destination, of what an installation puts
// there; a destination must leave room for it within the path limit.
extern const char kLongestInstalledName[];

// "X:\..." or "\\server\share..." (either slash): anything else would be
// resolved against the current folder.
bool IsFullPath(const char *pszPath);

// 0 when the folder can take the installation, else the id of the string
// that tells the user why not.
UINT DestinationProblem(const char *pszPath);
