#pragma once
// Message maps: each window class has one static table from messages to its own member functions.
// A message the class does not map goes to its base class's table. An entry names a member of the
// class the map belongs to, so a handler of an unrelated class does not compile.

#include <variant>

#include "framework/AfxTypes.h"
#include "framework/Object.h"

class CCmdTarget : public CObject {
public:
    // Offers a message to this object's handlers; true when one of them took it.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

namespace afx {

template <class T>
struct MsgMapEntry {
    using MessageHandler = LRESULT (T::*)(WPARAM, LPARAM);  // ON_MESSAGE
    using CommandHandler = void (T::*)();                   // commands, notifications, WM_PAINT
    using TimerHandler = void (T::*)(UINT_PTR);             // WM_TIMER
    using SysCommandHandler = void (T::*)(UINT, LPARAM);    // WM_SYSCOMMAND
    using IconHandler = HCURSOR (T::*)();                   // WM_QUERYDRAGICON

    UINT message;
    UINT id;    // WM_COMMAND only: the command or control id
    WORD code;  // WM_COMMAND only: the notification code
    std::variant<std::monostate, MessageHandler, CommandHandler, TimerHandler, SysCommandHandler, IconHandler> handler;
};

template <class T>
bool Matches(const MsgMapEntry<T>& entry, UINT message, WPARAM wParam) {
    if (entry.message != message) {
        return false;
    }
    return message != WM_COMMAND ||
           (entry.id == LOWORD(static_cast<DWORD>(wParam)) && entry.code == HIWORD(static_cast<DWORD>(wParam)));
}

template <class T>
LRESULT Call(T* target, const MsgMapEntry<T>& entry, WPARAM wParam, LPARAM lParam) {
    using E = MsgMapEntry<T>;
    if (auto* message = std::get_if<typename E::MessageHandler>(&entry.handler)) {
        return (target->**message)(wParam, lParam);
    }
    if (auto* command = std::get_if<typename E::CommandHandler>(&entry.handler)) {
        (target->**command)();
    } else if (auto* timer = std::get_if<typename E::TimerHandler>(&entry.handler)) {
        (target->**timer)(static_cast<UINT_PTR>(wParam));
    } else if (auto* sysCommand = std::get_if<typename E::SysCommandHandler>(&entry.handler)) {
        (target->**sysCommand)(static_cast<UINT>(wParam), lParam);
    } else if (auto* icon = std::get_if<typename E::IconHandler>(&entry.handler)) {
        return reinterpret_cast<LRESULT>((target->**icon)());
    }
    return 0;
}

template <class T>
bool DispatchMsg(T* target, const MsgMapEntry<T>* entry, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    for (; !std::holds_alternative<std::monostate>(entry->handler); ++entry) {
        if (Matches(*entry, message, wParam)) {
            *result = Call(target, *entry, wParam, lParam);
            return true;
        }
    }
    return false;
}

}  // namespace afx

// clang-format off
#define DECLARE_MESSAGE_MAP() \
public:                       \
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                             \
    bool theClass::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) { \
        using ThisClass = theClass;                                                        \
        using TheBaseClass = baseClass;                                                    \
        using Entry = ::afx::MsgMapEntry<ThisClass>;                                       \
        static const Entry messageEntries[] = {
#define ON_MESSAGE(message, memberFxn) \
    Entry{(message), 0, 0, static_cast<Entry::MessageHandler>(&ThisClass::memberFxn)},
#define ON_COMMAND(id, memberFxn) Entry{WM_COMMAND, (id), 0, static_cast<Entry::CommandHandler>(&ThisClass::memberFxn)},
#define ON_CONTROL(code, id, memberFxn) \
    Entry{WM_COMMAND, (id), (code), static_cast<Entry::CommandHandler>(&ThisClass::memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_WM_TIMER() Entry{WM_TIMER, 0, 0, static_cast<Entry::TimerHandler>(&ThisClass::OnTimer)},
#define ON_WM_PAINT() Entry{WM_PAINT, 0, 0, static_cast<Entry::CommandHandler>(&ThisClass::OnPaint)},
#define ON_WM_SYSCOMMAND() Entry{WM_SYSCOMMAND, 0, 0, static_cast<Entry::SysCommandHandler>(&ThisClass::OnSysCommand)},
#define ON_WM_QUERYDRAGICON() \
    Entry{WM_QUERYDRAGICON, 0, 0, static_cast<Entry::IconHandler>(&ThisClass::OnQueryDragIcon)},

#define END_MESSAGE_MAP()                                                               \
        Entry{0, 0, 0, {}}                                                              \
    };                                                                                  \
    return ::afx::DispatchMsg(this, messageEntries, message, wParam, lParam, result) || \
           TheBaseClass::OnWndMsg(message, wParam, lParam, result);                     \
    }
// clang-format on
