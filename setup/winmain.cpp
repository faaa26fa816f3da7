// Entry point of ondavsetup.exe. The greeting comes from static
// initialisation, so the user sees it before anything else is set up.
#include "ondavsetup.h"
#include "selfremove.h"

namespace {

struct Greeting {
    Greeting()
    {
        // The copy that removes the installed installer works unseen.
        if (!IsRemovalHelper(CommandArguments(GetCommandLineA())))
            ShowGreeting();
    }
} const greeting;

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow)
{
    if (IsRemovalHelper(lpCmdLine))
        return RunRemovalHelper(lpCmdLine);
    return RunSetup(hInstance, nCmdShow);
}
