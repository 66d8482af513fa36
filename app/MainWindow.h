#pragma once

#include <QWidget>

// The program's one window.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
};
