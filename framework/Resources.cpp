#include "framework/Resources.h"

#include <string>

namespace {
const ResourceTable*& Table() {
    static const ResourceTable* table = nullptr;
    return table;
}
}  // namespace

void AfxSetResourceTable(const ResourceTable* table) { Table() = table; }

const DialogTemplate* AfxFindDialogTemplate(UINT id) {
    if (Table() != nullptr) {
        for (const DialogTemplate& dialog : Table()->dialogs) {
            if (dialog.id == id) {
                return &dialog;
            }
        }
    }
    return nullptr;
}

const char* AfxFindString(UINT id) {
    if (Table() != nullptr) {
        for (const StringEntry& entry : Table()->strings) {
            if (entry.id == id) {
                return entry.text;
            }
        }
    }
    return nullptr;
}

std::span<const unsigned char> AfxFindIcon(UINT id) {
    if (Table() != nullptr) {
        for (const IconEntry& icon : Table()->icons) {
            if (icon.id == id) {
                return icon.data;
            }
        }
    }
    return {};
}

bool AfxLoadString(UINT id, CString& text) {
    const char* found = AfxFindString(id);
    text = found != nullptr ? found : "";
    return found != nullptr;
}

CString AfxLoadStringOr(UINT id, UINT fallback) {
    const char* found = AfxFindString(id);
    if (found == nullptr) {
        found = AfxFindString(fallback);
    }
    return found != nullptr ? found : "";
}

CString AfxFormatString2(const char* format, const char* first, const char* second) {
    std::string text;
    for (const char* p = format; *p != '\0'; ++p) {
        if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
            text += p[1] == '1' ? first : second;
            ++p;
        } else {
            text += *p;
        }
    }
    return text;
}
