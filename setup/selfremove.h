// Removing the installed installer, which cannot delete its own file while it
// runs: a copy of it in the temporary folder waits for this process to end,
// deletes the file and the emptied folder, and goes itself at the next restart.
#pragma once

#include <windows.h>

// Starts that helper for `pszSelf`, this program's own file; returns whether
// it was started.
BOOL RemoveInstallerAfterExit(const char *pszSelf);

// The arguments of a whole command line, past the program's name.
const char *CommandArguments(const char *pszCmdLine);
// The helper's arguments ("/remove <process>"), checked before anything else
// the program does. The file it removes is never named on the command line:
// it is the one the uninstallation recorded, and only while it holds the
// helper's own content.
bool IsRemovalHelper(const char *pszArguments);
int RunRemovalHelper(const char *pszArguments);
