// The program registers ".osc" -> "Ondagramme" (with its icon and open and
// print commands) each time it starts; once it is removed they would point at
// a missing file.
#include "doctype.h"

#include <shlobj.h>

#include <string>

namespace {

const char kTypeKey[] = "Software\\Classes\\Ondagramme";
const char kExtensionKey[] = "Software\\Classes\\.osc";
const char kTypeId[] = "Ondagramme";

std::string DefaultValue(HKEY hRoot, const std::string &key)
{
    char sz[2 * MAX_PATH] = "";
    LONG cb = sizeof sz - 1;
    if (RegQueryValueA(hRoot, key.c_str(), sz, &cb) != ERROR_SUCCESS)
        return "";
    return sz;
}

std::string Lower(std::string s)
{
    CharLowerBuffA(s.data(), (DWORD)s.size());
    return s;
}

// The type opens with, or takes its icon from, the program.
bool TypeStarts(HKEY hRoot, const std::string &program)
{
    std::string wanted = Lower(program);
    for (const char *pszSub : {"\\shell\\open\\command", "\\DefaultIcon"})
        if (Lower(DefaultValue(hRoot, std::string(kTypeKey) + pszSub)).find(wanted) != std::string::npos)
            return true;
    return false;
}

}  // namespace

void RemoveDocumentType(const char *pszProgram)
{
    bool bChanged = false;
    for (HKEY hRoot : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        if (!TypeStarts(hRoot, pszProgram))
            continue;
        RegDeleteTreeA(hRoot, kTypeKey);
        if (DefaultValue(hRoot, kExtensionKey) == kTypeId)
            RegDeleteTreeA(hRoot, kExtensionKey);
        bChanged = true;
    }
    if (bChanged)
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}
