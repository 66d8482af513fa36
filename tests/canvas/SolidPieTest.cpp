// SPDX-License-Identifier: MIT
// The slice of a pie or ring with thickness, drawn by the canvas in one call.
#include <QImage>
#include <cmath>
#include <gtest/gtest.h>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/ChartSurface.h>
#include <korvatel/canvas/SolidShading.h>
#include <korvatel/canvas/View3DOptions.h>
#include <numbers>

using namespace Korvatel;

namespace {

constexpr TColor Red = 0x0000E0;
constexpr QRgb White = qRgb(255, 255, 255);

QRgb Rgb(TColor color) {
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// A whole ring, thick enough that its far inner rim hangs down past the hole's near edge,
// drawn in one call in the oblique view onto a white 200 x 160 picture.
struct SolidRing : ::testing::Test {
    SolidRing() : window(200, 160, QImage::Format_RGB32), surface(window) {
        ring.X = 100;
        ring.Z = 20;
        ring.RadiusX = 60;
        ring.RadiusZ = 20;
        ring.InnerPercent = 40;
        ring.StartAngle = 0;
        ring.EndAngle = 2 * std::numbers::pi;
        ring.Top = 70;
        ring.Bottom = 100;
        ring.StartCut = false;
        ring.EndCut = false;
    }

    const QImage& Draw() {
        const TRect panel{0, 0, 200, 160};
        const TRect drawing = canvas.BeginDrawing(surface, &options, panel, true);
        canvas.SetProjectionCentre(40, panel, panel);
        canvas.Brush().SetColor(clWhite);
        canvas.FillRectangle(drawing);
        canvas.Brush().SetColor(Red);
        canvas.Pen().SetVisible(false);
        canvas.DrawPieSlice3D(ring, true, nullptr);
        canvas.PresentBuffer(surface, panel);
        surface.EndPainting();
        return window;
    }

    // The pixel of a point of the ring at an angle in degrees, a share of the outer radius
    // from its middle, and a number of rows below its top.
    TPoint At(double degrees, double radius, std::int32_t down) const {
        const double angle = degrees * std::numbers::pi / 180;
        return canvas.ProjectPoint(static_cast<std::int32_t>(std::lround(
                                       ring.X + radius * ring.RadiusX * std::cos(angle))),
                                   ring.Top + down,
                                   static_cast<std::int32_t>(std::lround(
                                       ring.Z + radius * ring.RadiusZ * std::sin(angle))));
    }

    QImage window;
    TChartSurface surface;
    TView3DOptions options;
    TChartCanvas3D canvas;
    TSolidPieSlice ring;
};

} // namespace

TEST_F(SolidRing, TheTopHidesTheFarInnerRimWhichShowsThroughTheHole) {
    const QImage& image = Draw();
    // The top just in front of the hole: the far inner rim hangs behind it.
    const TPoint top = At(270, 0.5, 0);
    EXPECT_EQ(image.pixel(top.X, top.Y), Rgb(Red));
    // The far inner rim, seen through the hole.
    const TPoint far = At(110, 0.4, 3);
    EXPECT_EQ(image.pixel(far.X, far.Y), Rgb(ShadedColor(Red, sfSide)));
    // The outer rim in front, and the background beside the ring.
    const TPoint rim = At(290, 0.98, 15);
    EXPECT_EQ(image.pixel(rim.X, rim.Y), Rgb(ShadedColor(Red, sfSide)));
    const TPoint beside = At(0, 1.1, 15);
    EXPECT_EQ(image.pixel(beside.X, beside.Y), White);
}
