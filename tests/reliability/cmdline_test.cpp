// The real ondav.exe started with arguments it cannot use: it must say so in
// French and end, never start silently with something else, never hang.
#include "harness.h"
#include <gtest/gtest.h>
#include <algorithm>

using namespace rel;

namespace {

struct Outcome {
    std::vector<std::string> texts;   // the boxes it showed, answered with OK
    bool ended = false;
    bool mainWindow = false;          // it showed its main window
};

struct Search {
    DWORD pid;
    HWND box = nullptr;
    bool main = false;
};

BOOL CALLBACK FindWindows(HWND h, LPARAM l)
{
    auto* s = reinterpret_cast<Search*>(l);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    if (pid != s->pid || !::IsWindowVisible(h)) return TRUE;
    char cls[64] = "";
    ::GetClassNameA(h, cls, sizeof cls);
    if (!lstrcmpA(cls, "#32770")) s->box = h;
    else {
        char title[256] = "";
        ::GetWindowTextA(h, title, sizeof title);
        if (std::string(title).find("Ondavis") != std::string::npos) s->main = true;
    }
    return TRUE;
}

Outcome Run(const std::string& arguments)
{
    Outcome out;
    std::string exe = EnvPath("ONDAV_BINARY_DIR") + "\\dist\\ondav.exe";
    std::string line = "\"" + exe + "\" " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start " << exe;
        return out;
    }
    std::vector<HWND> answered;
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 40000) {
        if (::WaitForSingleObject(pi.hProcess, 50) == WAIT_OBJECT_0) { out.ended = true; break; }
        Search s{ pi.dwProcessId };
        ::EnumWindows(FindWindows, reinterpret_cast<LPARAM>(&s));
        if (s.main) { out.mainWindow = true; break; }
        if (s.box && std::find(answered.begin(), answered.end(), s.box) == answered.end()) {
            answered.push_back(s.box);
            char text[2048] = "";
            ::GetDlgItemTextA(s.box, 0xFFFF, text, sizeof text);
            out.texts.emplace_back(text);
            ::PostMessageA(s.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
    if (!out.ended) ::TerminateProcess(pi.hProcess, 9);
    ::WaitForSingleObject(pi.hProcess, 10000);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    return out;
}

void ExpectSaidAndEnded(const std::string& arguments, const char* words)
{
    Outcome out = Run(arguments);
    std::string shown;
    for (const std::string& t : out.texts) shown += "[" + t + "] ";
    EXPECT_TRUE(out.ended) << (out.mainWindow ? "started silently" : "still running after 40 s") << " with "
                           << arguments.substr(0, 80) << "; boxes: " << shown;
    bool said = false;
    for (const std::string& t : out.texts) said = said || t.find(words) != std::string::npos;
    EXPECT_TRUE(said) << "no message with \"" << words << "\" for " << arguments.substr(0, 80) << "; boxes: " << shown;
}

} // namespace

TEST(CommandLine, AnArgumentTooLongForAPathIsReported)
{
    for (size_t length : { 300u, 520u, 700u })
        ExpectSaidAndEnded("C:\\" + std::string(length - 7, 'a') + ".osc", "trop long");
}

TEST(CommandLine, AnEmptyArgumentIsReported)
{
    ExpectSaidAndEnded("\"\"", "vide");
}

TEST(CommandLine, SeveralDocumentNamesAreReported)
{
    ExpectSaidAndEnded("C:\\Mes documents\\mesure.osc", "un seul");
    ExpectSaidAndEnded("un.osc deux.osc trois.osc", "un seul");
}

TEST(CommandLine, UnknownSwitchesAreReported)
{
    ExpectSaidAndEnded("/home/moi/carre.osc", "option inconnue");   // a Unix path, not a switch
    ExpectSaidAndEnded("-x", "option inconnue");
}

TEST(CommandLine, DeviceNamesAreRefusedWithoutHanging)
{
    for (const char* name : { "COM1", "com1.osc", "C:\\COM1.osc" }) ExpectSaidAndEnded(name, "n'est pas un fichier");
}
