#pragma once

#include "platform/Types.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CRuntimeClass.h"
#include "platform/geometry/CPoint.h"

#include <cstdint>

class CCmdTarget;
class CCmdUI;
struct CREATESTRUCT;
using LPCREATESTRUCT = CREATESTRUCT*;
using LRESULT = std::intptr_t;

// What a message carries to its handler.
struct AFX_MSGARGS {
    UINT nID = 0;    // command id of a command or update entry
    UINT nFlags = 0; // key and button flags of a mouse message
    CPoint point;    // client coordinates of a mouse message
    CCmdUI* pCmdUI = nullptr;
    LPCREATESTRUCT lpCreateStruct = nullptr;
};

// One row of a message table: a window message, or WM_COMMAND with a notification code and
// a range of command ids, and the thunk that calls the handler on the table's own class.
struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // 0 ends the table
    int nCode;     // CN_COMMAND or CN_UPDATE_COMMAND_UI for WM_COMMAND rows
    UINT nID;
    UINT nLastID;
    LRESULT (*pfn)(CCmdTarget* target, AFX_MSGARGS& args);
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// A class that receives commands through its message table. Tables are searched from the
// most derived class to the base, each top to bottom; the first matching row wins.
class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Delivers a command (CN_COMMAND) or asks for its state (CN_UPDATE_COMMAND_UI with a
    // CCmdUI). Returns true when a handler took it. With bProbe set nothing is called: the
    // answer says whether some table has a row for it. Derived classes extend the search to
    // the objects that route after them.
    virtual bool OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, bool bProbe = false);

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The class's run-time information when it is dynamically creatable, or null.
    virtual const CRuntimeClass* GetRuntimeClass() const { return nullptr; }

protected:
    // Searches this object's own tables only.
    bool DispatchCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, bool bProbe);
    // Finds the first row for a window message, or null.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage) const;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
public:                                                                                            \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, nullptr }                                                                        \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

#define AFX_THUNK(body)                                                                            \
    [](CCmdTarget* _target, AFX_MSGARGS& _args) -> LRESULT {                                       \
        [[maybe_unused]] auto* _this = static_cast<ThisClass*>(_target);                           \
        [[maybe_unused]] AFX_MSGARGS& _a = _args;                                                  \
        body                                                                                       \
    }

// Handlers are named as pointers to members, "&CMyView::OnSomething".
#define ON_COMMAND(id, memberFxn)                                                                  \
    { WM_COMMAND, CN_COMMAND, UINT(id), UINT(id), AFX_THUNK((_this->*(memberFxn))(); return 1;) }  \
    ,

// The handler takes the command id and returns true when it handled the command; false lets
// the search go on.
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                                                 \
    {                                                                                              \
        WM_COMMAND, CN_COMMAND, UINT(id), UINT(idLast),                                            \
            AFX_THUNK(return (_this->*(memberFxn))(_a.nID) ? 1 : 0;)                               \
    }                                                                                              \
    ,

#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                    \
    {                                                                                              \
        WM_COMMAND, CN_COMMAND, UINT(id), UINT(idLast),                                            \
            AFX_THUNK((_this->*(memberFxn))(_a.nID); return 1;)                                    \
    }                                                                                              \
    ,

#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                          \
    {                                                                                              \
        WM_COMMAND, CN_UPDATE_COMMAND_UI, UINT(id), UINT(idLast),                                  \
            AFX_THUNK((_this->*(memberFxn))(_a.pCmdUI); return 1;)                                 \
    }                                                                                              \
    ,

// A single command id is a range of one.
#define ON_COMMAND_EX(id, memberFxn) ON_COMMAND_EX_RANGE(id, id, memberFxn)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) ON_UPDATE_COMMAND_UI_RANGE(id, id, memberFxn)

#define ON_WM_CREATE()                                                                             \
    { WM_CREATE, 0, 0, 0, AFX_THUNK(return _this->OnCreate(_a.lpCreateStruct);) }                  \
    ,

#define ON_WM_CLOSE()                                                                              \
    { WM_CLOSE, 0, 0, 0, AFX_THUNK(_this->OnClose(); return 0;) }                                  \
    ,

#define ON_WM_LBUTTONDOWN()                                                                        \
    { WM_LBUTTONDOWN, 0, 0, 0, AFX_THUNK(_this->OnLButtonDown(_a.nFlags, _a.point); return 0;) }   \
    ,

// A window without this entry takes the second press of a double click for no press at all.
#define ON_WM_LBUTTONDBLCLK()                                                                      \
    {                                                                                              \
        WM_LBUTTONDBLCLK, 0, 0, 0,                                                                 \
            AFX_THUNK(_this->OnLButtonDblClk(_a.nFlags, _a.point); return 0;)                      \
    }                                                                                              \
    ,

#define ON_WM_LBUTTONUP()                                                                          \
    { WM_LBUTTONUP, 0, 0, 0, AFX_THUNK(_this->OnLButtonUp(_a.nFlags, _a.point); return 0;) }       \
    ,

#define ON_WM_RBUTTONDOWN()                                                                        \
    { WM_RBUTTONDOWN, 0, 0, 0, AFX_THUNK(_this->OnRButtonDown(_a.nFlags, _a.point); return 0;) }   \
    ,

#define ON_WM_RBUTTONUP()                                                                          \
    { WM_RBUTTONUP, 0, 0, 0, AFX_THUNK(_this->OnRButtonUp(_a.nFlags, _a.point); return 0;) }       \
    ,

#define ON_WM_MOUSEMOVE()                                                                          \
    { WM_MOUSEMOVE, 0, 0, 0, AFX_THUNK(_this->OnMouseMove(_a.nFlags, _a.point); return 0;) }       \
    ,
