// SPDX-License-Identifier: MIT
#pragma once

#include <korvatel/core/Export.h>
#include <korvatel/core/ChartTypes.h>

#include <cstdint>
#include <span>
#include <vector>

namespace Korvatel {

class TCanvas3D;

// The faces that a path of a series sweeps through its depth slot in 3D: the ribbon of a
// line, and the top, bottom and end faces of an area. The path is given in chart pixels
// before the projection; every segment sweeps one quad from the front depth to the back one.
//
// A line's ribbon shows one side or the other of every quad. An area's outline is the
// boundary of a region, and only the quads on the side of the region that faces the viewer
// show (the top and the right end in the oblique view); the others lie behind the front face
// and are not drawn at all.
//
// Faces are drawn back to front in the order of the path: forward when the depth runs to the
// right (the right side of the slot shows), backward otherwise. Neighbouring quads that face
// the same way form one polygon, so a dense path costs a polygon per turn, not per point.
// A face whose side looks up is shaded as a top, any other as a side (SolidShading.h).
class KORVATEL_EXPORT TSeriesRibbon {
public:
    enum TKind : std::uint8_t { rkLine, rkOutline };

    // Cuts a path to at most four vertices per pixel column: the first, the lowest and the
    // highest in the order met, and the last. The quads of the vertices between them lie
    // inside the quads of these, so the picture stays; a path of 100,000 points over a few
    // hundred columns draws a few hundred quads.
    static void ReduceColumns(std::span<const TPoint> path, std::vector<TPoint>& reduced);

    // Draws the faces of a path from depth z0 to z1 in the canvas's current brush colour,
    // with no outline. kind rkOutline: path is the closed outline of a region (the last
    // vertex joins the first). dark: the faces take the shades of their colour.
    void Draw(TCanvas3D& canvas, std::span<const TPoint> path, TKind kind, std::int32_t z0,
              std::int32_t z1, TColor color, bool dark);

private:
    void FlushStrip(TCanvas3D& canvas, std::size_t first, std::size_t last, TColor color);

    std::vector<TPoint> FReduced;
    std::vector<TPoint> FFront;
    std::vector<TPoint> FBack;
    std::vector<TPoint> FStrip;
};

} // namespace Korvatel
