// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <cstdint>
#include <functional>

// Where the caption label of a labelled edit stands.
enum TLabelPosition : std::uint8_t { lpAbove, lpBelow, lpLeft, lpRight };

// A single-line edit with a caption label beside it, and the events the main window's
// handlers are written against.
//
// The label is a sibling widget (it lives in the edit's parent, as the form file places it);
// the edit keeps it LabelSpacing pixels away on the side given by LabelPosition, and widens
// it when its text needs more room than it was given. Its text is the field's accessible
// name.
//
// OnExit reports that the focus left the field for another control of the same window, and
// only after the field had been entered: a focus that merely passed through while the window
// was changing focus, or that went to another window or a popup, does not count.
class TLabeledEdit : public QLineEdit {
    Q_OBJECT

public:
    using TNotifyEvent = std::function<void(QObject* sender)>;
    // The key as a character (13 for Enter). Setting it to 0 swallows the key.
    using TKeyPressEvent = std::function<void(QObject* sender, char16_t& key)>;

    explicit TLabeledEdit(QWidget* parent = nullptr);

    QLabel* EditLabel() const { return FEditLabel; }
    void SetEditLabel(QLabel* label);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition value);
    int LabelSpacing() const { return FLabelSpacing; }
    void SetLabelSpacing(int value);

    // A value for the program's own use; the main window keeps each field's bounds here.
    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t value) { FTag = value; }

    // Drops the record of earlier edits that undo would step back through, keeping the
    // text, the cursor and the selection. The field's owner calls it whenever it takes the
    // field's value: the record grows with every key typed, and over a long session of
    // typing (or a test that types for an hour) it would otherwise hold every edit ever made.
    void ForgetUndoHistory();

    TNotifyEvent OnClick;
    TNotifyEvent OnExit;
    TKeyPressEvent OnKeyPress;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceEditLabel();

    QPointer<QLabel> FEditLabel;
    TLabelPosition FLabelPosition = lpAbove;
    int FLabelSpacing = 3;
    std::intptr_t FTag = 0;
    bool FEntered = false;
};
