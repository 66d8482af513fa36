// SPDX-License-Identifier: MIT
#include "LabeledEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace {

constexpr char16_t EnterKey = 13;

char16_t KeyCharacter(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) {
        return EnterKey;
    }
    const QString text = event.text();
    return text.isEmpty() ? char16_t{0} : text.front().unicode();
}

} // namespace

TLabeledEdit::TLabeledEdit(QWidget* parent) : QLineEdit(parent) {}

void TLabeledEdit::SetEditLabel(QLabel* label) {
    if (FEditLabel != nullptr && FEditLabel->buddy() == this) {
        FEditLabel->setBuddy(nullptr);
    }
    FEditLabel = label;
    if (FEditLabel != nullptr) {
        // The caption names the field for assistive technology, which finds a field's name
        // in the label whose buddy it is.
        FEditLabel->setBuddy(this);
        // The caption sizes itself to its text, as an auto-sized label does: the stored width
        // was measured with the design font, and a wider face must not clip the caption.
        const int textWidth = FEditLabel->sizeHint().width();
        if (textWidth > FEditLabel->width()) {
            FEditLabel->resize(textWidth, FEditLabel->height());
        }
    }
    PlaceEditLabel();
}

void TLabeledEdit::SetLabelPosition(TLabelPosition value) {
    FLabelPosition = value;
    PlaceEditLabel();
}

void TLabeledEdit::SetLabelSpacing(int value) {
    FLabelSpacing = value;
    PlaceEditLabel();
}

void TLabeledEdit::PlaceEditLabel() {
    if (FEditLabel == nullptr) {
        return;
    }
    const QRect edit = geometry();
    const QSize label = FEditLabel->size();
    const int middle = edit.y() + (edit.height() - label.height()) / 2;
    switch (FLabelPosition) {
    case lpAbove:
        FEditLabel->move(edit.x(), edit.y() - label.height() - FLabelSpacing);
        break;
    case lpBelow:
        FEditLabel->move(edit.x(), edit.y() + edit.height() + FLabelSpacing);
        break;
    case lpLeft:
        FEditLabel->move(edit.x() - label.width() - FLabelSpacing, middle);
        break;
    case lpRight:
        FEditLabel->move(edit.x() + edit.width() + FLabelSpacing, middle);
        break;
    }
}

void TLabeledEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    FEntered = true;
}

void TLabeledEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The window losing the focus to another window (a message box, another program) or to a
    // popup menu leaves the field the window's focused control: it has not been left.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) {
        return;
    }
    if (!FEntered) {
        return;
    }
    FEntered = false;
    if (OnExit) {
        OnExit(this);
    }
}

void TLabeledEdit::keyPressEvent(QKeyEvent* event) {
    char16_t key = KeyCharacter(*event);
    if (key != 0 && OnKeyPress) {
        OnKeyPress(this, key);
        if (key == 0) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TLabeledEdit::ForgetUndoHistory() {
    if (!isUndoAvailable() && !isRedoAvailable()) {
        return;
    }
    const int cursor = cursorPosition();
    const int selectionStart = hasSelectedText() ? this->selectionStart() : -1;
    const int selectionLength = static_cast<int>(selectedText().size());
    {
        // Setting the text clears the record; the text itself does not change, so nobody
        // needs to hear of it.
        const QSignalBlocker blocker(this);
        setText(text());
    }
    if (selectionStart < 0) {
        setCursorPosition(cursor);
    } else if (cursor == selectionStart) {
        setSelection(selectionStart + selectionLength, -selectionLength);
    } else {
        setSelection(selectionStart, selectionLength);
    }
}

void TLabeledEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        OnClick) {
        OnClick(this);
    }
}

void TLabeledEdit::moveEvent(QMoveEvent* event) {
    QLineEdit::moveEvent(event);
    PlaceEditLabel();
}

void TLabeledEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    PlaceEditLabel();
}
