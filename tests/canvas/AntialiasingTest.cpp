// SPDX-License-Identifier: MIT
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/ChartSurface.h>

#include <QImage>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace Korvatel;

namespace {

using TDraw = std::function<void(TChartCanvas3D&)>;

// Black drawing on a white 48 x 40 picture of the given device pixel ratio.
QImage Draw(double ratio, bool smooth, const TDraw& draw) {
    QImage image(static_cast<int>(48 * ratio), static_cast<int>(40 * ratio),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDevicePixelRatio(ratio);
    {
        TChartSurface surface(image);
        TChartCanvas3D canvas;
        canvas.SetAntialiasing(smooth);
        canvas.SetTargetSurface(&surface);
        canvas.Pen().SetColor(clBlack);
        canvas.Brush().SetColor(clBlack);
        canvas.Font().SetColor(clBlack);
        canvas.SetTextBackgroundMode(cbmTransparent);
        draw(canvas);
        canvas.SetTargetSurface(nullptr);
    }
    return image;
}

// Pixels between black and white: the blended edges.
int Shades(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            count += pixel != qRgb(0, 0, 0) && pixel != qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    return count;
}

struct TShape {
    std::string Name;
    TDraw Draw;
};

const std::vector<TShape>& SlantedShapes() {
    static const std::vector<TShape> shapes = {
        {"diagonal line", [](TChartCanvas3D& c) { c.DrawLineSegment(3, 4, 40, 30); }},
        {"dashed line",
         [](TChartCanvas3D& c) {
             c.Pen().SetStyle(psDash);
             c.DrawLineSegment(3, 30, 40, 6);
         }},
        {"wide line",
         [](TChartCanvas3D& c) {
             c.Pen().SetWidth(3);
             c.DrawLineSegment(3, 4, 40, 30);
         }},
        {"ellipse",
         [](TChartCanvas3D& c) {
             c.Brush().SetStyle(bsClear);
             c.DrawEllipse(4, 4, 40, 34);
         }},
        {"polygon without a pen",
         [](TChartCanvas3D& c) {
             c.Pen().SetVisible(false);
             const TPoint corners[] = {{4, 4}, {40, 10}, {20, 34}};
             c.DrawPolygon(corners);
         }},
        {"text", [](TChartCanvas3D& c) { c.DrawTextAt(2, 2, "Wave 8"); }},
        {"turned text", [](TChartCanvas3D& c) { c.DrawRotatedText(10, 38, 90, "Wave"); }},
    };
    return shapes;
}

} // namespace

TEST(AntialiasingTest, SlantedEdgesAreBlendedOnlyWhenSmooth) {
    for (const double ratio : {1.0, 2.0}) {
        for (const TShape& shape : SlantedShapes()) {
            SCOPED_TRACE(shape.Name + " at ratio " + std::to_string(ratio));
            EXPECT_EQ(Shades(Draw(ratio, false, shape.Draw)), 0);
            EXPECT_GT(Shades(Draw(ratio, true, shape.Draw)), 4);
        }
    }
}

TEST(AntialiasingTest, AxisAlignedShapesCoverTheSamePixelsSmoothOrNot) {
    const std::vector<TShape> shapes = {
        {"horizontal line", [](TChartCanvas3D& c) { c.DrawLineSegment(3, 7, 40, 7); }},
        {"vertical line, drawn upwards", [](TChartCanvas3D& c) { c.DrawLineSegment(9, 35, 9, 2); }},
        {"polyline",
         [](TChartCanvas3D& c) {
             const TPoint points[] = {{2, 2}, {30, 2}, {30, 20}, {10, 20}};
             c.DrawPolyline(points);
         }},
        {"rectangle",
         [](TChartCanvas3D& c) {
             c.Brush().SetColor(clRed);
             c.DrawRectangle(5, 6, 30, 25);
         }},
        {"polygon with a pen",
         [](TChartCanvas3D& c) {
             c.Brush().SetColor(clRed);
             const TPoint corners[] = {{4, 4}, {40, 4}, {40, 30}, {4, 30}};
             c.DrawPolygon(corners);
         }},
    };
    for (const double ratio : {1.0, 2.0}) {
        for (const TShape& shape : shapes) {
            SCOPED_TRACE(shape.Name + " at ratio " + std::to_string(ratio));
            EXPECT_EQ(Draw(ratio, true, shape.Draw), Draw(ratio, false, shape.Draw));
        }
        // Without an outline a smooth polygon covers what a fill of its rectangle does.
        SCOPED_TRACE(ratio);
        EXPECT_EQ(Draw(ratio, true,
                       [](TChartCanvas3D& c) {
                           c.Pen().SetVisible(false);
                           const TPoint corners[] = {{4, 4}, {40, 4}, {40, 30}, {4, 30}};
                           c.DrawPolygon(corners);
                       }),
                  Draw(ratio, false, [](TChartCanvas3D& c) { c.FillRectangle({4, 4, 40, 30}); }));
    }
}

TEST(AntialiasingTest, SmoothOutlinesRunThroughThePixelCentres) {
    // A circle's outline one pixel wide covers its top pixel mostly, not two half pixels.
    const QImage circle = Draw(1.0, true, [](TChartCanvas3D& c) {
        c.Brush().SetStyle(bsClear);
        c.DrawEllipse(4, 4, 41, 41);
    });
    EXPECT_LT(qGray(circle.pixel(22, 4)), 100);
    EXPECT_EQ(circle.pixel(22, 3), qRgb(255, 255, 255));
}

TEST(AntialiasingTest, ACanvasSwitchedOnDrawsItsNextTextSmooth) {
    const QImage image = Draw(1.0, false, [](TChartCanvas3D& c) {
        c.DrawTextAt(2, 2, "Wave");
        c.SetAntialiasing(true);
        c.DrawTextAt(2, 20, "Wave");
    });
    EXPECT_EQ(Shades(image.copy(0, 0, 48, 18)), 0);
    EXPECT_GT(Shades(image.copy(0, 18, 48, 22)), 4);
}

TEST(AntialiasingTest, ANotXorLineIsUndoneByDrawingItAgain) {
    // The rubber band of a mouse zoom is drawn twice in not-xor, also on a smooth chart.
    const QImage twice = Draw(1.0, true, [](TChartCanvas3D& c) {
        c.Pen().SetMode(pmNotXor);
        c.DrawLineSegment(3, 4, 40, 30);
        c.DrawLineSegment(3, 4, 40, 30);
    });
    QImage white(twice.size(), QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(twice, white);
    // Once, it covers the very pixels it covers on a sharp chart: the band stays pixel-exact.
    const auto once = [](TChartCanvas3D& c) {
        c.Pen().SetMode(pmNotXor);
        c.DrawLineSegment(3, 4, 40, 30);
    };
    EXPECT_EQ(Draw(1.0, true, once), Draw(1.0, false, once));
}
