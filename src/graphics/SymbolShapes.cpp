#include "graphics/SymbolShapes.h"

#include <algorithm>

namespace {

double DiagonalWithOrigin(std::span<const Vec2> points) {
    SceneBox box; // starts at (0, 0)
    for (Vec2 p : points)
        box.Extend(p);
    return box.Diagonal();
}

} // namespace

EntityClass::EntityClass(std::initializer_list<Vec2> points, double referenceSize)
    : points_(points),
      referenceSize_(referenceSize != 0 ? referenceSize : DiagonalWithOrigin(points_)) {}

Vec2 EntityClass::Placed(int i, double size, double angle, Vec2 position) const {
    Vec2 p = points_[static_cast<size_t>(i)];
    if (angle != 0)
        p = Rotated(p, angle);
    return p * (size / referenceSize_) + position;
}

void EntityClass::DrawShape(PaintContainer& list, double size, double width, Colour colour,
                            double angle, Vec2 position, unsigned mask) const {
    list.SetPen(colour, width);
    for (int i = 0; i + 1 < PointCount(); ++i) {
        const bool selected = mask == 0 || (i < 32 && (mask >> i) & 1u);
        if (selected)
            list.AddLine(Placed(i, size, angle, position), Placed(i + 1, size, angle, position));
    }
}

void EntityClass::FillShape(PaintContainer& list, double size, double width, double angle,
                            Colour pen, Colour fill, Vec2 position) const {
    list.SetBrush(fill);
    std::vector<Vec2> placed;
    placed.reserve(points_.size());
    for (int i = 0; i < PointCount(); ++i)
        placed.push_back(Placed(i, size, angle, position));
    list.AddPolygon(pen, width, placed);
}

Entity3Class::Entity3Class(std::initializer_list<Vec3> vertices,
                           std::initializer_list<std::pair<int, int>> edges, double referenceSize)
    : vertices_(vertices), edges_(edges), referenceSize_(referenceSize) {}

Vec2 Entity3Class::Placed(int number, double size, Vec3 axis, const ViewMatrix& view,
                          Vec3 position) const {
    const Vec3 turned = Rotate(vertices_[static_cast<size_t>(number - 1)], axis);
    return Project(view, turned * (size / referenceSize_) + position);
}

void Entity3Class::DrawShape3D(PaintContainer& list, double size, double width, Vec3 axis,
                               const ViewMatrix& view, Colour colour, Vec3 position) const {
    list.SetPen(colour, width);
    for (const auto& [from, to] : edges_)
        list.AddLine(Placed(from, size, axis, view, position),
                     Placed(to, size, axis, view, position));
}

void Entity3Class::FillShape3D(PaintContainer& list, double size, double width, Vec3 axis,
                               const ViewMatrix& view, Colour pen, Colour fill,
                               Vec3 position) const {
    list.SetBrush(fill);
    std::vector<Vec2> placed;
    placed.reserve(vertices_.size());
    for (int number = 1; number <= VertexCount(); ++number)
        placed.push_back(Placed(number, size, axis, view, position));
    list.AddPolygon(pen, width, placed);
}

// The shapes' data. A reference size of 0 is computed from the points.
const EntityClass NodeSquare({{-10, 10}, {-10, -10}, {10, -10}, {10, 10}, {-10, 10}}, 0);
const EntityClass ArrowHead({{0, 0}, {-10, 5}, {-10, -5}, {0, 0}}, 0);
const EntityClass SideArrowHead({{0, 0}, {0, -5}, {10, 0}, {0, 5}, {0, 0}}, 0);
// Counter-clockwise from (1, 0) in steps of 24°, the last point closing the
// ring; the values as they stand, not computed.
const EntityClass HingeCircle({{1, 0},
                               {0.9135, 0.407},
                               {0.6691, 0.743},
                               {0.309, 0.951},
                               {-0.1045, 0.995},
                               {-0.5, 0.866},
                               {-0.809, 0.588},
                               {-0.9781, 0.208},
                               {-0.9781, -0.208},
                               {-0.809, -0.588},
                               {-0.5, -0.866},
                               {-0.1045, -0.995},
                               {0.309, -0.951},
                               {0.6691, -0.743},
                               {0.9135, -0.407},
                               {1, 0}},
                              2);
const EntityClass DashDotPattern({{0, 0}, {10, 0}, {14, 0}, {15, 0}}, 19);
const EntityClass DashPattern({{0, 0}, {10, 0}}, 15);

const Entity3Class ArrowHead3D({{0, 0, 0}, {2, -2, -10}, {-2, -2, -10}, {-2, 2, -10}, {2, 2, -10}},
                               {{1, 2}, {1, 3}, {1, 5}, {1, 4}}, 10);
const Entity3Class HingeBar3D({{-1, -4, 0}, {1, -4, 0}, {1, 4, 0}, {-1, 4, 0}},
                              {{1, 2}, {2, 3}, {3, 4}, {4, 1}}, 1.5);
const Entity3Class ShearHinge3D({{-1, 0, -4}, {1, 0, -4}, {1, 0, 4}, {-1, 0, 4}}, {{1, 4}, {2, 3}},
                                2);
