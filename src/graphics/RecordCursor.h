#pragma once

#include "graphics/GraphicsTypes.h"
#include "graphics/PaintContainer.h"

#include <cstddef>
#include <cstring>

// Reads the packed records of a drawing list in order, as every replay of a
// list (the canvases, the DXF drawing) does. The records are unaligned
// bytes, so each value is copied out.
class RecordCursor {
public:
    explicit RecordCursor(const PaintContainer& list)
        : begin_(list.Bytes()), at_(list.Bytes()), end_(list.Bytes() + list.ByteCount()) {}

    bool Has(size_t bytes) const { return static_cast<size_t>(end_ - at_) >= bytes; }
    template <class T> T Read() {
        T value;
        std::memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    Vec2 ReadPoint() {
        const double x = Read<double>();
        return {x, Read<double>()};
    }
    // Where the next record starts, in bytes from the list's first: the
    // offsets of the list's layer marks.
    size_t Offset() const { return static_cast<size_t>(at_ - begin_); }

private:
    const unsigned char* begin_;
    const unsigned char* at_;
    const unsigned char* end_;
};
