// The program's group in the Start menu, for all users.
#pragma once

#include <windows.h>

// Creates the group with its shortcuts to the program, the read-me and the
// uninstallation, for the files there are in `pszDestPath`.
BOOL AddStartMenuGroup(HINSTANCE hInst, const char *pszDestPath);
// Removes those shortcuts, and the group once it is empty.
void RemoveStartMenuGroup(HINSTANCE hInst);
// The group's folder ("" if the system has no Start menu folder).
void GetStartMenuGroup(HINSTANCE hInst, char *pszDir, DWORD cchDir);
