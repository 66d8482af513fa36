#include "CustomChart.h"

#include "ChartCanvas3D.h"
#include "ChartSeries.h"
#include "SystemColors.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace {

// The fixed gap between a title block and the chart rectangle.
constexpr std::int64_t BlockGap = 5;

// The default colour of the left wall: red 255, green 255, blue 128, a pale yellow.
constexpr TColor LeftWallColor = 8454143;

// Block geometry is computed in 64 bits (a frame width or a list of lines may be absurdly
// large); what is stored as a pixel is kept inside 32 bits.
std::int32_t Saturated(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// A colour three quarters as bright, for the side faces of a thick 3D wall.
TColor Darker(TColor color) {
    const QRgb rgb = ColorToRgb(color);
    const auto scale = [](int channel) { return channel * 3 / 4; };
    return static_cast<TColor>(scale(qRed(rgb)) | (scale(qGreen(rgb)) << 8) |
                               (scale(qBlue(rgb)) << 16));
}

// The canvas brush colour of a hatch whose brush has no colour of its own.
void ResolveHatchColor(TChartBrush& brush) {
    if (brush.Color() == clDefault) {
        brush.SetColor(clBlack);
    }
}

} // namespace

TCustomChart::TCustomChart()
    : FTitle(this), FFoot(this), FBackWall(this, clDefault, bsClear),
      FLeftWall(this, LeftWallColor), FLegend(this), FBottomWall(this, clWhite) {}

void TCustomChart::SetBackColor(TColor value) {
    FBackWall.SetColor(value);
    if (!Loading()) {
        FBackWall.Brush().SetStyle(bsSolid);
    }
}

bool TCustomChart::HasActiveSeries() const {
    const TChartSeriesList& list = SeriesList();
    return std::any_of(list.begin(), list.end(),
                       [](const TChartSeries* series) { return series->Active(); });
}

// --- Title blocks ------------------------------------------------------------------------------

void TCustomChart::DrawTitleBlocks() {
    TChartCanvas3D& canvas = Canvas();
    canvas.EnterFrontPlane();
    const auto drawTitles = [this] {
        if (FTitle.Visible()) {
            DrawBlock(FTitle, true);
        }
        if (FFoot.Visible()) {
            DrawBlock(FFoot, false);
        }
    };
    if (!FLegend.Visible() || !HasActiveSeries()) {
        drawTitles();
    } else if (FLegend.Alignment() == laLeft || FLegend.Alignment() == laRight) {
        // A legend beside the chart rectangle takes the full height; the blocks then span
        // only what it leaves.
        DrawLegend();
        drawTitles();
    } else {
        drawTitles();
        DrawLegend();
    }
    canvas.LeaveFrontPlane();
}

void TCustomChart::ApplyBlockBackground(TChartTitle& title) {
    TChartCanvas3D& canvas = Canvas();
    TChartBrush& target = canvas.Brush();
    const TChartBrush& brush = title.Brush();
    const TColor color = title.Color();
    if (color == clDefault) {
        if (brush.Style() != bsSolid) {
            // A hatch (or no fill) of the block's brush, over whatever lies behind it.
            target.Assign(brush);
            ResolveHatchColor(target);
            canvas.SetTextBackgroundMode(cbmTransparent);
        } else if (brush.Color() == clDefault) {
            target.ClearImage();
            target.SetStyle(bsClear);
        } else {
            // The block adopts its brush colour for good; the property change asks for a
            // repaint. This pass already fills in the adopted colour, so the picture is right
            // from the first repaint on.
            title.SetColor(brush.Color());
            target.ClearImage();
            target.SetColor(brush.Color());
            target.SetStyle(bsSolid);
        }
    } else if (brush.Style() != bsSolid) {
        // The hatch lines in the brush colour over the block's colour.
        target.Assign(brush);
        ResolveHatchColor(target);
        canvas.SetTextBackgroundColor(color);
        canvas.SetTextBackgroundMode(cbmOpaque);
    } else {
        target.ClearImage();
        target.SetColor(color);
        target.SetStyle(bsSolid);
    }
}

void TCustomChart::DrawBlock(TChartTitle& title, bool onTop) {
    TChartCanvas3D& canvas = Canvas();
    SelectFont(title.Font());
    const std::int64_t h = canvas.TextRowHeight();
    ApplyBlockBackground(title);

    // A frame without a colour of its own is not drawn and takes no room; a negative width
    // takes none either.
    const TChartPen& frame = title.Frame();
    const bool frameCounts = frame.Visible() && frame.Color() != clDefault;
    const std::int64_t f = frameCounts ? std::max(frame.Width(), 0) : 0;

    // The edges the lines are placed by; the frame lies outside them.
    const TRect plot = PlotRect();
    const std::int64_t left = plot.Left + f;
    const std::int64_t right = plot.Right - f;
    std::int64_t top = 0;
    std::int64_t bottom = 0;
    if (onTop) {
        top = plot.Top + f;
        bottom = top - BlockGap;
    } else {
        bottom = plot.Bottom - f;
        top = bottom + BlockGap;
    }

    TChartPen& pen = canvas.Pen();
    if (frameCounts) {
        pen.SetColor(frame.Color());
        pen.SetWidth(frame.Width());
        pen.SetStyle(frame.Style());
        pen.SetMode(frame.Mode());
        pen.SetSmallDots(false);
        pen.SetVisible(true);
    } else {
        pen.SetStyle(psClear);
    }

    const std::vector<std::string>& lines = title.Text();
    const auto n = static_cast<std::int64_t>(lines.size());
    std::int64_t blockLeft = left - f;
    std::int64_t blockRight = right + f;
    const std::int64_t blockTop = (onTop ? top : bottom - n * h) - f;
    const std::int64_t blockBottom = (onTop ? top + n * h : bottom) + f;

    const std::int64_t w = canvas.MeasureTextWidth("W");
    std::vector<std::int64_t> widths;
    widths.reserve(lines.size());
    for (const std::string& line : lines) {
        widths.push_back(canvas.MeasureTextWidth(line));
    }

    const bool fills = canvas.Brush().Style() != bsClear || canvas.Brush().HasImage();
    if (frameCounts || fills) {
        if (title.AdjustFrame()) {
            const std::int64_t widest =
                widths.empty() ? 0 : *std::max_element(widths.begin(), widths.end());
            const std::int64_t m = widest + w;
            switch (title.Alignment()) {
            case taLeftJustify:
                blockRight = blockLeft + m;
                break;
            case taRightJustify:
                blockLeft = blockRight - m;
                break;
            case taCenter: {
                const std::int64_t c = (blockLeft + blockRight) / 2;
                blockLeft = c - m / 2;
                blockRight = c + m / 2;
                break;
            }
            }
        }
        canvas.DrawRectangle(Saturated(blockLeft), Saturated(blockTop), Saturated(blockRight),
                             Saturated(blockBottom));
    }
    title.SetBlockRect(
        {Saturated(blockLeft), Saturated(blockTop), Saturated(blockRight), Saturated(blockBottom)});

    canvas.SetTextBackgroundMode(cbmTransparent);
    const auto lineX = [&](std::int64_t t) {
        switch (title.Alignment()) {
        case taLeftJustify:
            return left + w / 2;
        case taRightJustify:
            return right - t - w / 2;
        case taCenter:
            break;
        }
        return (left + right) / 2 - t / 2;
    };
    // A foot grows upwards from its bottom edge; either way the lines read from top to bottom
    // in list order.
    if (onTop) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            canvas.DrawTextAt(Saturated(lineX(widths[i])), Saturated(top), lines[i]);
            top += h;
        }
        bottom = n > 0 ? top : bottom;
    } else {
        for (std::size_t i = lines.size(); i-- > 0;) {
            bottom -= h;
            canvas.DrawTextAt(Saturated(lineX(widths[i])), Saturated(bottom), lines[i]);
        }
        top = n > 0 ? bottom : top;
    }

    TRect shrunk = plot;
    if (onTop) {
        shrunk.Top = Saturated(bottom + f + BlockGap);
    } else {
        shrunk.Bottom = Saturated(top - f - BlockGap);
    }
    SetPlotRect(shrunk);
}

// --- Walls -------------------------------------------------------------------------------------

void TCustomChart::ApplyBrushStyle(TColor color, TBrushStyle style, TColor backColor) {
    TChartCanvas3D& canvas = Canvas();
    if (color == clDefault) {
        color = clBlack;
    }
    if (style != bsSolid && color == backColor) {
        color = backColor == clBlack ? clWhite : clBlack;
    }
    canvas.Brush().SetColor(color);
    canvas.Brush().SetStyle(style);
    if (style == bsSolid || backColor == clDefault) {
        canvas.SetTextBackgroundMode(cbmTransparent);
    } else {
        // The gaps between the hatch lines show the background colour.
        canvas.SetTextBackgroundColor(backColor);
        canvas.SetTextBackgroundMode(cbmOpaque);
    }
}

void TCustomChart::ApplyWallStyle(const TCustomChartWall& wall) {
    TChartCanvas3D& canvas = Canvas();
    canvas.ApplyChartPen(wall.Pen());
    if (wall.Brush().HasImage()) {
        canvas.Brush().SetImage(wall.Brush().Image());
        return;
    }
    canvas.Brush().ClearImage();
    if (wall.Color() == clDefault && wall.Brush().Style() == bsSolid) {
        canvas.Brush().SetStyle(bsClear);
        return;
    }
    ApplyBrushStyle(wall.Color(), wall.Brush().Style(), wall.Brush().Color());
}

void TCustomChart::PaintWalls() {
    ApplyWallStyle(FBackWall);
    if (View3D()) {
        PaintWalls3D();
        return;
    }
    // One pixel wider and higher than PlotRect, so that the outline also runs on its right and
    // bottom edge: the series are clipped to the inside of this frame.
    const TRect& r = PlotRect();
    Canvas().DrawRectangle(r.Left, r.Top, Saturated(std::int64_t{r.Right} + 1),
                           Saturated(std::int64_t{r.Bottom} + 1));
}

std::int32_t TCustomChart::AxisWallSize(const TCustomChartAxis& axis) const {
    if (!View3D() || !View3DWalls()) {
        return 0;
    }
    // A wall thinner than nothing leaves the axis where a flat wall would.
    if (&axis == &LeftAxis()) {
        return std::max(FLeftWall.Size(), 0);
    }
    if (&axis == &BottomAxis()) {
        return std::max(FBottomWall.Size(), 0);
    }
    return 0;
}

void TCustomChart::PaintWalls3D() {
    const TRect& r = PlotRect();
    const std::int32_t depth = Depth3D();
    const bool walls = View3DWalls();
    // Without 3D walls the back wall is still drawn, as a plane: its thickness, like that of
    // the other walls, takes no room in the layout then.
    if (!walls || FBackWall.Size() < 1) {
        Canvas().DrawRectangle3D({r.Left + 1, r.Top - 1, r.Right, r.Bottom}, depth);
    } else {
        const TRect face{Saturated(std::int64_t{r.Left} - AxisWallSize(LeftAxis())), r.Top, r.Right,
                         Saturated(std::int64_t{r.Bottom} + AxisWallSize(BottomAxis()))};
        DrawWallBox(face, depth, Saturated(std::int64_t{depth} + FBackWall.Size()),
                    FBackWall.Dark3D());
    }
    if (!walls) {
        return;
    }

    ApplyWallStyle(FLeftWall);
    const std::int32_t leftDepth = Saturated(std::int64_t{depth} + 1);
    if (FLeftWall.Size() < 1) {
        DrawWallPlane({{r.Left, r.Top}, {r.Left, r.Top}, {r.Left, r.Bottom}, {r.Left, r.Bottom}},
                      {0, leftDepth, leftDepth, 0});
    } else {
        DrawWallBox({Saturated(std::int64_t{r.Left} - FLeftWall.Size()), r.Top, r.Left, r.Bottom},
                    0, leftDepth, FLeftWall.Dark3D());
    }

    ApplyWallStyle(FBottomWall);
    if (FBottomWall.Size() < 1) {
        DrawWallPlane(
            {{r.Left, r.Bottom}, {r.Right, r.Bottom}, {r.Right, r.Bottom}, {r.Left, r.Bottom}},
            {0, 0, depth, depth});
    } else {
        DrawWallBox(
            {r.Left, r.Bottom, r.Right, Saturated(std::int64_t{r.Bottom} + FBottomWall.Size())}, 0,
            depth, FBottomWall.Dark3D());
    }
}

void TCustomChart::DrawWallPlane(const TPoint (&corners)[4], const std::int32_t (&depths)[4]) {
    TChartCanvas3D& canvas = Canvas();
    TPoint projected[4];
    for (std::size_t i = 0; i < 4; ++i) {
        projected[i] = canvas.ProjectPoint(corners[i].X, corners[i].Y, depths[i]);
    }
    canvas.DrawPolygon(projected);
}

void TCustomChart::DrawWallBox(const TRect& face, std::int32_t z0, std::int32_t z1, bool dark) {
    TChartCanvas3D& canvas = Canvas();
    canvas.DrawRectangle3D(face, z0);
    // Depth moves a point right and up, so the top and the right side of the box show.
    TChartBrush& brush = canvas.Brush();
    const TColor front = brush.Color();
    if (dark && brush.Style() != bsClear && !brush.HasImage()) {
        brush.SetColor(Darker(front));
    }
    DrawWallPlane({{face.Left, face.Top},
                   {face.Right, face.Top},
                   {face.Right, face.Top},
                   {face.Left, face.Top}},
                  {z0, z0, z1, z1});
    DrawWallPlane({{face.Right, face.Top},
                   {face.Right, face.Top},
                   {face.Right, face.Bottom},
                   {face.Right, face.Bottom}},
                  {z0, z1, z1, z0});
    brush.SetColor(front);
}
