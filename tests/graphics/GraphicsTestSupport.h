#pragma once

#include "graphics/PaintContainer.h"
#include "graphics/ViewTransform.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

// Readable values in failure messages.
inline void PrintTo(const Vec2& v, std::ostream* os) {
    *os << "(" << v.x << ", " << v.y << ")";
}
inline void PrintTo(const DevicePoint& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")";
}
inline void PrintTo(const SceneBox& b, std::ostream* os) {
    *os << "(" << b.minX << ", " << b.minY << ", " << b.maxX << ", " << b.maxY << ")";
}

// A decoded record of a drawing list, read from the byte stream as laid out:
// the 32-bit kind, then the payload without gaps.
struct DecodedRecord {
    int kind = -1;
    int colour = 0;           // brush, pen colour
    double width = 0;         // pen width
    std::vector<Vec2> points; // line: 2, polygon: n
};

template <class T> T ReadAt(const unsigned char* bytes, size_t& at) {
    T value;
    std::memcpy(&value, bytes + at, sizeof value);
    at += sizeof value;
    return value;
}

inline std::vector<DecodedRecord> Decode(const PaintContainer& list) {
    std::vector<DecodedRecord> records;
    const unsigned char* bytes = list.Bytes();
    size_t at = 0;
    while (at < static_cast<size_t>(list.ByteCount())) {
        DecodedRecord r;
        r.kind = ReadAt<std::int32_t>(bytes, at);
        const auto point = [&] {
            const double x = ReadAt<double>(bytes, at);
            return Vec2{x, ReadAt<double>(bytes, at)};
        };
        switch (r.kind) {
        case 0:
            r.points.push_back(point());
            r.points.push_back(point());
            break;
        case 1: {
            const int n = ReadAt<std::int32_t>(bytes, at);
            for (int i = 0; i < n; ++i)
                r.points.push_back(point());
            break;
        }
        case 2:
        case 3:
            r.colour = ReadAt<std::int32_t>(bytes, at);
            break;
        case 4:
            r.width = ReadAt<double>(bytes, at);
            break;
        default:
            ADD_FAILURE() << "unknown record kind " << r.kind;
            return records;
        }
        records.push_back(r);
    }
    return records;
}

// Only the line records, as pairs of points.
inline std::vector<std::pair<Vec2, Vec2>> Lines(const PaintContainer& list) {
    std::vector<std::pair<Vec2, Vec2>> lines;
    for (const DecodedRecord& r : Decode(list))
        if (r.kind == 0)
            lines.emplace_back(r.points[0], r.points[1]);
    return lines;
}

inline std::vector<int> Kinds(const PaintContainer& list) {
    std::vector<int> kinds;
    for (const DecodedRecord& r : Decode(list))
        kinds.push_back(r.kind);
    return kinds;
}

// The same stream, byte for byte.
inline bool SameStream(const PaintContainer& a, const PaintContainer& b) {
    return a.ByteCount() == b.ByteCount() && a.RecordCount() == b.RecordCount() &&
           std::memcmp(a.Bytes(), b.Bytes(), static_cast<size_t>(a.ByteCount())) == 0;
}

// A view from above: R = identity, centre (0, 0, 0); the scene point of a
// model point is its x and y, z does not show.
inline ViewMatrix TopView() {
    ViewMatrix view;
    for (int i = 0; i < 3; ++i)
        view.m[i][i] = 1.0;
    return view;
}

inline ::testing::AssertionResult Vec2Near(Vec2 actual, double x, double y, double tolerance) {
    if (std::fabs(actual.x - x) <= tolerance && std::fabs(actual.y - y) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ") is not (" << x
                                         << ", " << y << ") within " << tolerance;
}

#define EXPECT_VEC2_NEAR(actual, x, y, tolerance)                                                  \
    EXPECT_TRUE(Vec2Near((actual), (x), (y), (tolerance)))
