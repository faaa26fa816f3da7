// Entry point of ondavsetup.exe. The greeting comes from static
// initialisation, so the user sees it before anything else is set up.
#include "ondavsetup.h"

namespace {

struct Greeting {
    Greeting() { ShowGreeting(); }
} const greeting;

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow)
{
    return RunSetup(hInstance, nCmdShow);
}
