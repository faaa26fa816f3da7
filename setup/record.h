// The installer's own account of an installation: the folder, and for each
// file it put there the fingerprint of the content it wrote. Kept under
// HKEY_LOCAL_MACHINE, which only an administrator (as the installer runs) can
// change: a file of the same name that someone else put in the folder, or a
// file the user saved over an installed one, does not match it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct InstalledFile {
    std::string name;         // relative to the folder ("exemples\sinus.osc")
    std::string fingerprint;  // SHA-256 of the content, in hex
};

class InstallRecord {
public:
    std::string folder;  // full path with its trailing '\'; empty: no installation recorded
    std::vector<InstalledFile> files;

    static InstallRecord Load();
    bool Save() const;
    static void Erase();

    const InstalledFile *Find(const std::string &name) const;
    // The file is in its place with the content that was installed.
    bool Holds(const InstalledFile &file) const;
    // The folder still holds at least one of the files as installed.
    bool Present() const;
};

// SHA-256 of a file's content in hex; "" when it cannot be read or is a link.
std::string Fingerprint(const std::string &path);

// The full name of a folder, with '\' separators and a trailing '\'; "" when
// it cannot be formed.
std::string NormalFolder(const char *pszPath);
bool SameFolder(const std::string &a, const std::string &b);

// Whether the path, or a folder on the way to it, is a link or a junction to
// somewhere else (what exists of it: the rest is still to be created).
bool ThroughLink(const std::string &path);
