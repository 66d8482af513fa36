// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QTest>
#include <QWidget>

// Types the text into the widget key by key, as a keyboard would. QtTest's own typing knows
// only ASCII keys; any other character arrives as a key press that carries the character as
// its text, which is how a keyboard layout or an input method delivers it.
inline void TypeText(QWidget* widget, const QString& text) {
    for (const QChar character : text) {
        if (character.unicode() < 128 && character.isPrint()) {
            QTest::keyClick(widget, character.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(widget, &release);
    }
}

