#pragma once

#include <cstddef>
#include <cstdint>

// Thin lines written straight into the 32-bit pixels of an image, with the
// very pixels Qt's raster engine sets for an aliased line of a one-pixel pen
// with square ends between the same integer points. A large drawing is
// mostly such lines, and Qt spends most of a paint handing each of them,
// pixel by pixel, through its general span machinery; here a line costs a few
// nanoseconds plus one store per pixel. The graphics window draws its picture
// into an image this way, so the screen and the clipboard bitmap stay exactly
// what Qt would have drawn.
//
// Qt's rule for a line from (x1, y1) to (x2, y2): along the longer axis
// (x when both are equal) every pixel from one end to the other, both ends
// included; across it the position advances by the slope cut to 16 binary
// places toward zero, starting half a step further (rounded up) on a rising
// slope, and each pixel takes the whole part of it.
class ImageLines {
public:
    // The pixels of a width × height image whose rows lie `stride` pixels
    // apart.
    ImageLines(std::uint32_t* pixels, std::ptrdiff_t stride, int width, int height)
        : pixels_(pixels), stride_(stride), width_(width), height_(height) {}

    // True when every pixel of the line from (x1, y1) to (x2, y2) lies in the
    // image (both ends do).
    bool Holds(int x1, int y1, int x2, int y2) const { return Inside(x1, y1) && Inside(x2, y2); }

    // Sets the pixels of the line to `pixel`; the line must lie in the image.
    // A line from a point to itself sets that pixel.
    void Draw(int x1, int y1, int x2, int y2, std::uint32_t pixel) const;

private:
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    std::uint32_t* pixels_;
    std::ptrdiff_t stride_;
    int width_;
    int height_;
};
