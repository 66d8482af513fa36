// SPDX-License-Identifier: MIT
#include "MainWindow.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Desktops match the program's windows with its desktop entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(KORVATEL_APP_ID));
    TForm1 window;
    // The program's other windows, its message boxes among them, show the same icon.
    QApplication::setWindowIcon(window.windowIcon());
    window.show();
    return application.exec();
}
