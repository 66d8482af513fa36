// SPDX-License-Identifier: MIT
#include "CanvasImage.h"

#include <korvatel/canvas/SolidGeometry.h>
#include <korvatel/canvas/View3DOptions.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

using namespace Korvatel;

namespace {

constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb Black = qRgb(0, 0, 0);

// A canvas on a white image with the projection on: oblique, x' = x + z and y' = y - z.
struct TSolidImage : TCanvasImage {
    explicit TSolidImage(bool orthogonal = true, std::int32_t rotation = 0,
                         std::int32_t elevation = 0, int size = 40)
        : TCanvasImage(size, size) {
        Options.SetOrthogonal(orthogonal);
        Options.SetRotation(rotation);
        Options.SetElevation(elevation);
        Options.SetPerspective(0);
        Canvas.BeginDrawingOn(Surface, &Options, {0, 0, size, size}, true);
        Canvas.SetProjectionCentre(0, {0, 0, size, size}, {0, 0, size, size});
        Canvas.Brush().SetColor(clRed);
    }
    ~TSolidImage() { Canvas.EndDrawingOn(); }
    TView3DOptions Options;
};

struct TFaces {
    std::vector<TProjectedPoint> Polygons;
    std::vector<TVisibleFace> Faces;
    // The middle of a face's polygon on the screen.
    TProjectedPoint Centre(std::size_t face) const {
        TProjectedPoint c;
        for (std::uint32_t i = 0; i < Faces[face].Count; ++i) {
            c.X += Polygons[Faces[face].First + i].X / Faces[face].Count;
            c.Y += Polygons[Faces[face].First + i].Y / Faces[face].Count;
        }
        return c;
    }
};

// The visible faces of a solid as a view sees it.
TFaces SeeMesh(const TSolidMesh& mesh, const TSolidView& view) {
    std::vector<TProjectedPoint> projected;
    for (const TSolidPoint& p : mesh.Vertices) {
        projected.push_back(ProjectSolidPoint(view, p));
    }
    TFaces faces;
    VisibleFaces(mesh, projected, faces.Polygons, faces.Faces);
    return faces;
}

TFaces SeeBox(const TSolidView& view) {
    const TProfilePoint square[] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
    TSolidMesh mesh;
    BuildPrism(mesh, square, saZ, 0, 10, false);
    return SeeMesh(mesh, view);
}

TSolidView ViewOf(bool orthogonal, std::int32_t rotation, std::int32_t elevation) {
    TSolidImage image(orthogonal, rotation, elevation);
    return image.Canvas.SolidView();
}

} // namespace

TEST(SolidGeometryTest, ABoxShowsOnlyTheFacesThatLookAtTheViewerTheFrontLast) {
    struct TCase {
        bool Orthogonal;
        std::int32_t Rotation;
        std::int32_t Elevation;
        std::vector<int> Shades; // farthest first
    };
    const TCase cases[] = {
        {true, 0, 0, {sfSide, sfTop, sfFront}}, // oblique: top and right side
        {false, 0, 0, {sfFront}},                // straight on
        {false, 20, 0, {sfSide, sfFront}},
        {false, 340, 0, {sfSide, sfFront}},
        {false, 0, 20, {sfTop, sfFront}},
        {false, 0, 340, {sfTop, sfFront}},
        {false, 180, 0, {sfSide}},               // the back only
        {false, 30, 330, {sfSide, sfTop, sfFront}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Rotation << " " << c.Elevation);
        const TFaces seen = SeeBox(ViewOf(c.Orthogonal, c.Rotation, c.Elevation));
        std::vector<int> shades;
        for (const TVisibleFace& face : seen.Faces) {
            shades.push_back(face.Shade);
        }
        // The faces behind the front do not overlap one another: their order is free, the
        // front comes last.
        if (!shades.empty()) {
            std::sort(shades.begin(), shades.end() - 1, std::greater<>());
        }
        EXPECT_EQ(shades, c.Shades);
    }
    // Turned one way the right side shows, turned the other the left; from above the top,
    // from below the bottom.
    const auto sideCentre = [](std::int32_t rotation, std::int32_t elevation) {
        const TFaces seen = SeeBox(ViewOf(false, rotation, elevation));
        return std::pair{seen.Centre(0), seen.Centre(seen.Faces.size() - 1)};
    };
    const auto [right, front] = sideCentre(20, 0);
    const auto [left, front2] = sideCentre(340, 0);
    EXPECT_LT((right.X - front.X) * (left.X - front2.X), 0);
    const auto [upper, front3] = sideCentre(0, 20);
    const auto [lower, front4] = sideCentre(0, 340);
    EXPECT_LT((upper.Y - front3.Y) * (lower.Y - front4.Y), 0);
}

TEST(SolidGeometryTest, ACurvedMantleShowsAsOneRunAndCurvesHaveFacetsForTheirSize) {
    // A standing cylinder in the oblique view: its top and the front half of its mantle.
    std::vector<TProfilePoint> circle;
    EllipseProfile(circle, 0, 0, 20, 20, 32);
    TSolidMesh cylinder;
    BuildPrism(cylinder, circle, saY, 0, 30, true);
    const TFaces seen = SeeMesh(cylinder, ViewOf(true, 0, 0));
    ASSERT_EQ(seen.Faces.size(), 2u);
    const std::size_t mantle = seen.Faces[0].Shade == sfSide ? 0 : 1;
    EXPECT_EQ(int{seen.Faces[mantle].Shade}, int{sfSide});
    EXPECT_EQ(int{seen.Faces[1 - mantle].Shade}, int{sfTop});
    // One polygon: about half the rings' 2 x 33 points, not 16 quads.
    EXPECT_GT(seen.Faces[mantle].Count, 30u);
    EXPECT_LT(seen.Faces[mantle].Count, 40u);

    // A cone seen from the side: its mantle runs from the apex over the front of the base.
    TSolidMesh cone;
    BuildApexSolid(cone, circle, saY, 30, {10, 10, 0}, true);
    const TFaces coneSeen = SeeMesh(cone, ViewOf(false, 0, 0));
    ASSERT_EQ(coneSeen.Faces.size(), 1u);
    EXPECT_EQ(coneSeen.Faces[0].Shade, sfSide);

    // Facets: multiples of 4 from 8 to 256, each chord within a third of a pixel of its arc.
    EXPECT_EQ(CurveFacets(0), 8u);
    EXPECT_EQ(CurveFacets(std::nan("")), 8u);
    EXPECT_EQ(CurveFacets(1e12), 256u);
    std::uint32_t previous = 0;
    for (const double radius : {1.0, 5.0, 20.0, 100.0, 400.0, 1000.0}) {
        const std::uint32_t n = CurveFacets(radius);
        EXPECT_EQ(n % 4, 0u);
        EXPECT_GE(n, previous);
        EXPECT_LE(radius * (1 - std::cos(std::numbers::pi / n)), 1.0 / 3 + 1e-9) << radius;
        previous = n;
    }
    EXPECT_LE(CurveFacets(100), 48u); // round, not wasteful
}

TEST(SolidDrawingTest, ABoxShadesItsTopAndSideAndOutlinesOnlyVisibleEdges) {
    // The box of columns 10..19, rows 15..24, depth 0..6: the top rises to row 9 and the side
    // reaches column 25.
    const QRgb front = qRgb(255, 0, 0);
    const QRgb top = qRgb(216, 0, 0);  // 15 % towards black
    const QRgb side = qRgb(191, 0, 0); // 25 % towards black
    TSolidImage shaded;
    shaded.Canvas.Pen().SetVisible(false);
    shaded.Canvas.DrawCube({10, 15, 20, 25}, 0, 6, true);
    EXPECT_EQ(shaded.Pixel(14, 20), front);
    EXPECT_EQ(shaded.Pixel(18, 16), front); // where the back face would lie
    EXPECT_EQ(shaded.Pixel(17, 12), top);
    EXPECT_EQ(shaded.Pixel(22, 18), side);
    EXPECT_EQ(shaded.Pixel(8, 20), White);
    EXPECT_EQ(shaded.Pixel(14, 27), White);
    EXPECT_EQ(shaded.Pixel(27, 12), White);

    // Without shading every face has the brush's colour.
    TSolidImage plain;
    plain.Canvas.Pen().SetVisible(false);
    plain.Canvas.DrawCube({10, 15, 20, 25}, 0, 6, false);
    EXPECT_EQ(plain.Pixel(17, 12), front);
    EXPECT_EQ(plain.Pixel(22, 18), front);

    // Outlined: the front's edges and the visible back edges are black; the hidden edges (the
    // back face's left and bottom ones, running through the top and the side) are not.
    TSolidImage outlined;
    outlined.Canvas.DrawCube({10, 15, 20, 25}, 0, 6, true);
    EXPECT_EQ(outlined.Pixel(10, 20), Black);
    EXPECT_EQ(outlined.Pixel(14, 15), Black);
    EXPECT_EQ(outlined.Pixel(20, 9), Black);  // the top's back edge
    EXPECT_EQ(outlined.Pixel(25, 14), Black); // the side's back edge
    EXPECT_EQ(outlined.Pixel(16, 12), top);   // the back's left edge, hidden
    EXPECT_EQ(outlined.Pixel(22, 18), side);  // the back's bottom edge, hidden
    EXPECT_EQ(outlined.Pixel(14, 20), front);
}

TEST(SolidDrawingTest, TheDefaultElevationLooksDownOnTheTopAndTheMirroredOneUpAtTheBottom) {
    // A box of columns 20..40, rows 20..40, depth 0..20 turned by the elevation alone, with
    // the middles of its top and bottom faces: one of them shows in the top's shade, the
    // other lies behind the front.
    const QRgb front = qRgb(255, 0, 0);
    const QRgb shade = qRgb(216, 0, 0);
    for (const std::int32_t elevation : {345, 15}) {
        SCOPED_TRACE(elevation);
        TSolidImage image(false, 0, elevation, 60);
        image.Canvas.Pen().SetVisible(false);
        image.Canvas.DrawCube({20, 20, 41, 41}, 0, 20, true);
        const TPoint top = image.Canvas.ProjectPoint(30, 20, 10);
        const TPoint bottom = image.Canvas.ProjectPoint(30, 40, 10);
        EXPECT_EQ(image.Pixel(top.X, top.Y), elevation == 345 ? shade : front);
        EXPECT_EQ(image.Pixel(bottom.X, bottom.Y), elevation == 345 ? front : shade);
        // The box's back lies above its front from above, and the view agrees.
        EXPECT_EQ(image.Canvas.TowardsViewer()[1] < 0, elevation == 345);
    }
}

TEST(SolidDrawingTest, EachSolidCoversItsBoxAndTheHitTestAgrees) {
    // Every solid in the oblique view: ink stays inside the projected box, the middle of the
    // front is covered and found by the hit test, and far outside nothing is.
    const TSolidKind kinds[] = {skCube, skCylinder, skCone, skPyramid, skArrow, skDisc};
    for (const TSolidKind kind : kinds) {
        SCOPED_TRACE(static_cast<int>(kind));
        TSolidImage image;
        image.Canvas.DrawSolid(kind, {10, 15, 20, 31}, 0, 6, sdUp, true);
        for (const auto& [x, y] : image.Ink()) {
            EXPECT_TRUE(x >= 10 && x <= 25 && y >= 9 && y <= 30) << x << "," << y;
        }
        EXPECT_NE(image.Pixel(15, 26), White);
        EXPECT_TRUE(image.Canvas.SolidContains(kind, {10, 15, 20, 31}, 0, 6, sdUp, 15, 26));
        EXPECT_FALSE(image.Canvas.SolidContains(kind, {10, 15, 20, 31}, 0, 6, sdUp, 5, 5));
        EXPECT_FALSE(image.Canvas.SolidContains(kind, {10, 15, 20, 31}, 0, 6, sdUp, 30, 26));
    }
    // A pyramid's apex is at its tip: pointing up it is narrow at the top, pointing down at
    // the bottom.
    TSolidImage up;
    up.Canvas.DrawPyramid({10, 10, 30, 30}, 0, 0, sdUp, false);
    TSolidImage down;
    down.Canvas.DrawPyramid({10, 10, 30, 30}, 0, 0, sdDown, false);
    EXPECT_EQ(up.Pixel(12, 12), White);
    EXPECT_NE(up.Pixel(12, 28), White);
    EXPECT_NE(down.Pixel(12, 12), White);
    EXPECT_EQ(down.Pixel(12, 28), White);
}

TEST(SolidDrawingTest, WildViewsAndCoordinatesStayBoundedAndQuick) {
    const auto start = std::chrono::steady_clock::now();
    const TRect boxes[] = {{10, 10, 20, 20},
                           {-2000000000, -2000000000, 2000000000, 2000000000},
                           {2000000000, 5, -2000000000, 30},
                           {30, 30, 30, 30}};
    for (const std::int32_t zoom : {0, 1, 100, 100000}) {
        for (const std::int32_t perspective : {0, 50, 100}) {
            for (const std::int32_t angle : {0, 90, 180, 271, 359}) {
                TSolidImage image(false, angle, 360 - angle);
                image.Options.SetZoom(zoom);
                image.Options.SetPerspective(perspective);
                image.Canvas.BeginDrawingOn(image.Surface, &image.Options, {0, 0, 40, 40}, true);
                image.Canvas.SetProjectionCentre(100, {0, 0, 40, 40}, {0, 0, 40, 40});
                for (const TRect& box : boxes) {
                    for (const TSolidKind kind : {skCube, skCylinder, skCone, skArrow, skDisc}) {
                        image.Canvas.DrawSolid(kind, box, -2000000000, 2000000000, sdLeft, true);
                        image.Canvas.SolidContains(kind, box, 0, 100, sdRight, 20, 20);
                    }
                }
            }
        }
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}
