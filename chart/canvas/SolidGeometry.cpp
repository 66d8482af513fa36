// SPDX-License-Identifier: MIT
#include <korvatel/canvas/SolidGeometry.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>

namespace Korvatel {

namespace {

// A point of a profile stood in the box along axis at w.
TSolidPoint Place(TSolidAxis axis, double u, double v, double w) {
    switch (axis) {
    case saX:
        return {w, u, v};
    case saY:
        return {u, w, v};
    case saZ:
        break;
    }
    return {u, v, w};
}

// Newell's normal of a polygon: by the right-hand rule around its vertices.
template <typename Vertex>
TSolidPoint NewellNormal(std::uint32_t count, Vertex&& vertex) {
    TSolidPoint n;
    for (std::uint32_t i = 0; i < count; ++i) {
        const TSolidPoint& a = vertex(i);
        const TSolidPoint& b = vertex((i + 1) % count);
        n.X += (a.Y - b.Y) * (a.Z + b.Z);
        n.Y += (a.Z - b.Z) * (a.X + b.X);
        n.Z += (a.X - b.X) * (a.Y + b.Y);
    }
    return n;
}

TSolidPoint FaceNormal(const TSolidMesh& mesh, std::uint32_t first, std::uint32_t count) {
    return NewellNormal(count, [&](std::uint32_t i) -> const TSolidPoint& {
        return mesh.Vertices[mesh.Indices[first + i]];
    });
}

TSolidPoint FaceCentre(const TSolidMesh& mesh, std::uint32_t first, std::uint32_t count,
                       const TSolidPoint& origin) {
    TSolidPoint c;
    for (std::uint32_t i = 0; i < count; ++i) {
        const TSolidPoint& p = mesh.Vertices[mesh.Indices[first + i]];
        c.X += p.X - origin.X;
        c.Y += p.Y - origin.Y;
        c.Z += p.Z - origin.Z;
    }
    const double n = count > 0 ? count : 1;
    return {c.X / n, c.Y / n, c.Z / n};
}

// The shade of a flat face by where its outward normal mainly points: towards the viewer
// (front), up or down (top), anywhere else (side, the back included).
TSolidFace ShadeOf(const TSolidPoint& outward) {
    const double x = std::fabs(outward.X);
    const double y = std::fabs(outward.Y);
    const double z = std::fabs(outward.Z);
    if (z >= x && z >= y) {
        return outward.Z < 0 ? sfFront : sfSide;
    }
    return y >= x ? sfTop : sfSide;
}

void AddFace(TSolidMesh& mesh, std::initializer_list<std::uint32_t> vertices) {
    const auto first = static_cast<std::uint32_t>(mesh.Indices.size());
    mesh.Indices.insert(mesh.Indices.end(), vertices);
    mesh.Faces.push_back({first, static_cast<std::uint32_t>(vertices.size()), sfFront});
}

// The faces were built as one consistently turned surface; turns them all when they turn the
// wrong way (their normals must point inwards, which is how a face that looks at the viewer
// projects clockwise), then shades the flat faces.
void OrientAndShade(TSolidMesh& mesh) {
    if (mesh.Vertices.empty()) {
        return;
    }
    const TSolidPoint origin = mesh.Vertices.front();
    double volume = 0;
    const auto add = [&](std::uint32_t first, std::uint32_t count, const TSolidPoint& normal) {
        const TSolidPoint c = FaceCentre(mesh, first, count, origin);
        volume += c.X * normal.X + c.Y * normal.Y + c.Z * normal.Z;
    };
    for (const TSolidMesh::TFace& face : mesh.Faces) {
        add(face.First, face.Count, FaceNormal(mesh, face.First, face.Count));
    }
    const std::uint32_t n = mesh.MantleCount;
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t* a = mesh.Indices.data() + mesh.MantleFirst;
        const std::uint32_t* b = a + n;
        const TSolidPoint* quad[] = {&mesh.Vertices[a[i]], &mesh.Vertices[b[i]],
                                     &mesh.Vertices[b[(i + 1) % n]],
                                     &mesh.Vertices[a[(i + 1) % n]]};
        const TSolidPoint normal =
            NewellNormal(4, [&](std::uint32_t k) -> const TSolidPoint& { return *quad[k]; });
        TSolidPoint c;
        for (const TSolidPoint* p : quad) {
            c.X += (p->X - origin.X) / 4;
            c.Y += (p->Y - origin.Y) / 4;
            c.Z += (p->Z - origin.Z) / 4;
        }
        volume += c.X * normal.X + c.Y * normal.Y + c.Z * normal.Z;
    }
    const bool flip = volume > 0;
    if (flip) {
        for (const TSolidMesh::TFace& face : mesh.Faces) {
            std::reverse(mesh.Indices.begin() + face.First,
                         mesh.Indices.begin() + face.First + face.Count);
        }
        std::reverse(mesh.Indices.begin() + mesh.MantleFirst,
                     mesh.Indices.begin() + mesh.MantleFirst + n);
        std::reverse(mesh.Indices.begin() + mesh.MantleFirst + n,
                     mesh.Indices.begin() + mesh.MantleFirst + 2 * n);
    }
    for (TSolidMesh::TFace& face : mesh.Faces) {
        const TSolidPoint inward = FaceNormal(mesh, face.First, face.Count);
        face.Shade = ShadeOf({-inward.X, -inward.Y, -inward.Z});
    }
}

} // namespace

void TSolidMesh::Clear() {
    Vertices.clear();
    Indices.clear();
    Faces.clear();
    MantleFirst = 0;
    MantleCount = 0;
}

TProjectedPoint ProjectSolidPoint(const TSolidView& view, const TSolidPoint& p) {
    if (!view.Projected) {
        return {p.X, p.Y, p.Z, true};
    }
    if (view.Orthogonal) {
        return {view.Zoom * (p.X + p.Z - view.XCenter) + view.XOffset,
                view.Zoom * (p.Y - p.Z - view.YCenter) + view.YOffset, p.Z, true};
    }
    const double dx = p.X - view.XCenter;
    const double dy = p.Y - view.YCenter;
    const double dz = p.Z - view.ZCenter;
    const std::array<double, 9>& m = view.Rotation;
    const double rx = m[0] * dx + m[1] * dy + m[2] * dz;
    const double ry = m[3] * dx + m[4] * dy + m[5] * dz;
    const double rz = m[6] * dx + m[7] * dy + m[8] * dz;
    // Beyond the eye the perspective turns the picture over: such a point is not drawn.
    const double factor = view.Perspective > 0 ? 1.0 - view.Perspective * rz : 1.0;
    const double scale = view.Zoom * factor;
    return {scale * rx + view.XOffset, scale * ry + view.YOffset, rz, factor > 1e-3};
}

double ProjectedArea(std::span<const TProjectedPoint> points) {
    double area = 0;
    const std::size_t n = points.size();
    for (std::size_t i = 0; i < n; ++i) {
        const TProjectedPoint& a = points[i];
        const TProjectedPoint& b = points[(i + 1) % n];
        area += a.X * b.Y - b.X * a.Y;
    }
    return area;
}

std::uint32_t CurveFacets(double radius) {
    constexpr double Tolerance = 1.0 / 3.0;
    constexpr std::uint32_t Fewest = 8;
    constexpr std::uint32_t Most = 256;
    if (!(radius > Tolerance * 2)) {
        return Fewest;
    }
    const double facets = std::numbers::pi / std::acos(1.0 - Tolerance / radius);
    if (!(facets < Most)) {
        return Most;
    }
    const auto whole = static_cast<std::uint32_t>(std::ceil(facets));
    return std::clamp((whole + 3) / 4 * 4, Fewest, Most);
}

void EllipseProfile(std::vector<TProfilePoint>& out, double u0, double v0, double u1, double v1,
                    std::uint32_t facets) {
    out.clear();
    const double cu = (u0 + u1) / 2;
    const double cv = (v0 + v1) / 2;
    const double ru = (u1 - u0) / 2;
    const double rv = (v1 - v0) / 2;
    for (std::uint32_t i = 0; i < facets; ++i) {
        const double angle = 2 * std::numbers::pi * i / facets;
        out.push_back({cu + ru * std::cos(angle), cv + rv * std::sin(angle)});
    }
}

void BuildPrism(TSolidMesh& mesh, std::span<const TProfilePoint> profile, TSolidAxis axis,
                double w0, double w1, bool smooth) {
    mesh.Clear();
    const auto n = static_cast<std::uint32_t>(profile.size());
    if (n < 3) {
        return;
    }
    for (const TProfilePoint& p : profile) {
        mesh.Vertices.push_back(Place(axis, p.U, p.V, w0));
    }
    for (const TProfilePoint& p : profile) {
        mesh.Vertices.push_back(Place(axis, p.U, p.V, w1));
    }
    // Ring A at w0 in the profile's order, ring B at w1 the other way round, and the sides
    // between them: one surface turned the same way all round.
    mesh.Faces.push_back({static_cast<std::uint32_t>(mesh.Indices.size()), n, sfFront});
    for (std::uint32_t i = 0; i < n; ++i) {
        mesh.Indices.push_back(i);
    }
    mesh.Faces.push_back({static_cast<std::uint32_t>(mesh.Indices.size()), n, sfFront});
    for (std::uint32_t i = n; i > 0; --i) {
        mesh.Indices.push_back(n + i - 1);
    }
    if (smooth) {
        mesh.MantleFirst = static_cast<std::uint32_t>(mesh.Indices.size());
        mesh.MantleCount = n;
        for (std::uint32_t i = 0; i < 2 * n; ++i) {
            mesh.Indices.push_back(i);
        }
    } else {
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::uint32_t j = (i + 1) % n;
            AddFace(mesh, {i, n + i, n + j, j});
        }
    }
    OrientAndShade(mesh);
}

void BuildApexSolid(TSolidMesh& mesh, std::span<const TProfilePoint> profile, TSolidAxis axis,
                    double wBase, const TSolidPoint& apex, bool smooth) {
    mesh.Clear();
    const auto n = static_cast<std::uint32_t>(profile.size());
    if (n < 3) {
        return;
    }
    for (const TProfilePoint& p : profile) {
        mesh.Vertices.push_back(Place(axis, p.U, p.V, wBase));
    }
    mesh.Vertices.push_back(Place(axis, apex.X, apex.Y, apex.Z));
    mesh.Faces.push_back({0, n, sfFront});
    for (std::uint32_t i = 0; i < n; ++i) {
        mesh.Indices.push_back(i);
    }
    if (smooth) {
        mesh.MantleFirst = static_cast<std::uint32_t>(mesh.Indices.size());
        mesh.MantleCount = n;
        for (std::uint32_t i = 0; i < n; ++i) {
            mesh.Indices.push_back(i);
        }
        mesh.Indices.insert(mesh.Indices.end(), n, n);
    } else {
        for (std::uint32_t i = 0; i < n; ++i) {
            AddFace(mesh, {i, n, (i + 1) % n});
        }
    }
    OrientAndShade(mesh);
}

void VisibleFaces(const TSolidMesh& mesh, std::span<const TProjectedPoint> projected,
                  std::vector<TProjectedPoint>& polygons, std::vector<TVisibleFace>& faces) {
    polygons.clear();
    faces.clear();
    // A face whose projection is a sliver thinner than this (in squared pixels) is seen
    // edge-on: it shows nothing and is left out.
    constexpr double EdgeOn = 1e-9;
    const auto close = [&](std::uint32_t first, TSolidFace shade) {
        const auto count = static_cast<std::uint32_t>(polygons.size()) - first;
        double depth = 0;
        for (std::uint32_t i = first; i < first + count; ++i) {
            depth += polygons[i].Depth;
        }
        faces.push_back({first, count, shade, depth / count});
    };
    for (const TSolidMesh::TFace& face : mesh.Faces) {
        const auto first = static_cast<std::uint32_t>(polygons.size());
        bool valid = true;
        for (std::uint32_t i = 0; i < face.Count; ++i) {
            const TProjectedPoint& p = projected[mesh.Indices[face.First + i]];
            valid = valid && p.Valid;
            polygons.push_back(p);
        }
        const std::span<const TProjectedPoint> polygon(polygons.data() + first, face.Count);
        if (!valid || !(ProjectedArea(polygon) > EdgeOn)) {
            polygons.resize(first);
            continue;
        }
        close(first, face.Shade);
    }
    const std::uint32_t n = mesh.MantleCount;
    if (n > 0) {
        const std::uint32_t* a = mesh.Indices.data() + mesh.MantleFirst;
        const std::uint32_t* b = a + n;
        const auto shows = [&](std::uint32_t i) {
            const std::uint32_t j = (i + 1) % n;
            const TProjectedPoint quad[] = {projected[a[i]], projected[b[i]], projected[b[j]],
                                            projected[a[j]]};
            return quad[0].Valid && quad[1].Valid && quad[2].Valid && quad[3].Valid &&
                   ProjectedArea(quad) > EdgeOn;
        };
        // Runs of visible facets, each started after a hidden one; a convex mantle has one.
        std::vector<bool> visible(n);
        std::uint32_t hidden = n;
        for (std::uint32_t i = 0; i < n; ++i) {
            visible[i] = shows(i);
            if (!visible[i]) {
                hidden = i;
            }
        }
        if (hidden == n) {
            // Every facet shows only when the mantle is seen from inside out; nothing sane to
            // draw of it then.
            hidden = 0;
            visible.assign(n, false);
        }
        for (std::uint32_t k = 1; k <= n; ++k) {
            const std::uint32_t start = (hidden + k) % n;
            if (!visible[start] || visible[(start + n - 1) % n]) {
                continue;
            }
            std::uint32_t end = start;
            while (visible[(end + 1) % n] && (end + 1) % n != start) {
                end = (end + 1) % n;
            }
            const auto first = static_cast<std::uint32_t>(polygons.size());
            const std::uint32_t length = (end + n - start) % n + 1;
            for (std::uint32_t i = 0; i <= length; ++i) {
                polygons.push_back(projected[a[(start + i) % n]]);
            }
            for (std::uint32_t i = length + 1; i > 0; --i) {
                const std::uint32_t index = b[(start + i - 1) % n];
                // A cone's apex once.
                if (i <= length && index == b[(start + i) % n]) {
                    continue;
                }
                polygons.push_back(projected[index]);
            }
            close(first, sfSide);
        }
    }
    std::stable_sort(faces.begin(), faces.end(), [](const TVisibleFace& x, const TVisibleFace& y) {
        return x.Depth > y.Depth;
    });
}

bool PolygonContains(std::span<const TProjectedPoint> polygon, double x, double y) {
    bool inside = false;
    const std::size_t n = polygon.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const TProjectedPoint& a = polygon[i];
        const TProjectedPoint& b = polygon[j];
        if ((a.Y > y) != (b.Y > y) && x < (b.X - a.X) * (y - a.Y) / (b.Y - a.Y) + a.X) {
            inside = !inside;
        }
    }
    return inside;
}

} // namespace Korvatel
