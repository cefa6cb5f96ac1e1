#pragma once
// CMenu: a menu as data. A window's system menu is one; what the window shows is built from it.

#include <string>
#include <vector>

#include "framework/AfxTypes.h"
#include "framework/String.h"

inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT MF_SEPARATOR = 0x0800;

class CMenu {
public:
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);
    int GetMenuItemCount() const { return static_cast<int>(m_items.size()); }
    // The command id of the item at `position`; 0 for a separator.
    UINT GetMenuItemID(int position) const;
    int GetMenuString(UINT item, CString& text, UINT flags) const;
    UINT GetMenuState(UINT item, UINT flags) const;

    struct Item {
        UINT flags;
        UINT_PTR id;
        std::string text;
    };
    const std::vector<Item>& Items() const { return m_items; }
    void RemoveAll() { m_items.clear(); }

private:
    const Item* Find(UINT item, UINT flags) const;
    std::vector<Item> m_items;
};
