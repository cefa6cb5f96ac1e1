#pragma once
// The widgets behind the dialog controls, with the behaviour of the window system's controls.

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QToolButton>

#include <array>
#include <string>
#include <vector>

#include "framework/AfxTypes.h"
#include "framework/Resources.h"
#include "framework/qt/MultiLineEdit.h"

namespace afx {

class WindowHost;

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

// The IPv4 address control: four fields of 0 to 255; "." or a full field moves to the next one.
class IpAddressEdit : public QFrame {
    Q_OBJECT

public:
    explicit IpAddressEdit(QWidget* parent);

    int Address(std::array<BYTE, 4>* fields) const;  // number of fields that are not blank
    void SetAddress(const std::array<BYTE, 4>& fields);
    void Clear();
    QString DottedText() const;
    QLineEdit* Field(int index) const { return m_fields[static_cast<std::size_t>(index)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLineEdit*, 4> m_fields{};
};

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

// The status bar: parts separated at their right edges, each a sunken cell with its own text. Texts
// reach the screen (and assistive technology) at most once a frame, however often they change.
class StatusBar : public QFrame {
    Q_OBJECT

public:
    explicit StatusBar(QWidget* parent);

    void SetParts(const std::vector<int>& rightEdges);
    std::vector<int> Parts() const { return m_rightEdges; }
    bool SetText(int part, const QString& text);
    QString Text(int part) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Layout();
    void ShowTexts();
    std::vector<int> m_rightEdges;
    std::vector<QLabel*> m_cells;
    std::vector<QString> m_texts;
    QTimer* m_frame;
    QElapsedTimer m_lastShown;
};

// An auto check box: a click toggles between checked and unchecked; the third state (2) is only
// ever set by the program.
class AutoCheckBox : public QCheckBox {
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override;
};

// The editable drop-down combo box. Assistive technology knows it by the label beside it, with its
// text as its value (Qt's own combo box is named by its text on Linux).
class ComboBox : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;
};

// Makes assistive technology use the framework's own descriptions of its controls.
void InstallAccessibility();

// The host of the control `widget` belongs to (its own, or that of a control it is part of).
WindowHost* ControlHost(const QWidget* widget);

QString WidgetText(const QWidget* widget);
std::string WidgetTextUtf8(const QWidget* widget);
void SetWidgetText(QWidget* widget, const std::string& text);
int CheckState(const QWidget* widget);
void SetCheckState(QWidget* widget, int state);
// The widget that takes the keyboard focus for a control.
QWidget* FocusTarget(QWidget* widget);

}  // namespace afx
