#pragma once

#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

#include "framework/AfxTypes.h"
#include "framework/FrameClock.h"

namespace afx {

// The status bar: parts separated at their right edges, each a sunken cell with its own text. Texts
// reach the screen (and assistive technology) at most once a frame, however often they change.
class StatusBar : public QFrame, private FrameClient {
    Q_OBJECT

public:
    explicit StatusBar(QWidget* parent);

    void SetParts(const std::vector<int>& rightEdges);
    std::vector<int> Parts() const { return m_rightEdges; }
    // Texts are UTF-8, kept as they are set and converted only when shown: a count that changes with
    // every chunk received costs a copy of its bytes.
    bool SetText(int part, std::string_view text);
    std::string Text(int part) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Layout();
    void ShowTexts();
    void OnFrame() override { ShowTexts(); }
    std::vector<int> m_rightEdges;
    std::vector<QLabel*> m_cells;
    std::vector<std::string> m_texts;
    QElapsedTimer m_lastShown;
};

}  // namespace afx
