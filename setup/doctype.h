// The document type that the installed program registers with the shell.
#pragma once

#include <windows.h>

// Removes the ".osc" association and the "Ondagramme" type, per user and for
// the machine, where they start `pszProgram`; an association to another
// program stays.
void RemoveDocumentType(const char *pszProgram);
