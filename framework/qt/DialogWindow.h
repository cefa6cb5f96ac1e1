#pragma once
// The top-level window of a running dialog: builds the controls from the template and turns the
// keyboard and the window frame into the dialog's commands.

#include <QPointer>
#include <QWidget>

#include <memory>
#include <utility>
#include <vector>

#include "framework/Menu.h"
#include "framework/Resources.h"

class CDialog;

namespace afx {

class WindowHost;

class DialogWindow : public QWidget {
    Q_OBJECT

public:
    DialogWindow(CDialog* dialog, const DialogTemplate& dialogTemplate, QWidget* owner);
    ~DialogWindow() override;

    // Dialog units to pixels, from the dialog font's average character size.
    QRect ToPixels(short x, short y, short cx, short cy) const;

    CMenu* SystemMenu() { return m_systemMenu.get(); }
    void RevertSystemMenu();
    // Opens the system menu at `where` (global coordinates) and sends the chosen command.
    void ShowSystemMenu(const QPoint& where);
    bool IsPainting() const { return m_painting; }
    // A dialog opens centred over the window that owns it, or on the screen when it has none.
    void CentreOverOwner();
    QWidget* Owner() const { return m_owner; }

    // The dialog's controls by id; the first of several with one id wins.
    void AddControl(WindowHost* control);
    WindowHost* Control(UINT id) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void CreateControl(const DialogItem& item);
    bool HandleKey(QWidget* target, const QKeyEvent* key);

    CDialog* m_dialog;
    QPointer<QWidget> m_owner;  // the window this one opens over, or null
    bool m_minimizeBox;
    bool m_painting = false;
    std::unique_ptr<CMenu> m_systemMenu;
    // The controls by id, in ascending order: the form reads them on every exchange, so a lookup is a
    // few comparisons in one small array.
    std::vector<std::pair<UINT, QPointer<WindowHost>>> m_controls;
    int m_baseX = 6;
    int m_baseY = 13;
};

}  // namespace afx
