// SPDX-License-Identifier: MIT
#include "CanvasImage.h"
#include "ChartPrinters.h"
#include <korvatel/canvas/SystemColors.h>
#include <korvatel/canvas/View3DOptions.h>

#include <QPainter>
#include <gtest/gtest.h>
#include <optional>

using namespace Korvatel;

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Red = qRgb(255, 0, 0);

// A window surface that is just an image, and one repaint of a panel into it.
struct TWindow {
    explicit TWindow(int width, int height)
        : Image(width, height, QImage::Format_RGB32), Surface(Image) {
        Image.fill(qRgb(0, 0, 255));
    }

    // Draws a red diagonal and a black frame over a white background: a whole repaint.
    TRect Repaint(TChartCanvas3D& canvas, const TRect& panel) {
        const TRect drawing = canvas.BeginDrawing(Surface, nullptr, panel, false);
        canvas.Brush().SetColor(clWhite);
        canvas.FillRectangle(drawing);
        canvas.Pen().SetColor(clRed);
        canvas.DrawLineSegment(drawing.Left, drawing.Top, drawing.Right, drawing.Bottom);
        canvas.ResetDrawingState();
        canvas.PresentBuffer(Surface, panel);
        return drawing;
    }

    QImage Image;
    TChartSurface Surface;
};

} // namespace

TEST(CanvasRepaintTest, ABufferedRepaintDrawsIntoAnImageOfThePanelSize) {
    TChartCanvas3D canvas;
    EXPECT_TRUE(canvas.OffscreenBuffered());
    EXPECT_TRUE(canvas.IsDirty());
    EXPECT_EQ(canvas.Bitmap(), nullptr);

    TWindow window(1000, 600);
    const TRect drawing = window.Repaint(canvas, {10, 20, 971, 549});
    EXPECT_EQ(drawing, (TRect{0, 0, 961, 529}));
    ASSERT_NE(canvas.Bitmap(), nullptr);
    EXPECT_EQ(canvas.Bitmap()->size(), QSize(961, 529));
    EXPECT_EQ(canvas.Bounds(), (TRect{10, 20, 971, 549}));
    EXPECT_FALSE(canvas.IsDirty());
    // The image went to the window with its top left at the panel's.
    EXPECT_EQ(window.Image.pixel(10, 20), Red);
    EXPECT_EQ(window.Image.pixel(960, 548), White);
    EXPECT_EQ(window.Image.pixel(970, 548), Red); // the diagonal's last pixel
    EXPECT_EQ(window.Image.pixel(9, 20), qRgb(0, 0, 255));
    EXPECT_EQ(window.Image.pixel(971, 20), qRgb(0, 0, 255));
    EXPECT_EQ(window.Image.copy(10, 20, 961, 529), *canvas.Bitmap());
}

TEST(CanvasRepaintTest, TheImageIsReusedAtTheSameSizeAndRecreatedOnResize) {
    TChartCanvas3D canvas;
    TWindow window(1000, 600);
    window.Repaint(canvas, {0, 0, 961, 529});
    const uchar* first = canvas.Bitmap()->constBits();
    canvas.MarkDirty();
    window.Repaint(canvas, {0, 0, 961, 529});
    EXPECT_EQ(canvas.Bitmap()->constBits(), first);
    window.Repaint(canvas, {5, 5, 966, 534}); // moved, same size
    EXPECT_EQ(canvas.Bitmap()->constBits(), first);

    window.Repaint(canvas, {0, 0, 962, 529});
    EXPECT_EQ(canvas.Bitmap()->size(), QSize(962, 529));
    window.Repaint(canvas, {0, 0, 962, 528});
    EXPECT_EQ(canvas.Bitmap()->size(), QSize(962, 528));
}

TEST(CanvasRepaintTest, RepaintFromBufferCopiesTheKeptImageOnlyWhenClean) {
    TChartCanvas3D canvas;
    TWindow window(100, 80);
    EXPECT_FALSE(canvas.RepaintFromBuffer(window.Surface)); // nothing drawn yet
    window.Repaint(canvas, {0, 0, 100, 80});
    const QImage kept = canvas.Bitmap()->copy();

    // The window was covered: it shows something else until the paint.
    window.Image.fill(qRgb(0, 255, 0));
    EXPECT_TRUE(canvas.RepaintFromBuffer(window.Surface));
    EXPECT_EQ(window.Image, kept);
    EXPECT_EQ(*canvas.Bitmap(), kept); // nothing new was drawn
    EXPECT_FALSE(canvas.IsDirty());

    canvas.MarkDirty();
    window.Image.fill(qRgb(0, 255, 0));
    EXPECT_FALSE(canvas.RepaintFromBuffer(window.Surface));
    EXPECT_EQ(window.Image.pixel(50, 40), qRgb(0, 255, 0));
    EXPECT_TRUE(canvas.IsDirty());
}

TEST(CanvasRepaintTest, BetweenRepaintsDrawingGoesIntoTheKeptImage) {
    // The rubber band of a mouse zoom is drawn between repaints; it must land in the picture
    // that the window copies, and drawing it again must remove it.
    TChartCanvas3D canvas;
    TWindow window(60, 40);
    window.Repaint(canvas, {0, 0, 60, 40});
    const QImage before = canvas.Bitmap()->copy();
    ASSERT_NE(canvas.TargetSurface(), nullptr);
    canvas.Pen().SetMode(pmNotXor);
    canvas.Brush().SetStyle(bsClear);
    canvas.DrawRectangle(5, 5, 30, 25);
    EXPECT_NE(*canvas.Bitmap(), before);
    EXPECT_FALSE(canvas.IsDirty());
    EXPECT_TRUE(canvas.RepaintFromBuffer(window.Surface));
    EXPECT_EQ(window.Image.pixel(5, 5), qRgb(0, 0, 0));
    canvas.DrawRectangle(5, 5, 30, 25);
    EXPECT_EQ(*canvas.Bitmap(), before);
}

TEST(CanvasRepaintTest, UnbufferedDrawingGoesStraightToTheWindow) {
    TChartCanvas3D canvas;
    TWindow window(50, 50);
    window.Repaint(canvas, {0, 0, 50, 50});
    canvas.SetOffscreenBuffered(false);
    EXPECT_EQ(canvas.Bitmap(), nullptr);
    EXPECT_TRUE(canvas.IsDirty());
    EXPECT_EQ(canvas.TargetSurface(), nullptr);

    window.Image.fill(qRgb(0, 0, 255));
    const TRect drawing = canvas.BeginDrawing(window.Surface, nullptr, {10, 10, 40, 40}, false);
    EXPECT_EQ(drawing, (TRect{10, 10, 40, 40}));
    EXPECT_EQ(canvas.TargetSurface(), &window.Surface);
    canvas.Pen().SetColor(clRed);
    canvas.DrawLineSegment(10, 10, 20, 10);
    canvas.PresentBuffer(window.Surface, {10, 10, 40, 40});
    EXPECT_EQ(canvas.TargetSurface(), nullptr);
    EXPECT_TRUE(canvas.IsDirty()); // nothing is kept to show again
    EXPECT_FALSE(canvas.RepaintFromBuffer(window.Surface));
    EXPECT_EQ(window.Image.pixel(10, 10), Red);
    EXPECT_EQ(window.Image.pixel(20, 10), qRgb(0, 0, 255));
}

TEST(CanvasRepaintTest, MonochromeFreesTheImageAndDrawsInTwoColours) {
    TChartCanvas3D canvas;
    int repaints = 0;
    canvas.OnRequestRepaint = [&] { ++repaints; };
    TWindow window(30, 30);
    window.Repaint(canvas, {0, 0, 30, 30});
    canvas.SetMonochrome(false);
    EXPECT_EQ(repaints, 0);
    canvas.SetMonochrome(true);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(canvas.Bitmap(), nullptr);
    EXPECT_TRUE(canvas.IsDirty());

    window.Repaint(canvas, {0, 0, 30, 30});
    TPixelSet colours;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            const QRgb pixel = canvas.Bitmap()->pixel(x, y);
            EXPECT_TRUE(pixel == White || pixel == qRgb(0, 0, 0)) << x << " " << y;
        }
    }
    TChartCanvas3D copy;
    copy.AssignSettings(canvas);
    EXPECT_TRUE(copy.Monochrome());
}

TEST(CanvasRepaintTest, ResetDrawingStateLeavesAKnownState) {
    TCanvasImage target(10, 10);
    TChartCanvas3D& canvas = target.Canvas;
    canvas.Pen().SetColor(clRed);
    canvas.Pen().SetWidth(3);
    canvas.Pen().SetStyle(psDot);
    canvas.Pen().SetMode(pmNotXor);
    canvas.Pen().SetSmallDots(true);
    canvas.Brush().SetColor(clBlue);
    canvas.Brush().SetStyle(bsCross);
    canvas.Font().SetColor(clRed);
    canvas.Font().SetSize(20);
    canvas.SetTextBackgroundColor(clYellow);
    canvas.SetTextBackgroundMode(cbmOpaque);
    canvas.ResetDrawingState();
    EXPECT_EQ(canvas.Pen().Color(), clBlack);
    EXPECT_EQ(canvas.Pen().Width(), 1);
    EXPECT_EQ(canvas.Pen().Style(), psSolid);
    EXPECT_EQ(canvas.Pen().Mode(), pmCopy);
    EXPECT_FALSE(canvas.Pen().SmallDots());
    EXPECT_EQ(canvas.Brush().Color(), clWhite);
    EXPECT_EQ(canvas.Brush().Style(), bsSolid);
    EXPECT_EQ(canvas.Font().Color(), clBlack);
    EXPECT_EQ(canvas.Font().Size(), 10);
    EXPECT_EQ(canvas.TextBackgroundColor(), clWhite);
    // Transparent, so that the first title of the next repaint is not boxed.
    EXPECT_EQ(canvas.TextBackgroundMode(), cbmTransparent);
    canvas.DrawTextAt(0, 0, "W");
    canvas.DrawLineSegment(0, 9, 5, 9);
    EXPECT_EQ(target.Pixels(qRgb(0, 0, 0)).count({4, 9}), 1u);
    EXPECT_EQ(target.Pixels(qRgb(255, 255, 0)).size(), 0u);
}

TEST(CanvasRepaintTest, TextBackgroundColourIsStoredResolved) {
    TChartCanvas3D canvas;
    canvas.SetTextBackgroundColor(clBtnFace);
    const QRgb face = ColorToRgb(clBtnFace);
    EXPECT_EQ(canvas.TextBackgroundColor(),
              static_cast<TColor>(qRed(face) | (qGreen(face) << 8) | (qBlue(face) << 16)));
}

TEST(CanvasRepaintTest, WithTheProjectionOffPointsStayWhereTheyAre) {
    TChartCanvas3D canvas;
    TWindow window(100, 100);
    TView3DOptions options;
    canvas.BeginDrawing(window.Surface, &options, {0, 0, 100, 100}, false);
    canvas.SetProjectionCentre(40, {0, 0, 100, 100}, {10, 20, 90, 80});
    EXPECT_FALSE(canvas.Is3D());
    EXPECT_DOUBLE_EQ(canvas.ZoomFactor(), 1.0);
    for (std::int32_t z : {0, 7, -50, 1000}) {
        EXPECT_EQ(canvas.ProjectPoint(13, 17, z), (TPoint{13, 17}));
        EXPECT_EQ(canvas.UnprojectPoint(13, 17, z), (TPoint{13, 17}));
    }
    canvas.PresentBuffer(window.Surface, {0, 0, 100, 100});
}

TEST(CanvasRepaintTest, TheOrthogonalProjectionShiftsDepthRightAndUp) {
    TChartCanvas3D canvas;
    TWindow window(10, 10);
    TView3DOptions options;
    options.SetHorizOffset(5);
    options.SetVertOffset(-3);
    canvas.BeginDrawing(window.Surface, &options, {0, 0, 400, 300}, true);
    canvas.SetProjectionCentre(41, {0, 0, 400, 300}, {11, 20, 300, 251});
    EXPECT_TRUE(canvas.Is3D());
    EXPECT_TRUE(canvas.IsOrthogonal());
    EXPECT_EQ(canvas.XCenter(), 155); // (11 + 300) div 2
    EXPECT_EQ(canvas.YCenter(), 135); // (20 + 251) div 2
    EXPECT_EQ(canvas.ZCenter(), 20);
    EXPECT_EQ(canvas.XCenterOffset(), 160);
    EXPECT_EQ(canvas.YCenterOffset(), 132);
    EXPECT_DOUBLE_EQ(canvas.PerspectiveFactor(), 15 / 35000.0);
    // Zoom 100 %: x' = x + z - xc + xo, y' = y - yc - z + yo.
    EXPECT_EQ(canvas.ProjectPoint(100, 100, 10), (TPoint{115, 87}));
    EXPECT_EQ(canvas.UnprojectPoint(115, 87, 10), (TPoint{100, 100}));

    // Zoom 50 %: rounding halves to even.
    options.SetZoom(50);
    canvas.BeginDrawing(window.Surface, &options, {0, 0, 400, 300}, true);
    canvas.SetProjectionCentre(41, {0, 0, 400, 300}, {11, 20, 300, 251});
    EXPECT_EQ(canvas.ProjectPoint(160, 100, 0), (TPoint{162, 114})); // 2.5 -> 2, -17.5 -> -18
    EXPECT_EQ(canvas.ProjectPoint(162, 100, 0), (TPoint{164, 114})); // 3.5 -> 4
    EXPECT_EQ(canvas.UnprojectPoint(164, 114, 0), (TPoint{163, 99}));

    // Between EnterFrontPlane and LeaveFrontPlane the projection is off.
    canvas.EnterFrontPlane();
    EXPECT_EQ(canvas.ProjectPoint(160, 100, 30), (TPoint{160, 100}));
    canvas.LeaveFrontPlane();
    EXPECT_EQ(canvas.ProjectPoint(160, 100, 0), (TPoint{162, 114}));

    // A zoom of 0 makes the inverse impossible: the point stays.
    options.SetZoom(0);
    canvas.BeginDrawing(window.Surface, &options, {0, 0, 400, 300}, true);
    EXPECT_EQ(canvas.UnprojectPoint(7, 9, 3), (TPoint{7, 9}));
    canvas.PresentBuffer(window.Surface, {0, 0, 400, 300});
}

TEST(CanvasRepaintTest, The3DFormsDrawTheirFlatFormsWithTheProjectionOff) {
    auto flat = [](TChartCanvas3D& canvas) {
        canvas.DrawHorizontalLine(2, 20, 3);
        canvas.DrawVerticalLine(4, 5, 25);
        canvas.DrawLineSegment(1, 28, 25, 12);
        canvas.DrawEllipse(10, 10, 21, 19);
        canvas.DrawTextAt(3, 15, "W");
        canvas.DrawRotatedText(25, 28, 90, "W");
        const TPoint corners[] = {{12, 2}, {20, 2}, {20, 8}, {12, 8}};
        canvas.DrawPolygon(corners);
    };
    auto projected = [](TChartCanvas3D& canvas) {
        canvas.DrawHorizontalLine3D(2, 20, 3, 9);
        canvas.DrawVerticalLine3D(4, 5, 25, 9);
        canvas.DrawLineSegment3D(1, 28, 25, 12, 9);
        canvas.DrawDepthLine3D(7, 7, 0, 30); // zero length when flat
        canvas.DrawEllipse3D(10, 10, 20, 18, 9);
        canvas.DrawTextAt3D(3, 15, 9, "W");
        canvas.DrawRotatedText3D(25, 28, 9, 90, "W");
        canvas.DrawRectangle3D({12, 2, 20, 8}, 9);
    };
    TCanvasImage expected(32, 32);
    TCanvasImage actual(32, 32);
    flat(expected.Canvas);
    projected(actual.Canvas);
    EXPECT_EQ(actual.Picture(), expected.Picture());
}

TEST(CanvasRepaintTest, ClipToChartBoxIn3DClipsToTheProjectedBox) {
    TChartCanvas3D canvas;
    TWindow window(200, 200);
    TView3DOptions options;
    canvas.BeginDrawing(window.Surface, &options, {0, 0, 200, 200}, true);
    canvas.SetProjectionCentre(40, {0, 0, 200, 200}, {50, 60, 150, 160});
    canvas.Brush().SetColor(clRed);
    canvas.ClipToChartBox({50, 60, 150, 160}, 0, 40);
    canvas.FillRectangle({0, 0, 200, 200});
    canvas.Pen().SetColor(clBlue);
    canvas.DrawHorizontalLine(0, 200, 100);
    const QImage picture = canvas.Bitmap()->copy();
    canvas.PresentBuffer(window.Surface, {0, 0, 200, 200});
    // The box reaches from its front face (50..150, 60..160) to its back face moved 40 right
    // and 40 up.
    EXPECT_EQ(picture.pixel(60, 150), Red);
    EXPECT_EQ(picture.pixel(185, 25), Red);
    EXPECT_EQ(picture.pixel(55, 25), White);   // above the front face, left of the back face
    EXPECT_EQ(picture.pixel(185, 155), White); // right of the front face, below the back face
    EXPECT_EQ(picture.pixel(40, 100), White);
    EXPECT_EQ(picture.pixel(100, 100), qRgb(0, 0, 255));
    EXPECT_EQ(picture.pixel(45, 100), White);
}

TEST(CanvasRepaintTest, AClipPutBackAfterANarrowerOneIsTheBoxRegionAgainOnEverySurface) {
    // A narrower clip for a while (as for a legend symbol), put back to no clip before the
    // region of a 3D chart box is set, or to that region within it: what follows is cut to
    // the box as if nothing had happened, on images of scale 1 and 2 and on pages of those
    // scales drawn through their own painters.
    for (const double ratio : {1.0, 2.0}) {
        for (const bool page : {false, true}) {
            SCOPED_TRACE(testing::Message() << "ratio " << ratio << (page ? " page" : " image"));
            const auto draw = [&](int narrowed) {
                QImage image(static_cast<int>(200 * ratio), static_cast<int>(200 * ratio),
                             QImage::Format_RGB32);
                image.fill(Qt::white);
                std::optional<QPainter> painter;
                std::optional<TChartSurface> surface;
                if (page) {
                    image.setDotsPerMeterX(static_cast<int>(3780 * ratio));
                    image.setDotsPerMeterY(static_cast<int>(3780 * ratio));
                    painter.emplace(&image);
                    painter->scale(ratio, ratio);
                    surface.emplace(*painter);
                } else {
                    image.setDevicePixelRatio(ratio);
                    surface.emplace(image);
                }
                TChartCanvas3D canvas;
                TView3DOptions options;
                canvas.BeginDrawingOn(*surface, &options, {0, 0, 200, 200}, true);
                canvas.SetProjectionCentre(40, {0, 0, 200, 200}, {50, 60, 150, 160});
                const auto narrow = [&] {
                    const TChartCanvas3D::TSavedClip saved = canvas.SaveClip();
                    canvas.ClipToRectangle({0, 0, 10, 10}); // nothing of the box, nor of what is drawn
                    canvas.Brush().SetColor(clBlue);
                    canvas.FillRectangle({20, 0, 200, 200});
                    canvas.Pen().SetColor(clBlue);
                    canvas.DrawLineSegment(20, 5, 200, 5);
                    canvas.RestoreClip(saved);
                };
                if (narrowed == 1) {
                    narrow();
                }
                // Something drawn without a clip in between, as the legend's texts are.
                canvas.Brush().SetColor(clGreen);
                canvas.FillRectangle({0, 190, 10, 200});
                canvas.ClipToChartBox({50, 60, 150, 160}, 0, 40);
                if (narrowed == 2) {
                    narrow();
                }
                canvas.Brush().SetColor(clRed);
                canvas.FillRectangle({0, 0, 200, 200});
                canvas.Pen().SetColor(clGreen);
                canvas.DrawHorizontalLine(0, 200, 100);
                canvas.EndDrawingOn();
                surface.reset();
                if (painter) {
                    painter->end();
                }
                return image;
            };
            const QImage expected = draw(0);
            // The box, and only the box (the back face reaches up to the top right).
            const auto at = [&](int x, int y) {
                return expected.pixel(static_cast<int>(x * ratio), static_cast<int>(y * ratio));
            };
            EXPECT_EQ(at(60, 150), Red);
            EXPECT_EQ(at(185, 25), Red);
            EXPECT_EQ(at(55, 25), White);
            EXPECT_EQ(at(40, 100), White);
            for (const int narrowed : {1, 2}) {
                EXPECT_TRUE(draw(narrowed) == expected) << "narrowed " << narrowed;
            }
        }
    }
}

TEST(CanvasRepaintTest, GradientsSpreadTheirColoursOverAtMost256Bands) {
    TCanvasImage target(5, 10);
    target.Canvas.FillGradient({0, 0, 5, 10}, clBlack, clWhite, gdTopBottom);
    // Ten bands of one row; channel i is MulDiv(i, 255, 9).
    for (int row = 0; row < 10; ++row) {
        const int value = (row * 255 * 2 + 9) / 18;
        EXPECT_EQ(target.Pixel(2, row), qRgb(value, value, value)) << row;
    }
    TCanvasImage reversed(10, 3);
    reversed.Canvas.FillGradient({10, 3, 0, 0}, clRed, clBlue, gdRightLeft); // normalised
    EXPECT_EQ(reversed.Pixel(9, 1), Red);
    EXPECT_EQ(reversed.Pixel(0, 1), qRgb(0, 0, 255));

    // 600 rows: 256 bands of two or three rows, each band one colour.
    TCanvasImage tall(2, 600);
    tall.Canvas.FillGradient({0, 0, 2, 600}, clBlack, clWhite, gdTopBottom);
    std::set<QRgb> colours;
    for (int row = 0; row < 600; ++row) {
        colours.insert(tall.Pixel(0, row));
    }
    EXPECT_EQ(colours.size(), 256u);
    EXPECT_EQ(tall.Pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(tall.Pixel(0, 599), White);

    // A band of one pixel takes the start colour instead of dividing by zero.
    TCanvasImage single(4, 1);
    single.Canvas.FillGradient({0, 0, 4, 1}, clRed, clBlue, gdTopBottom);
    EXPECT_EQ(single.Pixels(Red).size(), 4u);

    // The other directions cover the rectangle and start with colour A at their edge or corner.
    for (TGradientDirection direction : {gdFromCenter, gdFromTopLeft, gdFromBottomLeft}) {
        TCanvasImage other(20, 12, qRgb(1, 2, 3));
        other.Canvas.FillGradient({0, 0, 20, 12}, clRed, clBlue, direction);
        EXPECT_TRUE(other.Pixels(qRgb(1, 2, 3)).empty()) << direction;
        EXPECT_EQ(other.Pixel(0, direction == gdFromBottomLeft ? 11 : 0), Red) << direction;
    }
}
