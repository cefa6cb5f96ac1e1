#include <QAccessible>
#include <QAccessibleWidget>

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

QAccessibleInterface* Describe(const QString& className, QObject* object) {
    if (className == QLatin1String(ComboBox::staticMetaObject.className()) && object->isWidgetType()) {
        return new AccessibleComboBox(static_cast<QWidget*>(object));
    }
    return nullptr;
}

}  // namespace

void InstallAccessibility() { QAccessible::installFactory(Describe); }

}  // namespace afx
