#include "console/ConsoleDlg.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "app/AboutDlg.h"
#include "framework/Menu.h"
#include "tests/console/ConsoleFixture.h"
#include "tests/support/qt/Widgets.h"

namespace {

using test::Status;

// Runs `act` on the next window that opens over `under` (a modal box or a popup menu), once; gives
// up after three seconds.
void WhenAWindowOpensOver(QWidget* under, const std::function<void(QWidget*)>& act) {
    auto* poll = new QTimer;
    auto* deadline = new QElapsedTimer;
    deadline->start();
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, under, act] {
        QWidget* top = QApplication::activePopupWidget();
        if (top == nullptr) {
            top = QApplication::activeModalWidget();
        }
        const bool opened = top != nullptr && top != under && top->isVisible();
        if (opened || deadline->elapsed() > 3000) {
            poll->stop();
            poll->deleteLater();
            delete deadline;
        }
        if (opened) {
            act(top);
        }
    });
    poll->start(5);
}

class ChromeTest : public test::ConsoleFixture {};

TEST_F(ChromeTest, AltSpaceOpensTheSystemMenuWhoseAboutItemOpensTheAboutBox) {
    CConsoleDlg dialog;
    std::string aboutTitle;
    std::vector<std::string> aboutTexts;
    Run(dialog, [&] {
        QWidget* console = test::Widget(dialog);
        WhenAWindowOpensOver(console, [&](QWidget* popup) {
            auto* menu = qobject_cast<QMenu*>(popup);
            ASSERT_NE(menu, nullptr);
            QAction* about = menu->actions().last();
            EXPECT_EQ(about->text().toStdString(), "关于 Quenzo(&A)...");
            WhenAWindowOpensOver(console, [&](QWidget* box) {
                aboutTitle = box->windowTitle().toStdString();
                for (QLabel* label : box->findChildren<QLabel*>()) {
                    aboutTexts.push_back(label->text().toStdString());
                }
                box->close();
            });
            menu->setActiveAction(about);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(menu, &enter);
        });
        test::PressKey(Qt::Key_Space, Qt::AltModifier);
        EXPECT_EQ(Status(dialog), "READY");
        EXPECT_TRUE(console->isVisible()) << "closing the About box must leave the console open";
    });
    EXPECT_EQ(aboutTitle, "About Quenzo");
    EXPECT_NE(std::find(aboutTexts.begin(), aboutTexts.end(), "Quenzo Version 3.1"), aboutTexts.end());
}

TEST(MinimizedIcon, IsCentredWithIntegerDivisionTowardZero) {
    EXPECT_EQ(MinimizedIconPosition(RECT{0, 0, 36, 36}, 32, 32).x, 2);
    EXPECT_EQ(MinimizedIconPosition(RECT{0, 0, 35, 36}, 32, 32).x, 2);
    EXPECT_EQ(MinimizedIconPosition(RECT{0, 0, 0, 0}, 32, 32).x, -15);
    EXPECT_EQ(MinimizedIconPosition(RECT{0, 0, 0, 0}, 32, 32).y, -15);
}

}  // namespace
