// What the framework asks of any widget behind a control: its text, its check, its focus
// (Widgets.h). Qt only.
#include "framework/qt/Widgets.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "framework/qt/CheckBox.h"
#include "framework/qt/LineEdit.h"
#include "framework/qt/WindowHost.h"

namespace afx {

WindowHost* ControlHost(const QWidget* widget) { return WindowHost::FromWidget(widget); }

QString WidgetText(const QWidget* widget) {
    if (const auto* edit = qobject_cast<const MultiLineEdit*>(widget)) {
        return QString::fromStdString(edit->WindowsText());
    }
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) {
        return line->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        return combo->currentText();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        return group->title();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* ip = qobject_cast<const IpAddressEdit*>(widget)) {
        return ip->DottedText();
    }
    if (const auto* bar = qobject_cast<const StatusBar*>(widget)) {
        return QString::fromStdString(bar->Text(0));
    }
    if (widget->isWindow()) {
        return widget->windowTitle();
    }
    return widget->property("afxText").toString();
}

void SetWidgetText(QWidget* widget, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (auto* edit = qobject_cast<MultiLineEdit*>(widget)) {
        edit->SetWindowsText(text);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setText(value);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setEditText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(value);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(value);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
    } else if (auto* bar = qobject_cast<StatusBar*>(widget)) {
        bar->SetText(0, text);
    } else if (widget->isWindow()) {
        widget->setWindowTitle(value);
    } else {
        widget->setProperty("afxText", value);
    }
}

void SetCheckState(QWidget* widget, int state) {
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        if (state == 2) {
            box->setTristate(true);
        }
        box->setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    }
}

QWidget* FocusTarget(QWidget* widget) {
    if (auto* ip = qobject_cast<IpAddressEdit*>(widget)) {
        return ip->Field(0);
    }
    return widget;
}

}  // namespace afx
