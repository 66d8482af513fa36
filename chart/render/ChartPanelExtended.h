// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/ChartGradient.h>
#include <korvatel/render/ChartPanel.h>

#include <QImage>
#include <cstdint>

namespace Korvatel {

// Which axes a scroll drag moves.
enum TPanningMode : std::uint8_t { pmNone, pmHorizontal, pmVertical, pmBoth };

// Adds the background gradient, the back image and the zoom and scroll settings to the panel.
class KORVATEL_EXPORT TCustomChartPanelExtended : public TCustomChartPanel {
public:
    TCustomChartPanelExtended();

    // Painted instead of the panel colour while it is visible.
    TChartGradient& Gradient() { return FGradient; }
    const TChartGradient& Gradient() const { return FGradient; }

    // A picture behind the chart, over the panel colour or gradient; none when null.
    const QImage& BackImage() const { return FBackImage; }
    void SetBackImage(const QImage& value);
    // How the picture fills its rectangle.
    TPictureBackMode BackImageMode() const { return FBackImageMode; }
    void SetBackImageMode(TPictureBackMode value) { SetSetting(FBackImageMode, value); }
    // The picture fills the back wall's inside, over the wall's fill, instead of the whole
    // panel (where it lies under the border and everything else).
    bool BackImageInside() const { return FBackImageInside; }
    void SetBackImageInside(bool value) { SetSetting(FBackImageInside, value); }

    // The zoom button starts a rubber band.
    bool AllowZoom() const { return FAllowZoom; }
    void SetAllowZoom(bool value) { SetSetting(FAllowZoom, value); }
    // Which axes the scroll button moves; pmNone switches scrolling off.
    TPanningMode AllowPanning() const { return FAllowPanning; }
    void SetAllowPanning(TPanningMode value) { SetSetting(FAllowPanning, value); }
    // A zoom is shown in steps, each painted at once.
    bool AnimatedZoom() const { return FAnimatedZoom; }
    void SetAnimatedZoom(bool value) { SetSetting(FAnimatedZoom, value); }
    // The steps of an animated zoom, the final one included; 1 or less shows only the final
    // range.
    std::int32_t AnimatedZoomSteps() const { return FAnimatedZoomSteps; }
    void SetAnimatedZoomSteps(std::int32_t value) { SetSetting(FAnimatedZoomSteps, value); }

    // The fill, the back image unless it belongs inside the chart rectangle, and the border.
    void PaintPanelBackground(const TRect& rect) override;
    void FillPanelArea(const TRect& rect) override;
    // Draws the back image into the rectangle as BackImageMode says; nothing without one.
    virtual void DrawBackImage(const TRect& rect);

private:
    // Published settings repaint only when they change, as every property of the chart does.
    template <typename T>
    void SetSetting(T& field, T value) {
        if (field != value) {
            field = value;
            RequestRepaint();
        }
    }

    TChartGradient FGradient;
    QImage FBackImage;
    TPictureBackMode FBackImageMode = pbmStretch;
    bool FBackImageInside = false;
    bool FAllowZoom = true;
    TPanningMode FAllowPanning = pmBoth;
    bool FAnimatedZoom = false;
    std::int32_t FAnimatedZoomSteps = 8;
};

} // namespace Korvatel
