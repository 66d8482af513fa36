// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/Canvas3D.h>
#include <korvatel/canvas/DeviceScale.h>
#include <korvatel/canvas/PixelLine.h>
#include <korvatel/canvas/TextCache.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRegion>
#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace Korvatel {

// How a picture fills a rectangle: scaled to it, repeated at its own size from the rectangle's
// top left corner, or once at its own size with its middle on the rectangle's middle.
enum TPictureBackMode : std::uint8_t { pbmStretch, pbmTile, pbmCenter };

// The chart's canvas over Qt: one-pixel lines by our own routine (PixelLine.h) straight into
// the image's scan lines; text, fills, polygons, ellipses and wide pens by a QPainter that stays
// open on the image for the length of a repaint, with its pen, brush, font, clip and raster
// operation set only when they change.
//
// Surfaces (see TChartSurface): while buffered (the default) a repaint draws into an owned
// QImage (Format_RGB32, white when new) of the panel's size, which is kept and reused while the
// size stays the same. Between repaints the target surface is that image, so that drawing done
// outside a repaint (the rubber band of a mouse zoom, drawn twice in not-xor) changes the picture
// that the window copies at its next paint; whoever draws there asks the window to update, but
// does not MarkDirty. Unbuffered, a repaint draws onto the window surface itself and there is no
// target between repaints.
//
// Resolution (see TDeviceScale): every coordinate of the canvas's interface is a logical pixel,
// and the canvas draws at the target surface's own resolution. At scale 1 it draws as described
// above, pixel for pixel. On an image of another scale (a window on a dense screen draws into an
// off-screen image of its device pixels) fills, clips and one-pixel lines round to device pixels
// exactly (TDeviceScale, TPixelLine), and text, shapes and wide pens go through the painter,
// which maps logical pixels onto the device. On a painter of another scale (a printer, a PDF)
// everything goes through the painter, one-pixel lines as strokes one logical pixel wide.
class KORVATEL_EXPORT TChartCanvas3D final : public TCanvas3D {
public:
    TChartCanvas3D();
    ~TChartCanvas3D() override;

    // Raised when a Monochrome change needs the chart drawn again.
    std::function<void()> OnRequestRepaint;

    void SetTargetSurface(TChartSurface* surface) override;

    // --- Surface state ---------------------------------------------------------------------

    TColor TextBackgroundColor() const override { return FTextBackColor; }
    void SetTextBackgroundColor(TColor value) override;
    TCanvasBackMode TextBackgroundMode() const override { return FTextBackMode; }
    void SetTextBackgroundMode(TCanvasBackMode value) override;
    std::int32_t TextAlignment() const override { return FTextAlignment; }
    void SetTextAlignment(std::int32_t value) override { FTextAlignment = value; }
    bool OffscreenBuffered() const override { return FOffscreenBuffered; }
    void SetOffscreenBuffered(bool value) override;
    bool Monochrome() const override { return FMonochrome; }
    void SetMonochrome(bool value) override;
    void PlotPixel(std::int32_t x, std::int32_t y, TColor color) override;
    // Smooth drawing: lines, curves, ellipses, polygons (and every form built of them) and text
    // blend their edges into what lies under them, on every surface and at every scale. Off
    // (the default) every pixel follows the canvas's exact two-colour rules. On, one-pixel
    // lines leave the line routine for strokes of the painter one logical pixel wide through
    // the centres of their pixels (an axis-aligned one still covers exactly its pixels), wide
    // pens and shape outlines are centred on the pixels' centres too, and text takes smooth
    // glyphs, measured in the same smooth face (whose advances may differ from the two-colour
    // face's by a pixel or two), so that the layout makes room for them. Fills of rectangles
    // stay exact, and lines in a raster operation other than copy stay two-coloured: drawing a
    // not-xor line twice must give the picture back. A change forgets the kept pictures and
    // asks for a repaint.
    bool Antialiasing() const { return FAntialiasing; }
    void SetAntialiasing(bool value);

    // --- Flat drawing ------------------------------------------------------------------------

    void DrawEllipse(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) override;
    void FillRectangle(const TRect& rect) override;
    void DrawLineTo(std::int32_t x, std::int32_t y) override;
    // DrawLineTo through each point in turn: the same pixels, the pen ending at the last
    // point, with the pen, surface and clip looked at once for the whole chain instead of once
    // per line. This is how a series draws its thousands of lines.
    void DrawLinesTo(std::span<const TPoint> points);
    void MovePenTo(std::int32_t x, std::int32_t y) override;
    TPoint PenPosition() const override { return FPenPosition; }
    using TCanvas3D::DrawRectangle;
    void DrawRectangle(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) override;
    void DrawTextAt(std::int32_t x, std::int32_t y, std::string_view text) override;
    std::int32_t MeasureTextWidth(std::string_view text) override;
    std::int32_t MeasureTextHeight(std::string_view text) override;
    void ClipToRectangle(const TRect& rect) override;
    void DrawHorizontalLine(std::int32_t x0, std::int32_t x1, std::int32_t y) override;
    void DrawVerticalLine(std::int32_t x, std::int32_t y0, std::int32_t y1) override;
    void ClearBackground(const TRect& rect) override { FillRectangle(rect); }
    void FillGradient(const TRect& rect, TColor colorA, TColor colorB,
                      TGradientDirection direction) override;
    void MarkDirty() override { FIsDirty = true; }
    bool IsDirty() const override { return FIsDirty; }
    void DrawLineSegment(std::int32_t x0, std::int32_t y0, std::int32_t x1,
                         std::int32_t y1) override;
    void DrawPolygon(std::span<const TPoint> points) override;
    void DrawPolyline(std::span<const TPoint> points) override;
    void DrawRotatedText(std::int32_t x, std::int32_t y, std::int32_t angle,
                         std::string_view text) override;
    void RemoveClipping() override;
    void DrawRowShape(std::int32_t x, std::int32_t y, std::int64_t h, std::int64_t v,
                      TRowShape shape, bool outlined) override;
    // Draws a picture into a rectangle (see TPictureBackMode), cut off at the rectangle and
    // the clip; a picture with transparent parts lets what lies under them show. A stretched
    // picture is scaled smoothly. Pen and brush play no part.
    void DrawImage(const TRect& rect, const QImage& image, TPictureBackMode mode);

    // --- Projection and repaint protocol -------------------------------------------------------

    TPoint ProjectPoint(std::int32_t x, std::int32_t y, std::int32_t z) const override;
    TPoint UnprojectPoint(std::int32_t x, std::int32_t y, std::int32_t z) const override;
    TRect BeginDrawing(TChartSurface& windowSurface, TView3DOptions* options,
                       const TRect& panelRect, bool view3D) override;
    // Monochrome, and Antialiasing from a canvas of this kind.
    void AssignSettings(const TCanvas3D& source) override;
    void SetProjectionCentre(std::int32_t depth, const TRect& panelRect,
                             const TRect& plotRect) override;
    void PresentBuffer(TChartSurface& destination, const TRect& panelRect) override;
    bool RepaintFromBuffer(TChartSurface& windowSurface) override;
    void ClipToChartBox(const TRect& rect, std::int32_t z0, std::int32_t z1) override;

    // A repaint straight onto another surface (a picture, a printer's page): like BeginDrawing
    // unbuffered, but the kept image, its reuse and IsDirty stay as they are, for the window's
    // next paint. EndDrawingOn goes back to the state between repaints.
    TRect BeginDrawingOn(TChartSurface& surface, TView3DOptions* options, const TRect& panelRect,
                         bool view3D);
    void EndDrawingOn();
    // True between BeginDrawingOn and EndDrawingOn.
    bool DrawingOn() const { return FDrawingOn; }

    // --- 3D forms --------------------------------------------------------------------------------

    void DrawHorizontalLine3D(std::int32_t x0, std::int32_t x1, std::int32_t y,
                              std::int32_t z) override;
    void DrawVerticalLine3D(std::int32_t x, std::int32_t y0, std::int32_t y1,
                            std::int32_t z) override;
    void DrawDepthLine3D(std::int32_t x, std::int32_t y, std::int32_t z0, std::int32_t z1) override;
    void DrawEllipse3D(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                       std::int32_t z) override;
    void EnterFrontPlane() override;
    void LeaveFrontPlane() override;
    void DrawLineSegment3D(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                           std::int32_t z) override;
    void MovePenTo3D(std::int32_t x, std::int32_t y, std::int32_t z) override;
    void DrawLineTo3D(std::int32_t x, std::int32_t y, std::int32_t z) override;
    void DrawRectangle3D(const TRect& rect, std::int32_t z) override;
    void DrawRotatedText3D(std::int32_t x, std::int32_t y, std::int32_t z, std::int32_t angle,
                           std::string_view text) override;
    void DrawTextAt3D(std::int32_t x, std::int32_t y, std::int32_t z,
                      std::string_view text) override;

    // --- 3D solids -------------------------------------------------------------------------------

    void DrawSolid(TSolidKind kind, const TRect& rect, std::int32_t z0, std::int32_t z1,
                   TSolidDirection tip, bool dark) override;
    bool SolidContains(TSolidKind kind, const TRect& rect, std::int32_t z0, std::int32_t z1,
                       TSolidDirection tip, std::int32_t x, std::int32_t y) const override;
    void DrawTriangle3D(const TPoint& p0, const TPoint& p1, const TPoint& p2,
                        std::int32_t z) override;
    void DrawPlane3D(const TPoint& p0, const TPoint& p1, std::int32_t z0,
                     std::int32_t z1) override;
    // The projection as the solids' geometry sees it.
    TSolidView SolidView() const;

    // --- The picture under the series ------------------------------------------------------------
    //
    // In an animation only the series change from one repaint to the next: the background,
    // titles, walls and axes drawn before them come out the same. Between BeginBackground and
    // EndBackground the canvas writes down every pixel-writing primitive it runs (which one, its
    // arguments, and all canvas state that decides its pixels: pen, brush and font as resolved,
    // text background, alignment, clip, dash phase, projection and zoom of text).
    //
    // A live pass draws as usual. When its record equals the previous live pass's word for
    // word, the picture is kept together with the record. A verifying pass writes no pixels:
    // every call and every change of state still runs, only the pixel writes are replaced by
    // their record. At its end, when the record equals the kept one, the kept picture is copied
    // into the image; it is then exactly what a live pass would have drawn, because in both
    // passes the first primitive covered the whole image and every later one had the same
    // input. Otherwise nothing has been drawn and the caller draws live.
    void BeginBackground(bool verify, bool record);
    // Ends the pass. Live: keeps the picture when it can be reused and answers True.
    // Verifying: True when the kept picture was copied into the image.
    bool EndBackground();
    // A verifying pass can succeed: a picture is kept, of the size of the off-screen image that
    // the repaint draws into.
    bool CanVerifyBackground() const;
    void ForgetBackground();
    bool BackgroundKept() const { return FKeptValid; }
    // How many verifying passes took the kept picture so far.
    std::uint64_t BackgroundReuses() const { return FBackgroundReuses; }

    // The canvas state that drawing reads and changes, saved before a pass that may have to
    // be run again and put back before it is.
    struct TDrawingState {
        TChartPen Pen;
        TChartBrush Brush;
        TChartFont Font;
        std::int32_t FontPixelsPerInch = TChartFont::ScreenPixelsPerInch;
        TColor TextBackColor = clWhite;
        TCanvasBackMode TextBackMode = cbmOpaque;
        std::int32_t TextAlignment = 0;
        TPoint PenPosition;
        TPixelLine::TPattern LinePattern;
        std::uint32_t LinePhase = 0;
        bool Is3D = false;
        bool Was3D = false;
    };
    void SaveDrawingState(TDrawingState& state) const;
    void RestoreDrawingState(const TDrawingState& state);

    // --- State for the panel, mouse handling and tests -----------------------------------------

    // The off-screen image; null until the first buffered repaint and after it is freed. Its
    // pixels are device pixels, its device pixel ratio the window's.
    const QImage* Bitmap() const { return FBitmap.isNull() ? nullptr : &FBitmap; }
    // The surface of the off-screen image; null while there is none.
    TChartSurface* BitmapSurface() const { return FBitmapSurface.get(); }
    // The device scale of the target surface (1 without one).
    const TDeviceScale& Scale() const { return FScale; }
    // The panel rectangle of the current (or last) repaint.
    const TRect& Bounds() const { return FBounds; }
    TView3DOptions* View3DOptions() const { return FView3DOptions; }
    // The projection is on (3D and not between EnterFrontPlane and LeaveFrontPlane).
    bool Is3D() const { return FIs3D; }
    bool IsOrthogonal() const { return FIsOrthogonal; }
    double ZoomFactor() const { return FZoomFactor; }
    bool ZoomText() const { return FZoomText; }
    double PerspectiveFactor() const { return FPerspectiveFactor; }
    // The projection centre and the offset centre (projection centre plus the view offsets).
    std::int32_t XCenter() const { return FXCenter; }
    std::int32_t YCenter() const { return FYCenter; }
    std::int32_t ZCenter() const { return FZCenter; }
    std::int32_t XCenterOffset() const { return FXCenterOffset; }
    std::int32_t YCenterOffset() const { return FYCenterOffset; }
    // The current clip in surface pixels, when it is a rectangle (empty when nothing gets
    // through); nullopt when there is no clip or it is not a rectangle.
    std::optional<TRect> ClipRectangle() const;

    // The clip as it stands (none, a rectangle, or the region of a 3D chart box), to be put
    // back after a narrower one: clips only narrow, and RemoveClipping would also drop the
    // clip of whoever set one before. Putting it back is a change of the clip like any other,
    // so that the painter, the line routine and the record of the picture follow it.
    enum class TClipKind : std::uint8_t { None, Rectangle, Region };
    struct TSavedClip {
        TClipKind Kind = TClipKind::None;
        TRect Rect;
        QRegion Region;
    };
    TSavedClip SaveClip() const { return {FClipKind, FClipRect, FClipRegion}; }
    void RestoreClip(const TSavedClip& saved);

protected:
    void PenChanged() override;
    void BrushChanged() override;
    void FontChanged() override;

private:

    // What the line routine needs from the pen and the surface, recomputed after a change.
    // Stroke: a painter surface of another scale, where lines are strokes of the painter.
    struct TLineState {
        bool Ready = false;
        bool Waived = false;
        bool Visible = false;
        bool Wide = false;
        bool Collect = false;
        bool Stroke = false;
        bool OnBitmap = false;
        std::uint8_t* Pixels = nullptr;
    };
    // The coordinates the painter's world transform currently maps.
    enum class TPainterSpace : std::uint8_t { Unknown, Logical, Device };

    // --- Lines ---
    void DrawLine(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);
    bool PrepareLine();
    void FlushCollectedPoints();
    bool PenIsVisible() const;
    bool PenIsWide() const;
    void DrawClosedOutline(std::span<const TPoint> points);

    // --- Device scale ---
    void UpdateDeviceScale();
    // The target's pixels, and the clip in them.
    TRect DeviceSurfaceRect() const;
    TRect DeviceClipRect() const;
    // The clip region in device pixels; null when the clip is not a region.
    const QRegion* DeviceClipRegion();
    // The device pixels that a drawing inside a logical rectangle may write (scale 1: itself).
    TRect DeviceArea(const TRect& logical) const;
    void UseLogicalSpace(QPainter& painter);
    void UseDeviceSpace(QPainter& painter);
    // A one-pixel line as a stroke of the painter, one logical pixel wide.
    void StrokeLine(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);
    // A fill of whole device pixels: those whose centres lie inside the logical rectangle.
    void FillDevice(QPainter& painter, const TRect& rect, const QBrush& brush);

    // --- Painter state ---
    QPainter* PreparePainter();
    // Outlines and wide pens run through the centres of their pixels: on a surface of another
    // scale, and when smooth (where a line on the pixels' edges would be blurred over two).
    bool CentresOnPixels() const { return FScaled || FAntialiasing; }
    void SetPainterPen(QPainter& painter, const QPen& pen);
    void SetPainterBrush(QPainter& painter, const QBrush& brush);
    void SetPainterMode(QPainter& painter, QPainter::CompositionMode mode);
    void SetPainterFont(QPainter& painter);
    QPen ShapePen() const;
    QBrush BrushFor(const TChartBrush& brush) const;
    void FillWithBrush(QPainter& painter, const TRect& rect, bool usePenMode);
    void FillSolid(QPainter& painter, const TRect& rect, QRgb color);
    // Fills a rectangle of the surface with an opaque colour straight into the image's scan
    // lines, inside a rectangular clip: the pixels the painter's fill would give. False when
    // the surface has no scan lines or the clip is a region; the painter fills then.
    bool FillPixels(const TRect& rect, QRgb color);
    template <typename Draw>
    void FillShape(QPainter& painter, Draw&& draw);

    // --- Text ---
    void EnsureFont(double zoom);
    void PaintText(std::int32_t x, std::int32_t y, std::int32_t angle, std::string_view text,
                   double zoom);
    bool PaintCachedText(std::int32_t x, std::int32_t y, std::string_view text);
    // Glyph pixels at a device origin, inside a device clip.
    void CopyInk(std::span<const TTextCache::TInkPixel> ink, std::int64_t left,
                 std::int64_t baseline, QRgb color);
    // Text at another scale than 1: from the device glyphs of the text cache on an image,
    // through the painter otherwise and for turned text.
    bool PaintDeviceText(std::int32_t x, std::int32_t y, std::string_view text);
    void PaintPainterText(std::int32_t x, std::int32_t y, std::int32_t angle,
                          std::string_view text);
    double TextZoom() const;

    // --- Record of the picture under the series ---
    enum class TPrimitive : std::uint8_t {
        Pixel = 1,
        Line,
        FillSolid,
        FillBrush,
        FillShape,
        RectangleOutline,
        EllipseOutline,
        PolygonOutline,
        Gradient,
        Text,
        Image,
        RowShape
    };
    // Writes a primitive into the record (only the outermost one of nested primitives) and
    // answers whether its pixels must be left out because the pass verifies. covers: the
    // primitive paints every pixel of the image whatever was there.
    bool Record(TPrimitive primitive, std::initializer_list<std::int64_t> arguments,
                bool covers = false, std::string_view text = {});
    bool Record(TPrimitive primitive, std::span<const std::int64_t> arguments, bool covers = false,
                std::string_view text = {});
    static constexpr std::uint32_t UsesPen = 1;
    static constexpr std::uint32_t UsesBrush = 2;
    static constexpr std::uint32_t UsesFont = 4;
    static std::uint32_t UsesOf(TPrimitive primitive);
    void RecordState(std::uint32_t uses);
    // A text into the record, eight bytes to a word.
    void RecordText(std::string_view text);
    // Widens the area written since the image last equalled the kept picture.
    void NoteWrite(TPrimitive primitive, std::span<const std::int64_t> arguments);
    // The same for a one-pixel line or chain whose pixels lie inside corners (right and bottom
    // inclusive), as far as the line routine's clip lets them through.
    void TouchLineBox(const TRect& corners);
    bool CoversSurface(const TRect& rect) const;
    // Keeps the primitives inside a recorded one out of the record.
    struct TNestedPrimitive {
        explicit TNestedPrimitive(TChartCanvas3D& canvas) : Canvas(canvas) {
            ++Canvas.FRecordDepth;
        }
        ~TNestedPrimitive() { --Canvas.FRecordDepth; }
        TNestedPrimitive(const TNestedPrimitive&) = delete;
        TNestedPrimitive& operator=(const TNestedPrimitive&) = delete;
        TChartCanvas3D& Canvas;
    };

    // --- Surfaces and colours ---
    void FreeBitmap();
    void CreateBitmap(std::int32_t width, std::int32_t height, double ratio);
    // The part of BeginDrawing that does not depend on the surface: bounds and projection.
    void StartDrawing(TView3DOptions* options, const TRect& panelRect, bool view3D);
    TRect SurfaceRect() const;
    TRect EffectiveClipRect() const;
    QRgb Resolve(TColor color) const;
    // Monochrome applies to the kept off-screen image only, not to other surfaces.
    bool DrawsMonochrome() const {
        return FMonochrome && FBitmapSurface != nullptr && TargetSurface() == FBitmapSurface.get();
    }
    void ClipChanged();
    void ComputeRotation();
    // The kind of clip that drawing applies now: a waived region clips as its bounding box.
    TClipKind AppliedClipKind() const {
        return FRegionWaived ? TClipKind::Rectangle : FClipKind;
    }
    // Whether every pixel of the rectangle that lies on the surface lies inside the clip
    // region too.
    bool RegionHolds(const TRect& bounds);
    // How far beyond a shape's corners its outline may paint.
    std::int64_t PenMargin() const { return 2 + std::int64_t{std::max(Pen().Width(), 1)}; }
    // A clip region (the projected chart box) costs the painter a cut of every span and the
    // line routine a test of every pixel. While a shape whose pixels all lie inside the region
    // draws, the region's bounding box clips instead, letting exactly the same pixels through.
    // The painter and the line routine keep the clip they were given until a drawing asks for
    // the other, so that the region is set again only when a shape reaches out of it.
    class TRegionWaiver {
    public:
        TRegionWaiver(TChartCanvas3D& canvas, const TRect& bounds) : FCanvas(canvas) {
            if (canvas.FClipKind == TClipKind::Region && !canvas.FRegionWaived &&
                canvas.RegionHolds(bounds)) {
                canvas.FRegionWaived = true;
                FActive = true;
            }
        }
        ~TRegionWaiver() {
            if (FActive) {
                FCanvas.FRegionWaived = false;
            }
        }
        TRegionWaiver(const TRegionWaiver&) = delete;
        TRegionWaiver& operator=(const TRegionWaiver&) = delete;

    private:
        TChartCanvas3D& FCanvas;
        bool FActive = false;
    };

    // --- Solids ---
    // Builds the solid into FSolidMesh and projects it into FSolidProjected; False when there
    // is nothing to draw (an empty box, or all of it outside the rectangle within).
    // bounds, when given, receives the box of the projected solid in whole pixels.
    bool PrepareSolid(TSolidKind kind, const TRect& rect, std::int32_t z0, std::int32_t z1,
                      TSolidDirection tip, const TRect& within, TRect* bounds = nullptr) const;
    // A projected polygon in whole pixels, cut to the guard rectangle first when it reaches
    // beyond it, into FSolidPoints.
    void RoundPolygon(std::span<const TProjectedPoint> polygon, const TRect& guard);

    // Surfaces.
    bool FDrawingOn = false;
    bool FOffscreenBuffered = true;
    bool FMonochrome = false;
    bool FAntialiasing = false;
    bool FIsDirty = true;
    QImage FBitmap;
    std::unique_ptr<TChartSurface> FBitmapSurface;
    TRect FBounds;

    // Surface state.
    TColor FTextBackColor = clWhite;
    TCanvasBackMode FTextBackMode = cbmOpaque;
    std::int32_t FTextAlignment = 0;
    TPoint FPenPosition;

    // Clipping.
    TClipKind FClipKind = TClipKind::None;
    TRect FClipRect;
    QRegion FClipRegion;
    std::uint64_t FClipSerial = 1;
    QRegion FDeviceRegion;
    std::uint64_t FDeviceRegionSerial = 0;
    bool FRegionWaived = false;
    TRegionIndex FClipIndex;
    std::uint64_t FClipIndexSerial = 0;
    // The last chart box's region, and the last region cut to a rectangle: every series of a
    // repaint clips to the same box, whose region costs more to build than to compare.
    QPolygon FBoxOutline;
    QRegion FBoxRegion;
    QRegion FCutSource;
    QRect FCutRect;
    QRegion FCutRegion;

    // The device scale of the target: FScaled when it is not 1, FDeviceRaster when the target
    // is moreover an image whose pixels the canvas rounds to.
    TDeviceScale FScale;
    bool FScaled = false;
    bool FDeviceRaster = false;

    // Lines.
    TPixelLine FLine;
    // The device clip region as the rows of a shape look it up.
    TRegionIndex FShapeRegion;
    TLineState FLineState;
    std::vector<QPoint> FLinePoints;
    std::vector<QPoint> FGapPoints;

    // What the painter of the target surface has been given.
    const TChartSurface* FPainterSurface = nullptr;
    std::uint64_t FPainterSerial = 0;
    std::uint64_t FPainterClipSerial = 0;
    bool FPainterClipWaived = false;
    bool FPainterPenSet = false;
    QPen FPainterPen;
    bool FPainterBrushSet = false;
    QBrush FPainterBrush;
    bool FPainterSmoothSet = false;
    bool FPainterSmooth = false;
    bool FPainterModeSet = false;
    QPainter::CompositionMode FPainterMode = QPainter::CompositionMode_SourceOver;
    std::uint64_t FPainterFontId = 0;
    TPainterSpace FPainterSpace = TPainterSpace::Unknown;

    // The platform font of the canvas font, looked up again when the font or the zoom changes.
    TTextCache FTextCache;
    const TTextCache::TFontEntry* FCurrentFont = nullptr;
    bool FFontStale = true;
    double FFontZoom = 1.0;

    // The record of the picture under the series and the kept picture.
    bool FRecording = false;
    bool FVerifying = false;
    std::uint32_t FRecordStateDirty = 0;
    bool FRecordCovered = false;
    std::int32_t FRecordDepth = 0;
    std::size_t FRecordCount = 0;
    std::vector<std::uint64_t> FRecord;
    std::vector<std::uint64_t> FPreviousRecord;
    std::vector<std::uint64_t> FKeptRecord;
    QImage FKept;
    bool FKeptValid = false;
    std::uint64_t FBackgroundReuses = 0;
    // What primitives outside a pass under the series wrote on the image since it last
    // equalled the kept picture; a reuse copies back only this.
    TRect FTouched;

    // Projection.
    TView3DOptions* FView3DOptions = nullptr;
    std::int32_t FXCenter = 0;
    std::int32_t FYCenter = 0;
    std::int32_t FZCenter = 0;
    std::int32_t FXCenterOffset = 0;
    std::int32_t FYCenterOffset = 0;
    std::array<double, 9> FRotation{1, 0, 0, 0, 1, 0, 0, 0, 1};
    bool FWas3D = false;
    bool FIs3D = false;
    bool FIsOrthogonal = false;
    bool FZoomText = true;
    double FZoomFactor = 1.0;
    double FPerspectiveFactor = 0.0;

    // Scratch of the solids, kept so that a series of thousands of them allocates once (the
    // hit test uses it too).
    mutable TSolidMesh FSolidMesh;
    mutable std::vector<TProfilePoint> FSolidProfile;
    mutable std::vector<TProjectedPoint> FSolidProjected;
    mutable std::vector<TProjectedPoint> FSolidPolygons;
    mutable std::vector<TVisibleFace> FSolidFaces;
    std::vector<TProjectedPoint> FSolidClipped;
    std::vector<TProjectedPoint> FSolidPolygonScratch;
    std::vector<TPoint> FSolidPoints;
    // Scratch of DrawPolygon.
    QPolygonF FPolygonCentres;
    std::vector<std::int64_t> FPolygonCorners;

    // --- 3D pie slice ---------------------------------------------------------------------------
public:
    std::array<double, 3> TowardsViewer() const override;
    void DrawPieSlice3D(const TSolidPieSlice& slice, bool dark3D,
                        std::vector<std::vector<TPoint>>* faces) override;

private:
    // The projection without rounding, in logical pixels, and the depth along the view (larger
    // is farther); ChartCanvas3DPie.cpp.
    QPointF ProjectExact(double x, double y, double z, double& depth) const;
    // How many chords draw an arc of the radius (in logical pixels) over the sweep without a
    // visible corner at the target's resolution.
    std::int32_t ArcSegments(double radius, double sweep) const;
    // One face of a solid: filled in the colour, then its edges from `edges` drawn with the
    // pen (each a chain of points); answers nothing, draws nothing when the brush is clear.
    void PaintSolidFace(QPainter& painter, const QPolygonF& face, QRgb color,
                        std::span<const QPolygonF> edges);
};

} // namespace Korvatel
