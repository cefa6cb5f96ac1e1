#include "framework/qt/Widgets.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

#include "framework/qt/Typing.h"
#include "framework/qt/WindowHost.h"

namespace afx {

LineEdit::LineEdit(DWORD style, QWidget* parent) : QLineEdit(parent), m_style(style) {}

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

namespace {
// How often status bar texts reach the screen: once a frame.
constexpr int kFrameMs = 16;
}  // namespace

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

void IpAddressEdit::Clear() {
    for (QLineEdit* field : m_fields) {
        field->clear();
    }
}

QString IpAddressEdit::DottedText() const {
    std::array<BYTE, 4> fields{};
    Address(&fields);
    return QStringLiteral("%1.%2.%3.%4").arg(fields[0]).arg(fields[1]).arg(fields[2]).arg(fields[3]);
}

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

StatusBar::StatusBar(QWidget* parent) : QFrame(parent), m_frame(new QTimer(this)) {
    setAccessibleName(QStringLiteral("status"));
    m_frame->setSingleShot(true);
    connect(m_frame, &QTimer::timeout, this, [this] { ShowTexts(); });
    m_lastShown.start();
    SetParts({-1});
}

void StatusBar::SetParts(const std::vector<int>& rightEdges) {
    m_rightEdges = rightEdges;
    m_texts.resize(rightEdges.size());
    while (m_cells.size() > rightEdges.size()) {
        delete m_cells.back();
        m_cells.pop_back();
    }
    while (m_cells.size() < rightEdges.size()) {
        auto* cell = new QLabel(this);
        cell->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        cell->setTextFormat(Qt::PlainText);
        cell->setContentsMargins(2, 0, 2, 0);
        cell->show();
        m_cells.push_back(cell);
    }
    Layout();
    ShowTexts();
}

void StatusBar::Layout() {
    int left = 0;
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        const int right = m_rightEdges[i] < 0 ? width() : std::min(m_rightEdges[i], width());
        m_cells[i]->setGeometry(left, 0, std::max(right - left - 2, 0), height());
        left = right;
    }
}

void StatusBar::resizeEvent(QResizeEvent* /*event*/) { Layout(); }

bool StatusBar::SetText(int part, const QString& text) {
    if (part < 0 || static_cast<std::size_t>(part) >= m_texts.size()) {
        return false;
    }
    m_texts[static_cast<std::size_t>(part)] = text;
    // At once after a quiet frame; under a stream of changes, once a frame.
    if (!m_frame->isActive()) {
        const qint64 since = m_lastShown.elapsed();
        m_frame->start(since >= kFrameMs ? 0 : static_cast<int>(kFrameMs - since));
    }
    return true;
}

void StatusBar::ShowTexts() {
    m_lastShown.restart();
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        if (m_cells[i]->text() != m_texts[i]) {
            m_cells[i]->setText(m_texts[i]);
            m_cells[i]->setAccessibleName(m_texts[i]);
        }
    }
}

QString StatusBar::Text(int part) const {
    return part >= 0 && static_cast<std::size_t>(part) < m_texts.size() ? m_texts[static_cast<std::size_t>(part)]
                                                                        : QString();
}

void AutoCheckBox::nextCheckState() { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }

WindowHost* ControlHost(const QWidget* widget) { return WindowHost::FromWidget(widget); }

QString WidgetText(const QWidget* widget) {
    if (const auto* edit = qobject_cast<const MultiLineEdit*>(widget)) {
        return QString::fromStdString(edit->WindowsText());
    }
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) {
        return line->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
        return combo->currentText();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
        return button->text();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) {
        return group->title();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* ip = qobject_cast<const IpAddressEdit*>(widget)) {
        return ip->DottedText();
    }
    if (const auto* bar = qobject_cast<const StatusBar*>(widget)) {
        return bar->Text(0);
    }
    if (widget->isWindow()) {
        return widget->windowTitle();
    }
    return widget->property("afxText").toString();
}

std::string WidgetTextUtf8(const QWidget* widget) {
    if (const auto* edit = qobject_cast<const MultiLineEdit*>(widget)) {
        return edit->WindowsText();
    }
    return WidgetText(widget).toStdString();
}

void SetWidgetText(QWidget* widget, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (auto* edit = qobject_cast<MultiLineEdit*>(widget)) {
        edit->SetWindowsText(text);
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        line->setText(value);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        combo->setEditText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(value);
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(value);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(value);
    } else if (auto* bar = qobject_cast<StatusBar*>(widget)) {
        bar->SetText(0, value);
    } else if (widget->isWindow()) {
        widget->setWindowTitle(value);
    } else {
        widget->setProperty("afxText", value);
    }
}

int CheckState(const QWidget* widget) {
    if (const auto* box = qobject_cast<const QCheckBox*>(widget)) {
        return box->checkState() == Qt::Checked ? 1 : box->checkState() == Qt::PartiallyChecked ? 2 : 0;
    }
    return 0;
}

void SetCheckState(QWidget* widget, int state) {
    if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        if (state == 2) {
            box->setTristate(true);
        }
        box->setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    }
}

QWidget* FocusTarget(QWidget* widget) {
    if (auto* ip = qobject_cast<IpAddressEdit*>(widget)) {
        return ip->Field(0);
    }
    return widget;
}

}  // namespace afx
