// The up-down control (UpDown.h). Qt only.
#include "framework/qt/UpDown.h"

#include <QKeyEvent>

#include <algorithm>

#include "framework/Resources.h"

namespace afx {

UpDown::UpDown(DWORD style, QWidget* parent)
    : QWidget(parent), m_style(style), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIconSize(QSize(6, 6));
    }
    m_up->setAccessibleName(QStringLiteral("up"));
    m_down->setAccessibleName(QStringLiteral("down"));
    connect(m_up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDown::resizeEvent(QResizeEvent* /*event*/) {
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

void UpDown::SetBuddy(QLineEdit* buddy) {
    m_buddy = buddy;
    if ((m_style & UDS_ARROWKEYS) != 0) {
        buddy->installEventFilter(this);
    }
    if ((m_style & UDS_ALIGNRIGHT) != 0) {
        // The control moves inside the buddy's right edge, which gives up that much width.
        const QRect area = buddy->geometry();
        setGeometry(area.right() - width() + 1, area.top(), width(), area.height());
        buddy->resize(area.width() - width(), area.height());
    }
}

void UpDown::SetRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
}

void UpDown::Range(int* lower, int* upper) const {
    *lower = m_lower;
    *upper = m_upper;
}

int UpDown::SetPosition(int position) {
    const int previous = m_position;
    m_position = std::clamp(position, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
    if (m_buddy != nullptr && (m_style & UDS_SETBUDDYINT) != 0) {
        m_buddy->setText(QString::number(m_position));
    }
    return previous;
}

int UpDown::Position() const {
    if (m_buddy != nullptr && (m_style & UDS_SETBUDDYINT) != 0) {
        bool ok = false;
        const int value = m_buddy->text().trimmed().toInt(&ok);
        if (ok) {
            return value;
        }
    }
    return m_position;
}

void UpDown::Step(int delta) {
    const int direction = m_lower <= m_upper ? delta : -delta;
    // Stepped in 64 bits: a buddy holding the largest or smallest int steps into the range, not
    // around it.
    const qint64 stepped = static_cast<qint64>(Position()) + direction;
    SetPosition(static_cast<int>(std::clamp<qint64>(stepped, std::min(m_lower, m_upper), std::max(m_lower, m_upper))));
    if (m_buddy != nullptr) {
        m_buddy->selectAll();
    }
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    // The event type is looked at first: a buddy being destroyed still passes its last events here.
    if (event->type() == QEvent::KeyPress && isEnabled() && watched == m_buddy) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return false;
}

}  // namespace afx
