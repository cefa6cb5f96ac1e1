#include "framework/win32/DialogWindow.h"

#include <algorithm>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "framework/Dialog.h"
#include "framework/Menu.h"
#include "framework/Placement.h"
#include "framework/Resources.h"
#include "framework/WinApp.h"
#include "framework/win32/Accessibility.h"
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

}  // namespace

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

void DisableOwner(const CDialog* dialog, HWND owner) {
    const bool wasDisabled = owner != nullptr && w32::Enable(Native(owner), false);
    if (owner != nullptr && !wasDisabled) {
        DisabledOwners()[dialog] = owner;
    }
}

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

WindowHost* CreateDialogWindow(const DialogTemplate& dialogTemplate, HWND owner) {
    const std::vector<WORD> memoryTemplate = BuildDialogTemplate(dialogTemplate);
    w32::Handle window = w32::CreateDialogFromTemplate(memoryTemplate.data(), Native(owner));
    if (window == nullptr) {
        return nullptr;
    }
    NameControlsForAssistiveTechnology(reinterpret_cast<HWND>(window), dialogTemplate.items);
    return WindowHost::AdoptDialog(reinterpret_cast<HWND>(window));
}

void AttachSystemMenu(WindowHost* dialog, bool minimizeBox) {
    auto& systemMenu = SystemMenus()[dialog];
    systemMenu.menu = std::make_unique<CMenu>();
    systemMenu.minimizeBox = minimizeBox;
    RevertSystemMenu(systemMenu);
}

void DetachSystemMenu(WindowHost* dialog) { SystemMenus().erase(dialog); }

void CentreOverOwner(HWND dialog, HWND owner) {
    w32::CentreOver(Native(dialog), Native(owner),
                    [](const w32::Rect& over, long width, long height, const w32::Rect& work, long* x, long* y) {
                        const POINT place = CentredWithin({over.left, over.top, over.right, over.bottom}, width, height,
                                                          {work.left, work.top, work.right, work.bottom});
                        *x = place.x;
                        *y = place.y;
                    });
}

}  // namespace afx
