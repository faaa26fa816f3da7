// What makes a folder fit to receive the installation.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <string>

// The longest name, relative to the destination, of what an installation puts
// there; a destination must leave room for it within the path limit.
extern const char kLongestInstalledName[];

// "X:\..." or "\\server\share..." (either slash): anything else would be
// resolved against the current folder.
bool IsFullPath(const char *pszPath);

// 0 when the path can take the installation, else the id of the string that
// tells the user why not: a path that is not full, bad names, too long, no
// drive, a file in the way, a drive's root, the Windows folder or one inside
// it, the root of the program folders (both of them under 64-bit Windows).
UINT DestinationProblem(const char *pszPath);

// What the folder itself holds against an installation: 0 when it is new,
// empty, or the recorded installation of Ondavis with only files the
// installer put there at the names it installs; else the string's id, and
// `pDetail` what the string's %s stands for. The script's directory id is set.
UINT FolderProblem(HINF hInf, const char *pszPath, std::string *pDetail);

// The message of a refused destination, in a box owned by `hWnd`.
void RefuseDestination(HWND hWnd, HINSTANCE hInst, UINT idsProblem, const std::string &detail);
