// Walks the installation script with the Setup API's own parser.
#include "infscript.h"

#include <vector>

const char *const kInstallSections[4] = {"ProductInstall", "Option2Section", "Option3Section", "Option4Section"};
const char kUninstallSection[] = "MyProgramUninstall";

namespace {

const char *const kFileKeys[] = {"CopyFiles", "DelFiles"};

std::string Field(INFCONTEXT *pContext, DWORD nField)
{
    char sz[MAX_PATH];
    DWORD n = 0;
    if (!SetupGetStringFieldA(pContext, nField, sz, sizeof sz, &n))
        return "";
    return sz;
}

// The file lists named by `pszSection`'s `pszKey` lines ("CopyFiles=A,B").
std::vector<std::string> FileLists(HINF hInf, const char *pszSection, const char *pszKey)
{
    std::vector<std::string> lists;
    INFCONTEXT context;
    for (BOOL b = SetupFindFirstLineA(hInf, pszSection, pszKey, &context); b;
         b = SetupFindNextMatchLineA(&context, pszKey, &context)) {
        DWORD nFields = SetupGetFieldCount(&context);
        for (DWORD i = 1; i <= nFields; ++i) {
            std::string list = Field(&context, i);
            if (!list.empty())
                lists.push_back(list);
        }
    }
    return lists;
}

}  // namespace

std::string MissingScriptParts(HINF hInf)
{
    std::vector<const char *> sections(kInstallSections, kInstallSections + 4);
    sections.push_back(kUninstallSection);
    std::string missing;
    for (const char *pszSection : sections) {
        if (SetupGetLineCountA(hInf, pszSection) < 0) {
            missing += std::string(missing.empty() ? "" : ", ") + "[" + pszSection + "]";
            continue;
        }
        for (const char *pszKey : kFileKeys)
            for (const std::string &list : FileLists(hInf, pszSection, pszKey))
                if (SetupGetLineCountA(hInf, list.c_str()) <= 0)
                    missing += (missing.empty() ? "[" : ", [") + list + "]";
    }
    return missing;
}

bool ForEachListedFile(HINF hInf, const char *pszSection, const char *pszKey,
                       const std::function<bool(const std::string &)> &fn)
{
    for (const std::string &list : FileLists(hInf, pszSection, pszKey)) {
        char szDir[MAX_PATH];
        if (!SetupGetTargetPathA(hInf, nullptr, list.c_str(), szDir, sizeof szDir, nullptr))
            continue;
        std::string dir = szDir;
        if (!dir.empty() && dir.back() != '\\')
            dir += '\\';
        INFCONTEXT context;
        for (BOOL b = SetupFindFirstLineA(hInf, list.c_str(), nullptr, &context); b;
             b = SetupFindNextLine(&context, &context)) {
            std::string name = Field(&context, 1);
            if (!name.empty() && !fn(dir + name))
                return false;
        }
    }
    return true;
}

std::vector<std::string> InstalledNames(HINF hInf, const std::string &folder, const std::vector<const char *> &sections)
{
    std::vector<std::string> names;
    SetupSetDirectoryIdA(hInf, OPTIONS_USER_DIRID, folder.substr(0, folder.size() - 1).c_str());
    std::vector<const char *> chosen = sections;
    if (chosen.empty())
        chosen.assign(kInstallSections, kInstallSections + 4);
    for (const char *pszSection : chosen)
        ForEachListedFile(hInf, pszSection, "CopyFiles", [&](const std::string &path) {
            if (path.size() > folder.size() && lstrcmpiA(path.substr(0, folder.size()).c_str(), folder.c_str()) == 0) {
                std::string name = path.substr(folder.size());
                bool bKnown = false;
                for (const std::string &n : names)
                    bKnown = bKnown || lstrcmpiA(n.c_str(), name.c_str()) == 0;
                if (!bKnown)
                    names.push_back(name);
            }
            return true;
        });
    return names;
}
