#pragma once
// The single-line edit control. Qt only: on Windows it is the system's own.

#include <QLineEdit>

#include <string>

#include "framework/AfxTypes.h"

namespace afx {

// A single-line edit. With ES_NUMBER only digits can be typed; without ES_AUTOHSCROLL typing stops
// when the text fills the box.
class LineEdit : public QLineEdit {
    Q_OBJECT

public:
    LineEdit(DWORD style, QWidget* parent);

    // The text in UTF-8, kept from one read to the next until the text changes (by typing, by the
    // program or from outside): the form is read for every chunk of data that arrives.
    const std::string& Utf8Text() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool Fits(const QString& text) const;
    DWORD m_style;
    mutable std::string m_utf8;
    mutable bool m_utf8Valid = false;
};

}  // namespace afx
