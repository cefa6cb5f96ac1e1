// The Win32 side of CDialog: a modal dialog is the system's dialog made from the program's
// template, run by the framework's message loop while its owner takes no input.
#include "framework/Dialog.h"

#include <exception>

#include "framework/MessageLoop.h"
#include "framework/WinApp.h"
#include "framework/win32/DialogWindow.h"
#include "framework/win32/User32.h"
#include "framework/win32/WindowHost.h"

using afx::WindowHost;

namespace {

w32::Handle Native(HWND handle) { return reinterpret_cast<w32::Handle>(handle); }

// OnInitDialog, then the program's items into the system menu. An error while the window is being
// made makes the creation fail, without a message.
bool InitDialog(CDialog* dialog, WindowHost* host) {
    try {
        if (dialog->OnInitDialog()) {
            w32::FocusFirstTabStop(Native(dialog->m_hWnd));
        }
        afx::ShowProgramSystemMenu(host);
        return true;
    } catch (const CException&) {
        return false;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

int CDialog::DoModal() {
    const DialogTemplate* dialogTemplate = AfxFindDialogTemplate(m_nIDTemplate);
    if (dialogTemplate == nullptr || m_hWnd != nullptr) {
        return -1;
    }
    CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    const HWND ownerWindow = owner != nullptr && owner != this && ::IsWindow(owner->m_hWnd) ? owner->m_hWnd : nullptr;
    WindowHost* host = afx::CreateDialogWindow(*dialogTemplate, ownerWindow);
    if (host == nullptr) {
        return -1;
    }
    host->Bind(this);
    afx::AttachSystemMenu(host, dialogTemplate->minimizeBox);

    m_bEnded = false;
    m_nModalResult = -1;
    afx::RunningDialogs().push_back(this);
    const bool created = InitDialog(this, host);
    if (created && !m_bEnded) {
        afx::DisableOwner(this, ownerWindow);
        afx::CentreOverOwner(m_hWnd, ownerWindow);
        w32::Show(Native(m_hWnd), true);
        w32::Activate(Native(m_hWnd));
        AfxPumpMessagesUntil([this] { return m_bEnded; }, -1);
        afx::GiveBackOwner(this);
    }
    afx::RunningDialogs().pop_back();
    afx::DetachSystemMenu(host);
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
