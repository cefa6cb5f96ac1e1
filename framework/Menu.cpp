#include "framework/Menu.h"

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text) {
    if ((flags & MF_SEPARATOR) == 0 && text == nullptr) {
        return FALSE;
    }
    m_items.push_back({flags, (flags & MF_SEPARATOR) != 0 ? 0 : id, text != nullptr ? text : ""});
    return TRUE;
}

const CMenu::Item* CMenu::Find(UINT item, UINT flags) const {
    if ((flags & MF_BYPOSITION) != 0) {
        return item < m_items.size() ? &m_items[item] : nullptr;
    }
    for (const Item& entry : m_items) {
        if ((entry.flags & MF_SEPARATOR) == 0 && entry.id == item) {
            return &entry;
        }
    }
    return nullptr;
}

UINT CMenu::GetMenuItemID(int position) const {
    const Item* entry = Find(static_cast<UINT>(position), MF_BYPOSITION);
    return entry != nullptr ? static_cast<UINT>(entry->id) : UINT(-1);
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const {
    const Item* entry = Find(item, flags);
    text = entry != nullptr ? entry->text : std::string();
    return text.GetLength();
}

UINT CMenu::GetMenuState(UINT item, UINT flags) const {
    const Item* entry = Find(item, flags);
    return entry != nullptr ? entry->flags : UINT(-1);
}
