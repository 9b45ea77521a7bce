// The yardstick for the application's start-up: a minimal Qt window with a
// menu bar and a status bar, ending as soon as it is shown.

#include "benchmarks/startup/ExitWhenShown.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->addAction(QStringLiteral("終了(&X)"));
    window.menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"))->addAction(QStringLiteral("バージョン情報(&A)"));
    window.statusBar()->showMessage(QStringLiteral("準備完了"));
    window.resize(400, 300);
    const ralvo::bench::ExitWhenShown exitWhenShown(window);
    window.show();
    return application.exec();
}
