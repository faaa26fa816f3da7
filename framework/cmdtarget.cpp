#include "framework/cmdtarget.h"

const MessageMap* CCmdTarget::GetThisMessageMap()
{
    static const MsgEntry entries[] = { { 0, 0, 0, 0, nullptr } };
    static const MessageMap map = { nullptr, entries };
    return &map;
}

const MessageMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT id, UINT code, void* extra)
{
    for (const MessageMap* map = GetMessageMap(); map; map = map->base) {
        for (const MsgEntry* e = map->entries; e->thunk; ++e) {
            if (e->message != WM_COMMAND || e->code != code || id < e->id || id > e->idLast)
                continue;
            if (code == CN_COMMAND && extra) // a CmdHandlerQuery: only asking
                return TRUE;
            e->thunk(this, id, reinterpret_cast<LPARAM>(extra));
            return TRUE;
        }
    }
    return FALSE;
}

const MsgEntry* CCmdTarget::FindMessageEntry(UINT message) const
{
    for (const MessageMap* map = GetMessageMap(); map; map = map->base)
        for (const MsgEntry* e = map->entries; e->thunk; ++e)
            if (e->message == message && message != WM_COMMAND)
                return e;
    return nullptr;
}

void CCmdUI::Enable(BOOL bOn)
{
    if (m_hMenu)
        ::EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_hMenu)
        ::CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::SetText(const char* text)
{
    if (!m_hMenu) return;
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING;
    mii.dwTypeData = const_cast<char*>(text);
    ::SetMenuItemInfoA(m_hMenu, m_nIndex, TRUE, &mii);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL bDisableIfNoHandler)
{
    m_bEnableChanged = FALSE;
    BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this);
    if (!handled && bDisableIfNoHandler && !m_bEnableChanged) {
        CmdHandlerQuery query;
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, &query));
    } else if (!m_bEnableChanged) {
        Enable(TRUE);
    }
    return handled;
}
