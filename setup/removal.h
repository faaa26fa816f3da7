// Removing an installation's files: only those the record lists, only where
// their content is still what was installed, never through a link; a file in
// use is asked about, and what cannot go now goes at the next restart.
#pragma once

#include <windows.h>

#include <string>

#include "record.h"

struct RemovalResult {
    std::string kept;   // the user's files at installed names, one a line
    bool bScheduled = false;  // something goes only at the next restart
};

// Removes the record's files from its folder, but `pszSkip` (the running
// installer, which removes itself once it has ended), then the folders
// emptied. `hInst` holds the texts of the question asked when a file is busy.
RemovalResult RemoveInstalledFiles(HWND hWnd, HINSTANCE hInst, const InstallRecord &record, const char *pszSkip);

// Removes the folders an installation made once they are empty, or at the
// next restart when `bLater`.
void RemoveEmptyFolders(const std::string &folder, bool bLater);

// The text of string `ids` with its %s replaced by `detail`.
std::string LoadText(HINSTANCE hInst, UINT ids, const std::string &detail = "");
