// The single-line edit control (LineEdit.h). Qt only.
#include "framework/qt/LineEdit.h"

#include <QApplication>
#include <QKeyEvent>

#include <algorithm>

#include "framework/qt/ControlReads.h"
#include "framework/Resources.h"
#include "framework/qt/Typing.h"

namespace afx {

LineEdit::LineEdit(DWORD style, QWidget* parent) : QLineEdit(parent), m_style(style) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        m_utf8Valid = false;
        control_reads::Changed(this);
    });
}

const std::string& LineEdit::Utf8Text() const {
    if (!m_utf8Valid) {
        m_utf8 = text().toStdString();
        m_utf8Valid = true;
    }
    return m_utf8;
}

bool LineEdit::Fits(const QString& text) const {
    const int room = contentsRect().width() - textMargins().left() - textMargins().right() - 4;
    return fontMetrics().horizontalAdvance(text) <= room;
}

void LineEdit::keyPressEvent(QKeyEvent* event) {
    if (IsTyping(event)) {
        const QString typed = event->text();
        const bool digitsOnly = (m_style & ES_NUMBER) != 0;
        if (digitsOnly && std::any_of(typed.begin(), typed.end(), [](QChar c) { return !c.isDigit(); })) {
            QApplication::beep();
            return;
        }
        if ((m_style & ES_AUTOHSCROLL) == 0) {
            QString after = text();
            const int start = hasSelectedText() ? selectionStart() : cursorPosition();
            after.replace(start, static_cast<int>(selectedText().size()), typed);
            if (!Fits(after)) {
                QApplication::beep();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace afx
