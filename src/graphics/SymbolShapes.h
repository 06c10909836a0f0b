#pragma once

#include "graphics/GraphicsTypes.h"
#include "graphics/PaintContainer.h"
#include "graphics/ViewTransform.h"

#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

// The built-in symbol shapes: 2-D polylines and 3-D wire models, each in its
// own coordinates with a reference size. Drawn with a size s, a shape is
// scaled by s ÷ reference size, turned, moved to its place and recorded in a
// drawing list.

// A 2-D shape: a polyline (segment i joins points i and i + 1).
class EntityClass {
public:
    // A reference size of 0 becomes the diagonal of the bounding box of the
    // points and the origin.
    EntityClass(std::initializer_list<Vec2> points, double referenceSize);

    int PointCount() const { return static_cast<int>(points_.size()); }
    std::span<const Vec2> Points() const { return points_; }
    double ReferenceSize() const { return referenceSize_; }

    // Point i scaled to the size, turned by the angle and moved to position.
    Vec2 Placed(int i, double size, double angle, Vec2 position) const;

    // The outline: SetPen (colour, width), then the segments i whose bit is
    // set in the mask (all of them for mask 0) as lines.
    void DrawShape(PaintContainer& list, double size, double width, Colour colour, double angle,
                   Vec2 position, unsigned mask) const;
    // The filled shape: SetBrush (fill), then the placed points as a polygon
    // outlined with the pen colour and width.
    void FillShape(PaintContainer& list, double size, double width, double angle, Colour pen,
                   Colour fill, Vec2 position) const;

private:
    std::vector<Vec2> points_;
    double referenceSize_;
};

// A 3-D shape: vertices and edges (pairs of 1-based vertex numbers).
class Entity3Class {
public:
    Entity3Class(std::initializer_list<Vec3> vertices,
                 std::initializer_list<std::pair<int, int>> edges, double referenceSize);

    int VertexCount() const { return static_cast<int>(vertices_.size()); }
    int EdgeCount() const { return static_cast<int>(edges_.size()); }
    std::span<const Vec3> Vertices() const { return vertices_; }
    std::span<const std::pair<int, int>> Edges() const { return edges_; }
    double ReferenceSize() const { return referenceSize_; }

    // Vertex (1-based number) turned about the axis-angle vector, scaled to
    // the size, moved to the model position and projected.
    Vec2 Placed(int number, double size, Vec3 axis, const ViewMatrix& view, Vec3 position) const;

    // The wire model: SetPen (colour, width), then every edge as a line.
    void DrawShape3D(PaintContainer& list, double size, double width, Vec3 axis,
                     const ViewMatrix& view, Colour colour, Vec3 position) const;
    // The filled shape: SetBrush (fill), then the vertices, in their order,
    // as one polygon outlined with the pen colour and width.
    void FillShape3D(PaintContainer& list, double size, double width, Vec3 axis,
                     const ViewMatrix& view, Colour pen, Colour fill, Vec3 position) const;

private:
    std::vector<Vec3> vertices_;
    std::vector<std::pair<int, int>> edges_;
    double referenceSize_;
};

// The program's shapes, built once at start and never changed.
extern const EntityClass NodeSquare;     // square at every node; size = its diagonal
extern const EntityClass ArrowHead;      // 2-D arrow head, tip at the origin, along +x
extern const EntityClass SideArrowHead;  // alternative head: base on the y axis, tip (10, 0)
extern const EntityClass HingeCircle;    // ring of 16 points; size = its diameter
extern const EntityClass DashDotPattern; // one period of a dash-dot line (segments 0, 2)
extern const EntityClass DashPattern;    // one period of a dashed line: dash 10, gap 5
extern const Entity3Class ArrowHead3D;   // pyramid, apex at the origin, along +z
extern const Entity3Class HingeBar3D;    // flat bar in the x–y plane (moment hinges)
extern const Entity3Class ShearHinge3D;  // two bars in the x–z plane (shear hinges)
