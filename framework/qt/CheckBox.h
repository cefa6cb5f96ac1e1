#pragma once
// The auto check box. Qt only, like each widget here: on Windows the system's own controls are
// the controls, reached by their messages.

#include <QCheckBox>

#include "framework/AfxTypes.h"

namespace afx {

// An auto check box: a click toggles between checked and unchecked; the third state (2) is only
// ever set by the program.
class AutoCheckBox : public QCheckBox {
    Q_OBJECT

public:
    AutoCheckBox(const QString& text, QWidget* parent);

protected:
    void nextCheckState() override;
};

}  // namespace afx
