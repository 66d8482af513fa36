// SPDX-License-Identifier: MIT
// The canvas: the slice of a pie or ring with thickness.
//
// The slice is a solid of the 3D box, projected point by point without rounding and drawn
// through the painter in logical pixels, so that its curves stay round on a dense screen and on
// paper. A face is drawn when it looks at the viewer, which the sign of its projected area tells
// in every view: the faces' corners run counter-clockwise as seen from outside, and the
// projection keeps or turns round every face alike.
//
// Within the slice the upright faces (rims and cut faces) go first, the farthest first, and the
// top or bottom face last: the solid lies wholly on one side of that face's plane, so nothing of
// it can stand in front of the face. The order of the slices among each other is the caller's
// (see PieDrawOrder in PieGeometry.h).

#include <algorithm>
#include <bit>
#include <cmath>
#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/ChartCanvasDetail.h>
#include <korvatel/canvas/SolidShading.h>
#include <numbers>

namespace Korvatel {

using namespace CanvasDetail;

namespace {

constexpr double FullTurn = 2 * std::numbers::pi;

// The most chords of one arc: beyond it (a zoom of thousands) the slice is larger than any
// picture and the corners lie outside it.
constexpr std::int32_t MostArcSegments = 4096;

// Twice the signed area of a polygon of the surface (rows grow downwards): negative when its
// corners run counter-clockwise on the screen.
double TwiceArea(const QPolygonF& polygon) {
    double sum = 0;
    const qsizetype count = polygon.size();
    for (qsizetype i = 0; i < count; ++i) {
        const QPointF& a = polygon[i];
        const QPointF& b = polygon[(i + 1) % count];
        sum += a.x() * b.y() - b.x() * a.y();
    }
    return sum;
}

// A face whose corners run counter-clockwise as seen from outside looks at the viewer when they
// run counter-clockwise on the screen too.
bool FacesViewer(const QPolygonF& polygon) {
    return TwiceArea(polygon) < 0;
}

QRgb ShadedRgb(QRgb color, TSolidFace face) {
    const TColor plain = static_cast<TColor>(qRed(color) | qGreen(color) << 8 | qBlue(color) << 16);
    const TColor shaded = ShadedColor(plain, face);
    return qRgb(shaded & 0xFF, (shaded >> 8) & 0xFF, (shaded >> 16) & 0xFF);
}

// An upright face waiting for its turn: its polygon, its edges and how far away it lies.
struct TUprightFace {
    QPolygonF Polygon;
    std::vector<QPolygonF> Edges;
    // The edges run all round: the polygon is filled and outlined in one.
    bool Closed = false;
    double Depth = 0;
};

std::int32_t ToPixel(double value) {
    return static_cast<std::int32_t>(std::clamp(std::round(value), -1e9, 1e9));
}

std::vector<TPoint> ToPoints(const QPolygonF& polygon) {
    std::vector<TPoint> points;
    points.reserve(static_cast<std::size_t>(polygon.size()));
    for (const QPointF& p : polygon) {
        points.push_back({ToPixel(p.x()), ToPixel(p.y())});
    }
    return points;
}

} // namespace

std::array<double, 3> TChartCanvas3D::TowardsViewer() const {
    if (!FIs3D) {
        return {0, 0, -1};
    }
    if (FIsOrthogonal) {
        // Depth moves a point right and up by as many pixels: the view runs along (-1, 1, 1).
        return {1, -1, -1};
    }
    // The depth after the rotation grows away from the viewer.
    return {-FRotation[6], -FRotation[7], -FRotation[8]};
}

QPointF TChartCanvas3D::ProjectExact(double x, double y, double z, double& depth) const {
    if (!FIs3D) {
        depth = z;
        return {x, y};
    }
    if (FIsOrthogonal) {
        depth = -x + y + z;
        return {FZoomFactor * (x + z - FXCenter) + FXCenterOffset,
                FZoomFactor * (y - FYCenter - z) + FYCenterOffset};
    }
    const double dx = x - FXCenter;
    const double dy = y - FYCenter;
    const double dz = z - FZCenter;
    const std::array<double, 9>& m = FRotation;
    const double rx = m[0] * dx + m[1] * dy + m[2] * dz;
    const double ry = m[3] * dx + m[4] * dy + m[5] * dz;
    depth = m[6] * dx + m[7] * dy + m[8] * dz;
    const double scale =
        FPerspectiveFactor > 0 ? FZoomFactor * (1.0 - FPerspectiveFactor * depth) : FZoomFactor;
    return {scale * rx + FXCenterOffset, scale * ry + FYCenterOffset};
}

std::int32_t TChartCanvas3D::ArcSegments(double radius, double sweep) const {
    // A chord over the angle t strays from its arc by about r t^2 / 8; a quarter of a device
    // pixel allows t = sqrt(2 / (r ratio)). A painter that is not an image (a page, a PDF)
    // may be looked at closely: it gets the chords of four device pixels to the pixel.
    const double ratio = FDeviceRaster || !FScaled ? FScale.Value() : std::max(FScale.Value(), 4.0);
    // The perspective enlarges the front of the solid by up to this much.
    const double nearer = FIs3D && !FIsOrthogonal ? 1.0 + FPerspectiveFactor * radius : 1.0;
    const double zoomed = std::fabs(radius * FZoomFactor) * nearer;
    const double count = std::ceil(sweep * std::sqrt(std::max(zoomed * ratio, 1.0) / 2));
    return static_cast<std::int32_t>(std::clamp(count, 1.0, double{MostArcSegments}));
}

void TChartCanvas3D::PaintSolidFace(QPainter& painter, const QPolygonF& face, QRgb color,
                                    std::span<const QPolygonF> edges) {
    const TChartBrush& brush = Brush();
    SetPainterMode(painter, CompositionFor(Pen().Mode()));
    if (brush.HasImage() || brush.Style() != bsClear) {
        SetPainterPen(painter, QPen(Qt::NoPen));
        SetPainterBrush(painter, QBrush(QColor::fromRgb(color)));
        painter.drawPolygon(face, Qt::OddEvenFill);
    }
    if (PenIsVisible() && !edges.empty()) {
        SetPainterPen(painter, ShapePen());
        SetPainterBrush(painter, QBrush(Qt::NoBrush));
        for (const QPolygonF& edge : edges) {
            painter.drawPolyline(edge);
        }
    }
}

void TChartCanvas3D::DrawPieSlice3D(const TSolidPieSlice& slice, bool dark3D,
                                    std::vector<std::vector<TPoint>>* faces) {
    const double sweep = std::min(slice.EndAngle - slice.StartAngle, FullTurn);
    if (!(sweep > 0) || slice.RadiusX < 1 || slice.RadiusZ < 0) {
        return;
    }
    QPainter* painter = PreparePainter();
    if (painter == nullptr ||
        Record(TPrimitive::FillShape,
               {slice.X, slice.Z, slice.RadiusX, slice.RadiusZ, slice.InnerPercent,
                std::bit_cast<std::int64_t>(slice.StartAngle),
                std::bit_cast<std::int64_t>(slice.EndAngle), slice.Top, slice.Bottom,
                (slice.StartCut ? 1 : 0) | (slice.EndCut ? 2 : 0) | (dark3D ? 4 : 0)})) {
        return;
    }
    const double inner = std::clamp(slice.InnerPercent, 0, 100) / 100.0;
    const bool ring = inner > 0;
    const double rx = slice.RadiusX;
    // With the projection off the slice is seen from straight above.
    const double rz = FIs3D ? slice.RadiusZ : slice.RadiusX;
    const std::int32_t segments = ArcSegments(std::max(rx, rz), sweep);
    const double top = slice.Top;
    const double bottom = FIs3D ? std::max(slice.Bottom, slice.Top) : slice.Top;

    // The arcs' corners: outer and inner, at the top and the bottom, with their depths. Points
    // are shifted half a pixel, as the pixel (x, y) of the canvas is the painter's square from
    // (x, y) to (x + 1, y + 1).
    const auto count = static_cast<qsizetype>(segments) + 1;
    QPolygonF outerTop(count), outerBottom(count), innerTop, innerBottom;
    std::vector<double> outerDepth(static_cast<std::size_t>(count));
    std::vector<double> innerDepth;
    if (ring) {
        innerTop.resize(count);
        innerBottom.resize(count);
        innerDepth.resize(static_cast<std::size_t>(count));
    }
    const QPointF half(0.5, 0.5);
    const auto project = [&](double x, double y, double z, double& depth) {
        // Flat: the depth counts upwards on the picture.
        return (FIs3D ? ProjectExact(x, y, z, depth) : QPointF(x, y - (z - slice.Z))) + half;
    };
    for (qsizetype k = 0; k < count; ++k) {
        const double angle = k == segments
                                 ? slice.EndAngle
                                 : slice.StartAngle + sweep * static_cast<double>(k) / segments;
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        double depth = 0;
        double ignored = 0;
        const auto i = static_cast<std::size_t>(k);
        outerTop[k] = project(slice.X + rx * c, top, slice.Z + rz * s, depth);
        outerBottom[k] = project(slice.X + rx * c, bottom, slice.Z + rz * s, ignored);
        outerDepth[i] = depth;
        if (ring) {
            innerTop[k] = project(slice.X + inner * rx * c, top, slice.Z + inner * rz * s, depth);
            innerBottom[k] =
                project(slice.X + inner * rx * c, bottom, slice.Z + inner * rz * s, ignored);
            innerDepth[i] = depth;
        }
    }
    double centreDepth = 0;
    double ignored = 0;
    const QPointF centreTop = project(slice.X, top, slice.Z, centreDepth);
    const QPointF centreBottom = project(slice.X, bottom, slice.Z, ignored);

    // Inside the clip region the painter may clip by its bounding box (see TRegionWaiver).
    QRectF box = outerTop.boundingRect().united(outerBottom.boundingRect());
    box = box.united(QRectF(centreTop, centreBottom).normalized());
    const TRect pixels{ToPixel(std::floor(box.left())), ToPixel(std::floor(box.top())),
                       ToPixel(std::ceil(box.right())), ToPixel(std::ceil(box.bottom()))};
    const TRegionWaiver waiver(*this, Grown(pixels, PenMargin()));
    painter = PreparePainter();
    const QRgb color = Resolve(Brush().Color());
    const QRgb sideColor = dark3D ? ShadedRgb(color, sfSide) : color;
    // A face whose outline runs all round is filled and outlined in one call of the painter.
    const bool fill = Brush().HasImage() || Brush().Style() != bsClear;
    const QPen outline = ShapePen();
    const auto paint = [&](const QPolygonF& face, QRgb faceColor, bool closed,
                           std::span<const QPolygonF> edges) {
        if (!closed) {
            PaintSolidFace(*painter, face, faceColor, edges);
            return;
        }
        SetPainterMode(*painter, CompositionFor(Pen().Mode()));
        SetPainterPen(*painter, outline);
        SetPainterBrush(*painter, fill ? QBrush(QColor::fromRgb(faceColor)) : QBrush(Qt::NoBrush));
        painter->drawPolygon(face, Qt::OddEvenFill);
    };
    const auto record = [&](const QPolygonF& face) {
        if (faces != nullptr) {
            faces->push_back(ToPoints(face.translated(-half)));
        }
    };
    // The top face runs counter-clockwise seen from above; the bottom face, seen from below,
    // the other way.
    const auto cap = [&](const QPolygonF& outer, const QPolygonF& innerArc, const QPointF& centre,
                         bool upper) {
        QPolygonF polygon = outer;
        if (ring) {
            polygon.append(QPolygonF(innerArc.rbegin(), innerArc.rend()));
        } else if (sweep < FullTurn) {
            polygon.append(centre);
        }
        if (FacesViewer(polygon) != upper) {
            return false;
        }
        // A whole ring has no edge where its outer and inner circles are joined.
        const bool closed = slice.StartCut && slice.EndCut ? true : !ring && sweep >= FullTurn;
        std::vector<QPolygonF> edges;
        if (!closed) {
            edges.push_back(outer);
            if (ring) {
                edges.push_back(innerArc);
            }
            const QPointF& startIn = ring ? innerArc.front() : centre;
            const QPointF& endIn = ring ? innerArc.back() : centre;
            if (slice.StartCut) {
                edges.push_back(QPolygonF{startIn, outer.front()});
            }
            if (slice.EndCut) {
                edges.push_back(QPolygonF{outer.back(), endIn});
            }
        }
        paint(polygon, color, closed, edges);
        record(polygon);
        return true;
    };
    if (!FIs3D) {
        cap(outerTop, innerTop, centreTop, true);
        return;
    }

    // The upright faces that look at the viewer: runs of rim segments, and the cut faces.
    std::vector<TUprightFace> upright;
    const auto rimRuns = [&](const QPolygonF& upper, const QPolygonF& lower,
                             const std::vector<double>& depths, bool outside) {
        qsizetype k = 0;
        while (k < segments) {
            const auto visible = [&](qsizetype j) {
                const QPolygonF quad =
                    outside ? QPolygonF{upper[j], lower[j], lower[j + 1], upper[j + 1]}
                            : QPolygonF{upper[j], upper[j + 1], lower[j + 1], lower[j]};
                return FacesViewer(quad);
            };
            if (!visible(k)) {
                ++k;
                continue;
            }
            const qsizetype first = k;
            while (k < segments && visible(k)) {
                ++k;
            }
            const qsizetype last = k;
            TUprightFace face;
            const QPolygonF upperArc = upper.mid(first, last - first + 1);
            const QPolygonF lowerArc = lower.mid(first, last - first + 1);
            face.Polygon = upperArc;
            face.Polygon.append(QPolygonF(lowerArc.rbegin(), lowerArc.rend()));
            // An end of the run is an edge where the slice ends or the rim turns away; not
            // where the slice was cut in pieces.
            const bool startEdge = first > 0 || slice.StartCut;
            const bool endEdge = last < segments || slice.EndCut;
            face.Closed = startEdge && endEdge;
            if (!face.Closed) {
                face.Edges = {upperArc, lowerArc};
                if (startEdge) {
                    face.Edges.push_back(QPolygonF{upper[first], lower[first]});
                }
                if (endEdge) {
                    face.Edges.push_back(QPolygonF{upper[last], lower[last]});
                }
            }
            double sum = 0;
            for (qsizetype j = first; j <= last; ++j) {
                sum += depths[static_cast<std::size_t>(j)];
            }
            face.Depth = sum / static_cast<double>(last - first + 1);
            upright.push_back(std::move(face));
        }
    };
    rimRuns(outerTop, outerBottom, outerDepth, true);
    if (ring) {
        rimRuns(innerTop, innerBottom, innerDepth, false);
    }
    const auto cut = [&](bool start) {
        const qsizetype k = start ? 0 : segments;
        const auto i = static_cast<std::size_t>(k);
        const QPointF& inTop = ring ? innerTop[k] : centreTop;
        const QPointF& inBottom = ring ? innerBottom[k] : centreBottom;
        // The start face looks towards smaller angles, the end face towards larger ones.
        const QPolygonF polygon = start ? QPolygonF{inTop, inBottom, outerBottom[k], outerTop[k]}
                                        : QPolygonF{inTop, outerTop[k], outerBottom[k], inBottom};
        if (!FacesViewer(polygon)) {
            return;
        }
        TUprightFace face;
        face.Polygon = polygon;
        face.Closed = true;
        face.Depth = (outerDepth[i] + (ring ? innerDepth[i] : centreDepth)) / 2;
        upright.push_back(std::move(face));
    };
    if (slice.StartCut) {
        cut(true);
    }
    if (slice.EndCut) {
        cut(false);
    }
    std::stable_sort(
        upright.begin(), upright.end(),
        [](const TUprightFace& a, const TUprightFace& b) { return a.Depth > b.Depth; });
    for (const TUprightFace& face : upright) {
        paint(face.Polygon, sideColor, face.Closed, face.Edges);
        record(face.Polygon);
    }
    if (!cap(outerTop, innerTop, centreTop, true)) {
        // Seen from below the bottom face shows; its corners run the other way round.
        cap(outerBottom, innerBottom, centreBottom, false);
    }
}

} // namespace Korvatel
