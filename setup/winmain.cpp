// Entry point of ondavsetup.exe. The greeting comes from static
// initialisation, so the user sees it before anything else is set up.
#include "ondavsetup.h"
#include "selfremove.h"

namespace {

struct Greeting {
    Greeting()
    {
        // The copy that removes the installed installer works unseen, and
        // Add/Remove Programs' command goes straight to its question.
        const char *pszArguments = CommandArguments(GetCommandLineA());
        if (!IsRemovalHelper(pszArguments) && !IsUninstallCommand(pszArguments))
            ShowGreeting();
    }
} const greeting;

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    if (IsRemovalHelper(lpCmdLine))
        return RunRemovalHelper(lpCmdLine);
    gUninstallCommand = IsUninstallCommand(lpCmdLine);
    return RunSetup(hInstance, nCmdShow);
}
