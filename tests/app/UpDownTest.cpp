// SPDX-License-Identifier: MIT
#include "UpDown.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A spin control 0..99 with its buddy, logging what OnChanging sees.
class UpDownTest : public ::testing::Test {
protected:
    void SetUp() override {
        UpDown = new TUpDown(&Parent);
        Buddy = new QLineEdit(&Parent);
        UpDown->SetMax(99);
        UpDown->SetAssociate(Buddy);
        UpDown->setGeometry(0, 0, 16, 21);
        UpDown->OnChanging = [this](QObject* sender, bool& allowChange) {
            EXPECT_EQ(sender, UpDown);
            Announced.push_back({UpDown->Position(), Buddy->text()});
            allowChange = Allow;
        };
    }

    // Puts a position into the buddy as the spin control itself would, unannounced.
    void Show(int position) {
        Buddy->setText(QString::number(position));
        Announced.clear();
    }

    struct TAnnouncement {
        int Position;
        QString BuddyText;
    };

    QWidget Parent;
    TUpDown* UpDown = nullptr;
    QLineEdit* Buddy = nullptr;
    std::vector<TAnnouncement> Announced;
    bool Allow = true;
};

} // namespace

TEST(UpDownBuddyTest, TheBuddyShowsThePositionOnceBound) {
    QWidget parent;
    TUpDown upDown(&parent);
    upDown.SetPosition(7);
    QLineEdit buddy(&parent);
    upDown.SetAssociate(&buddy);
    EXPECT_EQ(buddy.text(), "7");
}

TEST_F(UpDownTest, AnArrowAnnouncesTheOldPositionThenWritesTheNewOne) {
    Show(37);
    UpDown->Click(btNext);
    ASSERT_EQ(Announced.size(), 1u);
    EXPECT_EQ(Announced[0].Position, 37);
    EXPECT_EQ(Announced[0].BuddyText, "37");
    EXPECT_EQ(Buddy->text(), "38");

    UpDown->Click(btPrev);
    UpDown->Click(btPrev);
    EXPECT_EQ(Buddy->text(), "36");
    EXPECT_EQ(Announced.size(), 3u);
}

TEST_F(UpDownTest, AtALimitTheArrowsDoNothingUnlessTheyWrap) {
    Show(99);
    UpDown->Click(btNext);
    Show(0);
    UpDown->Click(btPrev);
    EXPECT_TRUE(Announced.empty());
    EXPECT_EQ(Buddy->text(), "0");

    UpDown->SetWrap(true);
    UpDown->Click(btPrev);
    EXPECT_EQ(Buddy->text(), "99");
    UpDown->Click(btNext);
    EXPECT_EQ(Buddy->text(), "0");
    EXPECT_EQ(Announced.size(), 2u);
}

TEST_F(UpDownTest, TheIncrementStopsAtTheLimit) {
    UpDown->SetIncrement(5);
    Show(97);
    UpDown->Click(btNext);
    EXPECT_EQ(Buddy->text(), "99");
    Show(3);
    UpDown->Click(btPrev);
    EXPECT_EQ(Buddy->text(), "0");
}

TEST_F(UpDownTest, SettingThePositionAnnouncesOnlyANewValue) {
    UpDown->SetPosition(12);
    ASSERT_EQ(Announced.size(), 1u);
    // The announcement still sees the old position.
    EXPECT_EQ(Announced[0].Position, 0);
    EXPECT_EQ(Buddy->text(), "12");

    // The announcement read the old position, so the same value once more is announced
    // again (now reading 12); after that it is the last value read and changes nothing.
    UpDown->SetPosition(12);
    ASSERT_EQ(Announced.size(), 2u);
    EXPECT_EQ(Announced[1].Position, 12);
    UpDown->SetPosition(12);
    EXPECT_EQ(Announced.size(), 2u);

    // A position typed into the buddy and read counts as the last value.
    Show(40);
    EXPECT_EQ(UpDown->Position(), 40);
    UpDown->SetPosition(40);
    EXPECT_TRUE(Announced.empty());
}

TEST_F(UpDownTest, ASetPositionIsComparedBeforeItIsLimited) {
    Show(99);
    EXPECT_EQ(UpDown->Position(), 99);
    // 100 differs from the 99 last read: announced, and the limit written again.
    QSignalSpy changes(Buddy, &QLineEdit::textChanged);
    UpDown->SetPosition(100);
    ASSERT_EQ(Announced.size(), 1u);
    EXPECT_EQ(Announced[0].Position, 99);
    EXPECT_EQ(Buddy->text(), "99");
    EXPECT_EQ(changes.count(), 1);

    UpDown->SetPosition(-3);
    ASSERT_EQ(Announced.size(), 2u);
    EXPECT_EQ(Buddy->text(), "0");
}

TEST_F(UpDownTest, ARefusedChangeLeavesTheBuddy) {
    Show(5);
    Allow = false;
    UpDown->Click(btNext);
    UpDown->SetPosition(9);
    EXPECT_EQ(Announced.size(), 2u);
    EXPECT_EQ(Buddy->text(), "5");
}

TEST_F(UpDownTest, ReadingThePositionParsesTheBuddy) {
    Show(25);
    EXPECT_EQ(UpDown->Position(), 25);
    // Outside the limits: the nearest limit.
    Buddy->setText("150");
    EXPECT_EQ(UpDown->Position(), 99);
    Buddy->setText("-4");
    EXPECT_EQ(UpDown->Position(), 0);
    // No integer: the last position.
    Buddy->setText(" 31");
    EXPECT_EQ(UpDown->Position(), 31);
    Buddy->setText("abc");
    EXPECT_EQ(UpDown->Position(), 31);
    Buddy->setText("");
    EXPECT_EQ(UpDown->Position(), 31);
}

TEST_F(UpDownTest, TheBuddyReportsEveryChangeTaken) {
    // The buddy already shows 12 while the last value set or read is still 0: the change is
    // announced, and the buddy reports it although its text stays.
    Show(12);
    QSignalSpy changes(Buddy, &QLineEdit::textChanged);
    UpDown->SetPosition(12);
    EXPECT_EQ(Announced.size(), 1u);
    EXPECT_EQ(changes.count(), 1);
    UpDown->SetPosition(13);
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(UpDownTest, ArrowKeysOnTheBuddyAndPressesOnTheButtonsStep) {
    Parent.show();
    Show(10);
    QTest::keyClick(Buddy, Qt::Key_Up);
    EXPECT_EQ(Buddy->text(), "11");
    QTest::keyClick(Buddy, Qt::Key_Down);
    QTest::keyClick(Buddy, Qt::Key_Down);
    EXPECT_EQ(Buddy->text(), "9");

    QTest::mouseClick(UpDown->UpButton(), Qt::LeftButton);
    EXPECT_EQ(Buddy->text(), "10");
    QTest::mouseClick(UpDown->DownButton(), Qt::LeftButton);
    EXPECT_EQ(Buddy->text(), "9");
    EXPECT_EQ(Announced.size(), 5u);

    // The arrows share the control's height, the up arrow on top.
    EXPECT_EQ(UpDown->UpButton()->geometry(), QRect(0, 0, 16, 10));
    EXPECT_EQ(UpDown->DownButton()->geometry(), QRect(0, 10, 16, 11));
    EXPECT_EQ(UpDown->focusPolicy(), Qt::NoFocus);
}

TEST_F(UpDownTest, TheBuddyMayGoFirst) {
    delete Buddy;
    Buddy = nullptr;
    EXPECT_EQ(UpDown->Associate(), nullptr);
    UpDown->OnChanging = nullptr;
    UpDown->Click(btNext);
    EXPECT_EQ(UpDown->Position(), 1);
}
