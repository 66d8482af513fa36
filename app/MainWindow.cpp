// SPDX-License-Identifier: MIT
#include "MainWindow.h"

#include <korvatel/axes/ChartAxis.h>
#include <korvatel/core/ChartStrings.h>
#include <korvatel/render/ChartWidget.h>
#include <korvatel/data/FastLineSeries.h>
#include "LabeledEdit.h"
#include "NumberText.h"
#include "ParamNumber.h"
#include "ProgramErrors.h"
#include "ProgramIcon.h"
#include "ProgramStrings.h"
#include "QtMessageBoxes.h"
#include <korvatel/core/Rounding.h>
#include "SeriesFrameTarget.h"
#include "StoredChartLayout.h"
#include "UpDown.h"
#include "WaveModel.h"
#include "ui_MainWindow.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <exception>
#include <limits>

using namespace Korvatel;

namespace {

// Where the window opens; the window manager may place it elsewhere.
constexpr int DesignLeft = 192;
constexpr int DesignTop = 125;

constexpr int Timer1Interval = 40;

constexpr char16_t EnterKey = 13;

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The spin position of an admitted velocity: its hundredths, rounded half to even. The
// product is rounded to double first, so that 0.995 gives the tie 99.5 and thus 100, which
// the spin control limits to 99.
int SpinPositionOf(double velocity) {
    const double hundredths = velocity * 100.0;
    const std::int64_t rounded = RoundHalfEven(hundredths);
    return static_cast<int>(std::clamp<std::int64_t>(rounded, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

void ProcessPendingMessages() {
    QCoreApplication::processEvents();
}

} // namespace

TForm1::TForm1(TMessageBoxes* messageBoxes, QWidget* parent)
    : QWidget(parent), FUi(std::make_unique<Ui::Form1>()) {
    if (messageBoxes == nullptr) {
        FOwnedMessageBoxes = std::make_unique<TQtMessageBoxes>();
        messageBoxes = FOwnedMessageBoxes.get();
    }
    FMessageBoxes = messageBoxes;

    LoadStoredLayout();
    ConnectEvents();
    Guarded([this] { FormCreate(); });
    RefreshChartDescription();
}

TForm1::~TForm1() {
    // The controls outlive this body (the widget base deletes them): nothing they report
    // from now on may reach the handlers.
    DisconnectEvents();
    FTimer1->stop();
}

QFrame* TForm1::Panel2() const {
    return FUi->Panel2;
}
QLineEdit* TForm1::Edit1() const {
    return FUi->Edit1;
}
TChartWidget* TForm1::Chart1() const {
    return FUi->Chart1;
}
TLabeledEdit* TForm1::LabeledEdit1() const {
    return FUi->LabeledEdit1;
}
TLabeledEdit* TForm1::LabeledEdit3() const {
    return FUi->LabeledEdit3;
}
QCheckBox* TForm1::CheckBox1() const {
    return FUi->CheckBox1;
}
QPushButton* TForm1::Button1() const {
    return FUi->Button1;
}
QPushButton* TForm1::Button2() const {
    return FUi->Button2;
}
TUpDown* TForm1::UpDown1() const {
    return FUi->UpDown1;
}

// --- Creation ---------------------------------------------------------------------------

void TForm1::LoadStoredLayout() {
    FUi->setupUi(this);
    // A sizeable frame whose title bar offers the system menu and the close box only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The stored size is the outer size, frame included; until the frame is known it is
    // taken for the client size (without a window manager there is no frame).
    FDesignOuterSize = size();
    move(DesignLeft, DesignTop);
    setWindowIcon(ProgramIcon());

    // What a form file cannot express: the caption labels of the two fields and the buddy
    // of the spin control.
    FUi->LabeledEdit1->SetEditLabel(FUi->LabeledEdit1Label);
    FUi->LabeledEdit3->SetEditLabel(FUi->LabeledEdit3Label);
    FUi->UpDown1->SetAssociate(FUi->Edit1);
    FUi->UpDown1->UpButton()->setAccessibleName(FromView(ProgramStrings::SpinUpName));
    FUi->UpDown1->DownButton()->setAccessibleName(FromView(ProgramStrings::SpinDownName));
    // The window opens with the focus in the first control of its tab order (Qt would pick
    // the first focusable child created, the covered buddy).
    FUi->LabeledEdit1->setFocus();

    CreateTimer1();
    CreateSeries1();
}

void TForm1::CreateTimer1() {
    FTimer1 = new QTimer(this);
    FTimer1->setObjectName(QStringLiteral("Timer1"));
    FTimer1->setInterval(Timer1Interval);
    FTimer1->setTimerType(Qt::PreciseTimer);
}

void TForm1::CreateSeries1() {
    auto series = std::make_unique<TFastLineSeries>();
    ApplyStoredChartLayout(FUi->Chart1->Chart(), *series);
    FSeries1 = series.release();
    FFrameTarget = std::make_unique<TSeriesFrameTarget>(*FSeries1);
}

void TForm1::ConnectEvents() {
    Ui::Form1& ui = *FUi;
    const auto notify = [this](void (TForm1::*handler)(QObject*)) {
        return [this, handler](QObject* sender) { Guarded([&] { (this->*handler)(sender); }); };
    };
    const auto keyPress = [this](QObject* sender, char16_t& key) {
        Guarded([&] { LabeledEdit1KeyPress(sender, key); });
    };

    ui.LabeledEdit1->OnClick = notify(&TForm1::LabeledEdit1Click);
    ui.LabeledEdit1->OnExit = notify(&TForm1::LabeledEdit1Exit);
    ui.LabeledEdit1->OnKeyPress = keyPress;
    ui.LabeledEdit3->OnClick = notify(&TForm1::LabeledEdit3Click);
    ui.LabeledEdit3->OnExit = notify(&TForm1::LabeledEdit1Exit);
    ui.LabeledEdit3->OnKeyPress = keyPress;
    ui.UpDown1->OnChanging = [this](QObject* sender, bool& allowChange) {
        Guarded([&] { UpDown1Changing(sender, allowChange); });
    };
    // The chart's own event handlers run inside its mouse handling; what they raise is shown
    // like the error of any other handler.
    ui.Chart1->OnException = [this](std::exception_ptr error) {
        Guarded([&] { std::rethrow_exception(error); });
    };
    // Frames, zooms, scrolls and wheel steps all end in a drawing of the chart.
    ui.Chart1->Chart().OnAfterDraw = [this](TCustomAxisPanel* /*sender*/) {
        RefreshChartDescription();
    };

    const auto signal = [this, notify](auto* sender, auto member,
                                       void (TForm1::*handler)(QObject*)) {
        FConnections.push_back(
            connect(sender, member, this, [sender, call = notify(handler)] { call(sender); }));
    };
    signal(ui.Edit1, &QLineEdit::textChanged, &TForm1::Edit1Change);
    signal(ui.Button1, &QPushButton::clicked, &TForm1::Button1Click);
    signal(ui.Button2, &QPushButton::clicked, &TForm1::Button2Click);
    signal(FTimer1, &QTimer::timeout, &TForm1::Timer1Timer);
}

void TForm1::DisconnectEvents() {
    for (const QMetaObject::Connection& connection : FConnections) {
        disconnect(connection);
    }
    FConnections.clear();
    for (TLabeledEdit* field : {FUi->LabeledEdit1, FUi->LabeledEdit3}) {
        field->OnClick = nullptr;
        field->OnExit = nullptr;
        field->OnKeyPress = nullptr;
    }
    FUi->UpDown1->OnChanging = nullptr;
    FUi->Chart1->OnException = nullptr;
    FUi->Chart1->Chart().OnAfterDraw = nullptr;
}

template <typename THandler>
void TForm1::Guarded(THandler&& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowException(error.what());
    } catch (...) {
        ShowException(std::string(ProgramStrings::UnknownError));
    }
}

// --- Window events ----------------------------------------------------------------------

bool TForm1::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    switch (event->type()) {
    case QEvent::WindowActivate:
        // Only the first activation counts: later ones come back from the program's own
        // message boxes and must not validate the fields again.
        if (!FActivated) {
            FActivated = true;
            Guarded([this] { FormActivate(); });
        }
        break;
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
        FitDesignedOuterSize();
        break;
    default:
        break;
    }
    return handled;
}

void TForm1::FitDesignedOuterSize() {
    if (!FOuterSizePending || !isVisible()) {
        return;
    }
    const QSize frame = frameGeometry().size() - size();
    if (frame.width() <= 0 && frame.height() <= 0) {
        return;
    }
    FOuterSizePending = false;
    resize(FDesignOuterSize - frame);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing ends the program: no frame is produced for a window that is going away.
    FTimer1->stop();
    QWidget::closeEvent(event);
}

// --- Handlers ---------------------------------------------------------------------------

void TForm1::FormCreate() {
    FLengthBounds =
        std::make_unique<TParamBounds>(TParamBounds{100.0, 2000.0, &FState.StringLength});
    FVelocityBounds = std::make_unique<TParamBounds>(TParamBounds{0.0, 0.999, &FState.Beta});
    FUi->LabeledEdit1->SetTag(reinterpret_cast<std::intptr_t>(FLengthBounds.get()));
    FUi->LabeledEdit3->SetTag(reinterpret_cast<std::intptr_t>(FVelocityBounds.get()));
    FState.SimTime = 0.0;
    UsePointAsDecimalSeparator();
}

void TForm1::FormActivate() {
    LabeledEdit1Exit(FUi->LabeledEdit1);
    LabeledEdit1Exit(FUi->LabeledEdit3);
}

void TForm1::LabeledEdit1Exit(QObject* sender) {
    auto* field = qobject_cast<TLabeledEdit*>(sender);
    if (field == nullptr) {
        return;
    }
    field->ForgetUndoHistory();
    const TParamNumber number = ParseParamNumber(field->text().toStdString());
    if (!number.Valid) {
        RejectField(*field);
        return;
    }
    const auto* bounds = reinterpret_cast<const TParamBounds*>(field->Tag());
    if (bounds == nullptr) {
        return;
    }
    // A number beyond the range of a double stops everything here, with nothing touched.
    const double value = RoundToDouble(number.Value);
    if (value < bounds->LowerBound || value > bounds->UpperBound) {
        RejectField(*field);
        return;
    }
    *bounds->TargetVariable = value;
    if (field == FUi->LabeledEdit3) {
        FUi->UpDown1->SetPosition(SpinPositionOf(value));
    }
    FUi->Button1->setEnabled(true);
}

void TForm1::RejectField(TLabeledEdit& field) {
    // The animation stops before the box opens: no frame is produced while it is shown.
    SetTimerEnabled(false);
    FUi->Button1->setEnabled(false);
    FMessageBoxes->ShowModal(this, {FromView(ProgramStrings::InvalidInputCaption),
                                    FromView(ProgramStrings::InvalidInput), QMessageBox::Ok,
                                    QMessageBox::NoIcon});
    field.selectAll();
    field.setFocus(Qt::OtherFocusReason);
}

void TForm1::LabeledEdit1KeyPress(QObject* sender, char16_t& key) {
    // The key goes on to the field afterwards.
    if (key == EnterKey) {
        LabeledEdit1Exit(sender);
    }
}

void TForm1::LabeledEdit1Click(QObject* /*sender*/) {
    FUi->LabeledEdit1->selectAll();
}

void TForm1::LabeledEdit3Click(QObject* /*sender*/) {
    FUi->LabeledEdit3->selectAll();
}

void TForm1::UpDown1Changing(QObject* /*sender*/, bool& allowChange) {
    const int position = FUi->UpDown1->Position();
    FUi->LabeledEdit3->setText(QString::fromStdString(DecimalText(position / 100.0)));
    allowChange = true;
}

void TForm1::Edit1Change(QObject* /*sender*/) {
    const std::int32_t position = StrToInt(FUi->Edit1->text().toStdString());
    FUi->LabeledEdit3->setText(QString::fromStdString(DecimalText(position * 0.01)));
    LabeledEdit1Exit(FUi->LabeledEdit3);
}

void TForm1::Button1Click(QObject* /*sender*/) {
    FState.SimTime = 0.0;
    SetTimerEnabled(true);
}

void TForm1::Button2Click(QObject* /*sender*/) {
    SetTimerEnabled(false);
}

void TForm1::Timer1Timer(QObject* /*sender*/) {
    const bool followString = FUi->CheckBox1->isChecked();
    FShownWave = {FState.StringLength, FState.Beta, followString};
    ProduceFrame(FState, *FFrameTarget, followString, ProcessPendingMessages);
    AdvanceTime(FState);
}

void TForm1::SetTimerEnabled(bool enabled) {
    if (!enabled) {
        FTimer1->stop();
        RefreshChartDescription();
        return;
    }
    // A running timer keeps its rhythm; a stopped one starts a fresh interval.
    if (FTimer1->isActive()) {
        return;
    }
    FTimer1->start();
    if (!FTimer1->isActive()) {
        throw TimerError(std::string(ProgramStrings::NoTimers));
    }
    RefreshChartDescription();
}

std::string TForm1::ChartDescription() const {
    std::string text;
    if (FSeries1->PointCount() == 0) {
        text = ProgramStrings::ChartEmpty;
    } else {
        text = FormatMessage(
            ProgramStrings::ChartWave,
            {DecimalText(FShownWave.StringLength), DecimalText(FShownWave.Beta),
             FShownWave.FollowsString ? ProgramStrings::WaveHeld : ProgramStrings::WaveDrifts});
    }
    // The limits read as the axes label them.
    const TChart& chart = FUi->Chart1->Chart();
    const TChartAxis& bottom = chart.BottomAxis();
    const TChartAxis& left = chart.LeftAxis();
    text += ' ';
    text += FormatMessage(ProgramStrings::ChartAxes,
                          {bottom.AxisLabelText(bottom.Minimum()),
                           bottom.AxisLabelText(bottom.Maximum()),
                           left.AxisLabelText(left.Minimum()), left.AxisLabelText(left.Maximum())});
    text += ' ';
    text += FTimer1->isActive() ? ProgramStrings::AnimationRuns : ProgramStrings::AnimationStopped;
    return text;
}

void TForm1::RefreshChartDescription() {
    const QString description = QString::fromStdString(ChartDescription());
    if (FUi->Chart1->accessibleDescription() != description) {
        FUi->Chart1->setAccessibleDescription(description);
        // Screen readers keep what they have read until they are told of a change, which
        // the widget's setter does not announce in every Qt version.
        QAccessibleEvent changed(FUi->Chart1, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

void TForm1::ShowException(const std::string& message) {
    FMessageBoxes->ShowModal(this, {FromView(ProgramStrings::Title),
                                    ErrorBoxText(QString::fromStdString(message)), QMessageBox::Ok,
                                    QMessageBox::Critical});
}
