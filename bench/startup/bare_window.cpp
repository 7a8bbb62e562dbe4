// SPDX-License-Identifier: MIT
// The yardstick for the game's start-up: the least a Qt program with the
// same window needs, a menu with a Chinese title over a fixed 308 x 348
// client area, reporting its first paint the way the game does.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QWidget>

#include "CStartupProbe.h"
#include "Texts.h"

namespace {

class CBareClient : public QWidget {
public:
    CBareClient() { setFixedSize(308, 348); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), QColor(0xF0, 0xF0, 0xF0));
        CStartupProbe::OnPainted();
    }
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Bare");
    QMenu* pMenu = window.menuBar()->addMenu(QString::fromUtf8(TXT_MENU_GAME));
    QObject::connect(pMenu->addAction(QString::fromUtf8(TXT_MENU_APP_EXIT)), &QAction::triggered,
                     &window, &QWidget::close);
    window.setCentralWidget(new CBareClient);
    window.show();
    return application.exec();
}
