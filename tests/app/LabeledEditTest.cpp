// SPDX-License-Identifier: MIT
#include "LabeledEdit.h"

#include <QFocusEvent>
#include <QLabel>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace {

void SendFocus(QWidget* widget, QEvent::Type type, Qt::FocusReason reason) {
    QFocusEvent event(type, reason);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

TEST(LabeledEditTest, TheLabelStandsBesideTheFieldAndGrowsToItsText) {
    QWidget parent;
    auto* field = new TLabeledEdit(&parent);
    auto* label = new QLabel(QStringLiteral("Hossz (L)"), &parent);
    field->setGeometry(19, 31, 121, 21);
    label->setGeometry(0, 0, 56, 16);
    // Moves of hidden widgets are reported only when they are shown.
    parent.show();
    field->SetEditLabel(label);
    EXPECT_EQ(label->pos(), QPoint(19, 12));
    EXPECT_GE(label->width(), label->sizeHint().width());
    EXPECT_EQ(label->height(), 16);

    label->resize(40, 16);
    const struct {
        TLabelPosition Position;
        QPoint Expected;
    } cases[] = {
        {lpAbove, {19, 12}},
        {lpBelow, {19, 55}},
        {lpLeft, {-24, 33}},
        {lpRight, {143, 33}},
    };
    for (const auto& c : cases) {
        field->SetLabelPosition(c.Position);
        EXPECT_EQ(label->pos(), c.Expected) << int(c.Position);
    }
    field->SetLabelPosition(lpAbove);
    field->SetLabelSpacing(5);
    field->move(100, 50);
    EXPECT_EQ(label->pos(), QPoint(100, 29));
}

TEST(LabeledEditTest, ExitMeansLeavingAnEnteredFieldForAnotherControl) {
    TLabeledEdit field;
    int exits = 0;
    field.OnExit = [&](QObject* sender) {
        EXPECT_EQ(sender, &field);
        ++exits;
    };
    // Never entered: leaving it is no exit.
    SendFocus(&field, QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_EQ(exits, 0);

    SendFocus(&field, QEvent::FocusIn, Qt::MouseFocusReason);
    // Another window or a popup takes the focus: the field is still the focused control.
    SendFocus(&field, QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    SendFocus(&field, QEvent::FocusOut, Qt::PopupFocusReason);
    EXPECT_EQ(exits, 0);
    SendFocus(&field, QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_EQ(exits, 1);
    SendFocus(&field, QEvent::FocusOut, Qt::OtherFocusReason);
    EXPECT_EQ(exits, 1);
}

TEST(LabeledEditTest, KeyPressSeesEnterAsCharacter13AndMaySwallowTheKey) {
    TLabeledEdit field;
    std::vector<char16_t> keys;
    bool swallow = false;
    field.OnKeyPress = [&](QObject*, char16_t& key) {
        keys.push_back(key);
        if (swallow) {
            key = 0;
        }
    };
    QTest::keyClick(&field, Qt::Key_Return);
    QTest::keyClick(&field, Qt::Key_Enter);
    QTest::keyClicks(&field, "a");
    EXPECT_EQ(keys, (std::vector<char16_t>{13, 13, u'a'}));
    EXPECT_EQ(field.text(), "a");
    swallow = true;
    QTest::keyClicks(&field, "b");
    EXPECT_EQ(field.text(), "a");
}

TEST(LabeledEditTest, AClickIsAReleaseOfTheLeftButtonInsideTheField) {
    QWidget parent;
    auto* field = new TLabeledEdit(&parent);
    field->setGeometry(0, 0, 121, 21);
    parent.show();
    int clicks = 0;
    field->OnClick = [&](QObject*) { ++clicks; };
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::mouseClick(field, Qt::MiddleButton);
    EXPECT_EQ(clicks, 1);
}

TEST(LabeledEditTest, ForgettingTheUndoHistoryKeepsTextCursorAndSelection) {
    TLabeledEdit field;
    QTest::keyClicks(&field, "12345");
    ASSERT_TRUE(field.isUndoAvailable());
    int changes = 0;
    QObject::connect(&field, &QLineEdit::textChanged, [&] { ++changes; });

    field.setCursorPosition(2);
    field.ForgetUndoHistory();
    EXPECT_FALSE(field.isUndoAvailable());
    EXPECT_EQ(field.text(), "12345");
    EXPECT_EQ(field.cursorPosition(), 2);
    EXPECT_EQ(changes, 0);

    // A selection made backwards keeps its cursor at the start, one made forwards at the end.
    QTest::keyClicks(&field, "x");
    field.setSelection(4, -3);
    field.ForgetUndoHistory();
    EXPECT_EQ(field.selectedText(), "2x3");
    EXPECT_EQ(field.cursorPosition(), 1);
    QTest::keyClick(&field, Qt::Key_Delete);
    field.setSelection(1, 2);
    field.ForgetUndoHistory();
    EXPECT_EQ(field.selectedText(), "45");
    EXPECT_EQ(field.cursorPosition(), 3);
    EXPECT_FALSE(field.isUndoAvailable());
}
