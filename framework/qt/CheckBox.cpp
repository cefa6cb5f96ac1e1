#include "framework/qt/CheckBox.h"

namespace afx {

void AutoCheckBox::nextCheckState() { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }

}  // namespace afx
