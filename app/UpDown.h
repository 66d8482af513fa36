// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

class QToolButton;

// The arrow of a spin control: btNext steps up, btPrev steps down.
enum TUDBtnType : std::uint8_t { btNext, btPrev };

// A spin control: two arrow buttons that step an integer position within Min..Max.
//
// With a buddy edit (Associate) the position lives in the buddy as decimal text: every
// change writes the new position there, and the buddy reports the write as a change of its
// text even when the text stays the same. Reading Position parses the buddy's text (a text
// that is no integer leaves the last position; an integer outside the limits reads as the
// nearest limit). The arrow keys step the position while the buddy has the focus.
//
// OnChanging announces every change before it happens, while Position still reads the old
// value; it may refuse the change. A change comes from an arrow (which does nothing at a
// limit unless Wrap is on) or from the program setting Position to a value that differs from
// the one it last set or read; the value is compared as given and limited to Min..Max only
// when the control takes it.
class TUpDown : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(bool Wrap READ Wrap WRITE SetWrap)

public:
    using TChangingEvent = std::function<void(QObject* sender, bool& allowChange)>;

    explicit TUpDown(QWidget* parent = nullptr);
    ~TUpDown() override;

    QLineEdit* Associate() const { return FAssociate; }
    // Binds the buddy and shows the position in it. The buddy keeps its place and size.
    void SetAssociate(QLineEdit* buddy);

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }
    bool Wrap() const { return FWrap; }
    void SetWrap(bool value) { FWrap = value; }

    // Reading the position remembers it as the last value read.
    int Position();
    void SetPosition(int value);

    // What a click on an arrow does.
    void Click(TUDBtnType button);

    QToolButton* UpButton() const { return FUpButton; }
    QToolButton* DownButton() const { return FDownButton; }

    TChangingEvent OnChanging;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int Limited(long long value) const;
    // Announces the change and, when it is allowed, takes the new position.
    void ChangeTo(int value);
    // Writes the position into the buddy; with reportUnchanged an equal text is reported as
    // a change too.
    void ShowInBuddy(bool reportUnchanged);

    QPointer<QLineEdit> FAssociate;
    QToolButton* FUpButton;
    QToolButton* FDownButton;
    int FMin = 0;
    int FMax = 100;
    int FIncrement = 1;
    bool FWrap = false;
    // The position the control holds; the buddy's text overrides it when read.
    int FCurrent = 0;
    // The value the program last set or read: setting it again announces nothing.
    int FPosition = 0;
};
