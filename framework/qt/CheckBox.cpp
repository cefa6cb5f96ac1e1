#include "framework/qt/CheckBox.h"

#include "framework/FormReads.h"

namespace afx {

AutoCheckBox::AutoCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
    connect(this, &QCheckBox::stateChanged, this, [] { ControlChanged(); });
}

void AutoCheckBox::nextCheckState() { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }

}  // namespace afx
