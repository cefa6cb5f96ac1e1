// How assistive technology sees the framework's controls. Each description acts as the control
// does for the user: a button's action clicks it, so a screen reader's "activate" runs the same
// handler as a mouse click or Space; the dialogs are dialogs; the up-down control is a spin button
// with a value; the address control reads as its address; the edit boxes read as their text
// (AccessibleEdit). An action answers at once and acts from the event loop, as the toolkit's own
// buttons do: a handler that opens a message box never keeps the screen reader waiting for it.
// Twin: framework/win32/Accessibility.cpp.

#include "framework/qt/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "framework/ControlLabels.h"
#include "framework/qt/AccessibleEdit.h"
#include "framework/qt/DialogWindow.h"
#include "framework/qt/LineEdit.h"
#include "framework/qt/Widgets.h"

namespace afx {
namespace {

class AccessibleComboBox : public QAccessibleWidget {
public:
    explicit AccessibleComboBox(QWidget* widget) : QAccessibleWidget(widget, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        const auto* combo = static_cast<const QComboBox*>(widget());
        switch (kind) {
            case QAccessible::Name: return combo->accessibleName();
            case QAccessible::Value: return combo->currentText();
            default: return QAccessibleWidget::text(kind);
        }
    }
};

// A push button or check box whose one action clicks it, as the mouse does: the click notifies the
// dialog. (Qt's own toggles a check box without a click, so no handler would run.)
class AccessibleButton : public QAccessibleWidget {
public:
    explicit AccessibleButton(QAbstractButton* button)
        : QAccessibleWidget(button, button->isCheckable() ? QAccessible::CheckBox : QAccessible::Button) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return Button()->text().remove(QLatin1Char('&'));
        }
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (Button()->isCheckable()) {
            state.checkable = true;
            state.checked = Button()->isChecked();
        }
        state.pressed = Button()->isDown();
        return state;
    }

    QStringList actionNames() const override { return QStringList{Action()} + QAccessibleWidget::actionNames(); }

    void doAction(const QString& name) override {
        if (name != pressAction() && name != toggleAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        // A window a modal box has disabled takes no action, then or when the click would come.
        if (widget()->isEnabled()) {
            QAbstractButton* button = Button();
            QMetaObject::invokeMethod(
                button,
                [button] {
                    if (button->isEnabled()) {
                        button->click();
                    }
                },
                Qt::QueuedConnection);
        }
    }

    QStringList keyBindingsForAction(const QString& /*name*/) const override { return {}; }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
    QString Action() const { return Button()->isCheckable() ? toggleAction() : pressAction(); }
};

// The up-down control: a spin button whose value is its position.
class AccessibleUpDown : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleUpDown(UpDown* upDown) : QAccessibleWidget(upDown, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) {
            return QString::number(Control()->Position());
        }
        return QAccessibleWidget::text(kind);
    }

    QVariant currentValue() const override { return Control()->Position(); }
    void setCurrentValue(const QVariant& value) override {
        if (widget()->isEnabled()) {
            Control()->SetPosition(value.toInt());
        }
    }
    QVariant maximumValue() const override {
        int lower = 0;
        int upper = 0;
        Control()->Range(&lower, &upper);
        return std::max(lower, upper);
    }
    QVariant minimumValue() const override {
        int lower = 0;
        int upper = 0;
        Control()->Range(&lower, &upper);
        return std::min(lower, upper);
    }
    QVariant minimumStepSize() const override { return 1; }

private:
    UpDown* Control() const { return static_cast<UpDown*>(widget()); }
};

// The address control: an edit whose text and value are the dotted address.
class AccessibleIpAddress : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleIpAddress(IpAddressEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) {
            return Address();
        }
        return QAccessibleWidget::text(kind);
    }

    QString text(int startOffset, int endOffset) const override {
        return Address().mid(startOffset, endOffset < 0 ? -1 : endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Address().size()); }
    void selection(int /*selectionIndex*/, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
    void removeSelection(int /*selectionIndex*/) override {}
    void setSelection(int /*selectionIndex*/, int /*startOffset*/, int /*endOffset*/) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override {}
    QRect characterRect(int /*offset*/) const override { return {}; }
    int offsetAtPoint(const QPoint& /*point*/) const override { return -1; }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = offset;
        *endOffset = offset;
        return {};
    }

private:
    QString Address() const { return static_cast<const IpAddressEdit*>(widget())->DottedText(); }
};

QAccessibleInterface* Describe(const QString& className, QObject* object) {
    if (!object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String(ComboBox::staticMetaObject.className())) {
        return new AccessibleComboBox(widget);
    }
    if (className == QLatin1String(AutoCheckBox::staticMetaObject.className()) ||
        className == QLatin1String(QPushButton::staticMetaObject.className())) {
        return new AccessibleButton(static_cast<QAbstractButton*>(widget));
    }
    if (className == QLatin1String(UpDown::staticMetaObject.className())) {
        return new AccessibleUpDown(static_cast<UpDown*>(widget));
    }
    if (className == QLatin1String(IpAddressEdit::staticMetaObject.className())) {
        return new AccessibleIpAddress(static_cast<IpAddressEdit*>(widget));
    }
    if (className == QLatin1String(LineEdit::staticMetaObject.className())) {
        return DescribeEdit(static_cast<LineEdit*>(widget));
    }
    if (className == QLatin1String(MultiLineEdit::staticMetaObject.className())) {
        return DescribeEdit(static_cast<MultiLineEdit*>(widget));
    }
    if (className == QLatin1String(DialogWindow::staticMetaObject.className())) {
        return new QAccessibleWidget(widget, QAccessible::Dialog);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibility() { QAccessible::installFactory(Describe); }

// Each control named by its label (ControlLabels.h) takes the label's text as its name.
void NameControlsForAssistiveTechnology(QWidget* dialog, std::span<const DialogItem> items) {
    const QList<QWidget*> widgets = dialog->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
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
    for (UpDown* upDown : dialog->findChildren<UpDown*>(QString(), Qt::FindDirectChildrenOnly)) {
        upDown->setAccessibleName(upDown->Buddy() != nullptr ? upDown->Buddy()->accessibleName()
                                                             : upDown->property("afxText").toString());
    }
}

}  // namespace afx
