#include "framework/qt/StatusBar.h"

namespace afx {

StatusBar::StatusBar(QWidget* parent) : QFrame(parent) {
    setAccessibleName(QStringLiteral("status"));
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

bool StatusBar::SetText(int part, std::string_view text) {
    if (part < 0 || static_cast<std::size_t>(part) >= m_texts.size()) {
        return false;
    }
    m_texts[static_cast<std::size_t>(part)] = text;
    // At once after a quiet frame; under a stream of changes, once a frame.
    if (!CallWaiting()) {
        const qint64 since = m_lastShown.elapsed();
        CallIn(since >= kFrameMs ? 0 : kFrameMs - since);
    }
    return true;
}

void StatusBar::ShowTexts() {
    m_lastShown.restart();
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        const QString text = QString::fromStdString(m_texts[i]);
        if (m_cells[i]->text() != text) {
            m_cells[i]->setText(text);
            m_cells[i]->setAccessibleName(text);
        }
    }
}

std::string StatusBar::Text(int part) const {
    return part >= 0 && static_cast<std::size_t>(part) < m_texts.size() ? m_texts[static_cast<std::size_t>(part)]
                                                                        : std::string();
}

}  // namespace afx
