#include "framework/qt/ControlReads.h"

#include <QCheckBox>

#include "framework/FormReads.h"
#include "framework/qt/CheckBox.h"
#include "framework/qt/LineEdit.h"
#include "framework/qt/MultiLineEdit.h"
#include "framework/qt/Widgets.h"

namespace afx::control_reads {

void Text(const QWidget* control, CString& text) {
    const std::string* kept = nullptr;
    if (const auto* line = qobject_cast<const LineEdit*>(control)) {
        kept = &line->Utf8Text();
    } else if (const auto* edit = qobject_cast<const MultiLineEdit*>(control)) {
        kept = &edit->WindowsText();
    }
    if (kept != nullptr) {
        text.SetString(kept->data(), static_cast<int>(kept->size()));
    } else {
        ControlChanged();
        text = WidgetText(control).toStdString();
    }
}

UINT Check(const QWidget* control) {
    const auto* box = qobject_cast<const QCheckBox*>(control);
    if (box == nullptr) {
        return 0;
    }
    if (qobject_cast<const AutoCheckBox*>(box) == nullptr) {
        ControlChanged();
    }
    return box->checkState() == Qt::Checked ? 1 : box->checkState() == Qt::PartiallyChecked ? 2 : 0;
}

}  // namespace afx::control_reads
