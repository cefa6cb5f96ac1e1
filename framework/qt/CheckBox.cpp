// The auto check box (CheckBox.h). Qt only.
#include "framework/qt/CheckBox.h"

#include "framework/qt/ControlReads.h"

namespace afx {

AutoCheckBox::AutoCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
    connect(this, &QCheckBox::stateChanged, this, [this] { control_reads::Changed(this); });
}

void AutoCheckBox::nextCheckState() { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }

}  // namespace afx
