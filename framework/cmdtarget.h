// Run-time classes, static message maps and command targets.
#pragma once
#include "framework/types.h"

class CObject;
class CCmdTarget;
class CCmdUI;

// What a document template needs to make documents, frames and views: a name
// and a factory. Classes declare it with DECLARE_DYNCREATE.
struct CRuntimeClass {
    const char* m_lpszClassName;
    CObject* (*m_pfnCreateObject)();
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

#define RUNTIME_CLASS(theClass) (&theClass::classInfo)
#define DECLARE_DYNCREATE(theClass) \
public: \
    static const CRuntimeClass classInfo; \
    static CObject* CreateObject(); \
    const CRuntimeClass* GetRuntimeClass() const override;
#define IMPLEMENT_DYNCREATE(theClass) \
    CObject* theClass::CreateObject() { return new theClass; } \
    const CRuntimeClass theClass::classInfo = { #theClass, &theClass::CreateObject }; \
    const CRuntimeClass* theClass::GetRuntimeClass() const { return &theClass::classInfo; }

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const { return nullptr; }
};

// ---------------------------------------------------------------------------
// Message maps. Each class that handles messages has a static table of entries;
// an entry names a message (or a command id range and notification code) and a
// thunk that unpacks WPARAM/LPARAM and calls the member handler. Tables chain to
// their base class's table. Lookup is a linear walk: the tables are short.

using MsgThunk = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct MsgEntry {
    UINT message;   // window message, or WM_COMMAND for commands
    UINT code;      // notification code for WM_COMMAND entries
    UINT id;        // first command id
    UINT idLast;    // last command id
    MsgThunk thunk; // nullptr ends the table
};

struct MessageMap {
    const MessageMap* base;
    const MsgEntry* entries;
};

// Notification codes routed with WM_COMMAND entries.
constexpr UINT CN_COMMAND = 0;
constexpr UINT CN_UPDATE_COMMAND_UI = 0xFFFFFFFFu;

#define DECLARE_MESSAGE_MAP() \
public: \
    static const MessageMap* GetThisMessageMap(); \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MessageMap* theClass::GetThisMessageMap() \
    { \
        using ThisClass = theClass; \
        using TheBaseClass = baseClass; \
        static const MsgEntry entries[] = {

#define END_MESSAGE_MAP() \
            { 0, 0, 0, 0, nullptr } \
        }; \
        static const MessageMap map = { TheBaseClass::GetThisMessageMap(), entries }; \
        (void)sizeof(ThisClass*); \
        return &map; \
    }

namespace fw {
template <class M> struct member_class;
template <class C, class R, class... A> struct member_class<R (C::*)(A...)> { using type = C; };
template <auto F> using owner_t = typename member_class<decltype(F)>::type;
template <auto F> owner_t<F>* self(CCmdTarget* p) { return static_cast<owner_t<F>*>(p); }

template <auto F> LRESULT cmd(CCmdTarget* p, WPARAM, LPARAM) { (self<F>(p)->*F)(); return 0; }
template <auto F> LRESULT cmdRange(CCmdTarget* p, WPARAM id, LPARAM) { (self<F>(p)->*F)(static_cast<UINT>(id)); return 0; }
template <auto F> LRESULT cmdUI(CCmdTarget* p, WPARAM, LPARAM l) { (self<F>(p)->*F)(reinterpret_cast<CCmdUI*>(l)); return 0; }
template <auto F> LRESULT msgVoid(CCmdTarget* p, WPARAM, LPARAM) { (self<F>(p)->*F)(); return 0; }
template <auto F> LRESULT msgRaw(CCmdTarget* p, WPARAM w, LPARAM l) { return (self<F>(p)->*F)(w, l); }
template <auto F> LRESULT onCreate(CCmdTarget* p, WPARAM, LPARAM l) { return (self<F>(p)->*F)(reinterpret_cast<LPCREATESTRUCT>(l)); }
template <auto F> LRESULT onTimer(CCmdTarget* p, WPARAM w, LPARAM) { (self<F>(p)->*F)(static_cast<UINT_PTR>(w)); return 0; }
template <auto F> LRESULT onMouse(CCmdTarget* p, WPARAM w, LPARAM l) { (self<F>(p)->*F)(static_cast<UINT>(w), CPoint(l)); return 0; }
template <auto F> LRESULT onSize(CCmdTarget* p, WPARAM w, LPARAM l) { (self<F>(p)->*F)(static_cast<UINT>(w), static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))); return 0; }
template <auto F> LRESULT onMenuSelect(CCmdTarget* p, WPARAM w, LPARAM l) { (self<F>(p)->*F)(LOWORD(w), HIWORD(w), reinterpret_cast<HMENU>(l)); return 0; }
template <auto F> LRESULT onInitMenuPopup(CCmdTarget* p, WPARAM w, LPARAM l) { (self<F>(p)->*F)(reinterpret_cast<HMENU>(w), LOWORD(l), HIWORD(l) != 0); return 0; }
template <auto F> LRESULT onDropFiles(CCmdTarget* p, WPARAM w, LPARAM) { (self<F>(p)->*F)(reinterpret_cast<HDROP>(w)); return 0; }
template <auto F> LRESULT onBool(CCmdTarget* p, WPARAM, LPARAM) { return (self<F>(p)->*F)() ? 1 : 0; }
} // namespace fw

#define ON_COMMAND(id, fn)              { WM_COMMAND, CN_COMMAND, (id), (id), &fw::cmd<&ThisClass::fn> },
#define ON_COMMAND_RANGE(id1, id2, fn)  { WM_COMMAND, CN_COMMAND, (id1), (id2), &fw::cmdRange<&ThisClass::fn> },
#define ON_CONTROL(code, id, fn)        { WM_COMMAND, (code), (id), (id), &fw::cmd<&ThisClass::fn> },
#define ON_BN_CLICKED(id, fn)           ON_CONTROL(BN_CLICKED, id, fn)
#define ON_UPDATE_COMMAND_UI(id, fn)    { WM_COMMAND, CN_UPDATE_COMMAND_UI, (id), (id), &fw::cmdUI<&ThisClass::fn> },
#define ON_UPDATE_COMMAND_UI_RANGE(id1, id2, fn) { WM_COMMAND, CN_UPDATE_COMMAND_UI, (id1), (id2), &fw::cmdUI<&ThisClass::fn> },
#define ON_MESSAGE(msg, fn)             { (msg), 0, 0, 0, &fw::msgRaw<&ThisClass::fn> },
#define ON_WM_CREATE()                  { WM_CREATE, 0, 0, 0, &fw::onCreate<&ThisClass::OnCreate> },
#define ON_WM_DESTROY()                 { WM_DESTROY, 0, 0, 0, &fw::msgVoid<&ThisClass::OnDestroy> },
#define ON_WM_CLOSE()                   { WM_CLOSE, 0, 0, 0, &fw::msgVoid<&ThisClass::OnClose> },
#define ON_WM_PAINT()                   { WM_PAINT, 0, 0, 0, &fw::msgVoid<&ThisClass::OnPaint> },
#define ON_WM_TIMER()                   { WM_TIMER, 0, 0, 0, &fw::onTimer<&ThisClass::OnTimer> },
#define ON_WM_SIZE()                    { WM_SIZE, 0, 0, 0, &fw::onSize<&ThisClass::OnSize> },
#define ON_WM_LBUTTONDOWN()             { WM_LBUTTONDOWN, 0, 0, 0, &fw::onMouse<&ThisClass::OnLButtonDown> },
#define ON_WM_RBUTTONDOWN()             { WM_RBUTTONDOWN, 0, 0, 0, &fw::onMouse<&ThisClass::OnRButtonDown> },
#define ON_WM_MENUSELECT()              { WM_MENUSELECT, 0, 0, 0, &fw::onMenuSelect<&ThisClass::OnMenuSelect> },
#define ON_WM_INITMENUPOPUP()           { WM_INITMENUPOPUP, 0, 0, 0, &fw::onInitMenuPopup<&ThisClass::OnInitMenuPopup> },
#define ON_WM_DROPFILES()               { WM_DROPFILES, 0, 0, 0, &fw::onDropFiles<&ThisClass::OnDropFiles> },
#define ON_WM_QUERYENDSESSION()         { WM_QUERYENDSESSION, 0, 0, 0, &fw::onBool<&ThisClass::OnQueryEndSession> },

// Asking whether a command has a handler, without running it.
struct CmdHandlerQuery {};

class CCmdTarget : public CObject {
public:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;

    // Runs the handler of (id, code) found in this object's map chain;
    // extra is the CCmdUI for update requests, or a CmdHandlerQuery.
    virtual BOOL OnCmdMsg(UINT id, UINT code, void* extra);

    // Finds the entry of a window message in the map chain.
    const MsgEntry* FindMessageEntry(UINT message) const;
};

// The object that update handlers receive: one menu item, toolbar button or
// status pane. Subclasses apply the state to their kind of user-interface item.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    HMENU m_hMenu = nullptr;
    BOOL m_bEnableChanged = FALSE;

    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetText(const char* text);
    void SetRadio(BOOL bOn = TRUE) { SetCheck(bOn ? 1 : 0); }

    // Asks target for the state; without an update handler the item is enabled
    // when some handler exists for the command, else disabled (if asked to).
    BOOL DoUpdate(CCmdTarget* target, BOOL bDisableIfNoHandler);
};
