// The installer program: main window, start command and registry record.
#include "ondavsetup.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "doinst.h"
#include "resources/setup/setupres.h"

const char kSetupInfoKey[] = "Software\\Korvel\\Ondavis\\SetupInfo\\";
bool gUninstallCommand = false;

namespace {

const char kClassName[] = "OndavWClass";
const DWORD kFieldSize = MAX_PATH;  // every string of INSTALLINFO

void CopyField(char *pszField, const char *pszText)
{
    snprintf(pszField, kFieldSize, "%s", pszText);
}

void LoadStoredSetupInfo()
{
    GetRegString(kSetupInfoKey, "Auteur", setupInfo.pszUserName);
    GetRegString(kSetupInfoKey, "Editeur", setupInfo.pszCompany);
    GetRegString(kSetupInfoKey, "Produit", setupInfo.pszProductIdString);
    GetRegString(kSetupInfoKey, "Email", setupInfo.pszEmailAddress);
    GetRegString(kSetupInfoKey, "DestinationPath", setupInfo.pszDestPath);
}

// A value too long for the field: read it whole, keep what fits.
void ReadTruncated(HKEY hKey, LPCSTR pszValue, LPSTR pszData, DWORD dwNeeded)
{
    char *pszAll = (char *)malloc((size_t)dwNeeded + 1);
    if (!pszAll)
        return;
    DWORD dwType = REG_SZ;
    DWORD dwSize = dwNeeded;
    if (RegQueryValueExA(hKey, pszValue, nullptr, &dwType, (LPBYTE)pszAll, &dwSize) == ERROR_SUCCESS) {
        memcpy(pszData, pszAll, kFieldSize - 1);
        pszData[kFieldSize - 1] = '\0';
    }
    free(pszAll);
}

}  // namespace

bool IsUninstallCommand(const char *pszArguments)
{
    return pszArguments && lstrcmpiA(pszArguments, "/uninstall") == 0;
}

BOOL RegisterString(LPCSTR pszKey, LPCSTR pszValue, LPCSTR pszData)
{
    HKEY hKey;
    DWORD dwDisposition;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &hKey, &dwDisposition) != ERROR_SUCCESS)
        return FALSE;
    // The record is kept without its terminating NUL; GetRegString adds it back.
    LONG lResult = RegSetValueExA(hKey, pszValue, 0, REG_SZ, (const BYTE *)pszData, (DWORD)strlen(pszData));
    RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

BOOL GetRegString(LPCSTR pszKey, LPCSTR pszValue, LPSTR pszData)
{
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_QUERY_VALUE, &hKey) == ERROR_SUCCESS) {
        DWORD dwType = REG_SZ;
        DWORD dwSize = kFieldSize - 1;
        LONG lResult = RegQueryValueExA(hKey, pszValue, nullptr, &dwType, (LPBYTE)pszData, &dwSize);
        if (lResult == ERROR_SUCCESS && pszData[dwSize] != '\0')
            pszData[dwSize] = '\0';
        else if (lResult == ERROR_MORE_DATA)
            ReadTruncated(hKey, pszValue, pszData, dwSize);
        RegCloseKey(hKey);
    }
    pszData[kFieldSize - 1] = '\0';
    return TRUE;
}

void RuntimeRegistration(INSTALLINFO *pInfo)
{
    char szDestPath[MAX_PATH];
    snprintf(szDestPath, sizeof szDestPath, "%s", pInfo->pszDestPath);
    RegisterString(kSetupInfoKey, "Auteur", pInfo->pszUserName);
    RegisterString(kSetupInfoKey, "Editeur", pInfo->pszCompany);
    RegisterString(kSetupInfoKey, "Produit", pInfo->pszProductIdString);
    RegisterString(kSetupInfoKey, "Email", pInfo->pszEmailAddress);
    RegisterString(kSetupInfoKey, "DestinationPath", szDestPath);
}

void InitSetupInfo(HINSTANCE hInstance)
{
    setupInfo.hInst = hInstance;
    setupInfo.iInstall_Type = 0;
    setupInfo.iCustom_Options1 = 1;
    setupInfo.iCustom_Options2 = 1;
    setupInfo.iCustom_Options3 = 0;
    setupInfo.iCustom_Options4 = 1;
    CopyField(setupInfo.pszUserName, "Korvel");
    CopyField(setupInfo.pszCompany, "Korvel");
    CopyField(setupInfo.pszProductIdString, "Ondavis");
    CopyField(setupInfo.pszEmailAddress, "contact@korvel.fr");
    CopyField(setupInfo.pszDestPath, "C:\\Ondav\\");
}

BOOL InitApplication(HINSTANCE hInstance)
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.style = 0;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_SETUP));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0;
}

BOOL InitInstance(HINSTANCE hInstance, int)
{
    HWND hWnd = CreateWindowA(kClassName, "Installation de l'Ondavis", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, hInstance, nullptr);
    if (!hWnd)
        return FALSE;
    ShowWindow(hWnd, SW_SHOWNORMAL);
    UpdateWindow(hWnd);
    return TRUE;
}

LRESULT CALLBACK MainWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        LoadStoredSetupInfo();
        PostMessageA(hWnd, WM_COMMAND, START_COMMAND, 0);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) != START_COMMAND)
            break;
        if (gUninstallCommand)
            DoUninstallCommand(hWnd, &setupInfo);
        else
            DoInstallation(hWnd, &setupInfo);
        PostMessageA(hWnd, WM_DESTROY, 0, 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_WINDOWPOSCHANGING:
        return 0;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

int RunSetup(HINSTANCE hInstance, int nCmdShow)
{
    InitSetupInfo(hInstance);
    if (!InitApplication(hInstance) || !InitInstance(hInstance, nCmdShow))
        return 0;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
