// What assistive technology reads of the dialogs' controls: the system's own descriptions, and the
// names their labels give them. Twin: framework/qt/Accessibility.cpp.
#include "framework/win32/Accessibility.h"

#include <string_view>
#include <utility>
#include <vector>

#include "framework/ControlLabels.h"
#include "framework/win32/User32.h"

namespace afx {

// Screen readers name an edit box by the first static text before it in the window order. Each
// label is moved just before its control; a control named by its group's caption gets a hidden
// static text with that caption there, since a group box does not count and the static before it
// would name it wrongly. Labels take no focus, so the order Tab follows among the controls stays the
// template's. Where the accessibility layer takes annotations, each control is also given its
// label's name outright, for readers that name a control by its content (an address field).
void NameControlsForAssistiveTechnology(HWND dialogWindow, std::span<const DialogItem> items) {
    const auto dialog = reinterpret_cast<w32::Handle>(dialogWindow);
    const std::vector<w32::Handle> children = w32::Children(dialog);
    if (children.size() != items.size()) {
        return;  // made in the template's order, one window an item; anything else is left alone
    }
    std::vector<std::pair<w32::Handle, std::string_view>> names;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (NamedByLabel(items[i].kind)) {
            if (const DialogItem* label = LabelOf(items, items[i])) {
                const w32::Handle named = label->kind == ControlKind::Static
                                              ? children[static_cast<std::size_t>(label - items.data())]
                                              : w32::CreateHiddenLabel(dialog, label->text);
                if (named != nullptr) {
                    w32::PlaceBefore(named, children[i]);
                }
                names.emplace_back(children[i], label->text);
            }
        }
    }
    if (!names.empty()) {
        w32::AnnotateNames(names);
    }
}

}  // namespace afx
