// The Qt side of CDialog: a modal dialog runs in an event loop of its own, its window made from the
// dialog's template (DialogWindow) and its owner taking no input meanwhile.
#include "framework/Dialog.h"

#include <QApplication>
#include <QEventLoop>

#include <exception>
#include <vector>

#include "framework/WinApp.h"
#include "framework/qt/DialogWindow.h"
#include "framework/qt/ModalOwner.h"
#include "framework/qt/WindowHost.h"
#include "framework/qt/Widgets.h"

namespace afx {
namespace {

// The dialogs whose modal loops are running, innermost last, with their loops.
struct Running {
    CDialog* dialog;
    QEventLoop* loop;
};
std::vector<Running>& RunningDialogs() {
    static std::vector<Running> running;
    return running;
}

}  // namespace
}  // namespace afx

using afx::DialogWindow;
using afx::WindowHost;

int CDialog::DoModal() {
    const DialogTemplate* dialogTemplate = AfxFindDialogTemplate(m_nIDTemplate);
    if (dialogTemplate == nullptr || m_hWnd != nullptr) {
        return -1;
    }
    CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    WindowHost* ownerHost = owner != nullptr && owner != this ? WindowHost::FromHandle(owner->m_hWnd) : nullptr;
    auto* window = new DialogWindow(this, *dialogTemplate, ownerHost != nullptr ? ownerHost->Widget() : nullptr);
    (new WindowHost(window, 0))->Bind(this);

    m_bEnded = false;
    m_nModalResult = -1;
    QEventLoop loop;
    afx::RunningDialogs().push_back({this, &loop});
    bool created = true;
    try {
        if (OnInitDialog()) {
            for (QWidget* child : window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                if ((child->focusPolicy() & Qt::TabFocus) != 0 && child->isEnabled()) {
                    afx::FocusTarget(child)->setFocus(Qt::TabFocusReason);
                    break;
                }
            }
        }
    } catch (const CException&) {
        // An error while the window is being made makes the creation fail, without a message.
        created = false;
    } catch (const std::exception&) {
        created = false;
    }
    if (created && !m_bEnded) {
        // The owner takes no input while this dialog runs.
        const afx::DisabledOwner disabled(window->Owner());
        afx::KeepAbove(window, window->Owner());
        window->CentreOverOwner();
        window->show();
        window->activateWindow();
        loop.exec();
    }
    afx::RunningDialogs().pop_back();
    DestroyWindow();
    return created ? m_nModalResult : -1;
}

void CDialog::EndDialog(int result) {
    m_bEnded = true;
    m_nModalResult = result;
    // The window goes out of sight at once; it is destroyed when its loop has returned.
    if (WindowHost* host = WindowHost::FromHandle(m_hWnd)) {
        host->Widget()->hide();
    }
    for (const afx::Running& running : afx::RunningDialogs()) {
        if (running.dialog == this) {
            running.loop->exit(result);
        }
    }
}

void CDialog::MapDialogRect(RECT* rect) const {
    WindowHost* host = WindowHost::FromHandle(m_hWnd);
    const auto* window = host != nullptr ? dynamic_cast<const afx::DialogWindow*>(host->Widget()) : nullptr;
    if (window == nullptr) {
        *rect = {};
        return;
    }
    // Each edge on its own, as the window system maps them.
    const auto unit = [](long value) { return static_cast<short>(value); };
    const QRect topLeft = window->ToPixels(unit(rect->left), unit(rect->top), 0, 0);
    const QRect bottomRight = window->ToPixels(unit(rect->right), unit(rect->bottom), 0, 0);
    *rect = {topLeft.x(), topLeft.y(), bottomRight.x(), bottomRight.y()};
}

CDialog* CDialog::FromFocus() {
    if (QWidget* focus = QApplication::focusWidget()) {
        if (WindowHost* host = WindowHost::FromWidget(focus->window())) {
            if (auto* dialog = dynamic_cast<CDialog*>(host->Owner())) {
                return dialog;
            }
        }
    }
    return afx::RunningDialogs().empty() ? nullptr : afx::RunningDialogs().back().dialog;
}
