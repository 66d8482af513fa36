// SPDX-License-Identifier: MIT
// The canvas: the solids of a three-dimensional chart, built by SolidGeometry.h, projected as
// the 3D forms are and drawn face by face through DrawPolygon.

#include <korvatel/canvas/ChartCanvas3D.h>
#include <korvatel/canvas/ChartCanvasDetail.h>
#include <korvatel/canvas/SystemColors.h>

#include <algorithm>
#include <cmath>

namespace Korvatel {

using namespace CanvasDetail;

namespace {

// Cuts a polygon to a rectangle (Sutherland and Hodgman, one side after the other).
void ClipPolygon(std::vector<TProjectedPoint>& points, std::vector<TProjectedPoint>& scratch,
                 double left, double top, double right, double bottom) {
    const auto side = [&](auto inside, auto cross) {
        scratch.clear();
        const std::size_t n = points.size();
        for (std::size_t i = 0; i < n; ++i) {
            const TProjectedPoint& a = points[i];
            const TProjectedPoint& b = points[(i + 1) % n];
            const bool aIn = inside(a);
            const bool bIn = inside(b);
            if (aIn) {
                scratch.push_back(a);
            }
            if (aIn != bIn) {
                scratch.push_back(cross(a, b));
            }
        }
        points.swap(scratch);
    };
    const auto atX = [](double x) {
        return [x](const TProjectedPoint& a, const TProjectedPoint& b) {
            const double t = (x - a.X) / (b.X - a.X);
            return TProjectedPoint{x, a.Y + t * (b.Y - a.Y), a.Depth, true};
        };
    };
    const auto atY = [](double y) {
        return [y](const TProjectedPoint& a, const TProjectedPoint& b) {
            const double t = (y - a.Y) / (b.Y - a.Y);
            return TProjectedPoint{a.X + t * (b.X - a.X), y, a.Depth, true};
        };
    };
    side([&](const TProjectedPoint& p) { return p.X >= left; }, atX(left));
    side([&](const TProjectedPoint& p) { return p.X <= right; }, atX(right));
    side([&](const TProjectedPoint& p) { return p.Y >= top; }, atY(top));
    side([&](const TProjectedPoint& p) { return p.Y <= bottom; }, atY(bottom));
}

void RectangleProfile(std::vector<TProfilePoint>& out, double u0, double v0, double u1, double v1) {
    out.assign({{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}});
}

// An arrow inside the box: the head as wide as the box and at most half its length (and no
// longer than it is wide), the shaft half as wide. along runs from the tip to the tail.
void ArrowProfile(std::vector<TProfilePoint>& out, double tip, double tail, double across0,
                  double across1, bool vertical) {
    const double length = std::fabs(tail - tip);
    const double width = across1 - across0;
    const double head = std::min(length / 2, width);
    const double neck = tip + (tail > tip ? head : -head);
    const double middle = (across0 + across1) / 2;
    const double shaft = width / 4;
    const TProfilePoint along[] = {{tip, middle},          {neck, across1},
                                   {neck, middle + shaft}, {tail, middle + shaft},
                                   {tail, middle - shaft}, {neck, middle - shaft},
                                   {neck, across0}};
    out.clear();
    for (const TProfilePoint& p : along) {
        out.push_back(vertical ? TProfilePoint{p.V, p.U} : p);
    }
}

} // namespace

TSolidView TChartCanvas3D::SolidView() const {
    TSolidView view;
    view.Projected = FIs3D;
    view.Orthogonal = FIsOrthogonal;
    view.Zoom = FZoomFactor;
    view.Perspective = FPerspectiveFactor;
    view.Rotation = FRotation;
    view.XCenter = FXCenter;
    view.YCenter = FYCenter;
    view.ZCenter = FZCenter;
    view.XOffset = FXCenterOffset;
    view.YOffset = FYCenterOffset;
    return view;
}

bool TChartCanvas3D::PrepareSolid(TSolidKind kind, const TRect& rect, std::int32_t z0,
                                  std::int32_t z1, TSolidDirection tip, const TRect& within,
                                  TRect* bounds) const {
    // The pixels of the rectangle: its right and bottom edges are the last column and row.
    const double x0 = std::min(rect.Left, rect.Right);
    const double x1 = std::max(rect.Left, rect.Right) - 1.0;
    const double y0 = std::min(rect.Top, rect.Bottom);
    const double y1 = std::max(rect.Top, rect.Bottom) - 1.0;
    const double zNear = z0;
    const double zFar = z1;
    if (x1 < x0 || y1 < y0) {
        return false;
    }
    const TSolidView view = SolidView();
    const double extent = std::max({x1 - x0, y1 - y0, std::fabs(zFar - zNear)});
    const double zoom = view.Projected ? std::fabs(view.Zoom) : 1.0;
    const std::uint32_t facets = CurveFacets(extent / 2 * zoom * FScale.Value());
    const bool vertical = tip == sdUp || tip == sdDown;
    std::vector<TProfilePoint>& profile = FSolidProfile;
    switch (kind) {
    case skCube:
        RectangleProfile(profile, x0, y0, x1, y1);
        BuildPrism(FSolidMesh, profile, saZ, zNear, zFar, false);
        break;
    case skDisc:
        EllipseProfile(profile, x0, y0, x1, y1, facets);
        BuildPrism(FSolidMesh, profile, saZ, zNear, zFar, true);
        break;
    case skCylinder:
        if (vertical) {
            EllipseProfile(profile, x0, zNear, x1, zFar, facets);
            BuildPrism(FSolidMesh, profile, saY, y0, y1, true);
        } else {
            EllipseProfile(profile, y0, zNear, y1, zFar, facets);
            BuildPrism(FSolidMesh, profile, saX, x0, x1, true);
        }
        break;
    case skCone:
    case skPyramid: {
        // The base lies on the side opposite the tip; the apex in the middle of the tip's.
        const bool cone = kind == skCone;
        const double u0 = vertical ? x0 : y0;
        const double u1 = vertical ? x1 : y1;
        if (cone) {
            EllipseProfile(profile, u0, zNear, u1, zFar, facets);
        } else {
            RectangleProfile(profile, u0, zNear, u1, zFar);
        }
        const double base = tip == sdUp ? y1 : tip == sdDown ? y0 : tip == sdRight ? x0 : x1;
        const double apex = tip == sdUp ? y0 : tip == sdDown ? y1 : tip == sdRight ? x1 : x0;
        BuildApexSolid(FSolidMesh, profile, vertical ? saY : saX, base,
                       {(u0 + u1) / 2, (zNear + zFar) / 2, apex}, cone);
        break;
    }
    case skArrow:
        if (vertical) {
            ArrowProfile(profile, tip == sdUp ? y0 : y1, tip == sdUp ? y1 : y0, x0, x1, true);
        } else {
            ArrowProfile(profile, tip == sdRight ? x1 : x0, tip == sdRight ? x0 : x1, y0, y1,
                         false);
        }
        BuildPrism(FSolidMesh, profile, saZ, zNear, zFar, false);
        break;
    case skDiamond: {
        const double xm = (x0 + x1) / 2;
        const double ym = (y0 + y1) / 2;
        profile.assign({{xm, y0}, {x1, ym}, {xm, y1}, {x0, ym}});
        BuildPrism(FSolidMesh, profile, saZ, zNear, zFar, false);
        break;
    }
    }
    FSolidProjected.resize(FSolidMesh.Vertices.size());
    double left = HUGE_VAL;
    double top = HUGE_VAL;
    double right = -HUGE_VAL;
    double bottom = -HUGE_VAL;
    for (std::size_t i = 0; i < FSolidMesh.Vertices.size(); ++i) {
        const TProjectedPoint p = ProjectSolidPoint(view, FSolidMesh.Vertices[i]);
        FSolidProjected[i] = p;
        left = std::min(left, p.X);
        right = std::max(right, p.X);
        top = std::min(top, p.Y);
        bottom = std::max(bottom, p.Y);
    }
    const bool shows = !FSolidMesh.Vertices.empty() && right >= within.Left &&
                       left < within.Right && bottom >= within.Top && top < within.Bottom;
    if (shows && bounds != nullptr) {
        // Inside the guard round the clip, so the corners fit 32 bits.
        const auto at = [](double value) {
            return Saturated(static_cast<std::int64_t>(value));
        };
        *bounds = {at(std::floor(std::max(left, static_cast<double>(within.Left)))),
                   at(std::floor(std::max(top, static_cast<double>(within.Top)))),
                   at(std::ceil(std::min(right, static_cast<double>(within.Right))) + 1),
                   at(std::ceil(std::min(bottom, static_cast<double>(within.Bottom))) + 1)};
    }
    return shows;
}

void TChartCanvas3D::RoundPolygon(std::span<const TProjectedPoint> polygon, const TRect& guard) {
    FSolidPoints.clear();
    bool inside = true;
    for (const TProjectedPoint& p : polygon) {
        inside = inside && p.X >= guard.Left && p.X <= guard.Right && p.Y >= guard.Top &&
                 p.Y <= guard.Bottom;
    }
    std::span<const TProjectedPoint> points = polygon;
    if (!inside) {
        // Far outside the clip the polygon is cut to the guard, which lies beyond the clip
        // by more than a pen's width: the cut edges are never seen, and coordinates stay
        // small enough for the painter.
        FSolidClipped.assign(polygon.begin(), polygon.end());
        ClipPolygon(FSolidClipped, FSolidPolygonScratch, guard.Left, guard.Top, guard.Right,
                    guard.Bottom);
        points = FSolidClipped;
    }
    for (const TProjectedPoint& p : points) {
        // Half to even, as ProjectPoint rounds, so that corners meet the other 3D forms.
        FSolidPoints.push_back(
            {static_cast<std::int32_t>(std::nearbyint(p.X)),
             static_cast<std::int32_t>(std::nearbyint(p.Y))});
    }
}

void TChartCanvas3D::DrawSolid(TSolidKind kind, const TRect& rect, std::int32_t z0,
                               std::int32_t z1, TSolidDirection tip, bool dark) {
    if (TargetSurface() == nullptr) {
        return;
    }
    const TRect clip = EffectiveClipRect();
    if (clip.IsEmpty()) {
        return;
    }
    const std::int64_t margin = 4 + std::int64_t{std::max(Pen().Width(), 0)};
    const TRect guard{Saturated(clip.Left - margin), Saturated(clip.Top - margin),
                      Saturated(clip.Right + margin), Saturated(clip.Bottom + margin)};
    TRect bounds;
    if (!PrepareSolid(kind, rect, z0, z1, tip, guard, &bounds)) {
        return;
    }
    const TRegionWaiver waiver(*this, Grown(bounds, PenMargin()));
    VisibleFaces(FSolidMesh, FSolidProjected, FSolidPolygons, FSolidFaces);
    TChartBrush& brush = Brush();
    const TColor colour = brush.Color();
    // A hatch keeps its colour on a clear ground and a picture has none: only a plain colour
    // is shaded.
    const bool shade = dark && brush.Style() != bsClear && !brush.HasImage();
    const QRgb rgb = ColorToRgb(colour);
    const auto plain = static_cast<TColor>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
    TColor current = colour;
    for (const TVisibleFace& face : FSolidFaces) {
        if (shade) {
            const TColor wanted = face.Shade == sfFront ? colour : ShadedColor(plain, face.Shade);
            if (wanted != current) {
                brush.SetColor(wanted);
                current = wanted;
            }
        }
        RoundPolygon(std::span(FSolidPolygons).subspan(face.First, face.Count), guard);
        if (FSolidPoints.size() < 3) {
            continue;
        }
        // A face that stands square to the screen (a box's front in the oblique view) is a
        // rectangle whose polygon and rectangle pixels agree: the rectangle fills scan lines
        // straight, the polygon goes through the painter.
        const TPoint* p = FSolidPoints.data();
        if (FSolidPoints.size() == 4 &&
            ((p[0].X == p[1].X && p[1].Y == p[2].Y && p[2].X == p[3].X && p[3].Y == p[0].Y) ||
             (p[0].Y == p[1].Y && p[1].X == p[2].X && p[2].Y == p[3].Y && p[3].X == p[0].X))) {
            const std::int64_t left = std::min(p[0].X, p[2].X);
            const std::int64_t top = std::min(p[0].Y, p[2].Y);
            const std::int64_t right = std::max(p[0].X, p[2].X);
            const std::int64_t bottom = std::max(p[0].Y, p[2].Y);
            DrawRectangle(Saturated(left), Saturated(top), Saturated(right + 1),
                          Saturated(bottom + 1));
        } else {
            DrawPolygon(FSolidPoints);
        }
    }
    if (current != colour) {
        brush.SetColor(colour);
    }
}

bool TChartCanvas3D::SolidContains(TSolidKind kind, const TRect& rect, std::int32_t z0,
                                   std::int32_t z1, TSolidDirection tip, std::int32_t x,
                                   std::int32_t y) const {
    const TRect pixel{x, y, Saturated(std::int64_t{x} + 1), Saturated(std::int64_t{y} + 1)};
    if (!PrepareSolid(kind, rect, z0, z1, tip, pixel)) {
        return false;
    }
    VisibleFaces(FSolidMesh, FSolidProjected, FSolidPolygons, FSolidFaces);
    return std::any_of(FSolidFaces.begin(), FSolidFaces.end(), [&](const TVisibleFace& face) {
        return PolygonContains(std::span(FSolidPolygons).subspan(face.First, face.Count), x, y);
    });
}

void TChartCanvas3D::DrawTriangle3D(const TPoint& p0, const TPoint& p1, const TPoint& p2,
                                    std::int32_t z) {
    const TPoint corners[] = {ProjectPoint(p0.X, p0.Y, z), ProjectPoint(p1.X, p1.Y, z),
                              ProjectPoint(p2.X, p2.Y, z)};
    DrawPolygon(corners);
}

void TChartCanvas3D::DrawPlane3D(const TPoint& p0, const TPoint& p1, std::int32_t z0,
                                 std::int32_t z1) {
    const TPoint corners[] = {ProjectPoint(p0.X, p0.Y, z0), ProjectPoint(p1.X, p1.Y, z0),
                              ProjectPoint(p1.X, p1.Y, z1), ProjectPoint(p0.X, p0.Y, z1)};
    DrawPolygon(corners);
}

} // namespace Korvatel
