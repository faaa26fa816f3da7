// The ".osc" document type: the installer registers it for the whole machine
// (its script's DocType.AddReg), the program for its user each time it starts.
// Once the program is removed they would point at a missing file; but other
// programs may have added their own entries to the same keys ("Ouvrir avec",
// "Nouveau", a command of their own), and those stay.
#include "doctype.h"

#include <shlobj.h>

#include <string>

namespace {

const char kTypeKey[] = "Software\\Classes\\Ondagramme";
const char kExtensionKey[] = "Software\\Classes\\.osc";
const char kTypeId[] = "Ondagramme";

std::string DefaultValue(HKEY hRoot, const std::string &key)
{
    HKEY hKey;
    if (RegOpenKeyExA(hRoot, key.c_str(), 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return "";
    char sz[2 * MAX_PATH];
    DWORD dwType = 0, cb = sizeof sz - 1;
    LONG l = RegQueryValueExA(hKey, nullptr, nullptr, &dwType, (LPBYTE)sz, &cb);
    RegCloseKey(hKey);
    if (l != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return "";
    sz[cb] = '\0';
    return sz;
}

bool Names(const std::string &value, const std::string &program)
{
    std::string v = value, p = program;
    CharLowerBuffA(v.data(), (DWORD)v.size());
    CharLowerBuffA(p.data(), (DWORD)p.size());
    return !p.empty() && v.find(p) != std::string::npos;
}

bool KeyExists(HKEY hRoot, const std::string &key)
{
    HKEY hKey;
    if (RegOpenKeyExA(hRoot, key.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

// Deletes the key when nothing is left in it (no value but an empty default, no subkey).
bool DeleteIfEmpty(HKEY hRoot, const std::string &key, bool bDefaultIsOurs)
{
    HKEY hKey;
    if (RegOpenKeyExA(hRoot, key.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    DWORD nSubkeys = 0, nValues = 0;
    RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, &nSubkeys, nullptr, nullptr, &nValues, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(hKey);
    bool bOnlyDefault = nValues == 0 || (nValues == 1 && (bDefaultIsOurs || DefaultValue(hRoot, key).empty()));
    return nSubkeys == 0 && bOnlyDefault && RegDeleteKeyA(hRoot, key.c_str()) == ERROR_SUCCESS;
}

void DeleteDefault(HKEY hRoot, const std::string &key)
{
    HKEY hKey;
    if (RegOpenKeyExA(hRoot, key.c_str(), 0, KEY_SET_VALUE, &hKey) == ERROR_SUCCESS) {
        RegDeleteValueA(hKey, nullptr);
        RegCloseKey(hKey);
    }
}

// The verbs whose command starts the program, and the type's icon when it is
// the program's; the type's key goes once nothing else is left in it.
bool RemoveTypeEntries(HKEY hRoot, const std::string &program)
{
    bool bChanged = false;
    const std::string shell = std::string(kTypeKey) + "\\shell";
    for (const char *pszVerb : {"open", "print", "printto"}) {
        std::string verb = shell + "\\" + pszVerb;
        if (Names(DefaultValue(hRoot, verb + "\\command"), program)) {
            bChanged |= RegDeleteTreeA(hRoot, verb.c_str()) == ERROR_SUCCESS;
        }
    }
    DeleteIfEmpty(hRoot, shell, false);
    std::string icon = std::string(kTypeKey) + "\\DefaultIcon";
    if (Names(DefaultValue(hRoot, icon), program)) {
        DeleteDefault(hRoot, icon);
        DeleteIfEmpty(hRoot, icon, true);
        bChanged = true;
    }
    // Its default is only the type's name.
    if (bChanged)
        DeleteIfEmpty(hRoot, kTypeKey, true);
    return bChanged;
}

bool RemoveExtensionEntries(HKEY hRoot, const std::string &program)
{
    bool bChanged = false;
    std::string icon = std::string(kExtensionKey) + "\\DefaultIcon";
    if (Names(DefaultValue(hRoot, icon), program)) {
        DeleteDefault(hRoot, icon);
        DeleteIfEmpty(hRoot, icon, true);
        bChanged = true;
    }
    // ".osc" still names the type while another program's command is in it.
    if (DefaultValue(hRoot, kExtensionKey) == kTypeId && !KeyExists(hRoot, kTypeKey)) {
        DeleteDefault(hRoot, kExtensionKey);
        DeleteIfEmpty(hRoot, kExtensionKey, true);
        bChanged = true;
    }
    return bChanged;
}

}  // namespace

void RemoveDocumentType(const char *pszProgram)
{
    bool bChanged = false;
    for (HKEY hRoot : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        bChanged |= RemoveTypeEntries(hRoot, pszProgram);
        bChanged |= RemoveExtensionEntries(hRoot, pszProgram);
    }
    if (bChanged)
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}
