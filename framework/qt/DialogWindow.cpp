#include "framework/qt/DialogWindow.h"

#include "framework/Placement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QContextMenuEvent>
#include <QIcon>
#include <QMenu>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

#include "framework/ControlLabels.h"
#include "framework/Dialog.h"
#include "framework/PaintDC.h"
#include "framework/WinApp.h"
#include "framework/qt/ModalOwner.h"
#include "framework/qt/WindowHost.h"
#include "framework/qt/Widgets.h"

namespace afx {
namespace {

int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    return static_cast<int>((product + (product >= 0 ? denominator / 2 : -denominator / 2)) / denominator);
}

// The dialogs whose modal loops are running, innermost last, with their loops.
struct Running {
    CDialog* dialog;
    QEventLoop* loop;
};
std::vector<Running>& RunningDialogs() {
    static std::vector<Running> running;
    return running;
}

void Notify(QWidget* control, WORD code) {
    WindowHost* host = WindowHost::FromWidget(control);
    WindowHost* dialog =
        host != nullptr && control->window() != nullptr ? WindowHost::FromWidget(control->window()) : nullptr;
    if (host != nullptr && dialog != nullptr) {
        ::SendMessage(dialog->Handle(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(host->ControlId()), code),
                      reinterpret_cast<LPARAM>(host->Handle()));
    }
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

    QFont font(QString::fromUtf8(dialogTemplate.fontName));
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
    NameControlsForAssistiveTechnology(dialogTemplate);
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
    const QString text = QString::fromUtf8(item.text);
    QWidget* widget = nullptr;
    Qt::FocusPolicy focus = (item.style & WS_TABSTOP) != 0 ? Qt::StrongFocus : Qt::ClickFocus;
    switch (item.kind) {
        case ControlKind::PushButton:
        case ControlKind::DefPushButton: {
            auto* button = new QPushButton(text, this);
            button->setAutoDefault(false);
            button->setDefault(item.kind == ControlKind::DefPushButton);
            connect(button, &QPushButton::clicked, this, [button] { Notify(button, BN_CLICKED); });
            widget = button;
            break;
        }
        case ControlKind::AutoCheckBox: {
            auto* box = new AutoCheckBox(text, this);
            connect(box, &QCheckBox::clicked, this, [box] { Notify(box, BN_CLICKED); });
            widget = box;
            break;
        }
        case ControlKind::GroupBox:
            widget = new QGroupBox(text, this);
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
            focus = Qt::NoFocus;
            break;
        case ControlKind::Static:
        case ControlKind::Icon: {
            auto* label = new QLabel(this);
            label->setTextFormat(Qt::PlainText);
            if (item.kind == ControlKind::Static) {
                label->setText(text);
            } else if (HICON icon = AfxLoadIcon(static_cast<UINT>(text.toUInt()))) {
                const int size = GetSystemMetrics(SM_CXICON);
                label->setPixmap(reinterpret_cast<const QIcon*>(icon)->pixmap(size, size));
            }
            label->setAlignment(Qt::AlignLeft | ((item.style & SS_CENTERIMAGE) != 0 ? Qt::AlignVCenter : Qt::AlignTop));
            widget = label;
            focus = Qt::NoFocus;
            break;
        }
        case ControlKind::Edit:
            if ((item.style & ES_MULTILINE) != 0) {
                auto* edit = new MultiLineEdit(item.style, this);
                connect(edit, &QPlainTextEdit::textChanged, this, [edit] {
                    Notify(edit, EN_UPDATE);
                    Notify(edit, EN_CHANGE);
                });
                widget = edit;
            } else {
                auto* edit = new LineEdit(item.style, this);
                connect(edit, &QLineEdit::textChanged, this, [edit] {
                    Notify(edit, EN_UPDATE);
                    Notify(edit, EN_CHANGE);
                });
                widget = edit;
            }
            break;
        case ControlKind::ComboBox: {
            auto* combo = new ComboBox(this);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            connect(combo, &QComboBox::activated, this, [combo] { Notify(combo, CBN_SELCHANGE); });
            widget = combo;
            break;
        }
        case ControlKind::UpDown: {
            auto* upDown = new UpDown(item.style, this);
            upDown->setProperty("afxText", text);
            widget = upDown;
            focus = Qt::NoFocus;
            break;
        }
        case ControlKind::IPAddress: widget = new IpAddressEdit(this); break;
    }
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

void DialogWindow::NameControlsForAssistiveTechnology(const DialogTemplate& dialogTemplate) {
    const auto items = dialogTemplate.items;
    const QList<QWidget*> widgets = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (qsizetype i = 0; i < widgets.size() && i < static_cast<qsizetype>(items.size()); ++i) {
        const DialogItem& item = items[static_cast<std::size_t>(i)];
        if (!NamedByLabel(item.kind)) {
            continue;
        }
        const DialogItem* label = LabelOf(items, item);
        if (label == nullptr) {
            continue;
        }
        widgets[i]->setAccessibleName(QString::fromUtf8(label->text));
        // A label beside the control also stands in the "labelled by" relation to it.
        if (label->kind == ControlKind::Static) {
            static_cast<QLabel*>(widgets[label - items.data()])->setBuddy(widgets[i]);
        }
    }
    for (UpDown* upDown : findChildren<UpDown*>(QString(), Qt::FindDirectChildrenOnly)) {
        upDown->setAccessibleName(upDown->Buddy() != nullptr ? upDown->Buddy()->accessibleName()
                                                             : upDown->property("afxText").toString());
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
