// SPDX-License-Identifier: MIT
// The canvas: the projection of the 3D box and the forms drawn through it.

#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/ChartCanvasDetail.h>
#include <korvatel/core/Rounding.h>
#include <korvatel/canvas/View3DOptions.h>

#include <cmath>
#include <numbers>

namespace Korvatel {

using namespace CanvasDetail;

// --- Projection ---------------------------------------------------------------------------------

void TChartCanvas3D::ComputeRotation() {
    const double toRadians = std::numbers::pi / 180.0;
    const double rotation = FView3DOptions != nullptr ? FView3DOptions->Rotation() : 345;
    const double elevation = FView3DOptions != nullptr ? FView3DOptions->Elevation() : 345;
    const double tilt = FView3DOptions != nullptr ? FView3DOptions->Tilt() : 0;
    const double cr = std::cos(rotation * toRadians);
    const double sr = std::sin(rotation * toRadians);
    // An elevation below 360 lifts the eye above the floor: at 270 it looks straight down on
    // the box, whose top is then nearest (the clip of the chart box takes the outline of the
    // top face there), and at the default 345 the floor and the tops of the solids show, as
    // in the oblique view. The box turns the other way round the horizontal axis, hence the
    // sign of the sine.
    const double ce = std::cos(elevation * toRadians);
    const double se = -std::sin(elevation * toRadians);
    const double ct = std::cos(tilt * toRadians);
    const double st = std::sin(tilt * toRadians);
    // Tilt (about the depth axis) after elevation (about the horizontal axis) after rotation
    // (about the vertical axis).
    FRotation = {ct * cr - st * se * sr,
                 -st * ce,
                 ct * sr + st * se * cr,
                 st * cr + ct * se * sr,
                 ct * ce,
                 st * sr - ct * se * cr,
                 -ce * sr,
                 se,
                 ce * cr};
}

void TChartCanvas3D::SetProjectionCentre(std::int32_t depth, const TRect&, const TRect& plotRect) {
    FXCenter = static_cast<std::int32_t>((std::int64_t{plotRect.Left} + plotRect.Right) / 2);
    FYCenter = static_cast<std::int32_t>((std::int64_t{plotRect.Top} + plotRect.Bottom) / 2);
    FZCenter = depth / 2;
    FXCenterOffset = FXCenter;
    FYCenterOffset = FYCenter;
    FPerspectiveFactor = 0.0;
    if (FView3DOptions != nullptr) {
        FXCenterOffset = AddLow32(FXCenter, FView3DOptions->HorizOffset());
        FYCenterOffset = AddLow32(FYCenter, FView3DOptions->VertOffset());
        if (FView3DOptions->Perspective() > 0) {
            FPerspectiveFactor = FView3DOptions->Perspective() / 35000.0;
        }
    }
}

TPoint TChartCanvas3D::ProjectPoint(std::int32_t x, std::int32_t y, std::int32_t z) const {
    if (!FIs3D) {
        return {x, y};
    }
    const long double zoom = FZoomFactor;
    if (FIsOrthogonal) {
        const std::int64_t px = std::int64_t{x} + z - FXCenter;
        const std::int64_t py = std::int64_t{y} - FYCenter - z;
        return {AddLow32(RoundHalfEvenLow32(zoom * px), FXCenterOffset),
                AddLow32(RoundHalfEvenLow32(zoom * py), FYCenterOffset)};
    }
    const double dx = static_cast<double>(std::int64_t{x} - FXCenter);
    const double dy = static_cast<double>(std::int64_t{y} - FYCenter);
    const double dz = static_cast<double>(std::int64_t{z} - FZCenter);
    const std::array<double, 9>& m = FRotation;
    const double rx = m[0] * dx + m[1] * dy + m[2] * dz;
    const double ry = m[3] * dx + m[4] * dy + m[5] * dz;
    const double rz = m[6] * dx + m[7] * dy + m[8] * dz;
    const long double scale =
        FPerspectiveFactor > 0 ? zoom * (1.0L - FPerspectiveFactor * rz) : zoom;
    return {AddLow32(RoundHalfEvenLow32(scale * rx), FXCenterOffset),
            AddLow32(RoundHalfEvenLow32(scale * ry), FYCenterOffset)};
}

TPoint TChartCanvas3D::UnprojectPoint(std::int32_t x, std::int32_t y, std::int32_t z) const {
    // Only the oblique view has an inverse; the perspective view gives the point back as it is.
    if (!FIs3D || !FIsOrthogonal || FZoomFactor == 0.0) {
        return {x, y};
    }
    const long double zoom = FZoomFactor;
    const std::int64_t px = std::int64_t{x} - FXCenterOffset;
    const std::int64_t py = std::int64_t{y} - FYCenterOffset;
    return {AddLow32(RoundHalfEvenLow32(px / zoom), std::int64_t{FXCenter} - z),
            AddLow32(RoundHalfEvenLow32(py / zoom), std::int64_t{FYCenter} + z)};
}

void TChartCanvas3D::EnterFrontPlane() {
    FWas3D = FIs3D;
    FIs3D = false;
}

void TChartCanvas3D::LeaveFrontPlane() {
    FIs3D = FWas3D;
}

// --- 3D forms -----------------------------------------------------------------------------------

void TChartCanvas3D::MovePenTo3D(std::int32_t x, std::int32_t y, std::int32_t z) {
    const TPoint p = ProjectPoint(x, y, z);
    MovePenTo(p.X, p.Y);
}

void TChartCanvas3D::DrawLineTo3D(std::int32_t x, std::int32_t y, std::int32_t z) {
    const TPoint p = ProjectPoint(x, y, z);
    DrawLineTo(p.X, p.Y);
}

void TChartCanvas3D::DrawLineSegment3D(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                       std::int32_t y1, std::int32_t z) {
    MovePenTo3D(x0, y0, z);
    DrawLineTo3D(x1, y1, z);
}

void TChartCanvas3D::DrawHorizontalLine3D(std::int32_t x0, std::int32_t x1, std::int32_t y,
                                          std::int32_t z) {
    MovePenTo3D(x0, y, z);
    DrawLineTo3D(x1, y, z);
}

void TChartCanvas3D::DrawVerticalLine3D(std::int32_t x, std::int32_t y0, std::int32_t y1,
                                        std::int32_t z) {
    MovePenTo3D(x, y0, z);
    DrawLineTo3D(x, y1, z);
}

void TChartCanvas3D::DrawDepthLine3D(std::int32_t x, std::int32_t y, std::int32_t z0,
                                     std::int32_t z1) {
    MovePenTo3D(x, y, z0);
    DrawLineTo3D(x, y, z1);
}

void TChartCanvas3D::DrawEllipse3D(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                   std::int32_t y1, std::int32_t z) {
    if (!FIs3D) {
        DrawEllipse(x0, y0, Saturated(std::int64_t{x1} + 1), Saturated(std::int64_t{y1} + 1));
        return;
    }
    const TPoint a = ProjectPoint(x0, y0, z);
    const TPoint b = ProjectPoint(x1, y1, z);
    DrawEllipse(a.X, a.Y, b.X, b.Y);
}

void TChartCanvas3D::DrawRectangle3D(const TRect& rect, std::int32_t z) {
    const TPoint corners[] = {
        ProjectPoint(rect.Left, rect.Top, z), ProjectPoint(rect.Right, rect.Top, z),
        ProjectPoint(rect.Right, rect.Bottom, z), ProjectPoint(rect.Left, rect.Bottom, z)};
    DrawPolygon(corners);
}

void TChartCanvas3D::DrawTextAt3D(std::int32_t x, std::int32_t y, std::int32_t z,
                                  std::string_view text) {
    const TPoint p = ProjectPoint(x, y, z);
    PaintText(p.X, p.Y, 0, text, TextZoom());
}

void TChartCanvas3D::DrawRotatedText3D(std::int32_t x, std::int32_t y, std::int32_t z,
                                       std::int32_t angle, std::string_view text) {
    const TPoint p = ProjectPoint(x, y, z);
    DrawRotatedText(p.X, p.Y, angle, text);
}

} // namespace Korvatel
