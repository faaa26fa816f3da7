// Removing the installed installer, which cannot delete its own file while it
// runs: a copy of it in the temporary folder waits for this process to end,
// deletes the file and the emptied folder, and goes itself at the next restart.
#pragma once

#include <windows.h>

// Starts that helper when this program runs from `pszDestPath` and is still
// there; returns whether it was needed and started.
BOOL RemoveInstallerAfterExit(const char *pszDestPath);

// The arguments of a whole command line, past the program's name.
const char *CommandArguments(const char *pszCmdLine);
// The helper's arguments ("/remove <process> "<file>""), checked before
// anything else the program does.
bool IsRemovalHelper(const char *pszArguments);
int RunRemovalHelper(const char *pszArguments);
