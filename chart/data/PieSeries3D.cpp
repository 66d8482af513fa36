// SPDX-License-Identifier: MIT
// The pie with thickness: laid out lying flat in the 3D box and drawn back to front.

#include <algorithm>
#include <cmath>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/View3DOptions.h>
#include <korvatel/core/Rounding.h>
#include <korvatel/data/PieSeries.h>
#include <korvatel/render/AxisPanel.h>
#include <numbers>

namespace Korvatel {

namespace {

// The least share of its width that a pie seen from low down keeps as its height, so that a
// view along the table still shows a pie and not a line.
constexpr double LeastFlattening = 0.15;

// The thickness of the pie: the series' depth, but at least an eighth and at most half of the
// radius, so that a pie reads as a solid at any depth of the box.
std::int32_t PieThickness(std::int32_t depth, std::int32_t radius) {
    return std::clamp(depth, std::max(1, radius / 8), std::max(1, radius / 2));
}

} // namespace

void TPieSeries::DrawPoints3D() {
    TCustomAxisPanel* chart = ParentChart();
    TChartCanvas3D& canvas = chart->Canvas();
    const TView3DOptions& view = chart->View3DOptions();
    FDrawn3D = true;
    const std::vector<double> values = SliceValues();
    const std::vector<std::int32_t> explodes =
        PieExplodes(values, FExplodeBiggest, FExplodedOffsets);
    std::int32_t roomX = 0;
    std::int32_t roomY = 0;
    MarkRoom(roomX, roomY);
    const std::int32_t explode =
        explodes.empty() ? 0 : *std::max_element(explodes.begin(), explodes.end());

    // Seen from the view's elevation the circle's depth shrinks on the picture by the sine of
    // the elevation. The oblique view does not turn the box, so there the pie itself is
    // flattened by it; it is moreover sheared by its depth, which widens it.
    const bool oblique = canvas.IsOrthogonal();
    const double flattening = std::clamp(
        std::fabs(std::sin(view.Elevation() * std::numbers::pi / 180)), LeastFlattening, 1.0);
    const TRect inside = InsideFrame();
    const std::int64_t width = std::int64_t{inside.Right} - inside.Left;
    const std::int64_t height = std::int64_t{inside.Bottom} - inside.Top;
    const std::int32_t depth = std::max(1, EndDepth() - StartDepth());
    // The circle that fits the rectangle once its rows are stretched back to the circle's own
    // and its room for the thickness is taken off.
    const double shear = oblique ? std::sqrt(1 + flattening * flattening) : 1.0;
    const auto stretchedWidth = static_cast<std::int64_t>(std::floor(width / shear));
    const std::int64_t fullHeight = static_cast<std::int64_t>(height / flattening);
    std::int64_t thickness = PieThickness(depth, static_cast<std::int32_t>(std::min<std::int64_t>(
                                                     std::min(width, fullHeight) / 2, INT32_MAX)));
    const auto stretchedHeight = static_cast<std::int64_t>(
        std::max<double>(1, static_cast<double>(height - thickness) / flattening));
    const std::int64_t centreX = inside.Left + (width - 1) / 2;
    const std::int64_t centreY = inside.Top + (height - 1) / 2;
    const TRect stretched{ClampToInt32(centreX - stretchedWidth / 2),
                          ClampToInt32(centreY - stretchedHeight / 2),
                          ClampToInt32(centreX - stretchedWidth / 2 + stretchedWidth),
                          ClampToInt32(centreY - stretchedHeight / 2 + stretchedHeight)};
    FCircle = FitPieCircle(stretched, roomX,
                           ClampToInt32(static_cast<std::int64_t>(roomY / flattening)), explode);
    FSlices = PieSlices(values, FRotationAngle, explodes, FCircle, Marks().ArrowLength());
    thickness = PieThickness(depth, FCircle.Radius);

    // The perspective view turns the box by the elevation itself: its circle stays round.
    const double depthScale = oblique ? flattening : 1.0;
    FSolid = {};
    FSolid.X = FCircle.Centre.X;
    FSolid.Z = MiddleDepth();
    FSolid.RadiusX = FCircle.Radius;
    FSolid.RadiusZ = static_cast<std::int32_t>(std::lround(FCircle.Radius * depthScale));
    FSolid.InnerPercent = FDonutPercent;
    FSolid.Top = ClampToInt32(FCircle.Centre.Y - thickness / 2);
    FSolid.Bottom = ClampToInt32(std::int64_t{FSolid.Top} + thickness);

    const std::array<double, 3> towards = canvas.TowardsViewer();
    FPieces = PieDrawOrder(FSlices,
                           PieFrontAngle(towards[0], towards[2], FSolid.RadiusX, FSolid.RadiusZ));
    FPieceFaces.assign(FPieces.size(), {});

    // The marks' arrows start on the rim of the top face, in the middle of the slice, and run
    // on the picture away from the slice's centre.
    const std::int32_t arrow = Marks().ArrowLength();
    FMarkAngles.assign(FSlices.size(), 0.0);
    for (std::size_t i = 0; i < FSlices.size(); ++i) {
        TPieSlice& slice = FSlices[i];
        const double middle = slice.MiddleAngle();
        const std::int32_t x = slice.Centre.X;
        const std::int32_t z = SliceDepth(slice);
        const TPoint centre = canvas.ProjectPoint(x, FSolid.Top, z);
        const TPoint rim = canvas.ProjectPoint(
            ClampToInt32(std::lround(x + FSolid.RadiusX * std::cos(middle))), FSolid.Top,
            ClampToInt32(std::lround(z + FSolid.RadiusZ * std::sin(middle))));
        const double dx = static_cast<double>(rim.X) - centre.X;
        const double dy = static_cast<double>(centre.Y) - rim.Y;
        const double angle = dx == 0 && dy == 0 ? middle : std::atan2(dy, dx);
        FMarkAngles[i] = angle;
        slice.MarkFrom = rim;
        slice.MarkTo = {ClampToInt32(rim.X + std::lround(arrow * std::cos(angle))),
                        ClampToInt32(rim.Y - std::lround(arrow * std::sin(angle)))};
    }

    // The pie lies in the chart rectangle, not in the axes' box, which it would leave at
    // steep elevations: its clip is the rectangle's inside. The chart takes the clip off after
    // the series is drawn.
    if (chart->ClipPoints()) {
        canvas.RemoveClipping();
        canvas.ClipToRectangle(inside);
    }
    canvas.Brush().ClearImage();
    canvas.Brush().SetStyle(bsSolid);
    for (std::size_t piece = 0; piece < FPieces.size(); ++piece) {
        DrawPiece(piece);
    }
}

std::int32_t TPieSeries::SliceDepth(const TPieSlice& slice) const {
    // The slice's centre moved out on the picture of the flat pie moves back or forth on the
    // table, by the ratio of the ellipse's radii.
    const double scale = static_cast<double>(FSolid.RadiusZ) / std::max(1, FSolid.RadiusX);
    return ClampToInt32(std::int64_t{FSolid.Z} +
                        std::llround((std::int64_t{FCircle.Centre.Y} - slice.Centre.Y) * scale));
}

void TPieSeries::DrawPiece(std::size_t piece) {
    TChartCanvas3D& canvas = ParentChart()->Canvas();
    const TPiePiece& part = FPieces[piece];
    const TPieSlice& slice = FSlices[static_cast<std::size_t>(part.Index)];
    TSolidPieSlice solid = FSolid;
    // An exploded slice moves out along its middle on the table.
    solid.X = slice.Centre.X;
    solid.Z = SliceDepth(slice);
    solid.StartAngle = part.StartAngle;
    solid.EndAngle = part.EndAngle;
    solid.StartCut = part.StartCut;
    solid.EndCut = part.EndCut;
    canvas.Brush().SetColor(PointColor(part.Index));
    canvas.ApplyChartPen(*FPiePen);
    std::vector<std::vector<TPoint>>& faces = FPieceFaces[piece];
    faces.clear();
    canvas.DrawPieSlice3D(solid, Dark3D(), &faces);
}

} // namespace Korvatel
