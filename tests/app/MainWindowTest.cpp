// SPDX-License-Identifier: MIT
#include "MainWindow.h"

#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/render/ChartWidget.h>
#include <korvatel/data/FastLineSeries.h>
#include "LabeledEdit.h"
#include "RecordingMessageBoxes.h"
#include "TypeText.h"
#include "UpDown.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

const QString InvalidInput = QString::fromUtf8("Hibás adat");

// The real window, shown and active, with its message boxes recorded.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = std::make_unique<TForm1>(&Boxes);
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }

    void TearDown() override {
        Form.reset();
        QCoreApplication::processEvents();
    }

    // Clicks into the field (which selects its text) and types over it.
    static void TypeInto(QLineEdit* field, const QString& text) {
        QTest::mouseClick(field, Qt::LeftButton);
        if (text.isEmpty()) {
            QTest::keyClick(field, Qt::Key_Backspace);
        } else {
            TypeText(field, text);
        }
    }

    static void Enter(QLineEdit* field, const QString& text) {
        TypeInto(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }

    static void Tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

    // Runs the event loop until the condition holds or a second has passed.
    static bool WaitFor(const std::function<bool()>& condition) {
        return QTest::qWaitFor(condition, 1000);
    }

    int InvalidInputBoxes() const {
        int count = 0;
        for (const TMessageBoxRequest& box : Boxes.Shown) {
            if (box.Text == InvalidInput) {
                ++count;
            }
        }
        return count;
    }

    TRecordingMessageBoxes Boxes;
    std::unique_ptr<TForm1> Form;
};

} // namespace

TEST_F(MainWindowTest, StartUp) {
    const TSimulationState& state = Form->State();
    EXPECT_EQ(state.StringLength, 500.0);
    EXPECT_EQ(state.Beta, 0.0);
    EXPECT_EQ(state.SimTime, 0.0);
    EXPECT_TRUE(Form->Button1()->isEnabled());
    EXPECT_FALSE(Form->Timer1()->isActive());
    EXPECT_EQ(Form->UpDown1()->Position(), 0);
    EXPECT_EQ(Form->Series1().PointCount(), 0);
    EXPECT_EQ(QApplication::focusWidget(), Form->LabeledEdit1());
    EXPECT_EQ(Form->LabeledEdit1()->text(), "500");
    EXPECT_EQ(Form->LabeledEdit3()->text(), "0");
    EXPECT_TRUE(Form->CheckBox1()->isChecked());
    EXPECT_TRUE(Boxes.Shown.empty());

    EXPECT_EQ(Form->windowTitle(), "Korvatel");
    // The outer size, once the frame is known (the offscreen platform has one).
    EXPECT_EQ(Form->frameGeometry(), QRect(192, 125, 1055, 674));
    EXPECT_GT(Form->frameGeometry().width(), Form->width());
    const Qt::WindowFlags flags = Form->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(MainWindowTest, TheWindowShowsTheInstalledIconAtEverySize) {
    const QIcon icon = Form->windowIcon();
    for (const int size : {16, 32, 64, 256}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    }
    // The teal frame around the white chart, as the scalable picture draws them.
    const QImage picture = icon.pixmap(64).toImage();
    EXPECT_EQ(picture.pixelColor(32, 8), QColor(0x00, 0x80, 0x80));
    EXPECT_EQ(picture.pixelColor(50, 18), QColor(Qt::white));
    EXPECT_EQ(picture.pixelColor(0, 0).alpha(), 0);
}

TEST_F(MainWindowTest, EveryControlStandsAtItsDesignPlace) {
    const struct {
        const char* Name;
        QRect Geometry;
    } places[] = {
        {"Panel2", {24, 16, 1001, 601}},      {"Edit1", {168, 32, 121, 21}},
        {"Chart1", {20, 60, 961, 529}},       {"LabeledEdit1", {19, 31, 121, 21}},
        {"LabeledEdit3", {166, 31, 121, 21}}, {"CheckBox1", {326, 34, 176, 17}},
        {"Button1", {665, 24, 75, 25}},       {"Button2", {752, 24, 75, 25}},
        {"UpDown1", {289, 32, 16, 21}},
    };
    for (const auto& place : places) {
        const auto* widget = Form->findChild<QWidget*>(place.Name);
        ASSERT_NE(widget, nullptr) << place.Name;
        EXPECT_EQ(widget->geometry(), place.Geometry) << place.Name;
    }
    // Captions three pixels above their fields, left-aligned, wide enough for their text.
    for (const TLabeledEdit* field : {Form->LabeledEdit1(), Form->LabeledEdit3()}) {
        const QLabel* label = field->EditLabel();
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->geometry().bottom() + 1 + 3, field->y());
        EXPECT_EQ(label->x(), field->x());
        EXPECT_GE(label->width(), label->sizeHint().width());
    }
    const QRect caption = Form->LabeledEdit1()->EditLabel()->geometry();
    EXPECT_EQ(caption.topLeft(), QPoint(19, 12));
    EXPECT_GE(caption.width(), 56);
    EXPECT_EQ(caption.height(), 16);

    // Stacking order: later children lie above; the buddy lies under the velocity field.
    const QObjectList& children = Form->Panel2()->children();
    const auto level = [&](const QWidget* w) { return children.indexOf(w); };
    EXPECT_LT(level(Form->Edit1()), level(Form->Chart1()));
    EXPECT_LT(level(Form->Chart1()), level(Form->LabeledEdit1()));
    EXPECT_LT(level(Form->LabeledEdit1()), level(Form->LabeledEdit3()));
    EXPECT_LT(level(Form->LabeledEdit3()), level(Form->UpDown1()));
    EXPECT_EQ(Form->childAt(24 + 200, 16 + 40), Form->LabeledEdit3());
    EXPECT_EQ(Form->childAt(24 + 288, 16 + 40), Form->Edit1());

    EXPECT_EQ(Form->LabeledEdit1()->toolTip(), "Min: 100,  Max:2000");
    EXPECT_EQ(Form->LabeledEdit3()->toolTip(), "Min.: 0.0, Max: 0.99");
    EXPECT_EQ(Form->LabeledEdit3()->EditLabel()->text(), QString::fromUtf8("Sebesség (ß)"));
    EXPECT_EQ(Form->CheckBox1()->text(), QString::fromUtf8("Vízszintes mozgás állj!"));
    EXPECT_EQ(Form->Chart1()->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(Form->UpDown1()->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(Form->Panel2()->palette().color(QPalette::Window), QColor(0x00, 0x80, 0x80));
    EXPECT_EQ(Form->CheckBox1()->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(Form->UpDown1()->Max(), 99);
    EXPECT_FALSE(Form->UpDown1()->Wrap());
    EXPECT_EQ(Form->UpDown1()->Associate(), Form->Edit1());
}

TEST_F(MainWindowTest, FontsResolveToTheirPixelHeights) {
    const QFontInfo fieldFont(Form->LabeledEdit1()->font());
    EXPECT_EQ(fieldFont.pixelSize(), 11);
    EXPECT_FALSE(fieldFont.bold());
    for (const QWidget* caption :
         {static_cast<const QWidget*>(Form->CheckBox1()),
          static_cast<const QWidget*>(Form->LabeledEdit1()->EditLabel())}) {
        const QFontInfo info(caption->font());
        EXPECT_EQ(info.pixelSize(), 13);
        EXPECT_TRUE(info.bold());
        EXPECT_EQ(info.family(), "Liberation Sans");
    }
}

TEST_F(MainWindowTest, TheStoredChartSettingsAreApplied) {
    const TChart& chart = Form->Chart1()->Chart();
    EXPECT_EQ(chart.Color(), clWhite);
    EXPECT_FALSE(chart.View3D());
    EXPECT_FALSE(chart.Loading());
    EXPECT_EQ(chart.MaxPointsPerPage(), 1000);
    struct AxisRow {
        const TChartAxis* axis;
        double minimum;
        double maximum;
    };
    for (const AxisRow& row :
         {AxisRow{&chart.BottomAxis(), 0, 1000}, AxisRow{&chart.LeftAxis(), -1000, 1000}}) {
        EXPECT_FALSE(row.axis->Automatic());
        EXPECT_FALSE(row.axis->AutomaticMinimum());
        EXPECT_FALSE(row.axis->AutomaticMaximum());
        EXPECT_EQ(row.axis->Minimum(), row.minimum);
        EXPECT_EQ(row.axis->Maximum(), row.maximum);
    }
    ASSERT_EQ(chart.SeriesList().Count(), 1);
    EXPECT_EQ(chart.SeriesList()[0], &Form->Series1());

    const TFastLineSeries& series = Form->Series1();
    EXPECT_EQ(series.SeriesColor(), clRed);
    EXPECT_EQ(series.LinePen().Color(), clRed);
    EXPECT_FALSE(series.Marks().Visible());
    EXPECT_EQ(series.XValues().Name(), "X");
    EXPECT_EQ(series.YValues().Name(), "Y");
    EXPECT_EQ(series.XValues().Order(), loAscending);
    EXPECT_EQ(series.YValues().Order(), loNone);
    EXPECT_EQ(Form->Timer1()->interval(), 40);
    EXPECT_EQ(Form->Timer1()->timerType(), Qt::PreciseTimer);
}

TEST_F(MainWindowTest, TabGoesRoundThroughTheControlsIncludingTheCoveredBuddy) {
    const std::vector<QWidget*> order = {Form->LabeledEdit3(), Form->CheckBox1(),
                                         Form->Button1(),      Form->Button2(),
                                         Form->Edit1(),        Form->LabeledEdit1()};
    for (QWidget* expected : order) {
        Tab();
        EXPECT_EQ(QApplication::focusWidget(), expected) << expected->objectName().toStdString();
    }
    EXPECT_TRUE(Boxes.Shown.empty());
}

TEST_F(MainWindowTest, LengthBoundsAndSyntax) {
    const struct {
        const char* Text;
        bool Admitted;
        double Value;
    } cases[] = {
        {"2000", true, 2000},
        {"100", true, 100},
        {"2000.0001", false, 0},
        {"99.99", false, 0},
        {"  500", true, 500},
        {"750 ", false, 0},
        {"5e2", true, 500},
        {"+600", true, 600},
        {"5,5", false, 0},
        {"", false, 0},
        {" ", false, 0},
        {"-", false, 0},
        {"e5", false, 0},
        {".", false, 0},
        {"1234.5", true, 1234.5},
        {"abc", false, 0},
        {"2e3", true, 2000},
        {"-500", false, 0},
        // Exponents far beyond any number, digits of other scripts, letters outside ASCII.
        {"1e-999999999999", false, 0},
        {"5e+0000000000000000000002", true, 500},
        {"ß", false, 0},
        {"１０００", false, 0},
        {"٣٠٠", false, 0},
        {"5\u00a000", false, 0},
    };
    // Hundreds of digits before and after the point.
    const std::string zeros(400, '0');
    const std::string longMantissa = zeros + "1500." + zeros;
    const std::string longFraction = "0." + zeros + "15e404";
    for (const auto& c : cases) {
        Boxes.Shown.clear();
        const double before = Form->State().StringLength;
        Enter(Form->LabeledEdit1(), QString::fromUtf8(c.Text));
        const std::string label = std::string("\"") + c.Text + "\"";
        if (c.Admitted) {
            EXPECT_EQ(Form->State().StringLength, c.Value) << label;
            EXPECT_TRUE(Boxes.Shown.empty()) << label;
            EXPECT_TRUE(Form->Button1()->isEnabled()) << label;
        } else {
            EXPECT_EQ(Form->State().StringLength, before) << label;
            ASSERT_EQ(Boxes.Shown.size(), 1u) << label;
            EXPECT_EQ(Boxes.Shown[0].Text, InvalidInput);
            EXPECT_EQ(Boxes.Shown[0].Caption, "*** HIBA ***");
            EXPECT_EQ(Boxes.Shown[0].Buttons, QMessageBox::Ok);
            EXPECT_EQ(Boxes.Shown[0].Icon, QMessageBox::NoIcon);
            EXPECT_FALSE(Form->Button1()->isEnabled()) << label;
            EXPECT_EQ(Form->LabeledEdit1()->selectedText(), QString::fromUtf8(c.Text)) << label;
        }
        EXPECT_EQ(QApplication::focusWidget(), Form->LabeledEdit1()) << label;
    }
    for (const std::string& text : {longMantissa, longFraction}) {
        Boxes.Shown.clear();
        Enter(Form->LabeledEdit1(), QString::fromStdString(text));
        EXPECT_EQ(Form->State().StringLength, 1500.0) << text.size();
        EXPECT_TRUE(Boxes.Shown.empty());
    }
}

TEST_F(MainWindowTest, ANumberBeyondADoubleIsAnOverflowThatChangesNothing) {
    QTest::mouseClick(Form->Button1(), Qt::LeftButton);
    ASSERT_TRUE(Form->Timer1()->isActive());
    Enter(Form->LabeledEdit1(), "1e400");

    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(Boxes.Shown[0].Text, "Floating point overflow.");
    EXPECT_EQ(Boxes.Shown[0].Caption, "Korvatel");
    EXPECT_EQ(Boxes.Shown[0].Buttons, QMessageBox::Ok);
    EXPECT_EQ(Boxes.Shown[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(Form->State().StringLength, 500.0);
    EXPECT_TRUE(Form->Timer1()->isActive());
    EXPECT_TRUE(Form->Button1()->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), Form->LabeledEdit1());
    EXPECT_FALSE(Form->LabeledEdit1()->hasSelectedText());
}

TEST_F(MainWindowTest, ARejectedVelocityStopsTheAnimationBeforeTheBox) {
    Enter(Form->LabeledEdit1(), "800");
    Enter(Form->LabeledEdit3(), "0.5");
    const double beta = Form->State().Beta;
    ASSERT_EQ(beta, 0.5);

    for (const char* text : {"1", "-0.1", "0.9991"}) {
        QTest::mouseClick(Form->Button1(), Qt::LeftButton);
        ASSERT_TRUE(WaitFor([&] { return Form->Series1().PointCount() > 0; }));
        Boxes.Shown.clear();
        bool stoppedFirst = false;
        Boxes.OnShow = [&](const TMessageBoxRequest&) {
            stoppedFirst = !Form->Timer1()->isActive() && !Form->Button1()->isEnabled();
        };
        TypeInto(Form->LabeledEdit3(), text);
        Tab();

        ASSERT_EQ(Boxes.Shown.size(), 1u) << text;
        EXPECT_EQ(Boxes.Shown[0].Text, InvalidInput);
        EXPECT_TRUE(stoppedFirst) << text;
        EXPECT_FALSE(Form->Timer1()->isActive());
        EXPECT_FALSE(Form->Button1()->isEnabled());
        EXPECT_EQ(QApplication::focusWidget(), Form->LabeledEdit3()) << text;
        EXPECT_EQ(Form->LabeledEdit3()->selectedText(), text);
        EXPECT_EQ(Form->State().Beta, beta);
        EXPECT_EQ(Form->State().StringLength, 800.0);
        Boxes.OnShow = nullptr;
        Enter(Form->LabeledEdit3(), "0.5");
    }
}

TEST_F(MainWindowTest, AdmittingTheOtherFieldEnablesStartAgain) {
    Enter(Form->LabeledEdit1(), "50");
    ASSERT_FALSE(Form->Button1()->isEnabled());
    Enter(Form->LabeledEdit3(), "0.3");
    EXPECT_TRUE(Form->Button1()->isEnabled());
    EXPECT_EQ(Form->LabeledEdit1()->text(), "50");
    EXPECT_EQ(Form->State().StringLength, 500.0);
}

TEST_F(MainWindowTest, LeavingARejectedFieldShowsOneBoxOnly) {
    // The velocity field holds a rejected text that was never validated; it does not get
    // the focus on the way, so it is not validated when the length field takes it back.
    Form->LabeledEdit3()->setText("x");
    TypeInto(Form->LabeledEdit1(), "abc");
    Tab();
    EXPECT_EQ(InvalidInputBoxes(), 1);
    EXPECT_EQ(QApplication::focusWidget(), Form->LabeledEdit1());
    EXPECT_EQ(Form->LabeledEdit1()->selectedText(), "abc");
}

TEST_F(MainWindowTest, TheSpinChain) {
    struct TStep {
        const char* Typed; // typed into the velocity field and entered; nullptr: the up arrow
        double Beta;
        const char* Shown;
        int Position;
    };
    const std::vector<std::vector<TStep>> scenarios = {
        {{"0.37", 0.37, "0.37", 37}, {nullptr, 0.38, "0.38", 38}},
        {{"0.123", 0.12, "0.12", 12}},
        {{"0.12", 0.12, "0.12", 12}, {"0.123", 0.123, "0.123", 12}},
        {{"0.995", 0.99, "0.99", 99}},
        {{"0.999", 0.99, "0.99", 99}},
        {{"0.125", 0.12, "0.12", 12}},
        {{"0.12", 0.12, "0.12", 12}, {"0.125", 0.125, "0.125", 12}},
        // At 99 already, 0.995 and more still round to 100, which the spin limits to 99.
        {{"0.99", 0.99, "0.99", 99},
         {"0.999", 0.99, "0.99", 99},
         {"0.995", 0.99, "0.99", 99},
         {nullptr, 0.99, "0.99", 99}},
        {{".", 0.0, ".", 0}},
        {{"e5", 0.0, "e5", 0}},
        {{"0.5", 0.5, "0.5", 50}, {"  .5", 0.5, "  .5", 50}},
    };
    for (std::size_t i = 0; i < scenarios.size(); ++i) {
        TearDown();
        SetUp();
        for (const TStep& step : scenarios[i]) {
            if (step.Typed != nullptr) {
                Enter(Form->LabeledEdit3(), step.Typed);
            } else {
                QTest::mouseClick(Form->UpDown1()->UpButton(), Qt::LeftButton);
            }
            const std::string label = "scenario " + std::to_string(i) + " after " +
                                      (step.Typed != nullptr ? step.Typed : "up arrow");
            EXPECT_EQ(Form->State().Beta, step.Beta) << label;
            EXPECT_EQ(Form->LabeledEdit3()->text(), step.Shown) << label;
            EXPECT_EQ(Form->UpDown1()->Position(), step.Position) << label;
        }
        EXPECT_TRUE(Boxes.Shown.empty()) << "scenario " << i;
    }
}

TEST_F(MainWindowTest, TheArrowsStopAtTheirLimits) {
    QTest::mouseClick(Form->UpDown1()->DownButton(), Qt::LeftButton);
    EXPECT_EQ(Form->State().Beta, 0.0);
    EXPECT_EQ(Form->Edit1()->text(), "0");
    Enter(Form->LabeledEdit3(), "0.98");
    QTest::mouseClick(Form->UpDown1()->UpButton(), Qt::LeftButton);
    EXPECT_EQ(Form->State().Beta, 0.99);
    QTest::mouseClick(Form->UpDown1()->UpButton(), Qt::LeftButton);
    EXPECT_EQ(Form->State().Beta, 0.99);
    EXPECT_EQ(Form->LabeledEdit3()->text(), "0.99");
    QTest::mouseClick(Form->UpDown1()->DownButton(), Qt::LeftButton);
    EXPECT_EQ(Form->State().Beta, 0.98);
}

TEST_F(MainWindowTest, EnterStoresWithoutLeavingAndClickSelectsAll) {
    Enter(Form->LabeledEdit1(), "50");
    ASSERT_FALSE(Form->Button1()->isEnabled());
    Enter(Form->LabeledEdit1(), "700");
    EXPECT_EQ(Form->State().StringLength, 700.0);
    EXPECT_TRUE(Form->Button1()->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), Form->LabeledEdit1());
    // The taken value starts a new edit history, so that a long session does not keep every
    // key ever typed.
    EXPECT_FALSE(Form->LabeledEdit1()->isUndoAvailable());

    QTest::mouseClick(Form->LabeledEdit3(), Qt::LeftButton);
    EXPECT_EQ(Form->LabeledEdit3()->selectedText(), "0");
    QTest::mouseClick(Form->LabeledEdit1(), Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_EQ(Form->LabeledEdit1()->selectedText(), "700");
}

TEST_F(MainWindowTest, StartProducesFramesAndStartAgainResetsTheTime) {
    QTest::mouseClick(Form->Button1(), Qt::LeftButton);
    EXPECT_TRUE(Form->Timer1()->isActive());
    ASSERT_TRUE(WaitFor([&] { return Form->State().SimTime >= 0.06; }));
    // The default frame: 501 points at x = 0 ... 500.
    EXPECT_EQ(Form->Series1().PointCount(), 501);
    EXPECT_EQ(Form->Series1().XValues().ValueAt(500), 500.0);

    QTest::mouseClick(Form->Button1(), Qt::LeftButton);
    EXPECT_EQ(Form->State().SimTime, 0.0);
    EXPECT_TRUE(Form->Timer1()->isActive());
    ASSERT_TRUE(WaitFor([&] { return Form->State().SimTime > 0.0; }));

    QTest::mouseClick(Form->Button2(), Qt::LeftButton);
    EXPECT_FALSE(Form->Timer1()->isActive());
    const double stoppedAt = Form->State().SimTime;
    QTest::qWait(120);
    EXPECT_EQ(Form->State().SimTime, stoppedAt);
    EXPECT_EQ(Form->Series1().PointCount(), 501);
}

TEST_F(MainWindowTest, StartWhileRunningKeepsTheRhythmOfTheFrames) {
    // Pressed every 10 ms, far more often than the 40 ms of a frame: a timer started afresh
    // by every press would never fall due, one started twice would tick twice as often.
    QSignalSpy ticks(Form->Timer1(), &QTimer::timeout);
    QTest::mouseClick(Form->Button1(), Qt::LeftButton);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 400) {
        QTest::qWait(10);
        QTest::mouseClick(Form->Button1(), Qt::LeftButton);
    }
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(ticks.count(), 4) << elapsed << " ms";
    EXPECT_LE(ticks.count(), elapsed / 40 + 1) << elapsed << " ms";
    EXPECT_TRUE(Form->Timer1()->isActive());
    QTest::mouseClick(Form->Button2(), Qt::LeftButton);
}

TEST_F(MainWindowTest, AFrameEndsByDispatchingPendingEvents) {
    // A tick called directly: the frame for t = 0, pending input handled inside it, then
    // one time step.
    QTest::mouseClick(Form->Button1(), Qt::LeftButton);
    Form->Button2()->click();
    QCoreApplication::postEvent(Form->LabeledEdit1(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Backspace, {}));
    Form->Timer1Timer(Form->Timer1());
    EXPECT_EQ(Form->LabeledEdit1()->text(), "50");
    EXPECT_EQ(Form->State().SimTime, 0.02);
    EXPECT_EQ(Form->Series1().PointCount(), 501);
}

TEST_F(MainWindowTest, TheCheckBoxHoldsTheStringOrLetsItDrift) {
    // At β = 0.6 the string's left end moves 12 samples a tick, and L = 500 shortens to 400.
    Enter(Form->LabeledEdit3(), "0.6");
    QTest::mouseClick(Form->Button1(), Qt::LeftButton);
    Form->Timer1()->stop();
    Form->Timer1Timer(Form->Timer1()); // t = 0
    Form->Timer1Timer(Form->Timer1()); // t = 0.02: samples 12 to 412
    const TChartValueList& x = Form->Series1().XValues();
    ASSERT_TRUE(Form->CheckBox1()->isChecked());
    ASSERT_EQ(Form->Series1().PointCount(), 401);
    EXPECT_EQ(x.ValueAt(0), 0.0);
    EXPECT_EQ(x.LastValue(), 400.0);

    Form->CheckBox1()->setChecked(false);
    Form->Timer1Timer(Form->Timer1()); // t = 0.04: samples 24 to 424, where they stand
    ASSERT_EQ(Form->Series1().PointCount(), 401);
    EXPECT_EQ(x.ValueAt(0), 24.0);
    EXPECT_EQ(x.LastValue(), 424.0);
}

TEST_F(MainWindowTest, TypingIntoTheCoveredBuddy) {
    Form->Button2()->setFocus(Qt::TabFocusReason);
    Tab();
    ASSERT_EQ(QApplication::focusWidget(), Form->Edit1());
    QTest::keyClicks(Form->Edit1(), "25");
    EXPECT_EQ(Form->State().Beta, 0.25);
    EXPECT_EQ(Form->LabeledEdit3()->text(), "0.25");
    EXPECT_EQ(Form->UpDown1()->Position(), 25);
    EXPECT_TRUE(Boxes.Shown.empty());

    // Not an integer: the conversion error, and the velocity stays.
    QTest::keyClicks(Form->Edit1(), "x");
    ASSERT_EQ(Boxes.Shown.size(), 1u);
    EXPECT_EQ(Boxes.Shown[0].Text, "'25x' is not a valid integer value.");
    EXPECT_EQ(Boxes.Shown[0].Caption, "Korvatel");
    EXPECT_EQ(Boxes.Shown[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(Form->State().Beta, 0.25);
    EXPECT_EQ(Form->LabeledEdit3()->text(), "0.25");

    // The arrow keys step the spin control from the buddy.
    QTest::keyClick(Form->Edit1(), Qt::Key_Backspace);
    Boxes.Shown.clear();
    QTest::keyClick(Form->Edit1(), Qt::Key_Up);
    EXPECT_EQ(Form->State().Beta, 0.26);

    // An integer out of range is a rejected velocity: the focus goes to the velocity field.
    Form->Edit1()->selectAll();
    QTest::keyClicks(Form->Edit1(), "150");
    EXPECT_EQ(InvalidInputBoxes(), 1);
    EXPECT_EQ(QApplication::focusWidget(), Form->LabeledEdit3());
    EXPECT_EQ(Form->LabeledEdit3()->text(), "1.5");
    EXPECT_EQ(Form->LabeledEdit3()->selectedText(), "1.5");
    EXPECT_FALSE(Form->Button1()->isEnabled());
}

TEST_F(MainWindowTest, StartShowsTheWaveInTheChart) {
    // Start, then one tick called directly (the timer stopped, so no further frame moves the
    // wave): the frame for t = 0 is painted while the tick dispatches its pending events.
    QTest::mouseClick(Form->Button1(), Qt::LeftButton);
    Form->Timer1()->stop();
    Form->Timer1Timer(Form->Timer1());
    const TChart& chart = Form->Chart1()->Chart();
    ASSERT_FALSE(chart.Canvas().IsDirty());
    const QImage* image = chart.Canvas().Bitmap();
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->size(), QSize(961, 529));

    // The wave of L = 500 at t = 0, through the axes of that paint: 0..1000 and -1000..1000.
    EXPECT_EQ(chart.BottomAxis().EffectiveMinimum(), 0);
    EXPECT_EQ(chart.BottomAxis().EffectiveMaximum(), 1000);
    EXPECT_EQ(chart.LeftAxis().EffectiveMinimum(), -1000);
    EXPECT_EQ(chart.LeftAxis().EffectiveMaximum(), 1000);
    const QRgb red = qRgb(255, 0, 0);
    const TRect plot = chart.PlotRect();
    int checked = 0;
    for (int x = 10; x < 500; x += 10) {
        const double y = -1000 * std::sin(std::numbers::pi * x / 500);
        const int column = chart.BottomAxis().XValueToPixel(x);
        const int row = chart.LeftAxis().YValueToPixel(y);
        if (row >= plot.Bottom - 2) {
            continue; // the trough touches the bottom edge, where the chart's clip ends
        }
        EXPECT_EQ(image->pixel(column, row), red) << x;
        ++checked;
    }
    EXPECT_GT(checked, 40);
    // The line ends at x = 500, and clipping keeps it inside the chart rectangle.
    int outside = 0;
    for (int y = 0; y < image->height(); ++y) {
        for (int x = 0; x < image->width(); ++x) {
            const bool inside = x > plot.Left && x < plot.Right && y > plot.Top && y < plot.Bottom;
            if (image->pixel(x, y) == red &&
                (!inside || x > chart.BottomAxis().XValueToPixel(500))) {
                ++outside;
            }
        }
    }
    EXPECT_EQ(outside, 0);
}

TEST_F(MainWindowTest, AZoomWhileTheTimerRunsHoldsForTheLaterFrames) {
    TChartWidget* widget = Form->Chart1();
    const TChart& chart = widget->Chart();
    QTest::mouseClick(Form->Button1(), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return Form->State().SimTime >= 0.1; }));
    const TAxisRange bottom{chart.BottomAxis().PixelToValue(300),
                            chart.BottomAxis().PixelToValue(500)};
    const TAxisRange left{chart.LeftAxis().PixelToValue(350), chart.LeftAxis().PixelToValue(200)};

    // Mouse events with the button held, as the window system sends them during a drag.
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button,
                          Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    };
    send(QEvent::MouseButtonPress, {300, 200}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {400, 280}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, {500, 350}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {500, 350}, Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(chart.BottomAxis().Minimum(), bottom.Minimum);

    // Later frames refill the series and are drawn in the zoomed range.
    const double time = Form->State().SimTime;
    ASSERT_TRUE(WaitFor([&] { return Form->State().SimTime >= time + 0.1; }));
    EXPECT_TRUE(Form->Timer1()->isActive());
    EXPECT_GT(Form->Series1().PointCount(), 0);
    EXPECT_EQ(chart.BottomAxis().Minimum(), bottom.Minimum);
    EXPECT_EQ(chart.BottomAxis().Maximum(), bottom.Maximum);
    EXPECT_EQ(chart.LeftAxis().Minimum(), left.Minimum);
    EXPECT_EQ(chart.LeftAxis().Maximum(), left.Maximum);
    EXPECT_EQ(chart.BottomAxis().EffectiveMinimum(), bottom.Minimum);
    EXPECT_EQ(chart.LeftAxis().EffectiveMaximum(), left.Maximum);
    QTest::mouseClick(Form->Button2(), Qt::LeftButton);
}
