// SPDX-License-Identifier: MIT
#include "UpDown.h"

#include "NumberText.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

namespace {

QToolButton* CreateArrowButton(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    // Held down, an arrow keeps stepping.
    button->setAutoRepeat(true);
    return button;
}

} // namespace

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), FUpButton(CreateArrowButton(this, Qt::UpArrow)),
      FDownButton(CreateArrowButton(this, Qt::DownArrow)) {
    setFocusPolicy(Qt::NoFocus);
    // The step comes with the press, as with the platform's own spin controls.
    connect(FUpButton, &QToolButton::pressed, this, [this] { Click(btNext); });
    connect(FDownButton, &QToolButton::pressed, this, [this] { Click(btPrev); });
}

TUpDown::~TUpDown() {
    if (FAssociate != nullptr) {
        FAssociate->removeEventFilter(this);
    }
}

void TUpDown::SetAssociate(QLineEdit* buddy) {
    if (FAssociate != nullptr) {
        FAssociate->removeEventFilter(this);
    }
    FAssociate = buddy;
    if (FAssociate != nullptr) {
        FAssociate->installEventFilter(this);
        ShowInBuddy(false);
    }
}

void TUpDown::SetMin(int value) {
    FMin = value;
    FCurrent = Limited(FCurrent);
}

void TUpDown::SetMax(int value) {
    FMax = value;
    FCurrent = Limited(FCurrent);
}

int TUpDown::Limited(long long value) const {
    const int low = std::min(FMin, FMax);
    const int high = std::max(FMin, FMax);
    return static_cast<int>(std::clamp<long long>(value, low, high));
}

int TUpDown::Position() {
    if (FAssociate != nullptr) {
        if (const auto shown = ParseInteger(FAssociate->text().toStdString())) {
            FCurrent = Limited(*shown);
        }
    }
    FPosition = FCurrent;
    return FCurrent;
}

void TUpDown::SetPosition(int value) {
    // The value is compared as it is given and limited only when it is taken: setting a
    // position beyond the limit that the control already stands at still announces a change
    // and writes the limit into the buddy, whose owner then hears the position again.
    if (value == FPosition) {
        return;
    }
    FPosition = value;
    ChangeTo(Limited(value));
}

void TUpDown::Click(TUDBtnType button) {
    const int current = Position();
    const long long step = button == btNext ? FIncrement : -static_cast<long long>(FIncrement);
    long long target = current + step;
    if (target > std::max(FMin, FMax)) {
        target = FWrap ? std::min(FMin, FMax) : std::max(FMin, FMax);
    } else if (target < std::min(FMin, FMax)) {
        target = FWrap ? std::max(FMin, FMax) : std::min(FMin, FMax);
    }
    if (target == current) {
        return;
    }
    ChangeTo(static_cast<int>(target));
}

void TUpDown::ChangeTo(int value) {
    bool allowChange = true;
    if (OnChanging) {
        OnChanging(this, allowChange);
    }
    if (!allowChange) {
        return;
    }
    FCurrent = value;
    ShowInBuddy(true);
}

void TUpDown::ShowInBuddy(bool reportUnchanged) {
    if (FAssociate == nullptr) {
        return;
    }
    const QString text = QString::number(FCurrent);
    if (FAssociate->text() != text) {
        FAssociate->setText(text);
    } else if (reportUnchanged) {
        // An edit reports every write of its text, equal or not; a line edit reports only
        // a different text, so the report of an equal one is made here.
        Q_EMIT FAssociate->textChanged(text);
    }
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    // The type comes first: a buddy being destroyed still passes its last events through
    // here, and must not be looked at as an edit any more.
    if (event->type() == QEvent::KeyPress && watched == FAssociate) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Click(key == Qt::Key_Up ? btNext : btPrev);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TUpDown::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int upHeight = height() / 2;
    FUpButton->setGeometry(0, 0, width(), upHeight);
    FDownButton->setGeometry(0, upHeight, width(), height() - upHeight);
}
