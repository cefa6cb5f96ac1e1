#pragma once

#include <QLineEdit>

#include "framework/AfxTypes.h"

namespace afx {

// A single-line edit. With ES_NUMBER only digits can be typed; without ES_AUTOHSCROLL typing stops
// when the text fills the box.
class LineEdit : public QLineEdit {
    Q_OBJECT

public:
    LineEdit(DWORD style, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool Fits(const QString& text) const;
    DWORD m_style;
};

}  // namespace afx
