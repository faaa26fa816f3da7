// The application object the framework's message boxes take their title from.
#include "framework/framework.h"

CWinApp theTestApp("Ondavis");
