// SPDX-License-Identifier: MIT
#pragma once

#include "MessageBoxes.h"
#include "SimulationState.h"

#include <QMetaObject>
#include <QSize>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QTimer;
class TLabeledEdit;
class TSeriesFrameTarget;
class TUpDown;

namespace Korvatel {
class TChartWidget;
class TFastLineSeries;
} // namespace Korvatel

namespace Ui {
class Form1;
}

// The limits of one parameter field and the simulation variable that receives the values it
// admits. A field finds its record through its Tag.
struct TParamBounds {
    double LowerBound = 0.0;
    double UpperBound = 0.0;
    double* TargetVariable = nullptr;
};

// The program's one window: the teal panel with the two parameter fields, the spin control
// that steps the velocity, the check box, Start and Stop, and the chart that shows the wave,
// plus the animation timer.
//
// The controls come from the stored layout (MainWindow.ui), read before FormCreate runs. The
// handlers keep the names of the events they serve. Each event reaches its handler through a
// boundary that shows any error the handler raises in the general error box, after which the
// program carries on. Handlers re-enter one another: every frame ends by dispatching pending
// events, so input handlers run inside a timer tick.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    // The message boxes, when given, show the program's messages (tests record them); the
    // window does not own them. Without them the window shows real message boxes.
    explicit TForm1(TMessageBoxes* messageBoxes = nullptr, QWidget* parent = nullptr);
    ~TForm1() override;

    // --- Components -----------------------------------------------------------------------

    QFrame* Panel2() const;
    QLineEdit* Edit1() const;
    Korvatel::TChartWidget* Chart1() const;
    TLabeledEdit* LabeledEdit1() const;
    TLabeledEdit* LabeledEdit3() const;
    QCheckBox* CheckBox1() const;
    QPushButton* Button1() const;
    QPushButton* Button2() const;
    TUpDown* UpDown1() const;
    QTimer* Timer1() const { return FTimer1; }
    Korvatel::TFastLineSeries& Series1() const { return *FSeries1; }

    const TSimulationState& State() const { return FState; }

    // --- Event handlers -------------------------------------------------------------------

    void FormCreate();
    void FormActivate();
    // Validates the parameter field that is the sender; any other sender is ignored.
    void LabeledEdit1Exit(QObject* sender);
    void LabeledEdit1KeyPress(QObject* sender, char16_t& key);
    void LabeledEdit1Click(QObject* sender);
    void LabeledEdit3Click(QObject* sender);
    void UpDown1Changing(QObject* sender, bool& allowChange);
    void Edit1Change(QObject* sender);
    void Button1Click(QObject* sender);
    void Button2Click(QObject* sender);
    void Timer1Timer(QObject* sender);

    // The general error box: the message with its full stop, the error icon and the
    // program's title.
    void ShowException(const std::string& message);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    template <typename THandler>
    void Guarded(THandler&& handler);

    void LoadStoredLayout();
    void CreateTimer1();
    void CreateSeries1();
    void ConnectEvents();
    void DisconnectEvents();
    void FitDesignedOuterSize();

    // The error path of a rejected field.
    void RejectField(TLabeledEdit& field);
    void SetTimerEnabled(bool enabled);

    // The chart's accessible description: what it shows, in words. It is brought up to date
    // after every drawing of the chart and whenever the animation starts or stops.
    std::string ChartDescription() const;
    void RefreshChartDescription();

    std::unique_ptr<Ui::Form1> FUi;
    std::unique_ptr<TMessageBoxes> FOwnedMessageBoxes;
    TMessageBoxes* FMessageBoxes = nullptr;
    QTimer* FTimer1 = nullptr;
    // Owned by Chart1's chart once attached.
    Korvatel::TFastLineSeries* FSeries1 = nullptr;
    std::unique_ptr<TSeriesFrameTarget> FFrameTarget;

    TSimulationState FState;
    // The parameters of the wave the last frame drew, for the chart's description.
    struct TShownWave {
        double StringLength = 0.0;
        double Beta = 0.0;
        bool FollowsString = true;
    } FShownWave;
    std::unique_ptr<TParamBounds> FLengthBounds;
    std::unique_ptr<TParamBounds> FVelocityBounds;

    std::vector<QMetaObject::Connection> FConnections;
    bool FActivated = false;
    // The window's outer size as stored; it is applied once the window manager's frame is
    // known.
    QSize FDesignOuterSize;
    bool FOuterSizePending = true;
};
