// SPDX-License-Identifier: MIT
#include <korvatel/render/ChartWidget.h>

#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/ChartSurface.h>
#include <korvatel/core/Rounding.h>

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <QtDebug>
#include <cmath>
#include <optional>

namespace Korvatel {

namespace {

// The size a chart has before anything sizes it, as a layout's wish.
constexpr int DefaultWidth = 400;
constexpr int DefaultHeight = 250;

// The pixel that holds a position of the window system (which may be fractional on scaled
// screens).
std::int32_t PixelOf(double position) {
    return ClampToInt32(RoundHalfEven(std::floor(position)));
}

TPoint PixelOf(const QSinglePointEvent& event) {
    return {PixelOf(event.position().x()), PixelOf(event.position().y())};
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons,
                         bool doubleClick = false) {
    TShiftState shift;
    shift.Shift = modifiers.testFlag(Qt::ShiftModifier);
    shift.Alt = modifiers.testFlag(Qt::AltModifier);
    shift.Ctrl = modifiers.testFlag(Qt::ControlModifier);
    shift.Left = buttons.testFlag(Qt::LeftButton);
    shift.Right = buttons.testFlag(Qt::RightButton);
    shift.Middle = buttons.testFlag(Qt::MiddleButton);
    shift.Double = doubleClick;
    return shift;
}

// The chart knows three buttons; the others (back, forward, ...) are not its business.
std::optional<TMouseButton> ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return mbLeft;
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return std::nullopt;
    }
}

Qt::CursorShape CursorShapeOf(TCursor cursor) {
    switch (cursor) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
        return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag:
        return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crHSplit:
        return Qt::SplitHCursor;
    case crVSplit:
        return Qt::SplitVCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        // crArrow, and ids the window system does not know.
        return Qt::ArrowCursor;
    }
}

// What assistive technology learns of the widget: that it is a chart, named by its owner or
// else by its title. What it shows only the owner can put into words (its description).
class TChartAccessible : public QAccessibleWidget {
public:
    explicit TChartAccessible(TChartWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Chart) {}

    QString text(QAccessible::Text kind) const override {
        QString text = QAccessibleWidget::text(kind);
        if (text.isEmpty() && kind == QAccessible::Name) {
            const auto& chart = static_cast<const TChartWidget*>(widget())->Chart();
            for (const std::string& line : chart.Title().Text()) {
                text += (text.isEmpty() ? "" : " ") + QString::fromStdString(line);
            }
        }
        return text;
    }
};

QAccessibleInterface* ChartAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TChartWidget::staticMetaObject.className())) {
        return new TChartAccessible(static_cast<TChartWidget*>(object));
    }
    return nullptr;
}

} // namespace

TChartWidget::TChartWidget(QWidget* parent) : QWidget(parent) {
    [[maybe_unused]] static const bool accessible =
        (QAccessible::installFactory(ChartAccessibleFactory), true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    FChart.SetSize(width(), height());
    FChart.SetWindow(this);
}

QSize TChartWidget::sizeHint() const {
    return {DefaultWidth, DefaultHeight};
}

TChartWidget::~TChartWidget() {
    // The chart outlives this body; it must not reach a half-destroyed widget.
    FChart.SetWindow(nullptr);
}

void TChartWidget::Invalidate() {
    if (!FUpdatePending) {
        FUpdatePending = true;
        update();
    }
}

void TChartWidget::SetCursorShape(TCursor cursor) {
    if (cursor == crDefault) {
        // The widget's usual cursor: the one it inherits.
        unsetCursor();
    } else {
        setCursor(CursorShapeOf(cursor));
    }
}

void TChartWidget::paintEvent(QPaintEvent* /*event*/) {
    // Cleared first: a request made while this paint runs asks for another one.
    FUpdatePending = false;
    if (FChart.Printing()) {
        return;
    }
    QPainter painter(this);
    TChartSurface window(painter);
    if (!FChart.Canvas().RepaintFromBuffer(window)) {
        FChart.DrawOnto(window, {0, 0, width(), height()});
    }
}

void TChartWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FChart.SetSize(width(), height());
}

// --- Mouse -------------------------------------------------------------------------------------

template <typename THandler>
void TChartWidget::Guarded(THandler&& handler) {
    try {
        handler();
    } catch (...) {
        // The report may be a modal box that takes the mouse: a drag that is left open would
        // go on with the next plain move.
        FChart.CancelDrags();
        if (OnException) {
            OnException(std::current_exception());
            return;
        }
        try {
            throw;
        } catch (const std::exception& error) {
            qWarning("Chart mouse handling failed: %s", error.what());
        } catch (...) {
            qWarning("Chart mouse handling failed");
        }
    }
}

void TChartWidget::Press(QMouseEvent* event, bool doubleClick) {
    event->accept();
    const std::optional<TMouseButton> button = ButtonOf(event->button());
    if (!button) {
        return;
    }
    const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons(), doubleClick);
    const TPoint at = PixelOf(*event);
    Guarded([&] { FChart.MouseDown(*button, shift, at.X, at.Y); });
}

void TChartWidget::mousePressEvent(QMouseEvent* event) {
    Press(event, false);
}

void TChartWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click: a press with the double-click flag.
    Press(event, true);
}

void TChartWidget::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
    const TPoint at = PixelOf(*event);
    Guarded([&] { FChart.MouseMove(shift, at.X, at.Y); });
}

void TChartWidget::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    const std::optional<TMouseButton> button = ButtonOf(event->button());
    if (!button) {
        return;
    }
    const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
    const TPoint at = PixelOf(*event);
    Guarded([&] { FChart.MouseUp(*button, shift, at.X, at.Y); });
}

void TChartWidget::wheelEvent(QWheelEvent* event) {
    event->accept();
    // The angle is what every wheel reports; a device that reports only pixels counts a pixel
    // as an eighth of a degree.
    const QPoint angle = event->angleDelta();
    const std::int32_t delta = angle.y() != 0 ? angle.y() : event->pixelDelta().y();
    const std::int32_t steps = FWheelSteps.Add(delta);
    if (steps == 0) {
        return;
    }
    const TShiftState shift = ShiftStateOf(event->modifiers(), event->buttons());
    const TPoint at = PixelOf(*event);
    // A positive delta is the wheel turned up, away from the user.
    const bool down = steps < 0;
    Guarded([&] {
        for (std::int32_t i = 0; i < std::abs(steps); ++i) {
            FChart.MouseWheel(down, shift, at.X, at.Y);
        }
    });
}

} // namespace Korvatel
