// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/ChartCanvas.h>
#include <korvatel/canvas/ChartGradient.h>
#include <korvatel/core/ChartTypes.h>
#include <korvatel/canvas/SolidGeometry.h>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace Korvatel {

class TView3DOptions;

// A slice of a pie or ring with thickness for TCanvas3D::DrawPieSlice3D, in pixels of the 3D
// box. Angles are radians counter-clockwise as seen from above, 0 along x and pi/2 towards the
// back (growing depth), so that the angles of a flat pie keep their places. InnerPercent of the
// radii is left out in the middle (0: the slice reaches the centre). A slice cut in pieces
// leaves out the cut faces where it was cut: StartCut and EndCut say whether the start and end
// are the slice's own.
struct TSolidPieSlice {
    std::int32_t X = 0;
    std::int32_t Z = 0;
    std::int32_t RadiusX = 0;
    std::int32_t RadiusZ = 0;
    std::int32_t InnerPercent = 0;
    double StartAngle = 0;
    double EndAngle = 0;
    std::int32_t Top = 0;
    std::int32_t Bottom = 0;
    bool StartCut = true;
    bool EndCut = true;
};

// The shapes that TCanvas3D::DrawRowShape draws: how wide a row of the shape is at its
// height (see there).
enum TRowShape : std::uint8_t { rsEllipse, rsDiamond, rsTriangle, rsDownTriangle };

// Every drawing and projection operation of the chart's canvas. All coordinates are pixels of
// the target surface; rectangles are left, top, right, bottom with right and bottom exclusive.
// Texts are UTF-8. Drawing operations report nothing: with no target surface, or where the
// platform fails, they leave the picture as it is.
//
// One repaint runs BeginDrawing, then the drawing, then PresentBuffer; a window paint without a
// change in between first tries RepaintFromBuffer.
class KORVATEL_EXPORT TCanvas3D : public TChartCanvas {
public:
    // --- Surface state ---------------------------------------------------------------------

    // Draw into the kept off-screen image (default) or straight onto the window's surface.
    // Switching it off frees the image and sets IsDirty.
    virtual bool OffscreenBuffered() const = 0;
    virtual void SetOffscreenBuffered(bool value) = 0;
    // A two-colour off-screen image. A new value frees the image, sets IsDirty and asks for a
    // repaint.
    virtual bool Monochrome() const = 0;
    virtual void SetMonochrome(bool value) = 0;
    // Sets one pixel (inside the clip) to a colour, whatever the pen.
    virtual void PlotPixel(std::int32_t x, std::int32_t y, TColor color) = 0;

    // --- Flat drawing: pen for outlines and lines, brush for fills ----------------------------

    // An ellipse inside the rectangle, outlined and filled.
    virtual void DrawEllipse(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                             std::int32_t y1) = 0;
    // The brush only, no outline; an empty or inverted rectangle fills nothing.
    virtual void FillRectangle(const TRect& rect) = 0;
    // Current-position lines: a line runs from the current position to (x, y), paints its start
    // pixel but not its end pixel, and (x, y) becomes the current position.
    virtual void DrawLineTo(std::int32_t x, std::int32_t y) = 0;
    virtual void MovePenTo(std::int32_t x, std::int32_t y) = 0;
    virtual TPoint PenPosition() const = 0;
    // Outline with the pen on columns left..right-1 and rows top..bottom-1, inside with the
    // brush (with a clear pen the fill covers the same columns and rows less the last ones).
    // The corners may come in any order.
    virtual void DrawRectangle(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                               std::int32_t y1) = 0;
    void DrawRectangle(const TRect& rect) {
        DrawRectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
    }
    // Writes text at the reference point (x, y) chosen by TextAlignment, in the font colour, over
    // a box of the text background colour when TextBackgroundMode is opaque.
    virtual void DrawTextAt(std::int32_t x, std::int32_t y, std::string_view text) = 0;
    // Extent of a text in the current font; the height is the font's line height (ascent plus
    // descent) for any text. 0 when the text cannot be measured.
    virtual std::int32_t MeasureTextWidth(std::string_view text) = 0;
    virtual std::int32_t MeasureTextHeight(std::string_view text) = 0;
    // The line height used by titles and axis labels: the height of "W".
    std::int32_t TextRowHeight() { return MeasureTextHeight("W"); }
    // Narrows the clip to its intersection with the rectangle; clips nest by intersection.
    virtual void ClipToRectangle(const TRect& rect) = 0;
    // A move to (x0, y) and a line to (x1, y); a move to (x, y0) and a line to (x, y1).
    virtual void DrawHorizontalLine(std::int32_t x0, std::int32_t x1, std::int32_t y) = 0;
    virtual void DrawVerticalLine(std::int32_t x, std::int32_t y0, std::int32_t y1) = 0;
    // FillRectangle.
    virtual void ClearBackground(const TRect& rect) = 0;
    // Bands from colorA to colorB across the rectangle (at most 256 of them); see
    // TGradientDirection for where colorA lies.
    virtual void FillGradient(const TRect& rect, TColor colorA, TColor colorB,
                              TGradientDirection direction) = 0;
    // The off-screen image no longer shows the chart: the next window paint draws again.
    virtual void MarkDirty() = 0;
    virtual bool IsDirty() const = 0;
    // A move to the first point and a line to the second.
    virtual void DrawLineSegment(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                 std::int32_t y1) = 0;
    // A closed polygon through all the points, filled (alternate rule) and outlined; the outline
    // paints every edge including its last pixel.
    virtual void DrawPolygon(std::span<const TPoint> points) = 0;
    // An open polyline: a move to the first point and a line to each further point, so that the
    // last point is not painted and a dash pattern runs on across the corners.
    virtual void DrawPolyline(std::span<const TPoint> points) = 0;
    // Text turned counter-clockwise by angle degrees about its reference point (90: reading
    // upwards). Sets the brush style to clear; an angle above 360 is reduced by 360 once.
    virtual void DrawRotatedText(std::int32_t x, std::int32_t y, std::int32_t angle,
                                 std::string_view text) = 0;
    // No clip at all afterwards.
    virtual void RemoveClipping() = 0;
    // A shape centred on the pixel (x, y), h pixels to either side of it and v above and
    // below, drawn a row of the surface's pixels at a time. The shape touches the outer edges
    // of that box's pixels, h + 1/2 and v + 1/2 from the centre of (x, y): an ellipse, a
    // diamond, a triangle standing on the box's bottom or one hanging from its top, pointed at
    // the middle of the opposite side. A pixel belongs to it when its centre does. Outlined,
    // the pixels of a row that lie beyond the rows a line's width above and below it, and the
    // line's width of pixels at either end of the row, are drawn with the pen, and the rest
    // with the brush; otherwise the brush fills it all. On a surface of another device scale
    // the rows are device pixels, the centre and sizes are scaled, and the outline is as wide
    // as a line (TDeviceScale::LineWidth): the shape is round at the device's resolution and
    // not a magnified staircase. Only the rows and columns inside the clip cost any work.
    virtual void DrawRowShape(std::int32_t x, std::int32_t y, std::int64_t h, std::int64_t v,
                              TRowShape shape, bool outlined) = 0;

    // --- Projection and repaint protocol -------------------------------------------------------

    // The screen pixel of a point of the 3D box, and back (used by mouse handling).
    virtual TPoint ProjectPoint(std::int32_t x, std::int32_t y, std::int32_t z) const = 0;
    virtual TPoint UnprojectPoint(std::int32_t x, std::int32_t y, std::int32_t z) const = 0;
    // Starts a repaint of the panel rectangle panelRect and answers the rectangle to draw in:
    // (0, 0, width, height) of the off-screen image when buffered, else panelRect on the window
    // surface. The window surface is used only until PresentBuffer.
    virtual TRect BeginDrawing(TChartSurface& windowSurface, TView3DOptions* options,
                               const TRect& panelRect, bool view3D) = 0;
    // Takes the settings of another canvas that are copied with the chart: only Monochrome.
    virtual void AssignSettings(const TCanvas3D& source) = 0;
    // Centres the projection on the plot rectangle, at half the depth of the box.
    virtual void SetProjectionCentre(std::int32_t depth, const TRect& panelRect,
                                     const TRect& plotRect) = 0;
    // Ends a repaint: when buffered, copies the whole image onto destination with its top left
    // at panelRect's, and the image shows the chart again (IsDirty False).
    virtual void PresentBuffer(TChartSurface& destination, const TRect& panelRect) = 0;
    // A window paint without a change: when the kept image still shows the chart, copies it onto
    // the window surface at (0, 0) and answers True; otherwise draws nothing and answers False.
    virtual bool RepaintFromBuffer(TChartSurface& windowSurface) = 0;
    // Clips to the inside of the chart box from depth z0 to z1. Flat: the rectangle (left + 1,
    // top + 1, right, bottom - 1), so that the back wall's frame stays outside.
    virtual void ClipToChartBox(const TRect& rect, std::int32_t z0, std::int32_t z1) = 0;

    // --- 3D forms: project, then draw the flat form ---------------------------------------------

    virtual void DrawHorizontalLine3D(std::int32_t x0, std::int32_t x1, std::int32_t y,
                                      std::int32_t z) = 0;
    virtual void DrawVerticalLine3D(std::int32_t x, std::int32_t y0, std::int32_t y1,
                                    std::int32_t z) = 0;
    virtual void DrawDepthLine3D(std::int32_t x, std::int32_t y, std::int32_t z0,
                                 std::int32_t z1) = 0;
    // Flat: the ellipse one pixel larger to the right and bottom.
    virtual void DrawEllipse3D(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                               std::int32_t z) = 0;
    // Switch the projection off (titles and the legend are flat) and back to its saved state.
    // The pair does not nest.
    virtual void EnterFrontPlane() = 0;
    virtual void LeaveFrontPlane() = 0;
    virtual void DrawLineSegment3D(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                                   std::int32_t y1, std::int32_t z) = 0;
    virtual void MovePenTo3D(std::int32_t x, std::int32_t y, std::int32_t z) = 0;
    virtual void DrawLineTo3D(std::int32_t x, std::int32_t y, std::int32_t z) = 0;
    // A polygon through the four projected corners; unlike DrawRectangle its outline includes
    // the right and bottom edges.
    virtual void DrawRectangle3D(const TRect& rect, std::int32_t z) = 0;
    // Text at a projected point, its font scaled with the 3D zoom when ZoomText is on.
    virtual void DrawRotatedText3D(std::int32_t x, std::int32_t y, std::int32_t z,
                                   std::int32_t angle, std::string_view text) = 0;
    virtual void DrawTextAt3D(std::int32_t x, std::int32_t y, std::int32_t z,
                              std::string_view text) = 0;

    // --- 3D solids: only the faces that look at the viewer, the farthest first ----------------
    //
    // A solid fills the box of columns rect.Left to rect.Right - 1 and rows rect.Top to
    // rect.Bottom - 1 (the pixels of a rectangle; the corners may come in any order) from depth
    // z0 to z1. Its faces are filled with the brush and outlined with the pen, so that outlines
    // run along visible edges only. With dark, a face that does not look at the front is drawn
    // in the fixed shade of SolidShading.h (tops and bottoms sfTop; sides, the back and curved
    // mantles sfSide); without it every face has the brush's colour. Curves have as many facets
    // as their projected size needs to look round on the device (CurveFacets). With the
    // projection off a solid shows its front face, or its outline as seen from the front.
    // Solids wholly outside the clip cost only their projection.
    virtual void DrawSolid(TSolidKind kind, const TRect& rect, std::int32_t z0, std::int32_t z1,
                           TSolidDirection tip, bool dark) = 0;
    // Whether the solid DrawSolid would draw covers the pixel (x, y): the pixel lies inside one
    // of its visible faces.
    virtual bool SolidContains(TSolidKind kind, const TRect& rect, std::int32_t z0,
                               std::int32_t z1, TSolidDirection tip, std::int32_t x,
                               std::int32_t y) const = 0;
    // A box.
    void DrawCube(const TRect& rect, std::int32_t z0, std::int32_t z1, bool dark) {
        DrawSolid(skCube, rect, z0, z1, sdUp, dark);
    }
    // A cylinder standing up (vertical) or lying along X, its round faces at the ends.
    void DrawCylinder(const TRect& rect, std::int32_t z0, std::int32_t z1, bool vertical,
                      bool dark) {
        DrawSolid(skCylinder, rect, z0, z1, vertical ? sdUp : sdRight, dark);
    }
    // A cone and a pyramid on the side of the box opposite tip, their apex in the middle of the
    // side at tip (sdDown: the inverted pyramid of a bar).
    void DrawCone(const TRect& rect, std::int32_t z0, std::int32_t z1, TSolidDirection tip,
                  bool dark) {
        DrawSolid(skCone, rect, z0, z1, tip, dark);
    }
    void DrawPyramid(const TRect& rect, std::int32_t z0, std::int32_t z1, TSolidDirection tip,
                     bool dark) {
        DrawSolid(skPyramid, rect, z0, z1, tip, dark);
    }
    // A thick arrow pointing at tip: its head as wide as the box, its shaft half as wide.
    void DrawArrow3D(const TRect& rect, std::int32_t z0, std::int32_t z1, TSolidDirection tip,
                     bool dark) {
        DrawSolid(skArrow, rect, z0, z1, tip, dark);
    }
    // The ellipse inside rect, thick from z0 to z1: a disc facing the viewer. skDiamond is
    // the same prism of the diamond through the middles of rect's sides.
    void DrawDisc3D(const TRect& rect, std::int32_t z0, std::int32_t z1, bool dark) {
        DrawSolid(skDisc, rect, z0, z1, sdUp, dark);
    }
    // A flat triangle at depth z, and a plane from the line p0-p1 at z0 to the same line at
    // z1 (a rectangle in depth); both show either side and are drawn as one polygon.
    virtual void DrawTriangle3D(const TPoint& p0, const TPoint& p1, const TPoint& p2,
                                std::int32_t z) = 0;
    virtual void DrawPlane3D(const TPoint& p0, const TPoint& p1, std::int32_t z0,
                             std::int32_t z1) = 0;

    // --- 3D pie slice ---------------------------------------------------------------------------

    // The direction from the 3D box towards the viewer, as (x, y, z) of the box (rows grow
    // downwards, depth grows away from the front): (1, -1, -1) in the oblique view, the view
    // axis of the rotation in the perspective view, (0, 0, -1) with the projection off.
    virtual std::array<double, 3> TowardsViewer() const = 0;
    // A slice of a pie or ring with thickness, lying flat in the box: its top face at row
    // slice.Top, its bottom face at slice.Bottom, its outer rim the ellipse of radii RadiusX
    // (along x) and RadiusZ (along the depth) round (X, Z). Draws the faces that look at the
    // viewer, in the brush colour, back to front (see TSolidPieSlice): the top or bottom face
    // keeps the colour, rims and cut faces take ShadedColor(sfSide) when dark3D is set. The pen
    // outlines the visible faces' edges, except where the slice was cut in pieces. With the
    // projection off the top face alone is drawn, round (X, Top) with radius RadiusX. When faces
    // is not null, it receives the outlines of the drawn faces in surface pixels, in drawing
    // order, for the hit test.
    virtual void DrawPieSlice3D(const TSolidPieSlice& slice, bool dark3D,
                                std::vector<std::vector<TPoint>>* faces) = 0;
};

} // namespace Korvatel
