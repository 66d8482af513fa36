// SPDX-License-Identifier: MIT
#include <korvatel/data/PieSeries.h>

#include "AxisLayout.h"
#include "CanvasImage.h"
#include <korvatel/render/Chart.h>
#include <korvatel/core/ChartErrors.h>
#include "ChartPrinters.h"

#include <gtest/gtest.h>
#include <limits>

using namespace Korvatel;

namespace {

constexpr QRgb White = qRgb(255, 255, 255);
constexpr QRgb Red = qRgb(255, 0, 0);
constexpr QRgb Green = qRgb(0, 128, 0);

// A pie drawn straight into a white 200 x 200 image, in a chart rectangle from (10, 10) to
// (190, 190): inside its frame the circle has radius 88 round (100, 99).
struct PieDrawing : ::testing::Test {
    PieDrawing() : image(200, 200, QImage::Format_RGB32), surface(image) {
        image.fill(White);
        chart.SetSize(200, 200);
        chart.SetView3D(false);
        chart.Canvas().SetTargetSurface(&surface);
        pie = new TPieSeries;
        pie->SetParentChart(&chart);
    }
    ~PieDrawing() override { chart.Canvas().SetTargetSurface(nullptr); }

    void Draw() {
        image.fill(White);
        LayOutAxes(chart, {10, 10, 190, 190});
        pie->ComputeVisibleRange();
        pie->DrawPoints();
        if (pie->Marks().Visible()) {
            pie->DrawMarks();
        }
        surface.EndPainting();
    }

    QImage image;
    TChartSurface surface;
    TChart chart;
    TPieSeries* pie; // owned by the chart
};

} // namespace

TEST_F(PieDrawing, SlicesTurnCounterClockwiseFromTheRotationAndAreFoundByTheMouse) {
    pie->AppendValue(1);
    pie->AppendValue(-1);
    Draw();
    EXPECT_EQ(pie->Circle(), (TPieCircle{{100, 99}, 88}));
    EXPECT_EQ(image.pixel(100, 59), Red);
    EXPECT_EQ(image.pixel(100, 139), Green);
    EXPECT_EQ(image.pixel(100, 9), White);
    EXPECT_EQ(pie->PointAtPixel(100, 59), 0);
    EXPECT_EQ(pie->PointAtPixel(100, 139), 1);
    EXPECT_EQ(pie->PointAtPixel(100, 5), -1);

    pie->SetRotationAngle(90);
    Draw();
    EXPECT_EQ(image.pixel(60, 99), Red);
    EXPECT_EQ(image.pixel(140, 99), Green);
    EXPECT_EQ(pie->PointAtPixel(140, 99), 1);
}

TEST_F(PieDrawing, SlicesOnTheCommonCentreShareTheirEdgesWithoutChangingAPixel) {
    // Each slice drawn as a closed polygon of its own gives the same picture.
    for (const double value : {3.0, 0.0, 2.0, 5.0, 1.0}) {
        pie->AppendValue(value);
    }
    pie->SetExplodedOffset(3, 20);
    pie->SetRotationAngle(30);
    Draw();
    TCanvasImage reference(200, 200);
    for (std::size_t i = 0; i < pie->Slices().size(); ++i) {
        reference.Canvas.Brush().SetColor(pie->PointColor(static_cast<std::int32_t>(i)));
        reference.Canvas.DrawPolygon(SliceOutline(pie->Slices()[i], pie->Circle().Radius));
    }
    EXPECT_EQ(image, reference.Picture());
}

TEST_F(PieDrawing, MarksKeepTheirRoomInsideTheChartRectangle) {
    // Narrow marks of two lines above and below the circle: their height and arrow count.
    pie->AppendValue(1, "A\rB");
    pie->AppendValue(1, "C\rD");
    pie->Marks().SetVisible(true);
    Draw();
    std::int32_t width = 0;
    std::int32_t height = 0;
    pie->LargestMarkBox(width, height);
    EXPECT_EQ(pie->Circle().Radius, 88 - height - pie->Marks().ArrowLength());
    const TSeriesMarkPosition& up = *pie->Marks().Position(0);
    EXPECT_EQ(up.ArrowFrom, pie->Slices()[0].MarkFrom);
    EXPECT_EQ(up.LeftTop.Y + up.Height, pie->Slices()[0].MarkTo.Y);
    EXPECT_GE(up.LeftTop.Y, 11);
    EXPECT_LE(pie->Marks().Position(1)->Bounds().Bottom, 189);
}

TEST_F(PieDrawing, RefusedSettingsAndPiesWithoutSlices) {
    for (const std::int32_t angle : {-1, 360}) {
        EXPECT_THROW(pie->SetRotationAngle(angle), ChartException);
    }
    for (const std::int32_t percent : {-1, 101}) {
        EXPECT_THROW(pie->SetExplodeBiggest(percent), ChartException);
        EXPECT_THROW(pie->SetExplodedOffset(2, percent), ChartException);
    }
    EXPECT_THROW(pie->SetExplodedOffset(-1, 10), ListIndexError);
    Draw();
    pie->AppendValue(0);
    pie->AppendValue(0);
    Draw();
    EXPECT_EQ(image.pixel(100, 99), White);
    EXPECT_EQ(pie->PointAtPixel(100, 99), -1);
    // Values that are not numbers have no slice: the one that is fills the circle.
    pie->AppendValue(std::numeric_limits<double>::quiet_NaN());
    pie->AppendValue(-std::numeric_limits<double>::infinity());
    pie->AppendValue(2);
    Draw();
    EXPECT_TRUE(pie->Slices()[4].Whole());
    EXPECT_EQ(pie->PointAtPixel(100, 99), 4);
}

TEST(PieChart, TheLegendListsPointsWithSlicesAndAPreviewHidesTheAxes) {
    TChart chart;
    auto* pie = new TPieSeries;
    pie->SetParentChart(&chart);
    pie->AppendValue(4);
    pie->AppendNull();
    pie->AppendValue(2);
    EXPECT_EQ(pie->LegendItemCount(), 2);
    EXPECT_EQ(pie->LegendItemToPoint(1), 2);
    // A pie alone leaves every side axis shown, as any chart without series on axes does.
    EXPECT_TRUE(chart.AxisIsShown(chart.LeftAxis()));
    pie->GalleryPreview();
    EXPECT_FALSE(chart.AxisIsShown(chart.LeftAxis()));

    TPieSeries copy;
    pie->SetExplodedOffset(1, 30);
    pie->SetRotationAngle(45);
    copy.Assign(*pie);
    EXPECT_EQ(copy.ExplodedOffset(1), 30);
    EXPECT_EQ(copy.RotationAngle(), 45);
}
