#pragma once
// Message maps: each window class has one static table from messages to its own member functions.
// A message the class does not map goes to its base class's table. An entry names a member of the
// class the map belongs to, so a handler of an unrelated class does not compile.

#include <cstddef>

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
    using MessageHandler = LRESULT (T::*)(WPARAM, LPARAM);

    UINT message;
    MessageHandler handler;  // null only in the entry that ends the table
};

template <class T>
bool DispatchMsg(T* target, const MsgMapEntry<T>* entry, UINT message, WPARAM wParam, LPARAM lParam,
                 LRESULT* result) {
    for (; entry->handler != nullptr; ++entry) {
        if (entry->message == message) {
            *result = (target->*entry->handler)(wParam, lParam);
            return true;
        }
    }
    return false;
}

}  // namespace afx

#define DECLARE_MESSAGE_MAP() \
protected:                    \
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    bool theClass::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) { \
        using ThisClass = theClass;                                                     \
        using TheBaseClass = baseClass;                                                 \
        static const ::afx::MsgMapEntry<ThisClass> messageEntries[] = {

// A registered or user message, handled as LRESULT OnX(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) {(message), &ThisClass::memberFxn},

#define END_MESSAGE_MAP()                                                                   \
    {0, nullptr}                                                                            \
    }                                                                                       \
    ;                                                                                       \
    return ::afx::DispatchMsg(this, messageEntries, message, wParam, lParam, result) ||     \
           TheBaseClass::OnWndMsg(message, wParam, lParam, result);                         \
    }
