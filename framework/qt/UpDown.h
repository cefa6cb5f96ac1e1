#pragma once
// The up-down control. Qt only: on Windows it is the system's own (the common controls').

#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

#include "framework/AfxTypes.h"

namespace afx {

// The up-down control: two arrow buttons that step the number in its buddy edit.
class UpDown : public QWidget {
    Q_OBJECT

public:
    UpDown(DWORD style, QWidget* parent);

    void SetBuddy(QLineEdit* buddy);
    QLineEdit* Buddy() const { return m_buddy; }
    void SetRange(int lower, int upper);
    void Range(int* lower, int* upper) const;
    int SetPosition(int position);
    int Position() const;
    void Step(int delta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    DWORD m_style;
    QPointer<QLineEdit> m_buddy;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_lower = 0;
    int m_upper = 100;
    int m_position = 0;
};

}  // namespace afx
