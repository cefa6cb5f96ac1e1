#pragma once
// The editable drop-down combo box. Qt only: on Windows it is the system's own.

#include <QComboBox>

#include "framework/AfxTypes.h"

namespace afx {

// The editable drop-down combo box. Assistive technology knows it by the label beside it, with its
// text as its value (Qt's own combo box is named by its text on Linux).
class ComboBox : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;
};

}  // namespace afx
