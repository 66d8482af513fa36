// SPDX-License-Identifier: MIT
// The pie with thickness and the ring: drawn through the whole chart, looked at by pixels.
#include <QImage>
#include <cmath>
#include <gtest/gtest.h>
#include <korvatel/canvas/SolidShading.h>
#include <korvatel/canvas/View3DOptions.h>
#include <korvatel/core/ChartErrors.h>
#include <korvatel/data/PieSeries.h>
#include <korvatel/render/Chart.h>
#include <numbers>

using namespace Korvatel;

namespace {

constexpr TColor Red = 0x0000E0;
constexpr TColor Blue = 0xFF0000;
constexpr TColor Green = 0x00C000;

QRgb Rgb(TColor color) {
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// A chart with a pie alone on it, without axes, walls, title or legend.
struct PieChart3D : ::testing::Test {
    PieChart3D() {
        chart.SetView3DWalls(false);
        chart.SetColor(clWhite);
        chart.Title().SetVisible(false);
        chart.Legend().SetVisible(false);
        pie = new TPieSeries;
        pie->SetParentChart(&chart);
        pie->GalleryPreview();
    }

    void Add(std::initializer_list<std::pair<double, TColor>> slices) {
        for (const auto& [value, color] : slices) {
            pie->AppendValue(value, "", color);
        }
    }

    QImage Draw() { return chart.DrawToImage(300, 240); }

    // The pixel of a point of a slice lying flat: at an angle in degrees, a share of the
    // radius from the slice's (exploded) centre, a share of the thickness down from the top.
    TPoint At(std::int32_t index, double degrees, double radius, double down) {
        const TSolidPieSlice& solid = pie->Solid();
        const TPieSlice& slice = pie->Slices()[static_cast<std::size_t>(index)];
        const double angle = degrees * std::numbers::pi / 180;
        const double scale = static_cast<double>(solid.RadiusZ) / solid.RadiusX;
        const double z = solid.Z + (pie->Circle().Centre.Y - slice.Centre.Y) * scale;
        return chart.Canvas().ProjectPoint(
            static_cast<std::int32_t>(
                std::lround(slice.Centre.X + radius * solid.RadiusX * std::cos(angle))),
            static_cast<std::int32_t>(std::lround(solid.Top + down * (solid.Bottom - solid.Top))),
            static_cast<std::int32_t>(std::lround(z + radius * solid.RadiusZ * std::sin(angle))));
    }

    // The angle of the pie's front, in degrees.
    double Front() {
        const std::array<double, 3> towards = chart.Canvas().TowardsViewer();
        return PieFrontAngle(towards[0], towards[2], pie->Solid().RadiusX, pie->Solid().RadiusZ) *
               180 / std::numbers::pi;
    }

    TChart chart;
    TPieSeries* pie; // owned by the chart
};

} // namespace

TEST_F(PieChart3D, TheSliceInFrontHidesTheOneBehindAfterRotationAndExplode) {
    Add({{1, Red}, {1, Blue}});
    struct TCase {
        std::int32_t Rotation;
        std::int32_t Exploded;
        std::int32_t InFront;
    };
    // Rotation 0: red lies at the back, blue in front; 180 turns them round. An exploded slice
    // keeps its place in the order.
    for (const TCase c :
         {TCase{0, -1, 1}, TCase{180, -1, 0}, TCase{0, 0, 1}, TCase{0, 1, 1}, TCase{180, 1, 0}}) {
        pie->SetRotationAngle(c.Rotation);
        pie->SetExplodedOffset(0, c.Exploded == 0 ? 30 : 0);
        pie->SetExplodedOffset(1, c.Exploded == 1 ? 30 : 0);
        const QImage image = Draw();
        const TColor front = c.InFront == 0 ? Red : Blue;
        // The rim at the front, half way down.
        const TPoint rim = At(c.InFront, Front(), 0.97, 0.5);
        EXPECT_EQ(image.pixel(rim.X, rim.Y), Rgb(ShadedColor(front, sfSide))) << c.Rotation;
        EXPECT_EQ(pie->PointAtPixel(rim.X, rim.Y), c.InFront) << c.Rotation;
        // The top of the front slice just before the cut the two slices share: the cut face
        // of the slice behind hangs down there, under the front slice's top.
        const TPoint top = At(c.InFront, 350, 0.5, 0);
        EXPECT_EQ(image.pixel(top.X, top.Y), Rgb(front)) << c.Rotation;
        EXPECT_EQ(pie->PointAtPixel(top.X, top.Y), c.InFront) << c.Rotation;
    }
}

TEST_F(PieChart3D, TheFacesTowardsTheViewerShowFromEveryElevation) {
    Add({{1, Red}});
    // Seen steeply the rim is a few pixels high: no outline on it.
    pie->PiePen().SetVisible(false);
    struct TCase {
        bool Orthogonal;
        std::int32_t Elevation;
    };
    for (const TCase c : {TCase{true, 345}, TCase{false, 345}, TCase{false, 300}, TCase{false, 20},
                          TCase{false, 60}}) {
        chart.View3DOptions().SetOrthogonal(c.Orthogonal);
        chart.View3DOptions().SetElevation(c.Elevation);
        for (const bool dark : {true, false}) {
            pie->SetDark3D(dark);
            const QImage image = Draw();
            // Seen from above the top face shows, from below the bottom face.
            const bool above = chart.Canvas().TowardsViewer()[1] < 0;
            const TPoint face = At(0, 0, 0, above ? 0 : 1);
            EXPECT_EQ(image.pixel(face.X, face.Y), Rgb(Red)) << c.Elevation;
            const TPoint rim = At(0, Front(), 0.97, 0.5);
            EXPECT_EQ(image.pixel(rim.X, rim.Y), Rgb(dark ? ShadedColor(Red, sfSide) : Red))
                << c.Elevation << " " << dark;
        }
    }
}

TEST_F(PieChart3D, ARingMissesInItsHoleAndKeepsItsMarksOnTheRing) {
    for (const std::int32_t percent : {-1, 101}) {
        EXPECT_THROW(pie->SetDonutPercent(percent), ChartException);
    }
    Add({{1, Red}, {1, Blue}, {2, Green}});
    pie->SetDonutPercent(50);
    pie->Marks().SetVisible(true);
    for (const bool view3D : {false, true}) {
        chart.SetView3D(view3D);
        const QImage image = Draw();
        // Just inside the hole's front edge: the background shows, and a click finds nothing.
        const TPoint hole = view3D ? At(2, 270, 0.45, 0)
                                   : TPoint{pie->Circle().Centre.X, pie->Circle().Centre.Y + 2};
        EXPECT_EQ(image.pixel(hole.X, hole.Y), qRgb(255, 255, 255)) << view3D;
        EXPECT_EQ(pie->PointAtPixel(hole.X, hole.Y), -1) << view3D;
        // Each mark's arrow starts on its slice's outer rim: a step back towards the middle
        // lies on the ring.
        for (std::int32_t i = 0; i < 3; ++i) {
            const TPoint from = pie->Marks().Position(i)->ArrowFrom;
            const TPoint middle = view3D ? At(i, 0, 0, 0) : pie->Slices()[i].Centre;
            const double dx = middle.X - from.X;
            const double dy = middle.Y - from.Y;
            const double step = 3 / std::hypot(dx, dy);
            const TPoint inside{static_cast<std::int32_t>(std::lround(from.X + dx * step)),
                                static_cast<std::int32_t>(std::lround(from.Y + dy * step))};
            EXPECT_EQ(pie->PointAtPixel(inside.X, inside.Y), i) << view3D << " " << i;
        }
    }
}

TEST_F(PieChart3D, OutlinesRunOnTheSolidsEdgesNotWhereASliceIsCutInPieces) {
    // A whole pie is drawn as two halves cut at its front and back: no edge shows there, on
    // the top or down the rim. The edge of the top face shows in the pen's colour.
    Add({{1, Red}});
    pie->PiePen().SetColor(clBlack);
    const QImage image = Draw();
    for (const double share : {0.3, 0.6, 0.9}) {
        const TPoint top = At(0, Front(), share, 0);
        EXPECT_EQ(image.pixel(top.X, top.Y), Rgb(Red)) << share;
    }
    const TPoint rim = At(0, Front(), 1, 0.5);
    EXPECT_EQ(image.pixel(rim.X, rim.Y), Rgb(ShadedColor(Red, sfSide)));
    const TPoint edge = At(0, Front() + 180, 1, 0);
    EXPECT_EQ(image.pixel(edge.X, edge.Y), qRgb(0, 0, 0));
}
