#pragma once

#include "graphics/Canvas.h"
#include "graphics/PaintContainer.h"
#include "graphics/ViewMapping.h"

// Replays the drawing list onto the canvas through the mapping, record by
// record: a line moves the canvas pen to its first end and draws to its
// second; a polygon is drawn closed and filled; brush and pen colour records
// set the canvas's brush and pen colour; a pen width record sets the pen width
// to trunc(width × min(scaleX, scaleY)) pixels (0, the thinnest pen, when that
// is below one pixel). The canvas's pen and brush are not reset first.
//
// Points are converted as SceneToDevice converts them. Lines and polygons
// that reach beyond ±kDeviceLimit pixels are clipped to that square in double
// before the truncation, so that a deep zoom keeps every visible line on its
// true course; a line wholly outside it is left out.
void Render(const PaintContainer& list, Canvas& canvas, const ViewMapping& mapping);

// Paints the list as a window, a printer cell or a picture shows it: the view
// window fitted into the device rectangle with the device's pixel aspect, then
// Render. False, and nothing drawn, when the window cannot be mapped.
bool RenderFitted(const PaintContainer& list, Canvas& canvas, const SceneBox& window,
                  const DeviceRect& device, double aspect);

// The pen width in pixels of a recorded width under the mapping.
int DevicePenWidth(const ViewMapping& mapping, double width);
