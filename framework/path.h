// CPathName: the name of a user's file, kept exactly.
//
// A path travels as UTF-16 and reaches Windows only through its W functions
// (CreateFileW, GetOpenFileNameW, DragQueryFileW, RegSetValueExW, StartDocW,
// the W menu and caption calls): a name in any script -- Greek, Chinese,
// accented French, emoji -- is never replaced by a near one of the ANSI code
// page. The program's own texts stay ANSI CString resources; the ANSI
// constructor below exists for the names the program makes itself (the
// settings file, test folders) and is exact, every ANSI character having its
// Unicode one. Nothing converts a path back to ANSI.
//
// Entry points that take a user's file: CDocument::OnOpenDocument and
// OnSaveDocument, CWinApp::OpenDocumentFile, CWinApp::DoPromptFileName. A
// command that writes a file of its own asks for the name with
// DoPromptFileName and writes through CFile or CReplacementFile (a file
// replaced only once complete); both take a CPathName. A failure is told
// with AfxMessageBoxName, which shows the name as it is.
#pragma once
#include "framework/types.h"
#include <cstddef>
#include <string>

class CPathName {
public:
    CPathName() = default;
    CPathName(std::nullptr_t) {}
    CPathName(const wchar_t* s) : m_s(s ? s : L"") {}
    CPathName(std::wstring s) : m_s(std::move(s)) {}
    CPathName(const char* ansi) : m_s(FromAnsi(ansi)) {}
    CPathName(const CString& ansi) : m_s(FromAnsi(ansi.c_str())) {}

    const wchar_t* c_str() const { return m_s.c_str(); }
    const std::wstring& wstr() const { return m_s; }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }

    // The full path (relative names resolved against the current folder);
    // the name itself when the system cannot make it full.
    CPathName Full() const;
    // The last name, without its folder.
    CPathName FileName() const;
    // The folder, without the last name (and without a final backslash).
    CPathName Folder() const;
    // UTF-8, for logs and test messages only.
    std::string Utf8() const;

    friend bool operator==(const CPathName& a, const CPathName& b) { return a.m_s == b.m_s; }
    // Windows compares file names without case.
    bool SameFile(const CPathName& other) const;

    static std::wstring FromAnsi(const char* ansi);

private:
    std::wstring m_s;
};

// A message whose "%s" is a user's name: shown with the W message box so that
// the name appears as it is. A second "%s", if any, takes detail.
int AfxMessageBoxName(UINT idFormat, const std::wstring& name, UINT type, const std::wstring& detail = {});
