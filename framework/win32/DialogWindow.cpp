#include "framework/win32/DialogWindow.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/ControlLabels.h"
#include "framework/Dialog.h"
#include "framework/Menu.h"
#include "framework/MessageLoop.h"
#include "framework/Placement.h"
#include "framework/Resources.h"
#include "framework/WinApp.h"
#include "framework/win32/DialogTemplate.h"
#include "framework/win32/User32.h"
#include "framework/win32/WindowHost.h"

namespace afx {

w32::Handle Native(HWND handle) { return reinterpret_cast<w32::Handle>(handle); }

namespace {

constexpr int kVirtualKeyF1 = 0x70;
constexpr std::uintptr_t kVirtualKeyCancel = 0x03;  // Ctrl+Break
constexpr std::uintptr_t kVirtualKeyEscape = 0x1B;
constexpr int kVirtualKeyShift = 0x10;
constexpr int kVirtualKeyControl = 0x11;
constexpr int kVirtualKeyAlt = 0x12;

struct SystemMenuState {
    std::unique_ptr<CMenu> menu;
    std::size_t systemItems = 0;
    bool minimizeBox = false;
    std::vector<w32::MenuItem> shown;  // the program's items the system's menu holds
};

std::map<const WindowHost*, SystemMenuState>& SystemMenus() {
    static std::map<const WindowHost*, SystemMenuState> menus;
    return menus;
}

// The system's own items: what a fixed-size dialog's system menu holds.
void RevertSystemMenu(SystemMenuState& state) {
    state.menu->RemoveAll();
    state.menu->AppendMenu(MF_STRING, SC_RESTORE, "&Restore");
    state.menu->AppendMenu(MF_STRING, SC_MOVE, "&Move");
    if (state.minimizeBox) {
        state.menu->AppendMenu(MF_STRING, SC_MINIMIZE, "Mi&nimize");
    }
    state.menu->AppendMenu(MF_SEPARATOR);
    state.menu->AppendMenu(MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
    state.systemItems = state.menu->Items().size();
}

}  // namespace

namespace {

// The owners each running dialog disabled, to be enabled again as it ends.
std::map<const CDialog*, HWND>& DisabledOwners() {
    static std::map<const CDialog*, HWND> owners;
    return owners;
}

// Enables the owner the dialog disabled, and gives it the activation while the dialog is still on
// screen, as the system's dialog manager does: a dialog that hid first would leave the activation
// to whatever window the system picks, and the keyboard with it.
void GiveBackOwner(const CDialog* dialog) {
    const auto found = DisabledOwners().find(dialog);
    if (found == DisabledOwners().end()) {
        return;
    }
    const HWND owner = found->second;
    DisabledOwners().erase(found);
    if (::IsWindow(owner)) {
        w32::Enable(Native(owner), true);
        w32::Activate(Native(owner));
    }
}

}  // namespace

std::vector<CDialog*>& RunningDialogs() {
    static std::vector<CDialog*> running;
    return running;
}

void* KeyDialogWindow() { return RunningDialogs().empty() ? nullptr : Native(RunningDialogs().back()->m_hWnd); }

bool PreTranslateKey(void* window, unsigned message, std::uintptr_t wParam, std::intptr_t /*lParam*/) {
    // Esc and Ctrl+Break in a multi-line box are the dialog's Cancel before the box sees them: the
    // box would otherwise take Esc for itself, and Ctrl+Break means nothing to it.
    if (message == w32::msg::KeyDown && (wParam == kVirtualKeyEscape || wParam == kVirtualKeyCancel) &&
        !RunningDialogs().empty() && window != nullptr && w32::IsMultiLine(window) &&
        w32::TopLevel(window) == Native(RunningDialogs().back()->m_hWnd)) {
        ::SendMessage(RunningDialogs().back()->m_hWnd, WM_COMMAND, IDCANCEL, 0);
        return true;
    }
    // F1 asks for help on the dialog that runs; the system's own F1 handling is left out.
    if (message != w32::msg::KeyDown || wParam != kVirtualKeyF1 || RunningDialogs().empty() ||
        w32::KeyDown(kVirtualKeyShift) || w32::KeyDown(kVirtualKeyControl) || w32::KeyDown(kVirtualKeyAlt)) {
        return false;
    }
    CWnd* main = AfxGetMainWnd();
    const HWND target = main != nullptr && main->m_hWnd != nullptr ? main->m_hWnd : RunningDialogs().back()->m_hWnd;
    ::SendMessage(target, WM_COMMAND, ID_HELP, 0);
    return true;
}

CMenu* SystemMenu(WindowHost* dialog, bool revert) {
    const auto found = SystemMenus().find(dialog);
    if (found == SystemMenus().end()) {
        return nullptr;
    }
    if (revert) {
        RevertSystemMenu(found->second);
        ShowProgramSystemMenu(dialog);
        return nullptr;
    }
    return found->second.menu.get();
}

void ShowProgramSystemMenu(WindowHost* dialog) {
    const auto found = SystemMenus().find(dialog);
    if (found == SystemMenus().end()) {
        return;
    }
    std::vector<w32::MenuItem> extra;
    const auto& items = found->second.menu->Items();
    for (std::size_t i = found->second.systemItems; i < items.size(); ++i) {
        extra.push_back({items[i].flags, items[i].id, items[i].text});
    }
    // The system's menu is changed only as far as the program's items changed: items the program
    // added go at its end, and only items it took away make it start again from the system's own.
    std::vector<w32::MenuItem>& shown = found->second.shown;
    const auto same = [](const w32::MenuItem& a, const w32::MenuItem& b) {
        return a.flags == b.flags && a.id == b.id && a.text == b.text;
    };
    const bool grew = shown.size() <= extra.size() && std::equal(shown.begin(), shown.end(), extra.begin(), same);
    if (grew) {
        w32::AppendSystemMenu(Native(dialog->Handle()), std::span(extra).subspan(shown.size()));
    } else {
        w32::SetSystemMenu(Native(dialog->Handle()), extra);
    }
    shown = std::move(extra);
}

}  // namespace afx

namespace {

// Screen readers name an edit box by the first static text before it in the window order. Each
// label is moved just before its control; a control named by its group's caption gets a hidden
// static text with that caption there, since a group box does not count and the static before it
// would name it wrongly. Labels take no focus, so the order Tab follows among the controls stays the
// template's. Where the accessibility layer takes annotations, each control is also given its
// label's name outright, for readers that name a control by its content (an address field).
void PlaceLabelsBeforeTheirControls(w32::Handle dialog, std::span<const DialogItem> items) {
    const std::vector<w32::Handle> children = w32::Children(dialog);
    if (children.size() != items.size()) {
        return;  // made in the template's order, one window an item; anything else is left alone
    }
    std::vector<std::pair<w32::Handle, std::string_view>> names;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (afx::NamedByLabel(items[i].kind)) {
            if (const DialogItem* label = afx::LabelOf(items, items[i])) {
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

}  // namespace

using afx::Native;
using afx::WindowHost;

int CDialog::DoModal() {
    const DialogTemplate* dialogTemplate = AfxFindDialogTemplate(m_nIDTemplate);
    if (dialogTemplate == nullptr || m_hWnd != nullptr) {
        return -1;
    }
    CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    const HWND ownerWindow = owner != nullptr && owner != this && ::IsWindow(owner->m_hWnd) ? owner->m_hWnd : nullptr;
    const std::vector<WORD> memoryTemplate = afx::BuildDialogTemplate(*dialogTemplate);
    w32::Handle window = w32::CreateDialogFromTemplate(memoryTemplate.data(), Native(ownerWindow));
    if (window == nullptr) {
        return -1;
    }
    PlaceLabelsBeforeTheirControls(window, dialogTemplate->items);
    WindowHost* host = WindowHost::AdoptDialog(reinterpret_cast<HWND>(window));
    host->Bind(this);
    auto& systemMenu = afx::SystemMenus()[host];
    systemMenu.menu = std::make_unique<CMenu>();
    systemMenu.minimizeBox = dialogTemplate->minimizeBox;
    afx::RevertSystemMenu(systemMenu);

    m_bEnded = false;
    m_nModalResult = -1;
    afx::RunningDialogs().push_back(this);
    bool created = true;
    try {
        if (OnInitDialog()) {
            w32::FocusFirstTabStop(window);
        }
        // What the program put in its system menu goes into the system's, once.
        afx::ShowProgramSystemMenu(host);
    } catch (const CException&) {
        // An error while the window is being made makes the creation fail, without a message.
        created = false;
    } catch (const std::exception&) {
        created = false;
    }
    if (created && !m_bEnded) {
        // The owner takes no input while this dialog runs.
        const bool ownerWasDisabled = ownerWindow != nullptr && w32::Enable(Native(ownerWindow), false);
        if (ownerWindow != nullptr && !ownerWasDisabled) {
            afx::DisabledOwners()[this] = ownerWindow;
        }
        w32::CentreOver(window, Native(ownerWindow),
                        [](const w32::Rect& over, long width, long height, const w32::Rect& work, long* x, long* y) {
                            const POINT place =
                                afx::CentredWithin({over.left, over.top, over.right, over.bottom}, width, height,
                                                   {work.left, work.top, work.right, work.bottom});
                            *x = place.x;
                            *y = place.y;
                        });
        w32::Show(window, true);
        w32::Activate(window);
        AfxPumpMessagesUntil([this] { return m_bEnded; }, -1);
        afx::GiveBackOwner(this);
    }
    afx::RunningDialogs().pop_back();
    afx::SystemMenus().erase(host);
    DestroyWindow();
    return created ? m_nModalResult : -1;
}

void CDialog::EndDialog(int result) {
    m_bEnded = true;
    m_nModalResult = result;
    // The window goes out of sight at once, its owner active again; it is destroyed when its loop
    // has returned.
    afx::GiveBackOwner(this);
    if (::IsWindow(m_hWnd)) {
        w32::Show(Native(m_hWnd), false);
    }
}

void CDialog::MapDialogRect(RECT* rect) const {
    if (::IsWindow(m_hWnd)) {
        w32::MapDialogUnits(Native(m_hWnd), &rect->left, &rect->top, &rect->right, &rect->bottom);
    } else {
        *rect = {};
    }
}

CDialog* CDialog::FromFocus() {
    if (w32::Handle focus = w32::Focus()) {
        if (CWnd* window = CWnd::FromHandle(reinterpret_cast<HWND>(w32::TopLevel(focus)))) {
            if (auto* dialog = dynamic_cast<CDialog*>(window)) {
                return dialog;
            }
        }
    }
    return afx::RunningDialogs().empty() ? nullptr : afx::RunningDialogs().back();
}
