// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/ChartPen.h>
#include <korvatel/data/ChartSeries.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>
#include <memory>

namespace Korvatel {

// A series drawn as one polyline with a single pen, in point order, with no symbols and no
// per-point colours. It is the series that shows the wave.
//
// One repaint costs one pen set-up, then per visible point two value-to-pixel mappings and at
// most one line: the first visible point starts with a move (or with the segment from the
// point before it, which enters the chart from the left), and a point that lands on the pixel
// drawn just before it draws nothing.
class KORVATEL_EXPORT TFastLineSeries : public TChartSeries {
public:
    TFastLineSeries();
    ~TFastLineSeries() override;

    // True: an added point asks for a repaint; False: it is drawn at once onto the chart's
    // kept picture and nothing else happens (no events, no linked series, no repaint).
    bool AutoRepaint() const { return FAutoRepaint; }
    void SetAutoRepaint(bool value);

    TChartPen& LinePen() { return *FLinePen; }
    const TChartPen& LinePen() const { return *FLinePen; }
    // Takes the pen's settings, then its colour as the series colour.
    void SetLinePen(const TChartPen& pen);

    // The series colour is also the line's colour.
    void SetSeriesColor(TColor value) override;

    // Another fast line also hands over its pen and AutoRepaint.
    void Assign(TChartSeries& source) override;
    // Lifts the mark by Marks.ArrowLength above the point, so that an arrow leads up to it.
    void DrawPointMark(std::int32_t index, std::string_view text,
                       TSeriesMarkPosition& position) override;
    std::string EditorClassName() const override { return "TFastLineSeriesEditor"; }

    // Makes LinePen the canvas pen (a hidden pen draws nothing) with a clear brush.
    void PrepareLinePen();
    void DrawPoints() override;
    void DrawPoint(std::int32_t index) override;

    // The index of the point at the pixel, or of the first point of the line segment through
    // it, among the points drawn by the last repaint; -1 when there is none.
    std::int32_t PointAtPixel(std::int32_t x, std::int32_t y) const override;

    // The legend's sample of the line: a horizontal stroke across the middle of the rectangle.
    void DrawLegendSymbol(const TRect& rect) override;

    // The pixel of the point drawn last.
    std::int32_t LastDrawnX() const { return FLastDrawnX; }
    std::int32_t LastDrawnY() const { return FLastDrawnY; }

protected:
    void PointAdded(std::int32_t index) override;

private:
    // The visible points of a plain fast line, read and mapped a block at a time.
    void DrawVisiblePoints();
    // Draws point index at its pixel; previous is the pixel of the point before it, used
    // when index is the first visible point.
    void DrawPointAt(std::int32_t index, const TPoint& pixel, const TPoint& previous);
    // Draws a point that was just added, outside any repaint.
    void DrawAddedPoint(std::int32_t index);

    bool FAutoRepaint = true;
    std::unique_ptr<TChartPen> FLinePen;
    std::int32_t FLastDrawnX = 0;
    std::int32_t FLastDrawnY = 0;
};

} // namespace Korvatel
