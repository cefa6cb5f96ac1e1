// The IPv4 address control (IpAddressEdit.h). Qt only.
#include "framework/qt/IpAddressEdit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace afx {

IpAddressEdit::IpAddressEdit(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(0);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        auto* field = new QLineEdit(this);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(3);
        field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), field));
        field->installEventFilter(this);
        field->setAccessibleName(QStringLiteral("field %1").arg(i + 1));
        m_fields[i] = field;
        layout->addWidget(field, 1);
        if (i + 1 < m_fields.size()) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setAccessibleName(QString());
            layout->addWidget(dot);
        }
        connect(field, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            if (text.toInt() > 255) {
                m_fields[i]->setText(QStringLiteral("255"));
            }
            if (m_fields[i]->text().size() == 3 && i + 1 < m_fields.size()) {
                m_fields[i + 1]->setFocus(Qt::TabFocusReason);
                m_fields[i + 1]->selectAll();
            }
        });
    }
    setFocusProxy(m_fields[0]);
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto index =
        static_cast<std::size_t>(std::find(m_fields.begin(), m_fields.end(), watched) - m_fields.begin());
    if (index >= m_fields.size()) {
        return false;
    }
    if (key->text() == QStringLiteral(".") || key->key() == Qt::Key_Space) {
        // A dot ends the field typed into. In a field just entered (empty, or all of it selected,
        // as after a full field moved on by itself) it ends nothing, so "127.0.0.1" types as it reads.
        QLineEdit* field = m_fields[index];
        const bool typedInto = !field->text().isEmpty() && field->selectedText() != field->text();
        if (typedInto && index + 1 < m_fields.size()) {
            m_fields[index + 1]->setFocus(Qt::TabFocusReason);
            m_fields[index + 1]->selectAll();
        }
        return true;
    }
    if (key->key() == Qt::Key_Backspace && m_fields[index]->cursorPosition() == 0 && index > 0 &&
        !m_fields[index]->hasSelectedText()) {
        m_fields[index - 1]->setFocus(Qt::BacktabFocusReason);
        m_fields[index - 1]->end(false);
        return true;
    }
    return false;
}

int IpAddressEdit::Address(std::array<BYTE, 4>* fields) const {
    int filled = 0;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const QString text = m_fields[i]->text();
        (*fields)[i] = static_cast<BYTE>(std::min(text.toInt(), 255));
        filled += text.isEmpty() ? 0 : 1;
    }
    return filled;
}

void IpAddressEdit::SetAddress(const std::array<BYTE, 4>& fields) {
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        m_fields[i]->setText(QString::number(fields[i]));
    }
}

QString IpAddressEdit::DottedText() const {
    std::array<BYTE, 4> fields{};
    Address(&fields);
    return QStringLiteral("%1.%2.%3.%4").arg(fields[0]).arg(fields[1]).arg(fields[2]).arg(fields[3]);
}

}  // namespace afx
