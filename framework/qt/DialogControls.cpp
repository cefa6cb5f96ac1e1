// The widgets a dialog template's items become (DialogControls.h). Qt only.
#include "framework/qt/DialogControls.h"

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "framework/PaintDC.h"
#include "framework/Wnd.h"
#include "framework/qt/WindowHost.h"
#include "framework/qt/Widgets.h"

namespace afx {
namespace {

// A notification to the dialog the control is in, as WM_COMMAND from the control.
void Notify(QWidget* control, WORD code) {
    WindowHost* host = WindowHost::FromWidget(control);
    WindowHost* dialog =
        host != nullptr && control->window() != nullptr ? WindowHost::FromWidget(control->window()) : nullptr;
    if (host != nullptr && dialog != nullptr) {
        ::SendMessage(dialog->Handle(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(host->ControlId()), code),
                      reinterpret_cast<LPARAM>(host->Handle()));
    }
}

QWidget* MakeButton(const DialogItem& item, const QString& text, QWidget* dialog) {
    if (item.kind == ControlKind::AutoCheckBox) {
        auto* box = new AutoCheckBox(text, dialog);
        QObject::connect(box, &QCheckBox::clicked, box, [box] { Notify(box, BN_CLICKED); });
        return box;
    }
    auto* button = new QPushButton(text, dialog);
    button->setAutoDefault(false);
    button->setDefault(item.kind == ControlKind::DefPushButton);
    QObject::connect(button, &QPushButton::clicked, button, [button] { Notify(button, BN_CLICKED); });
    return button;
}

QWidget* MakeLabel(const DialogItem& item, const QString& text, QWidget* dialog) {
    auto* label = new QLabel(dialog);
    label->setTextFormat(Qt::PlainText);
    if (item.kind == ControlKind::Static) {
        label->setText(text);
    } else if (HICON icon = AfxLoadIcon(static_cast<UINT>(text.toUInt()))) {
        const int size = GetSystemMetrics(SM_CXICON);
        label->setPixmap(reinterpret_cast<const QIcon*>(icon)->pixmap(size, size));
    }
    label->setAlignment(Qt::AlignLeft | ((item.style & SS_CENTERIMAGE) != 0 ? Qt::AlignVCenter : Qt::AlignTop));
    return label;
}

template <class Edit, class Base>
QWidget* MakeEdit(const DialogItem& item, QWidget* dialog) {
    auto* edit = new Edit(item.style, dialog);
    QObject::connect(edit, &Base::textChanged, edit, [edit] {
        Notify(edit, EN_UPDATE);
        Notify(edit, EN_CHANGE);
    });
    return edit;
}

}  // namespace

QWidget* MakeControl(const DialogItem& item, QWidget* dialog, Qt::FocusPolicy* focus) {
    const QString text = QString::fromUtf8(item.text);
    switch (item.kind) {
        case ControlKind::PushButton:
        case ControlKind::DefPushButton:
        case ControlKind::AutoCheckBox: return MakeButton(item, text, dialog);
        case ControlKind::GroupBox: {
            auto* group = new QGroupBox(text, dialog);
            group->setAttribute(Qt::WA_TransparentForMouseEvents);
            *focus = Qt::NoFocus;
            return group;
        }
        case ControlKind::Static:
        case ControlKind::Icon: *focus = Qt::NoFocus; return MakeLabel(item, text, dialog);
        case ControlKind::Edit:
            return (item.style & ES_MULTILINE) != 0 ? MakeEdit<MultiLineEdit, QPlainTextEdit>(item, dialog)
                                                    : MakeEdit<LineEdit, QLineEdit>(item, dialog);
        case ControlKind::ComboBox: {
            auto* combo = new ComboBox(dialog);
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            QObject::connect(combo, &QComboBox::activated, combo, [combo] { Notify(combo, CBN_SELCHANGE); });
            return combo;
        }
        case ControlKind::UpDown: {
            auto* upDown = new UpDown(item.style, dialog);
            upDown->setProperty("afxText", text);
            *focus = Qt::NoFocus;
            return upDown;
        }
        case ControlKind::IPAddress: break;
    }
    return new IpAddressEdit(dialog);
}

}  // namespace afx
