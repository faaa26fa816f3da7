// The help window: a top-level window of its own beside the main window, with
// the table of contents and the index on the left and the topic on the right.
// It does not block the main window; there is at most one, reused while open;
// it closes with the program and reopens where the user last left it.
#pragma once
#include "help/HelpPage.h"
#include <commctrl.h>

class CHelpWindow : public CWnd {
public:
    // Opens (or brings back) the help window on topic key.
    static CHelpWindow* Open(const std::string& key, HWND mainWindow);
    static CHelpWindow* Instance();
    static void Close();
    // Keys of the help window: Tab between its parts, Alt+Left for Précédent.
    static BOOL PreTranslate(MSG* msg);

    void ShowTopic(const std::string& key);
    std::string CurrentKey() const;
    HWND Contents() const { return m_tree; }
    HWND IndexList() const { return m_list; }
    HWND IndexFind() const { return m_find; }
    HWND Tabs() const { return m_tabs; }
    CHelpPage& Page() { return m_page; }
    void SelectTab(int tab);
    void GoBack();

    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    LRESULT OnMinMaxInfo(WPARAM, LPARAM lParam);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    // The divider between the contents and the page, moved with the mouse.
    LRESULT OnDividerDown(WPARAM, LPARAM lParam);
    LRESULT OnDividerMove(WPARAM, LPARAM lParam);
    LRESULT OnDividerUp(WPARAM, LPARAM);
    // The line of the index for entry; a word shared by several topics
    // names its topic.
    static std::string IndexLine(const HelpIndexEntry& entry, bool shared);
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    HWND m_tabs = nullptr, m_tree = nullptr, m_find = nullptr, m_list = nullptr, m_back = nullptr;
    CHelpPage m_page;
    std::vector<HTREEITEM> m_treeItems;        // by topic index
    std::vector<HelpIndexEntry> m_index;       // the list's entries, in order
    std::vector<std::string> m_history;        // topics shown before, for Précédent
    bool m_bSyncing = false;                   // selecting the tree item of the topic shown
    int m_nLeft = 0;                           // the contents' width once the divider moved
    int m_nGrab = 0;                           // where the divider was taken, from the contents' edge

    // The contents' width in a client area cx wide.
    int LeftWidth(int cx) const;
    bool OnDivider(LPARAM lParam) const;

    void FillContents();
    void FillIndex();
    void Display(const HelpTopic* topic);
};
