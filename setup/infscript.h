// What the installation script names: its sections, their file lists, and
// where each listed file goes.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <functional>
#include <string>
#include <vector>

// The user directory id that stands for the destination folder.
#define OPTIONS_USER_DIRID 65600

// The sections the installer runs.
extern const char *const kInstallSections[4];  // by option flag 1 to 4
extern const char kUninstallSection[];

// Empty when every section the installer runs is there and every file list
// they name exists and lists something; else what is missing.
std::string MissingScriptParts(HINF hInf);

// Calls fn with the full target path of every file that the lists of
// `pszSection`'s `pszKey` lines ("CopyFiles", "DelFiles") name, as long as fn
// returns true. The destination's directory id must be set.
bool ForEachListedFile(HINF hInf, const char *pszSection, const char *pszKey,
                       const std::function<bool(const std::string &)> &fn);

// The names, relative to `folder` (full, with its trailing '\'), of the files
// that the given install sections copy (all four when none are given); binds
// the script's user directory id to the folder.
std::vector<std::string> InstalledNames(HINF hInf, const std::string &folder,
                                        const std::vector<const char *> &sections = {});
