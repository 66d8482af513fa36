#include "MainWindow.h"

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Korvatel"));
    resize(1055, 674);
}
