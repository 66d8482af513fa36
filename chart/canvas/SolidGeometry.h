// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/canvas/SolidShading.h>

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace Korvatel {

// The geometry of the solids of a three-dimensional chart, apart from any canvas: a solid is
// built as a closed list of faces, projected as the canvas projects, and only the faces whose
// projected polygon turns the visible way are drawn, the farthest first.

struct TSolidPoint {
    double X = 0;
    double Y = 0;
    double Z = 0;
};

// The flat outline of a solid before it is stood in the box: u across, v along.
struct TProfilePoint {
    double U = 0;
    double V = 0;
};

// Which axis of the box an outline is drawn along (the other two hold the outline).
enum TSolidAxis : std::uint8_t { saX, saY, saZ };

// Where the tip of a pyramid, cone or arrow points; a cylinder stands up for sdUp and sdDown
// and lies along X otherwise.
enum TSolidDirection : std::uint8_t { sdUp, sdDown, sdLeft, sdRight };

// The solids the canvas draws (see TCanvas3D::DrawSolid).
enum TSolidKind : std::uint8_t {
    skCube,
    skCylinder,
    skCone,
    skPyramid,
    skArrow,
    skDisc,
    skDiamond
};

// A closed surface: flat faces and at most one curved mantle. Faces are lists of vertex
// indices turned so that a face looks at the viewer when its projected polygon has a positive
// area on the screen (y down). The mantle is a strip of facets between two rings of vertices,
// facet i being (A[i], B[i], B[i + 1], A[i + 1]); a cone's ring B is its apex repeated. The
// visible facets of a convex mantle are one run, drawn as one polygon in the side shade, so
// that the facets show no seams.
struct KORVATEL_EXPORT TSolidMesh {
    struct TFace {
        std::uint32_t First = 0;
        std::uint32_t Count = 0;
        TSolidFace Shade = sfFront;
    };
    std::vector<TSolidPoint> Vertices;
    std::vector<std::uint32_t> Indices;
    std::vector<TFace> Faces;
    // The mantle: MantleCount facets, rings at Indices[MantleFirst] and
    // Indices[MantleFirst + MantleCount].
    std::uint32_t MantleFirst = 0;
    std::uint32_t MantleCount = 0;

    void Clear();
};

// How the canvas projects: off (flat), the oblique view, or rotated with a perspective.
struct KORVATEL_EXPORT TSolidView {
    bool Projected = false;
    bool Orthogonal = true;
    double Zoom = 1;
    double Perspective = 0;
    std::array<double, 9> Rotation{1, 0, 0, 0, 1, 0, 0, 0, 1};
    double XCenter = 0;
    double YCenter = 0;
    double ZCenter = 0;
    double XOffset = 0;
    double YOffset = 0;
};

// A projected vertex: screen position, its distance from the viewer (larger is farther) and
// whether it lies in front of the eye at all.
struct TProjectedPoint {
    double X = 0;
    double Y = 0;
    double Depth = 0;
    bool Valid = true;
};

KORVATEL_EXPORT TProjectedPoint ProjectSolidPoint(const TSolidView& view, const TSolidPoint& p);

// Twice the signed area of a polygon on the screen; positive when it turns clockwise as seen
// with y growing downwards, which is how a face that looks at the viewer turns.
KORVATEL_EXPORT double ProjectedArea(std::span<const TProjectedPoint> points);

// The number of facets that make a circle of the radius (device pixels) look round: the
// chord of a facet strays at most a third of a device pixel from the arc. A multiple of 4, 8
// to 256, so that a curve costs no more than it shows.
KORVATEL_EXPORT std::uint32_t CurveFacets(double radius);

// The profile of a regular polygon of facets corners inscribed in the rectangle (u0, v0) to
// (u1, v1): an ellipse to the eye when there are enough of them.
KORVATEL_EXPORT void EllipseProfile(std::vector<TProfilePoint>& out, double u0, double v0,
                                    double u1, double v1, std::uint32_t facets);

// A prism: the profile drawn along axis from w0 to w1, its sides flat faces or, with smooth, a
// mantle. The profile's (u, v) are (y, z) for saX, (x, z) for saY and (x, y) for saZ.
KORVATEL_EXPORT void BuildPrism(TSolidMesh& mesh, std::span<const TProfilePoint> profile,
                                TSolidAxis axis, double w0, double w1, bool smooth);
// A pyramid or cone: the profile at wBase along axis, and the apex (u, v, w in the same axes).
KORVATEL_EXPORT void BuildApexSolid(TSolidMesh& mesh, std::span<const TProfilePoint> profile,
                                    TSolidAxis axis, double wBase, const TSolidPoint& apex,
                                    bool smooth);

// One face to draw: where its polygon lies in a list of projected points, its shade and the
// depth that orders it.
struct TVisibleFace {
    std::uint32_t First = 0;
    std::uint32_t Count = 0;
    TSolidFace Shade = sfFront;
    double Depth = 0;
};

// The faces of a projected mesh that look at the viewer, farthest first, their polygons
// written to polygons (a mantle's visible run as one polygon). projected holds the mesh's
// vertices, projected. A face with a vertex behind the eye is left out.
KORVATEL_EXPORT void VisibleFaces(const TSolidMesh& mesh, std::span<const TProjectedPoint> projected,
                                  std::vector<TProjectedPoint>& polygons,
                                  std::vector<TVisibleFace>& faces);

// Whether a point lies inside a polygon (even-odd rule).
KORVATEL_EXPORT bool PolygonContains(std::span<const TProjectedPoint> polygon, double x, double y);

} // namespace Korvatel
