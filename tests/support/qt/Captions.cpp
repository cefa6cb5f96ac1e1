// The room a Qt widget gives its caption: a label its contents; a push button or a check box the
// contents rectangle its style draws the text in. Hidden widgets show nothing and are left out.
#include "tests/support/Captions.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "framework/qt/WindowHost.h"

namespace test {

std::vector<Caption> CaptionsOf(void* dialog) {
    std::vector<Caption> captions;
    afx::WindowHost* host = afx::WindowHost::FromHandle(static_cast<HWND>(dialog));
    if (host == nullptr || host->Widget() == nullptr) {
        return captions;
    }
    for (QWidget* widget : host->Widget()->findChildren<QWidget*>()) {
        if (!widget->isVisible()) {
            continue;
        }
        QString text;
        int room = 0;
        if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr && label->pixmap().isNull()) {
            text = label->text();
            room = label->contentsRect().width();
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            text = button->text();
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text;
            const bool box = qobject_cast<QCheckBox*>(button) != nullptr;
            room =
                button->style()
                    ->subElementRect(box ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, button)
                    .width();
        }
        if (!text.isEmpty()) {
            captions.push_back({text.toStdString(), widget->fontMetrics().horizontalAdvance(text), room});
        }
    }
    return captions;
}

}  // namespace test
