#include "framework/qt/DialogWindow.h"

#include "framework/Placement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <string_view>
#include <vector>

#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "framework/qt/Accessibility.h"
#include "framework/qt/DialogControls.h"
#include "framework/qt/WindowHost.h"
#include "framework/qt/Widgets.h"

namespace afx {
namespace {

int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    return static_cast<int>((product + (product >= 0 ? denominator / 2 : -denominator / 2)) / denominator);
}

// Windows' dialog font is not on Linux desktops. Dialog templates size their captions for the
// Chinese system's font, whose Latin letters are all as wide as a dialog unit's cell (6 pixels at
// 8 points); DejaVu Sans Mono, on every Debian desktop, draws them alike. In a proportional font
// the capitals run wider than the cell and the captions are cut off.
QString DesktopFont(const char* name) {
    return std::string_view(name) == "MS Sans Serif" ? QStringLiteral("DejaVu Sans Mono") : QString::fromUtf8(name);
}

// The X11 keysym of the Break key (Ctrl+Pause on most keyboards).
constexpr quint32 kBreakKeysym = 0xFF6B;

}  // namespace

DialogWindow::DialogWindow(CDialog* dialog, const DialogTemplate& dialogTemplate, QWidget* owner)
    : QWidget(nullptr, owner != nullptr ? Qt::Dialog : Qt::Window),
      m_dialog(dialog),
      m_owner(owner),
      m_minimizeBox(dialogTemplate.minimizeBox),
      m_systemMenu(std::make_unique<CMenu>()) {
    RevertSystemMenu();
    Qt::WindowFlags flags = windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint;
    if (dialogTemplate.minimizeBox) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    setWindowFlags(flags & ~Qt::WindowMaximizeButtonHint);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    setAttribute(Qt::WA_DeleteOnClose, false);

    QFont font(DesktopFont(dialogTemplate.fontName));
    font.setPointSize(dialogTemplate.pointSize);
    setFont(font);
    const QFontMetrics metrics(font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_baseX = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    m_baseY = metrics.height();
    setFixedSize(ToPixels(0, 0, dialogTemplate.cx, dialogTemplate.cy).size());

    for (const DialogItem& item : dialogTemplate.items) {
        CreateControl(item);
    }
    NameControlsForAssistiveTechnology(this, dialogTemplate.items);
    // Group boxes are drawn behind the controls they frame and never take the mouse.
    for (QGroupBox* group : findChildren<QGroupBox*>(QString(), Qt::FindDirectChildrenOnly)) {
        group->lower();
    }
    qApp->installEventFilter(this);
}

DialogWindow::~DialogWindow() { qApp->removeEventFilter(this); }

// The system's own items: what a fixed-size dialog's system menu holds.
void DialogWindow::RevertSystemMenu() {
    m_systemMenu->RemoveAll();
    m_systemMenu->AppendMenu(MF_STRING, SC_RESTORE, "&Restore");
    m_systemMenu->AppendMenu(MF_STRING, SC_MOVE, "&Move");
    if (m_minimizeBox) {
        m_systemMenu->AppendMenu(MF_STRING, SC_MINIMIZE, "Mi&nimize");
    }
    m_systemMenu->AppendMenu(MF_SEPARATOR);
    m_systemMenu->AppendMenu(MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
}

void DialogWindow::ShowSystemMenu(const QPoint& where) {
    QMenu menu(this);
    for (const CMenu::Item& item : m_systemMenu->Items()) {
        if ((item.flags & MF_SEPARATOR) != 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromStdString(item.text));
        action->setData(QVariant::fromValue<qulonglong>(item.id));
        // Restore has nothing to do while the window is shown.
        action->setEnabled((item.flags & MF_GRAYED) == 0 && !(item.id == SC_RESTORE && !isMinimized()));
    }
    if (QAction* chosen = menu.exec(where)) {
        ::SendMessage(m_dialog->m_hWnd, WM_SYSCOMMAND, static_cast<WPARAM>(chosen->data().toULongLong()), 0);
    }
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    // Only the dialog's free area gets here: a control's own menu, if it has one, comes first.
    ShowSystemMenu(event->globalPos());
}

void DialogWindow::paintEvent(QPaintEvent* event) {
    m_painting = true;
    ::SendMessage(m_dialog->m_hWnd, WM_PAINT, 0, 0);
    m_painting = false;
    QWidget::paintEvent(event);
}

void DialogWindow::CentreOverOwner() {
    const QWidget* owner = m_owner != nullptr ? m_owner->window() : nullptr;
    const bool overOwner = owner != nullptr && owner->isVisible();
    const QScreen* screen = overOwner ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect work = screen->availableGeometry();
    const QRect area = overOwner ? owner->frameGeometry() : work;
    const QRect frame = frameGeometry();
    const auto edges = [](const QRect& rect) {
        return RECT{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
    };
    const POINT place = afx::CentredWithin(edges(area), frame.width(), frame.height(), edges(work));
    move(static_cast<int>(place.x), static_cast<int>(place.y));
}

void DialogWindow::AddControl(WindowHost* control) {
    const UINT id = control->ControlId();
    const auto at = std::lower_bound(m_controls.begin(), m_controls.end(), id,
                                     [](const auto& entry, UINT wanted) { return entry.first < wanted; });
    // The first control of an id keeps it.
    if (at == m_controls.end() || at->first != id) {
        m_controls.emplace(at, id, control);
    }
}

WindowHost* DialogWindow::Control(UINT id) const {
    const auto at = std::lower_bound(m_controls.begin(), m_controls.end(), id,
                                     [](const auto& entry, UINT wanted) { return entry.first < wanted; });
    return at != m_controls.end() && at->first == id ? at->second.data() : nullptr;
}

QRect DialogWindow::ToPixels(short x, short y, short cx, short cy) const {
    return {MulDiv(x, m_baseX, 4), MulDiv(y, m_baseY, 8), MulDiv(cx, m_baseX, 4), MulDiv(cy, m_baseY, 8)};
}

void DialogWindow::CreateControl(const DialogItem& item) {
    Qt::FocusPolicy focus = (item.style & WS_TABSTOP) != 0 ? Qt::StrongFocus : Qt::ClickFocus;
    QWidget* widget = MakeControl(item, this, &focus);
    QRect area = ToPixels(item.x, item.y, item.cx, item.cy);
    if (item.kind == ControlKind::ComboBox) {
        area.setHeight(widget->sizeHint().height());
    }
    widget->setGeometry(area);
    widget->setFocusPolicy(focus);
    widget->setEnabled((item.style & WS_DISABLED) == 0);
    AddControl(new WindowHost(widget, item.id));
    if (auto* upDown = qobject_cast<UpDown*>(widget); upDown != nullptr && (item.style & UDS_AUTOBUDDY) != 0) {
        // The buddy is the control made just before, in template order.
        const QList<QWidget*> made = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        if (made.size() >= 2) {
            if (auto* buddy = qobject_cast<QLineEdit*>(made.at(made.size() - 2))) {
                upDown->SetBuddy(buddy);
            }
        }
    }
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    auto* target = static_cast<QWidget*>(watched);
    if (target->window() != this || !isEnabled()) {
        return false;
    }
    return HandleKey(target, static_cast<QKeyEvent*>(event));
}

bool DialogWindow::HandleKey(QWidget* target, const QKeyEvent* key) {
    const HWND dialog = m_dialog->m_hWnd;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    QWidget* focus = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : target;
    const bool inMultiLine = qobject_cast<MultiLineEdit*>(focus) != nullptr ||
                             (focus->parentWidget() != nullptr && qobject_cast<MultiLineEdit*>(focus->parentWidget()));
    switch (key->key()) {
        case Qt::Key_Escape: ::SendMessage(dialog, WM_COMMAND, IDCANCEL, 0); return true;
        case 0:
            // X11 reports Ctrl+Break as the Break keysym, which Qt has no key for.
            if (key->nativeVirtualKey() != kBreakKeysym) {
                return false;
            }
            [[fallthrough]];
        case Qt::Key_Pause:
        case Qt::Key_Cancel:
            if (inMultiLine && (modifiers & Qt::ControlModifier) != 0) {
                ::SendMessage(dialog, WM_COMMAND, IDCANCEL, 0);
                return true;
            }
            return false;
        case Qt::Key_Space:
            if ((modifiers & Qt::AltModifier) != 0) {
                ShowSystemMenu(mapToGlobal(QPoint(0, 0)));
                return true;
            }
            return false;
        case Qt::Key_F4:
            // Alt+F4 is the system's Close command, whether or not a window manager is there to
            // turn it into a close request.
            if (modifiers == Qt::AltModifier) {
                ::SendMessage(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
                return true;
            }
            return false;
        case Qt::Key_F1:
            if ((modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0) {
                CWnd* main = AfxGetMainWnd();
                ::SendMessage(main != nullptr && main->m_hWnd != nullptr ? main->m_hWnd : dialog, WM_COMMAND, ID_HELP,
                              0);
                return true;
            }
            return false;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (auto* button = qobject_cast<QPushButton*>(focus)) {
                button->click();
                return true;
            }
            if (inMultiLine) {
                return false;
            }
            ::SendMessage(dialog, WM_COMMAND, IDOK, 0);
            return true;
        default: return false;
    }
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The close box and Alt+F4 are the system's Close command; the dialog decides what it means.
    event->ignore();
    ::SendMessage(m_dialog->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

}  // namespace afx
