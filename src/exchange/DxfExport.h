#pragma once

#include "graphics/PaintContainer.h"
#include "graphics/ViewTransform.h"

#include <string>

// A graphics window's drawing as a DXF drawing (AutoCAD 2000, written with
// dxflib): every line of the drawing list as a LINE, every filled polygon
// as a solid HATCH, in the true colour of its pen or brush, on one layer per
// kind of content (DrawingLayer): "Struktur", "Belastung", "Auflager",
// "Diagramm", "Texte". Texts are the strokes of the stroke font, as on the
// screen. The coordinates are those of the projected model in model length
// units, y up: R·p for a model point p (the view's rotation R without its
// centre), so that a drawing seen from above has the model's own x and y and
// a CAD program shows it at the right scale. The whole list is written, not
// only the part the window's zoom shows.

// The layer names, in DrawingLayer order.
const char* DxfLayerName(int layer);

// The DXF text of the list drawn with that view; false when the library
// could not write it.
bool DrawingDxf(const PaintContainer& list, const ViewMatrix& view, std::string& text);
